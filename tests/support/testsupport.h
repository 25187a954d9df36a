#pragma once
// Helpers shared by the test executables: a fresh temporary Data directory,
// tables written from the schemas, and access to the supplied tables.
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>
#include <QVector>

#include "core/schema/schema.h"

// A fresh temporary directory made the Data directory (DataDir::set) for the
// lifetime of the object; the previous Data directory is restored after.
class TempDataDir {
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const;
    QString file(const QString& name) const;   // absolute path of a name inside
    bool isValid() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

namespace Fixtures {
// Creates an empty table file of the schema (its own file name unless given).
QString createEmpty(const TableSchema& schema, const QString& dir,
                    const QString& fileName = QString());
// Appends records given as field -> value maps (numbers as double, texts as
// QString) through the codec; fields left out stay blank.
void appendRecords(const TableSchema& schema, const QString& path,
                   const QVector<QVariantMap>& records);
// A small Food table: a handful of foods over several categories.
QString writeSmallFoodTable(const QString& dir);
// Empty CHOIX.DBF, choix0.dbf and Alimcomp.DBF, plus the small Food table and
// a Needs table of 29 rows, so that every window can open.
void writeAllTables(const QString& dir);
// The directory of the supplied tables built by the build (may not exist).
QString suppliedTablesDir();
}
