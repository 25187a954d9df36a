#pragma once
// The five supplied tables, built from the data directory:
//   foods.csv + sources/ciqual-2020.csv  -> DIETAB.DBF (the 233 Base foods)
//   needs.csv + sources/efsa-drv.csv     -> BESOINS.DBF (29 rows)
//   the schemas alone                    -> CHOIX.DBF, choix0.dbf, Alimcomp.DBF (empty)
// Every source is read and checked before any file is written.
#include <QString>
#include <QVector>

#include "foodlist.h"
#include "fullimport.h"
#include "needstable.h"
#include "tablewriter.h"

struct SourcePaths {
    QString foods, needs, ciqual, efsa;
    static SourcePaths inDataDir(const QString& dataDir);
};

namespace SuppliedTables {
// Food table records of the Base foods, in NUMERO order.
QVector<TableRecord> foodRecords(const QVector<BaseFood>& foods, const CiqualTable& ciqual);
// Food table records of a full CIQUAL import.
QVector<TableRecord> importedRecords(const QVector<ImportedFood>& foods, const CiqualTable& ciqual);
// Needs table records, rows 1..29 in order.
QVector<TableRecord> needsRecords(const NeedsTable& needs);

// Reads, checks and writes the five tables into outDir. Throws DataError.
void build(const SourcePaths& sources, const QString& outDir);
// Writes the whole CIQUAL table as one Food table file; returns the number
// of foods written. Throws DataError.
int buildFullCiqual(const QString& ciqualPath, const QString& outFile);
}
