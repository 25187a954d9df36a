#include "support/recordbuilder.h"

#include "core/dbf/dbf.h"

RecordBuilder::RecordBuilder(const DbfFile& file) : m_file(file), m_bytes(file.blankRecord()) {}

RecordBuilder& RecordBuilder::set(const QString& field, const QVariant& value) {
    const int f = m_file.fieldIndex(field);
    if (f < 0) return *this;
    const DbfField& fd = m_file.fields()[f];
    const QByteArray encoded =
        fd.type == 'C' ? m_file.encodeText(f, value.toString()) : m_file.encodeNumber(f, value.toDouble());
    m_bytes.replace(fd.offset, fd.length, encoded);
    return *this;
}

RecordBuilder& RecordBuilder::setRaw(const QString& field, const QByteArray& bytes) {
    const int f = m_file.fieldIndex(field);
    if (f >= 0) m_bytes.replace(m_file.fields()[f].offset, bytes.size(), bytes);
    return *this;
}
