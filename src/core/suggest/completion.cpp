#include "core/suggest/completion.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/compose/choicelist.h"
#include "core/compose/nomsaliments.h"
#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/suggest/rationmodel.h"
#include "core/suggest/shortfalls.h"

namespace {
using T = DailyTotals;
using N = GroupNeeds;

// A target is aimed at a hair above its rate, so that whole grams computed
// as the Daily totals compute them land on it, not a rounding error below.
constexpr double kMargin = 1e-4;
// The share of a ceiling the day already passes that a proposal may add.
constexpr double kAllowance = 0.05;
// The cost of a point of energy missing below 95 %, against 1 for the others.
constexpr double kEnergyWeight = 10.0;


bool finiteAndPositive(const CandidateFood& f) {
    for (double v : f.per100)
        if (!std::isfinite(v) || v < 0.0) return false;
    return true;
}

// The needs the proposal rests on, each a positive number; otherwise the
// message that names the first one that is not.
QString needsProblem(const CompletionRequest& r) {
    QVector<N::Slot> used = {N::Energie, N::LipiA, N::LipiV, N::Sucre};
    for (const LignePage2& row : LignesPage2()) used << row.need;
    for (N::Slot s : used) {
        const double v = r.needs[s];
        if (std::isfinite(v) && v > 0.0) continue;
        QString name;
        for (const LignePage2& row : LignesPage2())
            if (row.need == s) name = row.label.mid(2);
        if (name.isEmpty())
            name = s == N::LipiA   ? QStringLiteral("Lipides d'origine animale")
                   : s == N::LipiV ? QStringLiteral("Lipides d'origine végétale")
                                   : QStringLiteral("Sucre");
        return QStringLiteral(
                   "Le besoin « %1 » du groupe %2 vaut %3 dans la table des besoins %4 (ligne %5) : "
                   "sans besoin positif, aucun complément ne peut être calculé. Vérifiez la table %4.")
            .arg(name,
                 r.groupName.isEmpty() ? QStringLiteral("choisi") : QStringLiteral("« %1 »").arg(r.groupName),
                 std::isfinite(v) ? QString::number(v) : QStringLiteral("une valeur illisible"),
                 needsSchema().fileName)
            .arg(N::rowOf(s));
    }
    return QString();
}

QVector<RationModel::Target> targetsOf(const CompletionRequest& r) {
    QVector<RationModel::Target> out;
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        const double rate = pageTwoRate(i, r.day, r.needs);
        const double target = targetOf(i);
        if (rate >= target) continue;
        out << RationModel::Target{i, rows[i].intake, r.needs[rows[i].need], target + kMargin - rate,
                                   i == 0 ? kEnergyWeight : 1.0};
    }
    return out;
}

// The candidates of the integer model: the foods the relaxation uses, the
// greedy proposal's, the two that bring the most of each target within a
// portion, then those of best reduced cost per portion.
QVector<int> candidatesOf(const CompletionRequest& r, const RationModel& lp,
                          const QVector<RationModel::Target>& targets, const Completion& greedy, int wanted) {
    QVector<int> out;
    QSet<int> taken;
    auto take = [&](int food) {
        if (!taken.contains(food)) {
            taken.insert(food);
            out << food;
        }
    };
    for (int k = 0; k < lp.foodCount(); ++k)
        if (lp.grams(k) > 1e-6) take(lp.foodAt(k));
    for (const ProposedLine& l : greedy.lines) take(l.food);
    for (const RationModel::Target& t : targets) {
        QVector<QPair<double, int>> best;
        for (int k = 0; k < lp.foodCount(); ++k) {
            const CandidateFood& f = r.foods[lp.foodAt(k)];
            const double brought = RationModel::percentPerGram(f, t) * f.portion.maxGrams;
            if (brought > 0.0) best << qMakePair(-brought, lp.foodAt(k));
        }
        std::sort(best.begin(), best.end());
        for (int i = 0; i < best.size() && i < 2; ++i) take(best[i].second);
    }
    QVector<QPair<double, int>> byCost;
    for (int k = 0; k < lp.foodCount(); ++k)
        byCost << qMakePair(lp.reducedCost(k) * r.foods[lp.foodAt(k)].portion.maxGrams, lp.foodAt(k));
    std::sort(byCost.begin(), byCost.end());
    for (int i = 0; i < byCost.size() && out.size() < wanted; ++i) take(byCost[i].second);
    return out;
}

QString percent(double rate) { return QString::number(rate, 'f', 2) + QStringLiteral(" %"); }

QStringList notesOf(const CompletionRequest& r, const Ceilings& c) {
    QStringList notes;
    if (c.energyPassed)
        notes << QStringLiteral(
                     "L'énergie de la journée (%1 du besoin) dépasse déjà 105 %% : les aliments "
                     "proposés y ajoutent au plus 5 %% du besoin.")
                     .arg(percent(pageTwoRate(0, r.day, r.needs)));
    auto passed = [&](bool p, const QString& what, double intake, double max, const QString& unit) {
        if (p)
            notes << QStringLiteral(
                         "La journée dépasse déjà le maximum %1 (%2 %3 pour %4 %3) : les aliments "
                         "proposés en ajoutent au plus 5 %%.")
                         .arg(what, QString::number(intake, 'f', 0), unit, QString::number(max, 'f', 0));
    };
    passed(c.sugarPassed, QStringLiteral("de sucres"), r.day[T::GLUC_S], r.needs[N::Sucre],
           QStringLiteral("g"));
    passed(c.animalLipidsPassed, QStringLiteral("de lipides d'origine animale"), r.day[T::LIPI_A],
           r.needs[N::LipiA], QStringLiteral("g"));
    passed(c.sodiumPassed, QStringLiteral("de sodium"), r.day[T::NA], r.needs[N::Sodium], QStringLiteral("mg"));
    if (c.lipidSharePassed)
        notes << QStringLiteral(
                     "La part des lipides dans l'énergie de la journée dépasse déjà %1 %% : les "
                     "aliments proposés n'en apportent pas davantage qu'elle.")
                     .arg(c.lipidShare, 0, 'f', 0);
    for (const UpperCeiling& u : c.upper) {
        if (!u.passed) continue;
        const LignePage2& row = LignesPage2()[u.row];
        notes << QStringLiteral(
                     "La journée dépasse déjà la limite supérieure de sécurité en %1 (%2%4 pour %3%4) : "
                     "les aliments proposés n'en ajoutent pas.")
                     .arg(nutrientByField(champPage2(row))->name,
                          QString::number(r.day[row.intake] * row.factor, 'f', 2),
                          QString::number(u.limit * row.factor, 'f', 2), row.suffix);
    }
    if (!r.limitsUnknown.isEmpty())
        notes << QStringLiteral(
                     "Les limites supérieures de sécurité ne sont pas connues (%1) : la proposition "
                     "ne les respecte pas forcément.")
                     .arg(r.limitsUnknown);
    return notes;
}

Completion refused(Completion::Status status, const QString& message, const QElapsedTimer& clock) {
    Completion c;
    c.status = status;
    c.message = message;
    c.elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return c;
}

QString timedOut(int ms) {
    return QStringLiteral(
               "Le calcul de la proposition n'a pas abouti dans le temps imparti (%1 s) : rien n'est "
               "proposé et la journée reste telle qu'elle est.")
        .arg(ms / 1000.0, 0, 'f', ms % 1000 ? 1 : 0);
}

QString solverFailed(const QString& step) {
    return QStringLiteral(
               "Le solveur n'a pas pu calculer la proposition (%1) : rien n'est proposé et la "
               "journée reste telle qu'elle est.")
        .arg(step);
}
}   // namespace

bool Exclusions::excludes(const CandidateFood& food) const {
    if (categories.contains(food.category.trimmed())) return true;
    for (const QString& name : foods)
        if (NomsAliments::memeNom(name, food.name)) return true;
    return false;
}

double pageTwoRate(int row, const DailyTotals& totals, const GroupNeeds& needs) {
    DiagnosisData d;
    d.totals = totals;
    d.needs = needs;
    return tauxDe(LignesPage2()[row], d).value_or(0.0);
}

double targetOf(int row) { return row == 0 ? 95.0 : 100.0; }

int coveredRates(const DailyTotals& totals, const GroupNeeds& needs) {
    int n = 0;
    for (int i = 0; i < LignesPage2().size(); ++i)
        if (pageTwoRate(i, totals, needs) >= targetOf(i)) ++n;
    return n;
}

Ceilings ceilingsOf(const DailyTotals& day, const GroupNeeds& needs, const UpperLimits& limits) {
    Ceilings c;
    const QVector<LignePage2>& rows = LignesPage2();
    for (int i = 0; i < rows.size(); ++i) {
        const double limit = limits[rows[i].need];
        if (!(limit > 0.0)) continue;
        const double intake = day[rows[i].intake];
        c.upper << UpperCeiling{i, limit, std::max(0.0, limit - intake), intake > limit};
    }
    // What may still be added under a maximum; once the day passes it, 5 %
    // of the need it is drawn from.
    auto allow = [](double intake, double max, double need, bool& passed) {
        passed = intake > max;
        return passed ? kAllowance * need : max - intake;
    };
    c.energy = allow(day[T::CALORIES], 1.05 * needs[N::Energie], needs[N::Energie], c.energyPassed);
    c.sugar = allow(day[T::GLUC_S], needs[N::Sucre], needs[N::Sucre], c.sugarPassed);
    c.animalLipids = allow(day[T::LIPI_A], needs[N::LipiA], needs[N::LipiA], c.animalLipidsPassed);
    c.sodium = allow(day[T::NA], needs[N::Sodium], needs[N::Sodium], c.sodiumPassed);
    c.lipidShare = static_cast<double>(PartLipidesRecommandee(needs).value_or(0));
    const double slack = c.lipidShare * day[T::CALORIES] - 900.0 * (day[T::LIPI_A] + day[T::LIPI_V]);
    c.lipidSharePassed = slack < 0.0;
    c.lipidShareSlack = std::max(0.0, slack);
    return c;
}

DailyTotals totalsAfter(const CompletionRequest& request, const QVector<ProposedLine>& lines) {
    DailyTotals t = request.day;
    for (const ProposedLine& l : lines) {
        const CandidateFood& f = request.foods[l.food];
        const auto& v = f.per100;
        for (int s = 0; s < T::Count; ++s) {
            double line;
            if (s == T::QTE)
                line = l.grams;
            else if (s == T::CALORIES)
                line = ChoiceList::valeurLigne(
                    l.grams, foodEnergyExtended(v[T::PROT_A], v[T::PROT_V], v[T::LIPI_A], v[T::LIPI_V],
                                                v[T::GLUC_S], v[T::GLUC_A]));
            else
                line = ChoiceList::valeurLigne(l.grams, v[s]);
            t.v[s] = static_cast<double>(static_cast<long double>(t.v[s]) + line);
        }
    }
    return t;
}

Completion completeDay(const CompletionRequest& r, const CompletionOptions& o) {
    QElapsedTimer clock;
    clock.start();
    auto elapsed = [&] { return static_cast<int>(clock.elapsed()); };

    if (r.maxFoods < 3 || r.maxFoods > 8)
        return refused(
            Completion::Status::Refused,
            QStringLiteral("Le nombre d'aliments proposés va de 3 à 8 (%1 demandé).").arg(r.maxFoods), clock);
    const QString problem = needsProblem(r);
    if (!problem.isEmpty()) return refused(Completion::Status::Refused, problem, clock);

    const QVector<RationModel::Target> targets = targetsOf(r);
    if (targets.isEmpty()) {
        Completion c = refused(Completion::Status::NothingToAdd,
                               QStringLiteral("La journée atteint déjà tous les taux de la page 2 (l'énergie à "
                                              "95 % au moins) : il n'y a rien à compléter."),
                               clock);
        c.after = r.day;
        return c;
    }
    QVector<int> allowed;
    for (int i = 0; i < r.foods.size(); ++i) {
        const CandidateFood& f = r.foods[i];
        // A composite food is relied on for nothing that is short, so it could
        // only cost: it is left out at once.
        if (f.portion.maxGrams > 0.0 && f.category != CategorieComposee && !r.exclusions.excludes(f) &&
            finiteAndPositive(f))
            allowed << i;
    }
    if (allowed.isEmpty())
        return refused(Completion::Status::Refused,
                       QStringLiteral("Aucun aliment ne peut être proposé : toutes les catégories ou tous les "
                                      "aliments de la table sont exclus."),
                       clock);

    const Ceilings ceilings = ceilingsOf(r.day, r.needs, r.limits);
    Completion out;
    out.allowedFoods = static_cast<int>(allowed.size());
    out.notes = notesOf(r, ceilings);

    // A solve that did not end well: the time cap, or the solver's failure.
    auto stopped = [&](const QString& step) {
        return elapsed() >= o.timeLimitMs
                   ? refused(Completion::Status::TimedOut, timedOut(o.timeLimitMs), clock)
                   : refused(Completion::Status::SolverFailed, solverFailed(step), clock);
    };
    auto solved = [](RationModel::Result res) {
        return res == RationModel::Result::Optimal || res == RationModel::Result::Feasible;
    };

    // 1. The relaxation over every allowed food.
    const Completion greedy = greedyCompletion(r);
    RationModel relaxation(r, ceilings, targets, allowed, RationModel::Shape::Relaxation);
    if (relaxation.solveLp(o.simplexIterationLimit, o.timeLimitMs - elapsed()) !=
            RationModel::Result::Optimal ||
        elapsed() >= o.timeLimitMs)
        return stopped(QStringLiteral("le modèle linéaire n'a pas été résolu"));

    // 2. The choice of foods among the candidates, the greedy proposal first,
    // in the time left less a reserve for whole grams and the reasons.
    const QVector<int> candidates = candidatesOf(r, relaxation, targets, greedy, o.candidates);
    out.candidates = static_cast<int>(candidates.size());
    std::vector<double> start(candidates.size(), 0.0);
    for (const ProposedLine& l : greedy.lines) start[candidates.indexOf(l.food)] = l.grams;
    RationModel choice(r, ceilings, targets, candidates, RationModel::Shape::Choice);
    const int reserve = std::min(400, o.timeLimitMs / 10);
    if (o.timeLimitMs - elapsed() - reserve <= 0 ||
        choice.solveLp(o.simplexIterationLimit, o.timeLimitMs - elapsed() - reserve) !=
            RationModel::Result::Optimal)
        return stopped(QStringLiteral("le modèle en nombres entiers n'a pas été résolu"));
    const RationModel::Result mip = choice.solveMip(o.mipGap, o.timeLimitMs - elapsed() - reserve,
                                                    greedy.lines.isEmpty() ? nullptr : &start, &out.gap);
    // Stopped by time with a solution in hand: that solution is the proposal.
    out.stoppedByTime = mip == RationModel::Result::TimedOut;
    if ((!solved(mip) && !out.stoppedByTime) || elapsed() >= o.timeLimitMs)
        return stopped(QStringLiteral("aucune solution en nombres entiers"));

    // 3. Whole grams of the foods chosen (which may drop one).
    QVector<int> chosen;
    for (int k = 0; k < choice.foodCount(); ++k)
        if (choice.grams(k) > 1e-6) chosen << choice.foodAt(k);
    if (!chosen.isEmpty()) {
        RationModel whole(r, ceilings, targets, chosen, RationModel::Shape::WholeGrams);
        if (whole.solveLp(o.simplexIterationLimit, o.timeLimitMs - elapsed()) != RationModel::Result::Optimal ||
            !solved(whole.solveMip(0.0, o.timeLimitMs - elapsed(), nullptr, nullptr)))
            return stopped(QStringLiteral("grammes entiers"));
        for (int k = 0; k < whole.foodCount(); ++k) {
            const int g = static_cast<int>(std::lround(whole.grams(k)));
            if (g > 0) out.lines << ProposedLine{whole.foodAt(k), g};
        }
    }
    if (out.stoppedByTime)
        out.notes << QStringLiteral(
            "La recherche a été arrêtée au bout du temps imparti : la proposition est la "
            "meilleure trouvée jusque-là.");

    out.after = totalsAfter(r, out.lines);
    out.shortfalls = explainShortfalls(r, ceilings, allowed, out.after,
                                       QDeadlineTimer(std::max<qint64>(1, o.timeLimitMs - elapsed())));
    if (out.lines.isEmpty()) {
        out.status = Completion::Status::NothingToAdd;
        out.message =
            QStringLiteral("Aucun aliment permis ne peut compléter la journée sans dépasser ses limites.");
    } else {
        out.status = Completion::Status::Proposed;
    }
    out.elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return out;
}
