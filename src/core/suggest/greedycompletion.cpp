// The greedy baseline: at each step, the largest shortfall of page 2 (as a
// share of its target) picks the food that closes most of it with one
// portion, or with as much of a portion as the ceilings leave room for; the
// next largest shortfall is tried when no food helps the largest. It stops
// at the number of foods or when no food helps any. It gives completeDay
// its first solution and stands beside it in the benchmark.
#include <algorithm>
#include <cmath>

#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"
#include "core/suggest/completion.h"
#include "core/suggest/rationmodel.h"

namespace {
using T = DailyTotals;


// Grams of the food that the ceilings leave room for, with the day at
// totals, the allowances counted from the day as it was.
double room(const CandidateFood& f, const CompletionRequest& r, const Ceilings& c, const DailyTotals& totals) {
    double q = f.portion.maxGrams;
    auto cap = [&](double perGram, double left) {
        if (perGram > 0.0) q = std::min(q, std::max(0.0, left) / perGram);
    };
    auto added = [&](int slot) {
        return totals[static_cast<T::Slot>(slot)] - r.day[static_cast<T::Slot>(slot)];
    };
    const auto& v = f.per100;
    cap(v[T::CALORIES] / 100.0, c.energy - added(T::CALORIES));
    cap(v[T::GLUC_S] / 100.0, c.sugar - added(T::GLUC_S));
    cap(v[T::LIPI_A] / 100.0, c.animalLipids - added(T::LIPI_A));
    cap(v[T::NA] / 100.0, c.sodium - added(T::NA));
    for (const UpperCeiling& u : c.upper) {
        const int slot = LignesPage2()[u.row].intake;
        cap(v[slot] / 100.0, u.allowance - added(slot));
    }
    const double usedShare = 900.0 * (added(T::LIPI_A) + added(T::LIPI_V)) - c.lipidShare * added(T::CALORIES);
    cap((900.0 * (v[T::LIPI_A] + v[T::LIPI_V]) - c.lipidShare * v[T::CALORIES]) / 100.0,
        c.lipidShareSlack - usedShare);
    return std::floor(q + 1e-9);
}
}   // namespace

Completion greedyCompletion(const CompletionRequest& r) {
    Completion out;
    const Ceilings c = ceilingsOf(r.day, r.needs, r.limits);
    const QVector<LignePage2>& rows = LignesPage2();
    DailyTotals totals = r.day;
    QSet<int> used;
    while (out.lines.size() < r.maxFoods) {
        // Shortfalls, largest first, as shares of their targets.
        QVector<QPair<double, int>> short_;
        for (int i = 0; i < rows.size(); ++i) {
            if (r.needs[rows[i].need] <= 0.0) continue;
            const double missing = (targetOf(i) - pageTwoRate(i, totals, r.needs)) / targetOf(i);
            if (missing > 0.0) short_ << qMakePair(-missing, i);
        }
        std::sort(short_.begin(), short_.end());
        bool added = false;
        for (const auto& [negMissing, row] : short_) {
            const RationModel::Target t{row, rows[row].intake, r.needs[rows[row].need], 0.0, 1.0};
            const double gap = -negMissing * targetOf(row);
            int best = -1;
            double bestGain = 0.0, bestGrams = 0.0;
            for (int f = 0; f < r.foods.size(); ++f) {
                const CandidateFood& food = r.foods[f];
                if (used.contains(f) || food.portion.maxGrams <= 0.0 || food.category == CategorieComposee ||
                    r.exclusions.excludes(food))
                    continue;
                const double perGram = RationModel::percentPerGram(food, t);
                if (perGram <= 0.0 || !std::isfinite(perGram)) continue;
                const double q = room(food, r, c, totals);
                if (q < food.portion.minGrams || q < 1.0) continue;
                const double gain = std::min(gap, perGram * q);
                if (gain > bestGain) {
                    best = f;
                    bestGain = gain;
                    bestGrams = q;
                }
            }
            if (best < 0) continue;
            used.insert(best);
            out.lines << ProposedLine{best, static_cast<int>(bestGrams)};
            totals = totalsAfter(r, out.lines);
            added = true;
            break;
        }
        if (!added) break;
    }
    out.after = totals;
    out.status = out.lines.isEmpty() ? Completion::Status::NothingToAdd : Completion::Status::Proposed;
    return out;
}
