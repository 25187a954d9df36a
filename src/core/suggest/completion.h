#pragma once
// "Compléter la ration": foods and grams that close the gaps of page 2 of
// the diagnosis, found by a linear and mixed-integer model solved by GLPK.
//
// How data flows: the caller gives plain data (the day's Daily totals, the
// group's needs, the foods with their values per 100 g, their unmeasured
// values and portions, the exclusions and the number of foods); completeDay
// returns the lines to add (food, whole grams), the totals after them, the
// rates before and after (page 2's own rates) and, for each rate that cannot
// reach its target, why in plain French. Nothing here reads or writes a file.
//
// The model, in the order it is solved:
//   1. the linear relaxation over every allowed food picks a few dozen
//      candidates (those it uses, those of best reduced cost, the richest
//      in each short nutrient, the greedy proposal's);
//   2. the mixed-integer model over the candidates: grams per food between
//      its least amount and one portion, one yes/no per food, at most the
//      chosen number of foods; stopped at a small gap or at the time cap,
//      the greedy proposal given as its first solution;
//   3. the same model over the chosen foods with whole grams.
// Rows: each short nutrient of page 2 reaches 100 % of its need, or as near
// as it can (its shortfall costs 1 per point of percentage); energy reaches
// 95 % (10 per point missing) and never passes 105 % of the need; sugars
// and animal lipids stay within page 1's maxima, the lipids' share of
// energy within page 1's recommended share, sodium within its need (the
// adequate intake, a ceiling). A ceiling the day already passes lets the
// proposal add at most 5 % of it (for the lipids' share: the foods added
// keep within it themselves). The nutrients that have a tolerable upper
// intake level stay under it; one the day already passes gets nothing more. Each food used costs 0.5 and each
// 100 g 0.05, so that a proposal uses no food and no gram it does not need.
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

#include "core/compose/dailytotals.h"
#include "core/diagnosis/needs.h"
#include "core/suggest/portiontable.h"

// One food of the Food table as the model sees it.
struct CandidateFood {
    int numero = 0;
    QString name;
    QString category;
    // Per 100 g, indexed by Daily totals slot: QTE is 100, CALORIES the Food
    // energy, the others the Food table's values.
    std::array<double, DailyTotals::Count> per100{};
    QSet<int> unmeasured;   // slots whose value was not measured (energy with its macronutrients)
    Portion portion;
};

// What the user leaves out of every proposal.
struct Exclusions {
    QSet<QString> categories;
    QStringList foods;   // names
    bool excludes(const CandidateFood& food) const;
};

struct CompletionRequest {
    DailyTotals day;
    GroupNeeds needs;
    UpperLimits limits;      // 0 where none applies
    QString limitsUnknown;   // why the upper levels could not be had, when they could not
    QString groupName;       // for the messages
    QVector<CandidateFood> foods;
    Exclusions exclusions;
    int maxFoods = 5;   // 3 to 8
};

struct CompletionOptions {
    int timeLimitMs = 5000;          // the whole proposal
    double mipGap = 0.01;            // relative gap at which the integer search stops
    int candidates = 40;             // foods kept for the integer model (at least)
    int simplexIterationLimit = 0;   // 0: none
};

// A line of the proposal.
struct ProposedLine {
    int food = -1;   // index in CompletionRequest::foods
    int grams = 0;
};

// A rate of page 2 (or energy) that stays under its target, and why.
struct Shortfall {
    enum class Reason {
        NoFood,      // no allowed food brings any
        Portions,    // the allowed foods do not bring enough within their portions
        Energy,      // enough would pass 105 % of the energy need
        Limits,      // enough would pass a limit of page 1, sodium's or an upper level
        FoodCount,   // not together with the others within the number of foods
    };
    int row = -1;            // index in LignesPage2()
    double before = 0.0;     // rate before, %
    double after = 0.0;      // rate after, %
    double target = 100.0;   // 95 for energy
    Reason reason = Reason::FoodCount;
    QString text;   // the whole sentence shown to the user
};

struct Completion {
    enum class Status { Proposed, NothingToAdd, Refused, TimedOut, SolverFailed };
    Status status = Status::Refused;
    QString message;   // for every status but Proposed: what happened
    QVector<ProposedLine> lines;
    DailyTotals after;
    QStringList notes;   // energy or limits already passed, the search stopped by time
    QVector<Shortfall> shortfalls;
    // Figures of the search.
    int allowedFoods = 0;
    int candidates = 0;
    double elapsedMs = 0.0;
    bool stoppedByTime = false;
    double gap = 0.0;   // relative gap of the integer search when it stopped
};

// The proposal. Refuses with a message a request it cannot work on (needs
// of 0 or not finite, a number of foods outside 3 to 8).
Completion completeDay(const CompletionRequest& request, const CompletionOptions& options = {});

// The baseline the benchmark sets beside it: repeatedly add one portion of
// the food that best reduces the largest shortfall, within the same limits.
Completion greedyCompletion(const CompletionRequest& request);

// The Daily totals after the lines, each line computed and summed as the
// composition window's Ajouter and the Daily totals do.
DailyTotals totalsAfter(const CompletionRequest& request, const QVector<ProposedLine>& lines);

// The rate of a row of page 2 (index in LignesPage2()) with these totals,
// as page 2 computes it; 0 when the need is 0.
double pageTwoRate(int row, const DailyTotals& totals, const GroupNeeds& needs);
// The targets of the proposal: energy reaches 95 % of its need, the other
// rates of page 2 100 %.
double targetOf(int row);
// How many rates of page 2 reach their target with these totals.
int coveredRates(const DailyTotals& totals, const GroupNeeds& needs);

// An upper level the proposal keeps: the row of page 2, its level and what
// may still be added (nothing once the day passes it).
struct UpperCeiling {
    int row = -1;   // index in LignesPage2()
    double limit = 0.0, allowance = 0.0;
    bool passed = false;
};

// Limits the proposal keeps, as page 1 and page 2 compute them.
struct Ceilings {
    double energy = 0.0, sugar = 0.0, animalLipids = 0.0, sodium = 0.0;   // added amounts allowed
    double lipidShare = 0.0;        // recommended share of lipids in energy, % (page 1's, rounded)
    double lipidShareSlack = 0.0;   // 9 x lipids may grow by this much more than share x energy
    bool energyPassed = false, sugarPassed = false, animalLipidsPassed = false, sodiumPassed = false,
         lipidSharePassed = false;   // the day already passes the limit
    QVector<UpperCeiling> upper;     // one per upper level that applies
};
Ceilings ceilingsOf(const DailyTotals& day, const GroupNeeds& needs, const UpperLimits& limits = {});
