#pragma once
// What "Compléter la ration" reads from and writes to the Data directory:
// the foods of the Food table with their unmeasured values and portions, the
// group's needs, the day's totals, the exclusions the user keeps (EXCLUS.TXT),
// and the proposal appended to the day's choice as the composition window's
// Ajouter appends a food.
//
// EXCLUS.TXT is a small UTF-8 text file, one exclusion a line:
//   catégorie : VIANDES ET VOLAILLES
//   aliment : Foie de veau, cuit
// lines starting with # are comments. It is replaced whole at every change,
// through the file seam, so that a failed write leaves the old list.
#include <QString>
#include <QVector>

#include "core/suggest/completion.h"

class RunContext;

namespace CompletionData {
// "EXCLUS.TXT"
const QString& exclusionsFile();
// The exclusions kept in the directory; none when the file is absent. A file
// that cannot be read or holds a line not understood throws DataError naming
// the file and the line.
Exclusions readExclusions(RunContext& run);
// Replaces the file with the exclusions (throws DataError, the file then
// unchanged).
void writeExclusions(RunContext& run, const Exclusions& exclusions);

// Every food of the Food table (deleted records aside), with its marks of
// unmeasured values and its portion.
QVector<CandidateFood> readFoods(RunContext& run, const PortionTable& portions = PortionTable::supplied());
// The group's needs from the Needs table, as the diagnosis reads them; a
// table of fewer than 29 rows is refused with a DataError saying so.
GroupNeeds readNeeds(RunContext& run, const QString& groupColumn);
// The Daily totals of the day's choice (read only).
DailyTotals readDay(RunContext& run);

// Appends the lines to the day's choice, each as Ajouter appends a food of
// the Food table found by its name. All or nothing: a food no longer in the
// table refuses the whole proposal before anything is written, and a write
// that fails takes back the lines already appended; both throw DataError.
void addToDay(RunContext& run, const CompletionRequest& request, const QVector<ProposedLine>& lines);
}
