#pragma once
// For the benchmarks: big tables written in one go through the codec, each
// record built field by field.
#include <QString>
#include <QVector>
#include <functional>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "support/recordbuilder.h"

namespace BenchTables {
// Writes a table of n records, the i-th filled by fill (fields left out stay
// blank), as one file image (much faster than n appends).
inline void writeTable(const QString& path, const TableSchema& schema, int n,
                       const std::function<void(RecordBuilder&, int)>& fill) {
    DbfFile::create(path, schema.fields);
    QVector<QByteArray> records;
    records.reserve(n);
    {
        const auto f = DbfFile::open(path, true);
        for (int i = 0; i < n; ++i) {
            RecordBuilder r(*f);
            fill(r, i);
            records << r.bytes();
        }
    }
    DbfFile::create(path, schema.fields, records);
}
}   // namespace BenchTables
