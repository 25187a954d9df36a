#pragma once
// Which rates of page 2 rest on values the Food table does not know: the
// side table NONMESUR.DBF marks, per food, the values its source did not
// measure (stored as 0). A chosen line whose food has such a value for a
// nutrient makes that nutrient's intake, and so its rate, a lower bound.
#include <QVector>

#include "core/compose/dailytotals.h"

class Table;

struct NonMesures {
    // Per Daily totals slot: some chosen food lacks a measured value for it.
    // Energy is marked when one of the macronutrients it sums is.
    QVector<bool> manquants = QVector<bool>(DailyTotals::Count, false);
    // Chosen lines whose food lacks a value of page 2.
    int aliments = 0;
    bool marque(DailyTotals::Slot slot) const { return manquants[slot]; }
};

// Reads the side table of the directory for the lines of the open Choice
// table (left on its last line). A missing or unreadable side table (an older
// Data directory) marks nothing and is no error; a record applies to a line
// only when the Food table has a food of that name and that number, so a
// replaced Food table gets no marks.
NonMesures lisNonMesures(Table& tchoix, const QString& dir);
