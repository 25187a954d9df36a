#pragma once
// One record of a table file built field by field through the codec, for
// tests and benchmarks that lay out records of their own:
//
//     auto file = DbfFile::open(path);
//     file->writeRecord(0, RecordBuilder(*file).set("NOM", "Pomme").set("QTE", 150.0).bytes());
//
// Fields not set stay blank; a number is given as a double (or int), a text
// as a QString. A field the file does not have is ignored.
#include <QByteArray>
#include <QString>
#include <QVariant>

class DbfFile;

class RecordBuilder {
public:
    explicit RecordBuilder(const DbfFile& file);

    // The value encoded as the codec writes it into that field (a number
    // right-aligned at the field's decimals, a text left-aligned).
    RecordBuilder& set(const QString& field, const QVariant& value);
    // Bytes written as they stand at the start of the field (a value the
    // codec would not write, for damaged or foreign records).
    RecordBuilder& setRaw(const QString& field, const QByteArray& bytes);

    QByteArray bytes() const { return m_bytes; }            // without the deletion flag
    QByteArray withFlag() const { return ' ' + m_bytes; }   // as the record stands in the file

private:
    const DbfFile& m_file;
    QByteArray m_bytes;
};
