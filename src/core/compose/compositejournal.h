#pragma once
// The composite save as one unit. Saving a composite food writes the Food
// table (its record) and the Composite table (its lines) in several writes; a
// process stopped between two of them would leave a food without its lines.
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
// At start-up (under the Data directory's lock) reprise() finishes what an
// interrupted save left: back to the state before the save, or on to the
// state after it, and says which.
#include <QString>
#include <QStringList>

namespace CompositeJournal {

const QString& fichierJournal();   // "compose.jnl"

// Before the save's first write: copies of both tables. Throws DataError (the
// tables untouched, nothing left behind) when they cannot be made.
void commence(const QString& nom);
// After the save's last write: marks it done, then removes the copies and the
// journal. Throws DataError when the save cannot be marked done (the caller
// then undoes it with annule()).
void termine();
// After a failed write, with every handle on the two tables closed: both
// tables back as they were before the save, then the copies and the journal
// removed. Throws DataError when they cannot be put back; the journal then
// stays, and the next start-up puts them back.
void annule();

// Start-up: what an interrupted save left, finished one way or the other.
// Returns the message for the user ("" when there was nothing to do); throws
// DataError when the tables cannot be put back (the journal stays).
QString reprise();

// The names of the composite foods (category "PRODUITS COMPOSÉS") that have
// no line in the Composite table and can be deleted (not Base foods), in
// record order. Reads only.
QStringList orphelins();

}  // namespace CompositeJournal
