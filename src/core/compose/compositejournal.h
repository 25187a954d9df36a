#pragma once
// The composite save (or deletion) as one unit. Saving a composite food
// writes the Food table (its record) and the Composite table (its lines) in
// several writes, and so does deleting one, from composite mode or from the
// editing window; a process stopped between two of them would leave a food
// without its lines, or part of its lines.
//
// Before the first write, the journal file compose.jnl is written, then
// complete copies of both tables (DIETAB.jnl, Alimcomp.jnl), then the journal
// again saying that the copies are complete; after the last write the journal
// says the save is done, and the copies then the journal are removed. Each
// journal write replaces the file whole, so it always reads as one of its
// three states:
//   debut     the copies may be incomplete; the tables were not touched
//   ecriture  the tables may be half-written; the copies are complete
//   fait      the save is complete
// The journal also names the composite and says whether it is saved or
// deleted, so that every message says which. At start-up (under the Data
// directory's lock) reprise() finishes what an interrupted save or deletion
// left: back to the state before it, or on to the state after it, and says
// which.
#include <QString>
#include <QStringList>
#include <functional>

class RunContext;
class Table;

namespace CompositeJournal {

const QString& fichierJournal();   // "compose.jnl"

enum class Operation { Enregistrement, Suppression };

// Runs the writes of one save or deletion of the composite nom as one unit
// over the handles of the Food and Composite tables: commence(), the writes,
// termine(). When a write fails, both handles are closed, the tables put back
// (annule()) and the handles reopened on them, and DataError says that the
// food was not saved (or deleted), why, and in what state the tables are.
void enUnite(Table& talim, Table& talimCompo, const QString& nom, Operation operation,
             const std::function<void()>& ecritures);

// Before the first write: copies of both tables. Throws DataError (the
// tables untouched, nothing left behind) when they cannot be made.
void commence(RunContext& run, const QString& nom, Operation operation = Operation::Enregistrement);
// After the save's last write: marks it done, then removes the copies and the
// journal. Throws DataError when the save cannot be marked done (the caller
// then undoes it with annule(RunContext& run)).
void termine(RunContext& run);
// After a failed write, with every handle on the two tables closed: both
// tables back as they were before the save, then the copies and the journal
// removed. Throws DataError when they cannot be put back; the journal then
// stays, and the next start-up puts them back.
void annule(RunContext& run);

// Start-up: what an interrupted save or deletion left, finished one way or
// the other.
// Returns the message for the user ("" when there was nothing to do); throws
// DataError when the tables cannot be put back (the journal stays).
QString reprise(RunContext& run);

// The names of the composite foods (category "PRODUITS COMPOSÉS") that have
// no line in the Composite table and can be deleted (not Base foods), in
// record order. Reads only.
QStringList orphelins(RunContext& run);

}   // namespace CompositeJournal
