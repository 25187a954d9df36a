#include "core/diagnosis/daysbilan.h"

#include "core/diagnosis/page2.h"

DailyTotals moyenneDesTotaux(const QVector<SavedDay>& jours) {
    DailyTotals mean;
    if (jours.isEmpty()) return mean;
    for (int s = 0; s < DailyTotals::Count; ++s) {
        long double sum = 0;
        for (const SavedDay& d : jours) sum += d.totals.v[s];
        mean.v[s] = static_cast<double>(sum / jours.size());
    }
    return mean;
}

NonMesures nonMesuresDesJours(const QVector<SavedDay>& jours) {
    QHash<QString, QSet<int>> foods;
    for (const SavedDay& d : jours)
        for (auto it = d.unmeasuredFoods.constBegin(); it != d.unmeasuredFoods.constEnd(); ++it)
            foods[it.key()] |= it.value();
    NonMesures out;
    for (const QSet<int>& manques : foods) {
        for (int slot : manques) out.manquants[slot] = true;
        out.lignes << manques;
    }
    out.aliments = alimentsNonMesuresPage2(out);
    return out;
}

DiagnosisData bilanDesJours(const QVector<SavedDay>& jours, const QString& groupName, const GroupNeeds& needs) {
    DiagnosisData data;
    data.totals = moyenneDesTotaux(jours);
    data.needs = needs;
    data.groupName = groupName;
    data.nonMesures = nonMesuresDesJours(jours);
    data.jours = jours;
    return data;
}
