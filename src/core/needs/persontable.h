#pragma once
// The persons remembered in the Data directory (PERSONNE.DBF, schema.h):
// read all at once, each found again by its name (letter case aside), added,
// changed or forgotten one record at a time through the Table handle, so
// that a write that fails leaves the other records as they were.
#include <QString>
#include <QVector>

#include "core/needs/person.h"

class RunContext;

namespace PersonTable {
// Two names of one person: letter case and runs of blanks aside.
bool sameName(const QString& a, const QString& b);
// The remembered persons in French order of their names; none when the file
// is absent. A damaged file throws DataError naming it.
QVector<Person> read(RunContext& run);
// Remembers the person under its name, which must not be empty: the record
// of that name, or else of `previous` (a person renamed), is changed; else
// one is added (the file made when absent). Throws DataError.
void remember(RunContext& run, const Person& p, const QString& previous = QString());
// Forgets the person of that name (nothing when none). Throws DataError.
void forget(RunContext& run, const QString& name);
}   // namespace PersonTable
