#pragma once
// The header of a dBase III file, in one place for reading and creating a
// table: the rules a field descriptor must follow, the reading of the header
// and its descriptors with the reason of every refusal, and the bytes of a
// new header.
//
// Layout (all integers little-endian):
//   0      version byte (0x03: dBase III without memo)
//   1..3   date of last update, YY (since 1900) MM DD
//   4..7   record count
//   8..9   header length (bytes before the first record)
//   10..11 record length (deletion flag included)
//   28     production index (.MDX) flag
//   29     language driver (0x03: Windows ANSI, i.e. cp1252)
//   32..   one 32-byte descriptor per field (name NUL-padded in 11 bytes,
//          type, width at 16, decimals at 17), then the 0x0D terminator
#include <QByteArray>
#include <QString>
#include <QVector>

#include "core/dbf/dbf.h"

namespace DbfHeader {

inline quint16 le16(const char* p) {
    return static_cast<quint16>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
}
inline quint32 le32(const char* p) {
    return static_cast<quint32>(static_cast<unsigned char>(p[0])) |
           (static_cast<quint32>(static_cast<unsigned char>(p[1])) << 8) |
           (static_cast<quint32>(static_cast<unsigned char>(p[2])) << 16) |
           (static_cast<quint32>(static_cast<unsigned char>(p[3])) << 24);
}
inline void put32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// "Le fichier <name> est endommagé : <problem>."
QString damaged(const QString& name, const QString& problem);

// What is wrong with one field's description, whoever wrote it.
enum class FieldProblem {
    None,
    Name,   // not 1 to 10 letters, digits or '_'
    Type,   // not C, N, F, D or L
    ZeroWidth,
    NumericTooWide,   // a number wider than 40 characters
    Decimals,         // as many decimals as the width, or more
    DateWidth,        // a date not 8 wide
    LogicalWidth,     // a logical not 1 wide
};
FieldProblem problemOf(const DbfField& field);
// The reading's wording of a problem, after "est endommagé : ".
QString describe(FieldProblem problem, const DbfField& field, char storedType);

// What the header of a file says, checked against the file's size.
struct Header {
    unsigned char version = 0;
    quint32 recordCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    bool productionIndex = false;
    QVector<DbfField> fields;   // with their offsets in the record
};
// Reads and checks the header of a file image of `size` bytes; throws
// DataError naming the file and saying what is wrong (a foreign dBase
// format is named as such).
Header read(const char* p, qint64 size, const QString& name);

// The header of a new table of those fields (checked: DataError "Impossible
// de créer le fichier <name> : ..."), with the terminator, no record, and
// the given date.
QByteArray build(const QVector<DbfField>& fields, const QString& name, int year, int month, int day);

}   // namespace DbfHeader
