#pragma once
// One column of the Needs table computed from its 29 formulas (formula.h):
// each row once, following the rows it refers to, its EFSA terms looked up
// and converted to the row's unit. The table builder computes the seventeen
// groups' columns of needs.csv with it, the program a person's needs.
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class EfsaTable;

// Number of rows of the Needs table and their units, in the table's order.
constexpr int kNeedsRows = 29;
// "kcal" for row 1, "g" for rows 2..9, "mg" for rows 10..29.
QString needsRowUnit(int row);
// Rows 2 and 7 are present in the file but not read by the diagnosis.
bool needsRowUsed(int row);
// The shortest decimal text of a value at the table's precision (5 decimals).
QString formatNeedsValue(double v);

struct NeedsColumnSource {
    QStringList formulas;   // rows 1..29
    // Where a row's formula is written, to begin messages about it
    // ("needs.csv:12").
    std::function<QString(int row)> where;
    // Called with each row's value as soon as it is computed; a DataError it
    // throws names its own place and passes unchanged.
    std::function<void(int row, double value)> onValue;
};

// The 29 values, row 1 first. Throws DataError beginning with where(row) for
// a bad formula, an EFSA term that names no row or whose unit does not suit
// the row, a circular reference, or a used row whose value is not positive.
QVector<double> evaluateNeedsColumn(const NeedsColumnSource& source, const EfsaTable& efsa);
