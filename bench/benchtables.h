#pragma once
// For the benchmarks: big tables written in one go, and one field of a record
// being built.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVariant>
#include <functional>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"

namespace BenchTables {
// Writes a table of n records in one go: the empty file from the codec, then
// the records and the header count patched in (much faster than n appends).
inline void writeTable(const QString& path, const TableSchema& schema, int n,
                const std::function<void(DbfFile&, int, QByteArray&)>& fill) {
    DbfFile::create(path, schema.fields);
    QByteArray records;
    {
        auto f = DbfFile::open(path);
        for (int i = 0; i < n; ++i) {
            QByteArray rec = f->blankRecord();
            fill(*f, i, rec);
            records += ' ';
            records += rec;
        }
    }
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    QByteArray bytes = file.readAll();
    if (bytes.endsWith('\x1a')) bytes.chop(1);
    bytes += records;
    bytes += '\x1a';
    const quint32 count = static_cast<quint32>(n);
    for (int b = 0; b < 4; ++b) bytes[4 + b] = static_cast<char>((count >> (8 * b)) & 0xff);
    file.seek(0);
    file.write(bytes);
    file.resize(bytes.size());
}

inline void put(DbfFile& f, QByteArray& rec, const char* field, const QVariant& v) {
    const int i = f.fieldIndex(QString::fromLatin1(field));
    const DbfField& fd = f.fields()[i];
    const QByteArray b = fd.type == 'C' ? f.encodeText(i, v.toString()) : f.encodeNumber(i, v.toDouble());
    rec.replace(fd.offset, fd.length, b);
}

}  // namespace BenchTables
