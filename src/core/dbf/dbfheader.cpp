#include "core/dbf/dbfheader.h"

#include <QSet>

#include <cctype>
#include <cstring>

#include "core/io/dataerror.h"

namespace DbfHeader {
namespace {

constexpr int kMaxNumericWidth = 40;   // wider numbers are not a dBase field
constexpr int kMaxWidth = 254;         // the widest field a table we create holds

inline void put16(char* p, quint16 v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}

bool validFieldNameChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
}

// Versions of dBase III-compatible files whose descriptors we read: 0x03
// (dBase III, IV, V without memo) and the same with a memo file (0x83, 0x8B)
// as long as no field is kept in the memo file.
bool knownVersion(unsigned char v) { return v == 0x03 || v == 0x83 || v == 0x8B; }

// What a file of another dBase program is, by its version byte ("" when the
// byte names no format we know). Such a file is sound, only not readable
// here: the user is told what it is and how to make it readable.
QString foreignFormat(unsigned char v) {
    switch (v) {
    case 0x02:
    case 0xFB:
        return QStringLiteral("une table FoxBASE");
    case 0x04:
        return QStringLiteral("une table dBase 7");
    case 0x30:
    case 0x31:
    case 0x32:
        return QStringLiteral("une table Visual FoxPro");
    case 0x83:
        return QStringLiteral("une table dBase III avec mémo");
    case 0x8B:
        return QStringLiteral("une table dBase IV avec mémo");
    case 0x8C:
        return QStringLiteral("une table dBase 7 avec mémo");
    case 0xF5:
        return QStringLiteral("une table FoxPro avec mémo");
    default:
        return QString();
    }
}

// Field types kept in a memo file (text, picture, binary, OLE object).
bool memoType(char t) { return t == 'M' || t == 'G' || t == 'B' || t == 'P'; }

QString foreign(const QString& name, const QString& what) {
    return QStringLiteral(
               "Le fichier %1 est %2, que Nutrimo ne sait pas lire : il ne lit que "
               "les tables dBase III sans mémo. Ouvrez ce fichier dans le programme "
               "qui l'a écrit et enregistrez-le au format dBase III. Le fichier n'a "
               "pas été modifié.")
        .arg(name, what);
}

// Whether the header of a file whose version byte names another format
// reads as one (a valid date, header and records within the file; for Visual
// FoxPro, the 263 bytes that follow its field list), rather than as a
// damaged or foreign file that happens to start with that byte.
bool foreignHeader(const char* p, qint64 size, unsigned char version) {
    const int month = static_cast<unsigned char>(p[2]);
    const int day = static_cast<unsigned char>(p[3]);
    const qint64 count = le32(p + 4);
    const int hlen = le16(p + 8);
    const int rlen = le16(p + 10);
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    if (hlen < 32 + 32 + 1 || hlen > size || rlen < 2 || hlen + count * rlen > size) return false;
    if (version < 0x30 || version > 0x32) return true;
    int end = 32;
    while (end < hlen && p[end] != 0x0D) end += 32;
    return end < hlen && end + 1 + 263 == hlen;
}

[[noreturn]] void refuse(const QString& name, const QString& problem) {
    throw DataError(damaged(name, problem));
}

// One descriptor at d, the number-th: its name (refused when unreadable),
// then its kind and widths.
DbfField readField(const char* d, int number, int offset, unsigned char version, const QString& name) {
    // Name: 1 to 10 ASCII characters (letters, digits, '_'), NUL-padded.
    int nameLen = 0;
    while (nameLen < 11 && d[nameLen] != '\0') ++nameLen;
    DbfField f;
    f.name = QString::fromLatin1(d, nameLen);
    if (problemOf(f) == FieldProblem::Name)
        refuse(name, QStringLiteral("la description du champ n° %1 est illisible (nom invalide)").arg(number));
    f.name = f.name.toUpper();
    f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(d[11])));
    f.length = static_cast<unsigned char>(d[16]);
    f.decimals = static_cast<unsigned char>(d[17]);
    f.offset = offset;
    // A memo field in a file whose version says it has a memo file.
    if (version != 0x03 && memoType(f.type)) throw DataError(foreign(name, foreignFormat(version)));
    const FieldProblem problem = problemOf(f);
    if (problem != FieldProblem::None) refuse(name, describe(problem, f, d[11]));
    if (f.type != 'N' && f.type != 'F') f.decimals = 0;
    return f;
}

}   // namespace

QString damaged(const QString& name, const QString& problem) {
    return QStringLiteral("Le fichier %1 est endommagé : %2.").arg(name, problem);
}

FieldProblem problemOf(const DbfField& f) {
    bool nameOk = !f.name.isEmpty() && f.name.size() <= 10;
    for (const QChar c : f.name) nameOk = nameOk && validFieldNameChar(c);
    if (!nameOk) return FieldProblem::Name;
    switch (f.type) {
    case 'C':
    case 'N':
    case 'F':
    case 'D':
    case 'L':
        break;
    default:
        return FieldProblem::Type;
    }
    if (f.length < 1) return FieldProblem::ZeroWidth;
    if (f.type == 'N' || f.type == 'F') {
        if (f.length > kMaxNumericWidth) return FieldProblem::NumericTooWide;
        if (f.decimals > 0 && f.decimals >= f.length) return FieldProblem::Decimals;
    }
    if (f.type == 'D' && f.length != 8) return FieldProblem::DateWidth;
    if (f.type == 'L' && f.length != 1) return FieldProblem::LogicalWidth;
    return FieldProblem::None;
}

QString describe(FieldProblem problem, const DbfField& f, char storedType) {
    switch (problem) {
    case FieldProblem::None:
        return QString();
    case FieldProblem::Name:
        return QStringLiteral("le nom de champ « %1 » n'est pas valide").arg(f.name);
    case FieldProblem::Type: {
        const unsigned char t = static_cast<unsigned char>(storedType);
        const QString shown = (t >= 0x21 && t < 0x7F) ? QStringLiteral("« %1 »").arg(QChar(t))
                                                      : QStringLiteral("0x%1").arg(t, 2, 16, QLatin1Char('0'));
        return QStringLiteral("le champ %1 a un type inconnu (%2)").arg(f.name, shown);
    }
    case FieldProblem::ZeroWidth:
        return QStringLiteral("le champ %1 a une largeur nulle").arg(f.name);
    case FieldProblem::NumericTooWide:
        return QStringLiteral("le champ numérique %1 a une largeur de %2 caractères, trop grande")
            .arg(f.name)
            .arg(f.length);
    case FieldProblem::Decimals:
        return QStringLiteral("le champ %1 a %2 décimales pour une largeur de %3")
            .arg(f.name)
            .arg(f.decimals)
            .arg(f.length);
    case FieldProblem::DateWidth:
        return QStringLiteral("le champ date %1 a une largeur de %2 au lieu de 8").arg(f.name).arg(f.length);
    case FieldProblem::LogicalWidth:
        return QStringLiteral("le champ logique %1 a une largeur de %2 au lieu de 1").arg(f.name).arg(f.length);
    }
    return QString();
}

Header read(const char* p, qint64 size, const QString& name) {
    if (size < 32)
        refuse(name, QStringLiteral("il ne fait que %1 octets, moins qu'un en-tête de table dBase (32 octets)")
                         .arg(size));
    Header h;
    h.version = static_cast<unsigned char>(p[0]);
    if (!knownVersion(h.version) && !foreignFormat(h.version).isEmpty() && foreignHeader(p, size, h.version))
        throw DataError(foreign(name, foreignFormat(h.version)));
    if (!knownVersion(h.version))
        refuse(name, QStringLiteral("ce n'est pas une table dBase III (octet de version 0x%1)")
                         .arg(QString::number(h.version, 16).rightJustified(2, QLatin1Char('0')).toUpper()));
    h.recordCount = le32(p + 4);
    h.headerLength = le16(p + 8);
    h.recordLength = le16(p + 10);
    h.productionIndex = p[28] != 0;
    const int hlen = h.headerLength;
    if (hlen > size)
        refuse(name, QStringLiteral("la longueur d'en-tête (%1) dépasse la taille du fichier (%2 octets)")
                         .arg(hlen)
                         .arg(size));
    if (hlen < 32 + 32 + 1)
        refuse(name,
               QStringLiteral("la longueur d'en-tête (%1) est trop petite pour décrire un champ").arg(hlen));
    // Field descriptors up to the 0x0D terminator, within the header.
    const QString unterminated = QStringLiteral("la liste des champs n'est pas terminée par l'octet 0x0D");
    QSet<QString> seen;
    int pos = 32;
    int offset = 0;
    for (;;) {
        if (pos >= hlen || pos >= size) refuse(name, unterminated);
        if (p[pos] == 0x0D) break;
        if (pos + 32 > hlen) {
            // Either the header length is too short for the descriptors, or
            // the terminator is missing: look for it further on.
            int end = pos;
            while (end < size && p[end] != 0x0D) end += 32;
            if (end < size)
                refuse(name,
                       QStringLiteral("la longueur d'en-tête (%1) ne correspond pas aux champs décrits (%2)")
                           .arg(hlen)
                           .arg(end + 1));
            refuse(name, unterminated);
        }
        const DbfField f = readField(p + pos, h.fields.size() + 1, offset, h.version, name);
        if (seen.contains(f.name)) refuse(name, QStringLiteral("le champ %1 est décrit deux fois").arg(f.name));
        seen.insert(f.name);
        offset += f.length;
        h.fields << f;
        pos += 32;
    }
    if (h.fields.isEmpty()) refuse(name, QStringLiteral("il ne décrit aucun champ"));
    // The records start right after the terminator: a header length that says
    // otherwise would have every record read off by some bytes.
    if (hlen != pos + 1)
        refuse(name, QStringLiteral("la longueur d'en-tête (%1) ne correspond pas aux champs décrits (%2)")
                         .arg(hlen)
                         .arg(pos + 1));
    if (offset + 1 != h.recordLength)
        refuse(name, QStringLiteral("la longueur d'enregistrement (%1) ne correspond pas aux champs (%2)")
                         .arg(h.recordLength)
                         .arg(offset + 1));
    return h;
}

QByteArray build(const QVector<DbfField>& fields, const QString& name, int year, int month, int day) {
    auto refuseCreate = [&](const QString& why) {
        throw DataError(QStringLiteral("Impossible de créer le fichier %1 : %2.").arg(name, why));
    };
    if (fields.isEmpty()) refuseCreate(QStringLiteral("aucun champ n'est donné"));
    QSet<QString> seen;
    int recordLength = 1;
    for (const DbfField& f : fields) {
        const FieldProblem problem = problemOf(f);
        if (problem == FieldProblem::Name) refuseCreate(describe(problem, f, f.type));
        if (seen.contains(f.name.toUpper()))
            refuseCreate(QStringLiteral("le champ %1 est donné deux fois").arg(f.name));
        seen.insert(f.name.toUpper());
        if (problem == FieldProblem::Type)
            refuseCreate(QStringLiteral("le champ %1 a un type inconnu").arg(f.name));
        if (problem != FieldProblem::None || f.length > kMaxWidth ||
            ((f.type == 'N' || f.type == 'F') && f.decimals < 0))
            refuseCreate(QStringLiteral("le champ %1 a une largeur invalide").arg(f.name));
        recordLength += f.length;
    }
    if (recordLength > 0xFFFF) refuseCreate(QStringLiteral("les enregistrements sont trop longs"));
    const int headerLength = 32 + 32 * fields.size() + 1;
    if (headerLength > 0xFFFF) refuseCreate(QStringLiteral("il y a trop de champs"));

    QByteArray bytes(headerLength, '\0');
    char* p = bytes.data();
    p[0] = 0x03;
    p[1] = static_cast<char>(qBound(0, year - 1900, 255));
    p[2] = static_cast<char>(qBound(1, month, 12));
    p[3] = static_cast<char>(qBound(1, day, 31));
    put32(p + 4, 0);
    put16(p + 8, static_cast<quint16>(headerLength));
    put16(p + 10, static_cast<quint16>(recordLength));
    p[29] = 0x03;   // language driver: Windows ANSI (cp1252)
    for (int i = 0; i < fields.size(); ++i) {
        char* dsc = p + 32 + 32 * i;
        const QByteArray n = fields[i].name.toUpper().toLatin1();
        std::memcpy(dsc, n.constData(), static_cast<size_t>(n.size()));
        dsc[11] = fields[i].type;
        dsc[16] = static_cast<char>(fields[i].length);
        dsc[17] = static_cast<char>((fields[i].type == 'N' || fields[i].type == 'F') ? fields[i].decimals : 0);
    }
    p[headerLength - 1] = 0x0D;
    return bytes;
}

}   // namespace DbfHeader
