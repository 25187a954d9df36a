#pragma once
// RationModel: one GLPK problem over some foods of a request, in one of the
// shapes completeDay solves (the linear relaxation, the integer choice of
// foods, whole grams, or the most of one nutrient for an explanation).
//
// Columns: grams of each food (between 0 and its portion), then with a
// choice of foods one yes/no per food, then one shortfall per target rate
// (percentage points missing). Rows: one per target rate (the food's
// percentage of the need per gram times its grams, plus the shortfall, at
// least the gap), the ceilings (energy, sugars, animal lipids, sodium, the
// lipids' share, the upper levels), the number of foods (the yes/no, or in the relaxation each
// food's grams over its portion), and with a choice the links between grams
// and yes/no (least amount <= grams <= portion when yes, 0 when no).
#include <QVector>
#include <vector>

#include "core/suggest/completion.h"

struct glp_prob;

class RationModel {
public:
    enum class Shape {
        Relaxation,   // grams only; the number of foods as a sum of grams over portions
        Choice,       // grams and one yes/no per food
        WholeGrams,   // the same with whole grams
        MostOf,       // grams only, maximising one nutrient (no target rows)
    };
    // Which ceilings hold (an explanation lifts some to find what blocks).
    enum Ceiling {
        EnergyCeiling = 1,
        SugarCeiling = 2,
        AnimalLipidsCeiling = 4,
        SodiumCeiling = 8,
        LipidShareCeiling = 16,
        UpperLevelCeilings = 32,
        AllCeilings = 63
    };

    struct Target {
        int row;    // index in LignesPage2()
        int slot;   // its Daily totals slot
        double need;
        double gap;      // percentage points missing before (target - rate before)
        double weight;   // cost of one point of shortfall
    };

    RationModel(const CompletionRequest& request, const Ceilings& ceilings, const QVector<Target>& targets,
                const QVector<int>& foods, Shape shape, int ceilingsOn = AllCeilings, int mostOfSlot = -1);
    ~RationModel();
    RationModel(const RationModel&) = delete;
    RationModel& operator=(const RationModel&) = delete;

    enum class Result { Optimal, Feasible, TimedOut, Failed, Infeasible };
    // The linear problem by the simplex method (also the first step of solveMip).
    Result solveLp(int iterationLimit, int timeLimitMs);
    // The integer problem, with grams of a first solution (per food of the
    // model, in its order) when given. gap receives the relative gap reached.
    Result solveMip(double mipGap, int timeLimitMs, const std::vector<double>* start, double* gap);

    int foodCount() const { return static_cast<int>(m_foods.size()); }
    int foodAt(int k) const { return m_foods[k]; }
    double grams(int k) const;         // after a solve
    double reducedCost(int k) const;   // of a food's grams, after solveLp
    double objective() const;

    // The percentage of the target's need that one gram of the food brings,
    // counting only what the model may rely on: nothing from a composite
    // food or from a value that was not measured.
    static double percentPerGram(const CandidateFood& food, const Target& target);
    static bool reliedOn(const CandidateFood& food, int slot);

private:
    int xCol(int k) const { return 1 + k; }
    int yCol(int k) const { return 1 + foodCount() + k; }
    int sCol(int t) const { return 1 + foodCount() * (m_hasChoice ? 2 : 1) + t; }

    const CompletionRequest& m_request;
    QVector<Target> m_targets;
    QVector<int> m_foods;
    bool m_hasChoice;
    glp_prob* m_lp = nullptr;
    bool m_mipSolved = false;
};
