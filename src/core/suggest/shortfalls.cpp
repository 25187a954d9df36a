#include "core/suggest/shortfalls.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/suggest/rationmodel.h"

namespace {
using R = Shortfall::Reason;


QString nameOf(int row) {
    if (row == 0) return QStringLiteral("Énergie");
    const Nutrient* n = nutrientByField(champPage2(LignesPage2()[row]));
    QString name = n ? n->name : LignesPage2()[row].label.mid(2);
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
}

QString percent(double rate) { return QString::number(rate, 'f', 2) + QStringLiteral(" %"); }

// The most of a target's nutrient the allowed foods can bring within the
// ceilings that hold, as a rate of page 2; none when the deadline has come.
std::optional<double> bestRate(const CompletionRequest& r, const Ceilings& c, const QVector<int>& foods,
                               const RationModel::Target& t, double before, int ceilingsOn,
                               const QDeadlineTimer& deadline) {
    const qint64 left = deadline.remainingTime();
    if (left == 0) return std::nullopt;
    RationModel m(r, c, {t}, foods, RationModel::Shape::MostOf, ceilingsOn, t.slot);
    if (m.solveLp(0, left < 0 ? 1000 : static_cast<int>(std::min<qint64>(left, 1000))) !=
        RationModel::Result::Optimal)
        return std::nullopt;
    return before + m.objective() * 100.0 / t.need;
}
}   // namespace

QVector<Shortfall> explainShortfalls(const CompletionRequest& r, const Ceilings& c, const QVector<int>& allowed,
                                     const DailyTotals& after, QDeadlineTimer deadline) {
    QVector<Shortfall> out;
    const QVector<LignePage2>& rows = LignesPage2();
    const int k = r.maxFoods;
    for (int i = 0; i < rows.size(); ++i) {
        Shortfall s;
        s.row = i;
        s.target = targetOf(i);
        s.before = pageTwoRate(i, r.day, r.needs);
        s.after = pageTwoRate(i, after, r.needs);
        if (s.after >= s.target) continue;
        const RationModel::Target t{i, rows[i].intake, r.needs[rows[i].need], 0.0, 1.0};

        QVector<int> relied;
        QVector<double> perPortion;
        for (int f : allowed) {
            const CandidateFood& food = r.foods[f];
            const double p = RationModel::percentPerGram(food, t) * food.portion.maxGrams;
            if (p <= 0.0) continue;
            relied << f;
            perPortion << p;
        }
        QString why;
        if (relied.isEmpty()) {
            s.reason = R::NoFood;
            bool excludedBring = false;
            for (const CandidateFood& food : r.foods)
                if (r.exclusions.excludes(food) && food.portion.maxGrams > 0.0 &&
                    RationModel::percentPerGram(food, t) > 0.0)
                    excludedBring = true;
            why = QStringLiteral("aucun aliment permis n'en apporte (ou sa teneur n'y est pas mesurée)") +
                  (excludedBring ? QStringLiteral(" ; des aliments exclus en apporteraient") : QString());
        } else {
            std::sort(perPortion.begin(), perPortion.end(), std::greater<double>());
            double best = s.before;
            for (int j = 0; j < perPortion.size() && j < k; ++j) best += perPortion[j];
            if (best < s.target) {
                s.reason = R::Portions;
                why = relied.size() == 1
                          ? QStringLiteral(
                                "le seul aliment permis qui en apporte n'en donnerait que %1 à une "
                                "portion")
                                .arg(percent(best))
                          : QStringLiteral(
                                "les aliments permis n'en apportent pas assez : même les %1 plus riches, "
                                "à une portion chacun, n'en donneraient que %2")
                                .arg(std::min<int>(k, static_cast<int>(relied.size())))
                                .arg(percent(best));
            } else {
                const int all = RationModel::AllCeilings;
                auto reaches = [&](int ceilingsOn) {
                    const std::optional<double> b = bestRate(r, c, relied, t, s.before, ceilingsOn, deadline);
                    return b ? std::optional<bool>(*b >= s.target) : std::nullopt;
                };
                const std::optional<bool> withAll = reaches(all);
                if (!withAll) {
                    s.reason = R::FoodCount;
                    why = QStringLiteral(
                              "l'énergie, les limites de la page 1 et du sodium, les limites de "
                              "sécurité ou le nombre d'aliments (%1 au plus) l'en empêchent")
                              .arg(k);
                } else if (!*withAll) {
                    s.reason = R::Limits;
                    if (i != 0 && reaches(all & ~RationModel::EnergyCeiling).value_or(false)) {
                        s.reason = R::Energy;
                        why = c.energyPassed
                                  ? QStringLiteral(
                                        "l'énergie de la journée dépasse déjà 105 % du besoin, et les "
                                        "aliments qui en apportent sont trop énergétiques")
                                  : QStringLiteral(
                                        "en apporter assez ferait dépasser 105 % du besoin en énergie");
                    } else {
                        const struct {
                            int flag;
                            const char16_t* text;
                        } limits[] = {{RationModel::SugarCeiling, u"le maximum de sucres de la page 1"},
                                      {RationModel::AnimalLipidsCeiling,
                                       u"le maximum de lipides d'origine animale de la page 1"},
                                      {RationModel::LipidShareCeiling,
                                       u"la part des lipides dans l'énergie recommandée à la page 1"},
                                      {RationModel::SodiumCeiling, u"le maximum de sodium"},
                                      {RationModel::UpperLevelCeilings,
                                       u"la limite supérieure de sécurité d'un nutriment qu'ils apportent"}};
                        for (const auto& l : limits)
                            if (why.isEmpty() && reaches(all & ~l.flag).value_or(false))
                                why = QStringLiteral("en apporter assez ferait dépasser ") +
                                      QString::fromUtf16(l.text);
                        if (why.isEmpty())
                            why = QStringLiteral(
                                "en apporter assez ferait dépasser l'énergie et les maxima de la "
                                "page 1, du sodium ou de sécurité");
                    }
                } else {
                    s.reason = R::FoodCount;
                    why = QStringLiteral(
                              "pas en même temps que les autres besoins avec %1 aliments au plus : "
                              "permettez plus d'aliments ou moins d'exclusions")
                              .arg(k);
                }
            }
        }
        s.text = QStringLiteral("%1 : %2 au lieu de %3 — %4.")
                     .arg(nameOf(i), percent(s.after), percent(s.target), why);
        out << s;
    }
    return out;
}
