#include "core/compose/savedday.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "core/compose/nomsaliments.h"
#include "core/compose/nonmesures.h"
#include "core/io/dataerror.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/io/fileops.h"
#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"

QString SavedDay::remark() const {
    switch (status) {
    case Status::Damaged:
        return QStringLiteral("endommagé");
    case Status::Unreadable:
        return QStringLiteral("illisible");
    case Status::Missing:
        return QStringLiteral("introuvable");
    case Status::Empty:
        return QStringLiteral("vide");
    case Status::Readable:
        break;
    }
    if (absentFoods == 0) return QString();
    return absentFoods == 1 ? QStringLiteral("1 aliment absent de la table")
                            : QStringLiteral("%1 aliments absents de la table").arg(absentFoods);
}

FoodKnowledge FoodKnowledge::read(const QString& dir) {
    FoodKnowledge out;
    out.m_marks = marquesDesAliments(dir);
    const QString path = DataDirectory::resolveIn(dir, foodSchema().fileName);
    if (!QFileInfo::exists(path)) return out;
    try {
        const auto food = DbfFile::open(path, true);
        const int nom = food->fieldIndex(QStringLiteral("NOM"));
        if (nom < 0) return out;
        for (int r = 0; r < food->recordCount(); ++r)
            if (!food->isDeleted(r)) out.m_names.insert(food->text(r, nom).trimmed());
        out.m_hasFoodTable = true;
    } catch (const DataError&) {
        // A Food table that cannot be read says nothing about the days' foods.
    }
    return out;
}

bool FoodKnowledge::hasFood(const QString& nom) {
    if (!m_hasFoodTable || m_names.contains(nom.trimmed())) return true;
    if (m_nameKeys.isEmpty())
        for (const QString& n : std::as_const(m_names)) m_nameKeys.insert(NomsAliments::cleDuNom(n));
    return m_nameKeys.contains(NomsAliments::cleDuNom(nom));
}

namespace SavedDays {

SavedDay read(RunContext& run, const QString& name, FoodKnowledge& foods) {
    const QString dir = run.dataDir().path();
    SavedDay day;
    day.name = name;
    const QFileInfo info(QDir(dir).filePath(name));
    if (!info.exists()) {
        day.reason = QStringLiteral("Le fichier « %1 » est introuvable.").arg(name);
        return day;
    }
    day.modified = info.lastModified();
    if (!info.isReadable()) {
        day.status = SavedDay::Status::Unreadable;
        day.reason = QStringLiteral("Le fichier « %1 » ne peut pas être lu : accès refusé.").arg(name);
        return day;
    }
    try {
        Table t(run, choiceSchema());
        t.setFileName(name);
        t.setReadOnly(true);
        t.open();
        CalculTotaux(t, day.totals);
        day.lines = t.recordCount();
        NonMesures marks;
        for (t.first(); !t.eof(); t.next()) {
            const QString nom = t.asString(QStringLiteral("NOM"));
            const QString key = ajouteLigne(marks, foods.marks(), nom, t.asFloat(QStringLiteral("QTE")));
            if (!key.isEmpty()) day.unmeasuredFoods.insert(key, foods.marks().value(key));
            if (!foods.hasFood(nom)) ++day.absentFoods;
        }
    } catch (const DataError& e) {
        SavedDay damaged;
        damaged.name = name;
        damaged.modified = day.modified;
        damaged.status = SavedDay::Status::Damaged;
        damaged.reason = e.message();
        return damaged;
    }
    // A day without quantity would count as a day of fasting in the mean.
    day.status = day.totals[DailyTotals::QTE] == 0.0 ? SavedDay::Status::Empty : SavedDay::Status::Readable;
    return day;
}

QVector<SavedDay> readAll(RunContext& run) {
    FoodKnowledge foods = FoodKnowledge::read(run.dataDir().path());
    QVector<SavedDay> days;
    for (const QString& name : FileOps::listDatFiles(run, true)) days << read(run, name, foods);
    std::stable_sort(days.begin(), days.end(), [](const SavedDay& a, const SavedDay& b) {
        if (a.modified.isValid() != b.modified.isValid()) return a.modified.isValid();
        return a.modified < b.modified;
    });
    return days;
}

}   // namespace SavedDays
