#pragma once
// Writes dBase tables through the codec, byte for byte the same at every
// build: a fixed header date (the CIQUAL 2020 publication, 2020-07-07),
// records in the order given. A set of tables is first written under
// temporary names and only then renamed, so that a failure leaves the
// previous tables in place.
#include <QString>
#include <QVariant>
#include <QVector>

#include "core/schema/schema.h"

// One record: field name -> value (double for numbers, QString for texts,
// bool for logical fields);
// a field left out stays blank.
using TableRecord = QHash<QString, QVariant>;

struct PendingTable {
    const TableSchema* schema = nullptr;
    QString fileName;   // name to give the file in the directory
    QVector<TableRecord> records;
};

namespace TableWriter {
constexpr int kYear = 2020, kMonth = 7, kDay = 7;

// Writes every table into dir (created if needed), replacing files of the
// same names. Throws DataError (a value that does not fit its field, a
// write error); nothing is replaced then.
void writeAll(const QString& dir, const QVector<PendingTable>& tables);
}
