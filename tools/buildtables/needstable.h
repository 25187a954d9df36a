#pragma once
// The Needs table as described by needs.csv: one line per row and group,
//   LIGNE;NOM;COLONNE;VALEUR;UNITE;FORMULE;POPULATION
// where FORMULE says how the value comes from EFSA's reference values or from
// other rows of the same group (formula.h), VALEUR is the value it gives
// (checked by the build, so the file always shows true figures) and
// POPULATION tells the age, sex, activity level and body weight chosen.
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/needs/efsatable.h"
#include "core/needs/needscolumn.h"

struct NeedsCell {
    int line = 0;   // line of needs.csv
    QString formula;
    QString population;
    double written = 0;   // VALEUR as written
    double value = 0;     // as computed
};

struct NeedsTable {
    QStringList rowNames;   // NOM of rows 1..29
    QStringList columns;    // the seventeen group columns
    // cells[row - 1][column index]
    QVector<QVector<NeedsCell>> cells;
};

namespace Needs {
// Reads needs.csv, computes every cell and, when checkWritten is true,
// requires VALEUR to match the computed value. Throws DataError naming
// needs.csv:line for a bad line, an unknown column, a missing or doubled
// cell, a wrong unit, a bad formula, a circular reference, a used cell that
// is not positive, or a VALEUR that differs from its formula.
NeedsTable read(const QString& path, const EfsaTable& efsa, bool checkWritten = true);
// needs.csv again with VALEUR replaced by the computed values (for
// maintaining the file after a change of formula).
QString rewrite(const QString& path, const NeedsTable& table);
}
