#pragma once
// The supplied tables, built from the data directory:
//   foods.csv + sources/ciqual-2020.csv  -> DIETAB.DBF (the 233 Base foods)
//                                           and beside it NONMESUR.DBF (which
//                                           of their values CIQUAL did not
//                                           measure) and ORIGINES.DBF (their
//                                           CIQUAL codes)
//   sources/ciqual-2020.csv              -> CIQUAL.DBF (the whole table, which
//                                           is installed with the program and
//                                           not copied into the Data directory)
//   needs.csv + sources/efsa-drv.csv     -> BESOINS.DBF (29 rows)
//   the schemas alone                    -> CHOIX.DBF, choix0.dbf, Alimcomp.DBF (empty)
// Every source is read and checked before any file is written.
#include <QString>
#include <QVector>

#include "foodlist.h"
#include "fullimport.h"
#include "needstable.h"
#include "tablewriter.h"
#include "unmeasuredtable.h"

struct SourcePaths {
    QString foods, needs, ciqual, efsa;
    static SourcePaths inDataDir(const QString& dataDir);
};

// The Base foods as the Food table and its side table hold them.
struct BaseFoodTables {
    QVector<TableRecord> foods;        // DIETAB.DBF, in NUMERO order
    QVector<TableRecord> unmeasured;   // NONMESUR.DBF: the foods with an unmeasured value
    QVector<int> chlorideFromSodium;   // NUMERO of the foods whose chloride is estimated
    QVector<TableRecord> origins;      // ORIGINES.DBF: each food's CIQUAL code
};

namespace SuppliedTables {
BaseFoodTables baseFoods(const QVector<BaseFood>& foods, const CiqualTable& ciqual);
// Food table records of a full CIQUAL import.
QVector<TableRecord> importedRecords(const QVector<ImportedFood>& foods, const CiqualTable& ciqual);
// CIQUAL.DBF records: every CIQUAL food in French name order, its values as
// the whole import computes them and its unmeasured fields. Throws DataError
// for a food whose sub-group has no category.
QVector<TableRecord> ciqualRecords(const CiqualTable& ciqual);
// Needs table records, rows 1..29 in order.
QVector<TableRecord> needsRecords(const NeedsTable& needs);

// Reads, checks and writes the supplied tables and CIQUAL.DBF into outDir.
// Throws DataError.
void build(const SourcePaths& sources, const QString& outDir);
// Writes the whole CIQUAL table as one Food table file; returns the number
// of foods written. Throws DataError.
int buildFullCiqual(const QString& ciqualPath, const QString& outFile);
}
