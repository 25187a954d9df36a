#pragma once
// The Daily totals: thirty-three double sums over the lines of the Choice
// table, in its field order from QTE to FIBRES. One record lives for the whole
// run (owned by the main window); CalculTotaux refills it from the table.
#include <QString>

class Table;

struct DailyTotals {
    enum Slot {
        QTE,
        PROT_A,
        PROT_V,
        GLUC_S,
        GLUC_A,
        LIPI_A,
        LIPI_V,
        CALORIES,
        A_G_SAT,
        A_G_MONO,
        A_G_POLY,
        CHOLEST,
        CA,
        MG,
        PH,
        FE,
        ZN,
        I,
        CL,
        S,
        MN,
        CU,
        NA,
        K,
        VIT_A,
        VIT_B1,
        VIT_B2,
        VIT_B6,
        VIT_B9,
        VIT_C,
        VIT_D,
        VIT_PP,
        FIBRES,
        Count
    };
    double v[Count] = {};
    double operator[](Slot s) const { return v[s]; }
    double& operator[](Slot s) { return v[s]; }
    // The slot summing the Choice field of that name (case-insensitive).
    double value(const QString& field) const;
    static int slotOf(const QString& field);   // -1 if no slot has that name
};

// Sets every slot to 0.
void RazTotaux(DailyTotals& totals);
// RazTotaux, then adds up every line of the open Choice table handle, each
// addition in extended precision. Leaves the handle on its last line with
// end-of-table set.
void CalculTotaux(Table& tchoix, DailyTotals& totals);
