#include "core/suggest/rationmodel.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>

#include "core/diagnosis/page2.h"
#include "core/schema/schema.h"

namespace {
// Costs of the objective (documented in completion.h and in the help).
constexpr double kCostPerFood = 0.5;
constexpr double kCostPerGram = 0.0005;

// Silences GLPK's terminal output once for the process.
void quiet() {
    static const bool done = [] {
        glp_term_out(GLP_OFF);
        return true;
    }();
    (void)done;
}

struct Search {
    const std::vector<double>* start;
    bool given = false;
    double gap = 1.0;
};

// Gives GLPK's branch and bound the first solution, once, and keeps the gap
// the search has reached.
void callback(glp_tree* tree, void* info) {
    auto* h = static_cast<Search*>(info);
    switch (glp_ios_reason(tree)) {
    case GLP_IHEUR:
        if (h->given || !h->start) return;
        h->given = true;
        glp_ios_heur_sol(tree, h->start->data());
        break;
    case GLP_ISELECT:
    case GLP_IBINGO:
        h->gap = glp_ios_mip_gap(tree);
        break;
    default:
        break;
    }
}
}   // namespace

bool RationModel::reliedOn(const CandidateFood& food, int slot) {
    return food.category != CategorieComposee && !food.unmeasured.contains(slot);
}

double RationModel::percentPerGram(const CandidateFood& food, const Target& target) {
    if (!reliedOn(food, target.slot)) return 0.0;
    return food.per100[target.slot] / 100.0 / target.need * 100.0;
}

RationModel::RationModel(const CompletionRequest& request, const Ceilings& c, const QVector<Target>& targets,
                         const QVector<int>& foods, Shape shape, int ceilingsOn, int mostOfSlot)
    : m_request(request),
      m_targets(shape == Shape::MostOf ? QVector<Target>{} : targets),
      m_foods(foods),
      m_hasChoice(shape == Shape::Choice || shape == Shape::WholeGrams) {
    quiet();
    m_lp = glp_create_prob();
    glp_set_obj_dir(m_lp, shape == Shape::MostOf ? GLP_MAX : GLP_MIN);
    const int n = foodCount();
    const int nt = static_cast<int>(m_targets.size());
    glp_add_cols(m_lp, n * (m_hasChoice ? 2 : 1) + nt);

    const double k = request.maxFoods;
    for (int j = 0; j < n; ++j) {
        const CandidateFood& f = request.foods[m_foods[j]];
        const double cap = f.portion.maxGrams;
        glp_set_col_bnds(m_lp, xCol(j), GLP_DB, 0.0, cap);
        if (shape == Shape::WholeGrams) glp_set_col_kind(m_lp, xCol(j), GLP_IV);
        double cost = 0.0;
        if (shape == Shape::MostOf) {
            cost = reliedOn(f, mostOfSlot) ? f.per100[mostOfSlot] / 100.0 : 0.0;
        } else {
            cost = kCostPerGram + (m_hasChoice ? 0.0 : kCostPerFood / cap);
        }
        glp_set_obj_coef(m_lp, xCol(j), cost);
        if (m_hasChoice) {
            glp_set_col_kind(m_lp, yCol(j), GLP_BV);
            glp_set_obj_coef(m_lp, yCol(j), kCostPerFood);
        }
    }
    for (int t = 0; t < nt; ++t) {
        glp_set_col_bnds(m_lp, sCol(t), GLP_DB, 0.0, m_targets[t].gap);
        glp_set_obj_coef(m_lp, sCol(t), m_targets[t].weight);
    }

    // The matrix, 1-based as GLPK wants it.
    std::vector<int> ia(1), ja(1);
    std::vector<double> ar(1);
    auto put = [&](int row, int col, double v) {
        if (v == 0.0) return;
        ia.push_back(row);
        ja.push_back(col);
        ar.push_back(v);
    };
    auto addRow = [&](int type, double lo, double hi) {
        const int r = glp_add_rows(m_lp, 1);
        glp_set_row_bnds(m_lp, r, type, lo, hi);
        return r;
    };
    auto perGram = [&](int j, int slot) { return request.foods[m_foods[j]].per100[slot] / 100.0; };

    for (int t = 0; t < nt; ++t) {
        const int r = addRow(GLP_LO, m_targets[t].gap, 0.0);
        for (int j = 0; j < n; ++j) put(r, xCol(j), percentPerGram(request.foods[m_foods[j]], m_targets[t]));
        put(r, sCol(t), 1.0);
    }
    const struct {
        int flag;
        int slot;
        double allowance;
    } caps[] = {{EnergyCeiling, DailyTotals::CALORIES, c.energy},
                {SugarCeiling, DailyTotals::GLUC_S, c.sugar},
                {AnimalLipidsCeiling, DailyTotals::LIPI_A, c.animalLipids},
                {SodiumCeiling, DailyTotals::NA, c.sodium}};
    for (const auto& cap : caps) {
        if (!(ceilingsOn & cap.flag)) continue;
        const int r = addRow(GLP_UP, 0.0, std::max(0.0, cap.allowance));
        for (int j = 0; j < n; ++j) put(r, xCol(j), perGram(j, cap.slot));
    }
    if (ceilingsOn & UpperLevelCeilings) {
        for (const UpperCeiling& u : c.upper) {
            const int r = addRow(GLP_UP, 0.0, u.allowance);
            for (int j = 0; j < n; ++j) put(r, xCol(j), perGram(j, LignesPage2()[u.row].intake));
        }
    }
    if (ceilingsOn & LipidShareCeiling) {
        // 900 x lipids <= share x energy, over what the foods add.
        const int r = addRow(GLP_UP, 0.0, std::max(0.0, c.lipidShareSlack));
        for (int j = 0; j < n; ++j)
            put(r, xCol(j),
                900.0 * (perGram(j, DailyTotals::LIPI_A) + perGram(j, DailyTotals::LIPI_V)) -
                    c.lipidShare * perGram(j, DailyTotals::CALORIES));
    }
    {
        const int r = addRow(GLP_UP, 0.0, k);
        for (int j = 0; j < n; ++j) {
            if (m_hasChoice)
                put(r, yCol(j), 1.0);
            else
                put(r, xCol(j), 1.0 / request.foods[m_foods[j]].portion.maxGrams);
        }
    }
    if (m_hasChoice) {
        for (int j = 0; j < n; ++j) {
            const Portion& p = request.foods[m_foods[j]].portion;
            const int hi = addRow(GLP_UP, 0.0, 0.0);
            put(hi, xCol(j), 1.0);
            put(hi, yCol(j), -p.maxGrams);
            const int lo = addRow(GLP_LO, 0.0, 0.0);
            put(lo, xCol(j), 1.0);
            put(lo, yCol(j), -p.minGrams);
        }
    }
    glp_load_matrix(m_lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    glp_scale_prob(m_lp, GLP_SF_AUTO);
}

RationModel::~RationModel() {
    if (m_lp) glp_delete_prob(m_lp);
}

RationModel::Result RationModel::solveLp(int iterationLimit, int timeLimitMs) {
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_OFF;   // keeps the basis the integer search starts from
    if (iterationLimit > 0) parm.it_lim = iterationLimit;
    parm.tm_lim = std::max(1, timeLimitMs);
    glp_adv_basis(m_lp, 0);
    const int rc = glp_simplex(m_lp, &parm);
    if (rc == GLP_ETMLIM) return Result::TimedOut;
    if (rc != 0) return Result::Failed;
    switch (glp_get_status(m_lp)) {
    case GLP_OPT:
        return Result::Optimal;
    case GLP_NOFEAS:
    case GLP_INFEAS:
        return Result::Infeasible;
    default:
        return Result::Failed;
    }
}

RationModel::Result RationModel::solveMip(double mipGap, int timeLimitMs, const std::vector<double>* start,
                                          double* gap) {
    std::vector<double> full;
    if (start) {
        // Every column of the model, 1-based: grams, yes/no, shortfalls.
        full.assign(1 + foodCount() * 2 + m_targets.size(), 0.0);
        for (int j = 0; j < foodCount(); ++j) {
            full[xCol(j)] = (*start)[j];
            full[yCol(j)] = (*start)[j] > 0.0 ? 1.0 : 0.0;
        }
        for (int t = 0; t < m_targets.size(); ++t) {
            double brought = 0.0;
            for (int j = 0; j < foodCount(); ++j)
                brought += percentPerGram(m_request.foods[m_foods[j]], m_targets[t]) * (*start)[j];
            full[sCol(t)] = std::clamp(m_targets[t].gap - brought, 0.0, m_targets[t].gap);
        }
    }
    glp_iocp parm;
    glp_init_iocp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_OFF;   // the first solution is given in the model's own columns
    parm.mip_gap = mipGap;
    parm.tm_lim = std::max(1, timeLimitMs);
    // Measured on the benchmark's days: pseudocost branching and best local
    // bound pay; GLPK's cuts and feasibility pump only slow this small model
    // down (two to three times), the greedy first solution already giving a
    // good bound to prune with.
    parm.br_tech = GLP_BR_PCH;
    parm.bt_tech = GLP_BT_BLB;
    Search h{start ? &full : nullptr};
    parm.cb_func = callback;
    parm.cb_info = &h;
    const int rc = glp_intopt(m_lp, &parm);
    m_mipSolved = true;
    const int status = glp_mip_status(m_lp);
    if (gap) *gap = status == GLP_OPT ? 0.0 : h.gap;
    if (rc == GLP_ETMLIM) return status == GLP_FEAS || status == GLP_OPT ? Result::TimedOut : Result::Failed;
    if (rc != 0 && rc != GLP_EMIPGAP) return Result::Failed;
    if (status == GLP_OPT) return Result::Optimal;
    if (status == GLP_FEAS) return Result::Feasible;
    if (status == GLP_NOFEAS) return Result::Infeasible;
    return Result::Failed;
}

double RationModel::grams(int k) const {
    return m_mipSolved ? glp_mip_col_val(m_lp, xCol(k)) : glp_get_col_prim(m_lp, xCol(k));
}

double RationModel::reducedCost(int k) const { return glp_get_col_dual(m_lp, xCol(k)); }

double RationModel::objective() const { return m_mipSolved ? glp_mip_obj_val(m_lp) : glp_get_obj_val(m_lp); }
