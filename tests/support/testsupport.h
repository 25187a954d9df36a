#pragma once
// Helpers shared by the test executables: the fixture base (a fresh
// temporary Data directory and the run on it), tables written from the
// schemas, the Choice table read back from disk, access to the supplied
// tables, and edited copies of the source files.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <QVector>

#include <memory>

#include "core/io/runcontext.h"
#include "core/schema/schema.h"
#include "core/session/session.h"

class EfsaReference;

// The fixture base: a fresh temporary directory and the Session of a run on
// it, whose context (Data directory, file seam, checked files, lock,
// prompter) every table, command and window of the test is given. No
// prompter is set (questions answer Non, see LogPrompter) until a test makes
// a ScriptedPrompter on the run. The directory goes with the object.
class TempDataDir {
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const;
    QString file(const QString& name) const;   // absolute path of a name inside
    bool isValid() const;
    Session& session() { return *m_session; }
    RunContext& run();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Session> m_session;
};

namespace Fixtures {
// Creates an empty table file of the schema (its own file name unless given),
// through a seam of its own.
QString createEmpty(const TableSchema& schema, const QString& dir, const QString& fileName = QString());
// Appends records given as field -> value maps (numbers as double, texts as
// QString) through the codec; fields left out stay blank.
void appendRecords(const TableSchema& schema, const QString& path, const QVector<QVariantMap>& records);
// A small Food table: a handful of foods over several categories.
QString writeSmallFoodTable(const QString& dir);
// Empty CHOIX.DBF, choix0.dbf and Alimcomp.DBF, plus the small Food table and
// a Needs table of 29 rows, so that every window can open.
void writeAllTables(const QString& dir);
// A day's choice of one line, 100 g of "Pain blanc" (50 g of starch, 200
// kcal), appended to dir/CHOIX.DBF: a day the diagnosis can show.
void appendBreadLine(const QString& dir);
// A saved day: a Choice table named name in dir holding the lines, its
// file dated modified.
QString writeSavedDay(const QString& dir, const QString& name, const QVector<QVariantMap>& lines,
                      const QDateTime& modified);
// The names of the records of dir/CHOIX.DBF that are not deleted, in record
// order, read through the codec; their quantities (QTE) too when asked.
QStringList liveChoiceNames(const QString& dir, QList<double>* quantities = nullptr);
// The directory of the supplied tables built by the build (may not exist).
QString suppliedTablesDir();
// The whole CIQUAL table the build writes beside them (never copied into a
// Data directory).
QString ciqualTable();
// Copies every supplied table into dir (a day's choice then empty).
void copySuppliedTables(const QString& dir);
// EFSA's values of the source tree (data/sources/efsa-drv.csv).
const EfsaReference& efsaReference();
// The lines of a ';'-separated source file with one change, to feed a bad
// row: line `line` (1-based) removed when field is negative; otherwise its
// cell `field` (0-based) removed when text is REMOVE, else replaced by text.
QStringList editCsvLine(QStringList lines, int line, int field, const QString& text);
}
