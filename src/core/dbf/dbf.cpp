// dBase III codec.
//
// File layout (all integers little-endian):
//   0      version byte (0x03: dBase III without memo)
//   1..3   date of last update, YY (since 1900) MM DD
//   4..7   record count
//   8..9   header length (bytes before the first record)
//   10..11 record length (deletion flag included)
//   28     production index (.MDX) flag
//   29     language driver (0x03: Windows ANSI, i.e. cp1252)
//   32..   one 32-byte descriptor per field (name NUL-padded in 11 bytes,
//          type, width at 16, decimals at 17), then the 0x0D terminator
//   header length.. records: one flag byte (' ' live, '*' deleted) and the
//          fields, fixed width, one after the other; a 0x1A byte ends the file.
//
// Header date. It is kept as it was when the file was created: writes never
// change it. The supplied tables are thus byte-for-byte reproducible, and a
// saved copy of the day's choice compares equal to the table it came from.
//
// Production index flag. This program never reads nor writes .MDX files: the
// index tags are built in memory when a table handle opens. The flag is
// ignored on reading; on the first write to a file that has it set, it is
// cleared (just before that first write), so that another dBase program does not trust an
// .MDX file that no longer matches the records.
//
// Durability. Every write goes straight to the file and is flushed to the
// operating system before returning (no buffering in this process), so a
// process killed right after a post loses nothing. An append writes the record
// and the end mark first, then the header's record count: a kill between the
// two leaves an uncounted record that readers ignore.
//
// The whole file is held in memory while open; reads never touch the disk.
#include "core/dbf/dbf.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/dbf/checkedfiles.h"
#include "core/dbf/dataerror.h"
#include "core/dbf/fileerror.h"
#include "core/dbf/fileseam.h"
#include "core/dbf/numberparse.h"
#include "core/dbf/numformat.h"
#include "core/dbf/wholefile.h"

// ---------------------------------------------------------------------------
// Number formatting (the parsing is in numberparse.cpp)

namespace {

using DbfNumber::isPad;
using DbfNumber::parseLenient;
using DbfNumber::parseScaledText;
using DbfNumber::parseStrict;

// The refused value as the user would write it: no trailing decimals, no
// exponent for ordinary magnitudes.
QString shownNumber(double value) {
    if (std::fabs(value) < 1e21) return NumFormat::General(value, QLocale::c());
    return QString::number(value, 'g', 6);
}

QString damaged(const QString& name, const QString& problem) {
    return QStringLiteral("Le fichier %1 est endommagé : %2.").arg(name, problem);
}

inline quint16 le16(const char* p) {
    return static_cast<quint16>(static_cast<unsigned char>(p[0]) |
                                (static_cast<unsigned char>(p[1]) << 8));
}
inline quint32 le32(const char* p) {
    return static_cast<quint32>(static_cast<unsigned char>(p[0])) |
           (static_cast<quint32>(static_cast<unsigned char>(p[1])) << 8) |
           (static_cast<quint32>(static_cast<unsigned char>(p[2])) << 16) |
           (static_cast<quint32>(static_cast<unsigned char>(p[3])) << 24);
}
inline void put16(char* p, quint16 v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>(v >> 8);
}
inline void put32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

constexpr int kMaxNumericWidth = 40;   // wider numbers are not a dBase field

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
    return QStringLiteral("Le fichier %1 est %2, que Nutrimo ne sait pas lire : il ne lit que "
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

bool validFieldNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_';
}

}  // namespace

// ---------------------------------------------------------------------------

struct DbfFile::Impl {
    QString path;            // as opened (absolute when from a file)
    QString name;            // shown in messages
    int fd = -1;             // open while the DbfFile lives (not for fromBytes)
    bool onDisk = false;
    bool readOnly = false;
    QByteArray image;        // header + records (without the trailing end mark)
    int headerLength = 0;
    int recordLength = 0;
    int recordCount = 0;
    QVector<DbfField> fields;
    QHash<QString, int> byName;   // upper-case name -> index
    bool mdx = false;
    bool recordsKnownGood = false;   // this very file passed the record checks before

    const char* rec(int r) const {
        return image.constData() + headerLength + static_cast<qint64>(r) * recordLength;
    }
    void parse(QByteArray bytes, qint64 fileSize);
    void checkRecord(int r) const;
    void checkField(int f) const;
    void checkWritable() const;
    void writeAt(qint64 pos, const char* data, qint64 len);
    void undoAppend(qint64 end);
    void checkRecords(const char* records, int count, int rlen,
                      const QVector<DbfField>& list) const;
    ~Impl() {
        if (fd >= 0) ::close(fd);
    }
};

void DbfFile::Impl::checkRecord(int r) const {
    if (r < 0 || r >= recordCount)
        throw DataError(QStringLiteral("L'enregistrement n° %1 n'existe pas dans le fichier %2.")
                            .arg(r + 1)
                            .arg(name));
}

void DbfFile::Impl::checkField(int f) const {
    if (f < 0 || f >= fields.size())
        throw DataError(QStringLiteral("Le champ n° %1 n'existe pas dans le fichier %2.")
                            .arg(f + 1)
                            .arg(name));
}

void DbfFile::Impl::checkWritable() const {
    if (readOnly)
        throw DataError(QStringLiteral("Le fichier %1 est ouvert en lecture seule.").arg(name));
}

void DbfFile::Impl::writeAt(qint64 pos, const char* data, qint64 len) {
    if (!onDisk) return;
    if (const int err = FileSeam::writeAll(fd, pos, data, len, path))
        throw DataError(QStringLiteral("Impossible d'écrire dans le fichier %1 : %2.")
                            .arg(name, FileError::fromErrno(err, path)));
}

// After a failed append: the header count and the end mark as they were, and
// the file cut back to its former end, written directly (not through the
// seam, whose planned fault belongs to the write that failed). Whatever of
// this fails too leaves at worst an uncounted record, which readers ignore.
void DbfFile::Impl::undoAppend(qint64 end) {
    char count[4];
    put32(count, static_cast<quint32>(recordCount));
    const char mark = 0x1A;
    if (::pwrite(fd, count, 4, 4) == 4 && ::pwrite(fd, &mark, 1, end) == 1)
        (void)!::ftruncate(fd, end + 1);   // "!": ignored even where glibc insists (fortified builds)
}

// Validates the image and fills the description. Every refusal names the
// file and says what is wrong.
void DbfFile::Impl::parse(QByteArray bytes, qint64 fileSize) {
    const char* p = bytes.constData();
    const qint64 size = bytes.size();
    if (size < 32)
        throw DataError(damaged(name, QStringLiteral("il ne fait que %1 octets, moins qu'un "
                                                     "en-tête de table dBase (32 octets)")
                                          .arg(size)));
    const unsigned char version = static_cast<unsigned char>(p[0]);
    if (!knownVersion(version) && !foreignFormat(version).isEmpty() && foreignHeader(p, size, version))
        throw DataError(foreign(name, foreignFormat(version)));
    if (!knownVersion(version))
        throw DataError(damaged(
            name, QStringLiteral("ce n'est pas une table dBase III (octet de version 0x%1)")
                      .arg(QString::number(version, 16).rightJustified(2, QLatin1Char('0')).toUpper())));
    const quint32 count = le32(p + 4);
    const int hlen = le16(p + 8);
    const int rlen = le16(p + 10);
    mdx = p[28] != 0;

    if (hlen > size)
        throw DataError(damaged(name, QStringLiteral("la longueur d'en-tête (%1) dépasse la "
                                                     "taille du fichier (%2 octets)")
                                          .arg(hlen)
                                          .arg(size)));
    if (hlen < 32 + 32 + 1)
        throw DataError(damaged(name, QStringLiteral("la longueur d'en-tête (%1) est trop petite "
                                                     "pour décrire un champ")
                                          .arg(hlen)));
    // Field descriptors up to the 0x0D terminator, within the header.
    QVector<DbfField> list;
    QSet<QString> seen;
    int pos = 32;
    int offset = 0;
    for (;;) {
        if (pos >= hlen || pos >= size)
            throw DataError(damaged(
                name, QStringLiteral("la liste des champs n'est pas terminée par l'octet 0x0D")));
        if (p[pos] == 0x0D) break;
        if (pos + 32 > hlen) {
            // Either the header length is too short for the descriptors, or
            // the terminator is missing: look for it further on.
            int end = pos;
            while (end < size && p[end] != 0x0D) end += 32;
            if (end < size)
                throw DataError(damaged(
                    name, QStringLiteral("la longueur d'en-tête (%1) ne correspond pas aux "
                                         "champs décrits (%2)")
                              .arg(hlen)
                              .arg(end + 1)));
            throw DataError(damaged(
                name, QStringLiteral("la liste des champs n'est pas terminée par l'octet 0x0D")));
        }
        const char* d = p + pos;
        const int number = list.size() + 1;
        // Name: 1 to 10 ASCII characters (letters, digits, '_'), NUL-padded.
        int nameLen = 0;
        while (nameLen < 11 && d[nameLen] != '\0') ++nameLen;
        bool nameOk = nameLen >= 1 && nameLen <= 10;
        for (int k = 0; nameOk && k < nameLen; ++k) nameOk = validFieldNameChar(d[k]);
        if (!nameOk)
            throw DataError(damaged(
                name, QStringLiteral("la description du champ n° %1 est illisible (nom invalide)")
                          .arg(number)));
        DbfField f;
        f.name = QString::fromLatin1(d, nameLen).toUpper();
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(d[11])));
        f.length = static_cast<unsigned char>(d[16]);
        f.decimals = static_cast<unsigned char>(d[17]);
        f.offset = offset;
        // A memo field in a file whose version says it has a memo file.
        if (version != 0x03 && memoType(f.type)) throw DataError(foreign(name, foreignFormat(version)));
        if (f.type != 'C' && f.type != 'N' && f.type != 'F' && f.type != 'D' && f.type != 'L') {
            const unsigned char t = static_cast<unsigned char>(d[11]);
            const QString shown = (t >= 0x21 && t < 0x7F)
                                      ? QStringLiteral("« %1 »").arg(QChar(t))
                                      : QStringLiteral("0x%1").arg(t, 2, 16, QLatin1Char('0'));
            throw DataError(damaged(name, QStringLiteral("le champ %1 a un type inconnu (%2)")
                                              .arg(f.name, shown)));
        }
        if (f.length == 0)
            throw DataError(
                damaged(name, QStringLiteral("le champ %1 a une largeur nulle").arg(f.name)));
        if (f.type == 'C') {
            f.decimals = 0;
        } else if (f.type == 'N' || f.type == 'F') {
            if (f.length > kMaxNumericWidth)
                throw DataError(damaged(name, QStringLiteral("le champ numérique %1 a une largeur "
                                                             "de %2 caractères, trop grande")
                                                  .arg(f.name)
                                                  .arg(f.length)));
            if (f.decimals > 0 && f.decimals >= f.length)
                throw DataError(damaged(name, QStringLiteral("le champ %1 a %2 décimales pour "
                                                             "une largeur de %3")
                                                  .arg(f.name)
                                                  .arg(f.decimals)
                                                  .arg(f.length)));
        } else if (f.type == 'D') {
            f.decimals = 0;
            if (f.length != 8)
                throw DataError(damaged(name, QStringLiteral("le champ date %1 a une largeur de "
                                                             "%2 au lieu de 8")
                                                  .arg(f.name)
                                                  .arg(f.length)));
        } else if (f.type == 'L') {
            f.decimals = 0;
            if (f.length != 1)
                throw DataError(damaged(name, QStringLiteral("le champ logique %1 a une largeur "
                                                             "de %2 au lieu de 1")
                                                  .arg(f.name)
                                                  .arg(f.length)));
        }
        if (seen.contains(f.name))
            throw DataError(
                damaged(name, QStringLiteral("le champ %1 est décrit deux fois").arg(f.name)));
        seen.insert(f.name);
        offset += f.length;
        list << f;
        pos += 32;
    }
    if (list.isEmpty())
        throw DataError(damaged(name, QStringLiteral("il ne décrit aucun champ")));
    // The records start right after the terminator: a header length that says
    // otherwise would have every record read off by some bytes.
    if (hlen != pos + 1)
        throw DataError(damaged(name, QStringLiteral("la longueur d'en-tête (%1) ne correspond pas "
                                                     "aux champs décrits (%2)")
                                          .arg(hlen)
                                          .arg(pos + 1)));
    if (offset + 1 != rlen)
        throw DataError(damaged(name, QStringLiteral("la longueur d'enregistrement (%1) ne "
                                                     "correspond pas aux champs (%2)")
                                          .arg(rlen)
                                          .arg(offset + 1)));
    const qint64 needed = static_cast<qint64>(hlen) + static_cast<qint64>(count) * rlen;
    if (needed > fileSize)
        throw DataError(damaged(name, QStringLiteral("il est tronqué : l'en-tête annonce %1 "
                                                     "enregistrements, soit %2 octets, mais le "
                                                     "fichier n'en fait que %3")
                                          .arg(count)
                                          .arg(needed)
                                          .arg(fileSize)));
    if (needed > 0x7FFFFFFF)
        throw DataError(QStringLiteral("Le fichier %1 est trop grand pour être ouvert.").arg(name));

    if (!recordsKnownGood) checkRecords(p + hlen, static_cast<int>(count), rlen, list);

    headerLength = hlen;
    recordLength = rlen;
    recordCount = static_cast<int>(count);
    fields = list;
    byName.clear();
    for (int i = 0; i < fields.size(); ++i) byName.insert(fields[i].name, i);
    // Keeps the bytes themselves (no copy): only what follows the records
    // (the end mark, or junk) is cut off.
    image = std::move(bytes);
    image.truncate(static_cast<int>(needed));
}

// Every record's deletion flag is a blank or "*", and every number field holds
// a number or blanks: a file that says otherwise is refused with the record
// and the field named, rather than read as live records and zeros.
void DbfFile::Impl::checkRecords(const char* records, int count, int rlen,
                                 const QVector<DbfField>& list) const {
    QVector<const DbfField*> numbers;
    for (const DbfField& f : list)
        if (f.type == 'N' || f.type == 'F') numbers << &f;
    for (int r = 0; r < count; ++r) {
        const char* rec = records + static_cast<qint64>(r) * rlen;
        if (rec[0] != ' ' && rec[0] != '*')
            throw DataError(damaged(
                name, QStringLiteral("l'enregistrement n° %1 a un indicateur de suppression "
                                     "invalide (0x%2 au lieu d'un blanc ou d'une étoile)")
                          .arg(r + 1)
                          .arg(static_cast<unsigned char>(rec[0]), 2, 16, QLatin1Char('0'))));
        for (const DbfField* f : numbers) {
            const char* p = rec + 1 + f->offset;
            if (DbfNumber::isPlainNumber(p, f->length)) continue;
            bool ok;
            parseStrict(p, f->length, &ok);
            if (ok) continue;
            QString shown = Cp1252::decode(QByteArray(p, f->length)).trimmed();
            for (QChar& c : shown)
                if (c.unicode() < 0x20) c = QLatin1Char('?');
            throw DataError(damaged(name, QStringLiteral("l'enregistrement n° %1 a dans le champ "
                                                         "%2 la valeur « %3 », qui n'est pas "
                                                         "un nombre")
                                              .arg(r + 1)
                                              .arg(f->name, shown)));
        }
    }
}

// ---------------------------------------------------------------------------

DbfFile::DbfFile() : d(new Impl) {}
DbfFile::~DbfFile() = default;

std::unique_ptr<DbfFile> DbfFile::open(const QString& path, bool readOnly) {
    std::unique_ptr<DbfFile> f(new DbfFile);
    Impl& d = *f->d;
    d.path = QFileInfo(path).absoluteFilePath();
    d.name = FileError::shownName(path);
    d.readOnly = readOnly;
    const QByteArray native = QFile::encodeName(d.path);
    // Opening for writing never creates a missing table and never follows a
    // symbolic link to a file elsewhere. Writes are unbuffered: each goes
    // straight to the system, and a write that failed leaves nothing behind
    // in a buffer to be replayed by a later one.
    // In a read-only run the file is only read: each write is then refused
    // by the seam with the reason.
    int err = 0;
    if (readOnly || FileSeam::readOnlyRun()) {
        d.fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
        if (d.fd < 0) err = errno;
    } else if (WholeFile::isSymLink(d.path)) {
        throw DataError(WholeFile::linkRefusal(d.name));
    } else {
        err = FileSeam::openForWriting(d.path, &d.fd);
    }
    struct stat st;
    if (!err && ::fstat(d.fd, &st) < 0) err = errno;
    if (!err && S_ISDIR(st.st_mode)) err = EISDIR;
    if (err)
        throw DataError(QStringLiteral("Impossible d'ouvrir le fichier %1 : %2.")
                            .arg(d.name, FileError::fromErrno(err, d.path,
                                                              readOnly ? FileError::Access::Read
                                                                       : FileError::Access::Write)));
    const qint64 size = st.st_size;
    if (size > 0x7FFFFFFF)
        throw DataError(QStringLiteral("Le fichier %1 est trop grand pour être ouvert.").arg(d.name));
    const bool settled = st.st_ctim.tv_sec + 3 < ::time(nullptr);
    const QByteArray identity = CheckedFiles::identityOf(st);
    d.recordsKnownGood = settled && CheckedFiles::contains(identity);
    QByteArray bytes(static_cast<int>(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(d.fd, bytes.data() + done, static_cast<size_t>(size - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int why = n < 0 ? errno : EIO;
            throw DataError(QStringLiteral("Impossible de lire le fichier %1 : %2.")
                                .arg(d.name, FileError::fromErrno(why, d.path, FileError::Access::Read)));
        }
        done += n;
    }
    d.parse(std::move(bytes), size);
    if (settled) CheckedFiles::insert(identity);
    d.onDisk = true;
    return f;
}

std::unique_ptr<DbfFile> DbfFile::fromBytes(const QByteArray& bytes,
                                            const QString& nameForMessages) {
    std::unique_ptr<DbfFile> f(new DbfFile);
    Impl& d = *f->d;
    d.path = nameForMessages;
    d.name = FileError::shownName(nameForMessages);
    d.parse(bytes, bytes.size());
    d.onDisk = false;
    return f;
}

void DbfFile::create(const QString& path, const QVector<DbfField>& fields, int year, int month,
                     int day) {
    const QString name = FileError::shownName(path);
    auto refuse = [&](const QString& why) {
        throw DataError(QStringLiteral("Impossible de créer le fichier %1 : %2.").arg(name, why));
    };
    if (fields.isEmpty()) refuse(QStringLiteral("aucun champ n'est donné"));
    QSet<QString> seen;
    int recordLength = 1;
    for (const DbfField& f : fields) {
        const QByteArray n = f.name.toLatin1();
        bool ok = !n.isEmpty() && n.size() <= 10 && f.name == QString::fromLatin1(n);
        for (char c : n) ok = ok && validFieldNameChar(c);
        if (!ok) refuse(QStringLiteral("le nom de champ « %1 » n'est pas valide").arg(f.name));
        if (seen.contains(f.name.toUpper()))
            refuse(QStringLiteral("le champ %1 est donné deux fois").arg(f.name));
        seen.insert(f.name.toUpper());
        bool widthOk = f.length >= 1 && f.length <= 254;
        if (f.type == 'N' || f.type == 'F')
            widthOk = widthOk && f.length <= kMaxNumericWidth && f.decimals >= 0 &&
                      (f.decimals == 0 || f.decimals < f.length);
        else if (f.type == 'D')
            widthOk = f.length == 8;
        else if (f.type == 'L')
            widthOk = f.length == 1;
        else if (f.type != 'C')
            refuse(QStringLiteral("le champ %1 a un type inconnu").arg(f.name));
        if (!widthOk) refuse(QStringLiteral("le champ %1 a une largeur invalide").arg(f.name));
        recordLength += f.length;
    }
    if (recordLength > 0xFFFF) refuse(QStringLiteral("les enregistrements sont trop longs"));
    const int headerLength = 32 + 32 * fields.size() + 1;
    if (headerLength > 0xFFFF) refuse(QStringLiteral("il y a trop de champs"));

    QByteArray bytes(headerLength + 1, '\0');
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
        dsc[17] = static_cast<char>((fields[i].type == 'N' || fields[i].type == 'F')
                                        ? fields[i].decimals
                                        : 0);
    }
    p[headerLength - 1] = 0x0D;
    p[headerLength] = 0x1A;

    // Written through a temporary file: replacing a table either happens
    // whole or not at all.
    try {
        WholeFile::replace(QFileInfo(path).absoluteFilePath(), bytes, name);
    } catch (const DataError& e) {
        throw DataError(QString(e.message()).replace(QStringLiteral("Impossible d'écrire le fichier"),
                                            QStringLiteral("Impossible de créer le fichier")));
    }
}

const QString& DbfFile::path() const { return d->path; }
const QVector<DbfField>& DbfFile::fields() const { return d->fields; }

int DbfFile::fieldIndex(const QString& name) const {
    // Callers nearly always give the stored upper-case name: look it up as
    // given first, so that reading a field in a summing loop allocates nothing.
    const auto it = d->byName.constFind(name);
    if (it != d->byName.constEnd()) return it.value();
    return d->byName.value(name.toUpper(), -1);
}

int DbfFile::recordCount() const { return d->recordCount; }
int DbfFile::recordLength() const { return d->recordLength; }
bool DbfFile::productionIndexFlag() const { return d->mdx; }

bool DbfFile::isDeleted(int record) const {
    d->checkRecord(record);
    return d->rec(record)[0] == '*';
}

QByteArray DbfFile::rawField(int record, int field) const {
    d->checkRecord(record);
    d->checkField(field);
    const DbfField& f = d->fields[field];
    return QByteArray(d->rec(record) + 1 + f.offset, f.length);
}

QString DbfFile::text(int record, int field) const {
    d->checkRecord(record);
    d->checkField(field);
    const DbfField& f = d->fields[field];
    const char* p = d->rec(record) + 1 + f.offset;
    int n = f.length;
    if (f.type == 'N' || f.type == 'F') {
        // A number read as text: the digits without the padding around them.
        int b = 0;
        while (b < n && isPad(p[b])) ++b;
        p += b;
        n -= b;
    }
    // Only trailing blanks (and the NUL padding some writers use) are removed:
    // leading blanks belong to the text.
    while (n > 0 && isPad(p[n - 1])) --n;
    return Cp1252::decode(QByteArray::fromRawData(p, n));
}

double DbfFile::number(int record, int field) const {
    d->checkRecord(record);
    d->checkField(field);
    const DbfField& f = d->fields[field];
    return parseLenient(d->rec(record) + 1 + f.offset, f.length);
}

QByteArray DbfFile::encodeText(int field, const QString& value) const {
    d->checkField(field);
    const DbfField& f = d->fields[field];
    if (f.type == 'N' || f.type == 'F') {
        // A text written into a numeric field must be a number.
        if (value.trimmed().isEmpty()) return QByteArray(f.length, ' ');
        double v = 0;
        if (!parseNumber(value, &v))
            throw DataError(QStringLiteral("La valeur « %1 » n'est pas un nombre : elle ne peut "
                                           "pas être enregistrée dans le champ %2.")
                                .arg(value, f.name));
        return encodeNumber(field, v);
    }
    const QString cut = value.left(f.length);
    const int bad = Cp1252::firstUnencodable(cut);
    if (bad >= 0)
        throw DataError(QStringLiteral("Le caractère « %1 » ne peut pas être enregistré dans le "
                                       "champ %2 : il n'existe pas dans le jeu de caractères "
                                       "Windows occidental (cp1252) des tables.")
                            .arg(Cp1252::characterAt(cut, bad), f.name));
    QByteArray out = Cp1252::encode(cut);
    out.append(QByteArray(f.length - out.size(), ' '));
    return out;
}

QByteArray DbfFile::encodeNumber(int field, double value) const {
    d->checkField(field);
    const DbfField& f = d->fields[field];
    if (f.type != 'N' && f.type != 'F')
        throw DataError(QStringLiteral("Le champ %1 n'est pas numérique.").arg(f.name));
    if (!std::isfinite(value))
        throw DataError(QStringLiteral("La valeur donnée au champ %1 n'est pas un nombre.")
                            .arg(f.name));
    QByteArray text = QByteArray::number(value, 'f', f.decimals);
    if (text.startsWith('-')) {
        // "-0.000" is zero: written without sign.
        bool zero = true;
        for (int i = 1; i < text.size() && zero; ++i) zero = text[i] == '0' || text[i] == '.';
        if (zero) text.remove(0, 1);
    }
    if (text.size() > f.length)
        throw DataError(QStringLiteral("La valeur %1 ne tient pas dans le champ %2 (%3 caractères).")
                            .arg(shownNumber(value), f.name)
                            .arg(f.length));
    return QByteArray(f.length - text.size(), ' ') + text;
}

void DbfFile::writeRecord(int record, const QByteArray& fieldBytes) {
    d->checkWritable();
    if (record < 0 || record > d->recordCount)
        throw DataError(QStringLiteral("L'enregistrement n° %1 ne peut pas être écrit dans le "
                                       "fichier %2.")
                            .arg(record + 1)
                            .arg(d->name));
    if (fieldBytes.size() != d->recordLength - 1)
        throw DataError(QStringLiteral("L'enregistrement écrit dans le fichier %1 n'a pas la "
                                       "bonne longueur (%2 au lieu de %3).")
                            .arg(d->name)
                            .arg(fieldBytes.size())
                            .arg(d->recordLength - 1));
    const qint64 pos = d->headerLength + static_cast<qint64>(record) * d->recordLength;
    if (pos + d->recordLength > 0x7FFFFFFF)
        throw DataError(QStringLiteral("Le fichier %1 est plein.").arg(d->name));

    // The index flag is cleared before the first change: a failure there
    // changes nothing, and no failure after a write reports a saved record
    // as refused.
    clearIndexFlagOnDisk();
    if (record < d->recordCount) {
        // Rewrite in place: the fields only, the deletion flag is kept. A
        // write that fails part-way is undone, so the record posted before
        // stays whole on disk.
        try {
            d->writeAt(pos + 1, fieldBytes.constData(), fieldBytes.size());
        } catch (const DataError&) {
            if (d->onDisk)
                (void)!::pwrite(d->fd, d->image.constData() + pos + 1,
                               static_cast<size_t>(fieldBytes.size()), pos + 1);
            throw;
        }
        std::memcpy(d->image.data() + pos + 1, fieldBytes.constData(),
                    static_cast<size_t>(fieldBytes.size()));
        return;
    }

    // Append. Another handle on the same file may have appended meanwhile:
    // writing over its record would lose it, so refuse instead.
    if (d->onDisk) {
        char onDisk[4];
        if (::pread(d->fd, onDisk, 4, 4) != 4)
            throw DataError(QStringLiteral("Impossible de lire le fichier %1 : %2.")
                                .arg(d->name, FileError::fromErrno(errno ? errno : EIO, d->path, FileError::Access::Read)));
        if (le32(onDisk) != static_cast<quint32>(d->recordCount))
            throw DataError(QStringLiteral("Le fichier %1 a été modifié par un autre programme "
                                           "ou une autre fenêtre ; fermez-le et rouvrez-le avant "
                                           "d'y ajouter un enregistrement.")
                                .arg(d->name));
    }
    QByteArray rec;
    rec.reserve(d->recordLength + 1);
    rec.append(' ');
    rec.append(fieldBytes);
    rec.append('\x1A');
    // The record is on disk before it is counted; a failure of either write
    // puts the file back as it was.
    try {
        d->writeAt(pos, rec.constData(), rec.size());
        char count[4];
        put32(count, static_cast<quint32>(d->recordCount + 1));
        d->writeAt(4, count, 4);
    } catch (const DataError&) {
        if (d->onDisk) d->undoAppend(pos);
        throw;
    }
    d->image.append(rec.constData(), d->recordLength);
    put32(d->image.data() + 4, static_cast<quint32>(d->recordCount + 1));
    ++d->recordCount;
}

void DbfFile::clearIndexFlagOnDisk() {
    if (!d->mdx) return;
    const char zero = 0;
    d->writeAt(28, &zero, 1);
    d->image[28] = 0;
    d->mdx = false;
}

QByteArray DbfFile::recordBytes(int record) const {
    d->checkRecord(record);
    return QByteArray(d->rec(record) + 1, d->recordLength - 1);
}

void DbfFile::setDeleted(int record, bool deleted) {
    d->checkWritable();
    d->checkRecord(record);
    const char flag = deleted ? '*' : ' ';
    const qint64 pos = d->headerLength + static_cast<qint64>(record) * d->recordLength;
    clearIndexFlagOnDisk();
    d->writeAt(pos, &flag, 1);
    d->image[static_cast<int>(pos)] = flag;
}

QByteArray DbfFile::blankRecord() const { return QByteArray(d->recordLength - 1, ' '); }

const char* DbfFile::fieldData(int record, int field) const {
    return d->rec(record) + 1 + d->fields[field].offset;
}

double DbfFile::parseNumber(const char* data, int length) { return parseLenient(data, length); }

bool DbfFile::parseNumber(const QString& text, double* value) {
    const QString t = text.trimmed();
    const QByteArray latin = t.toLatin1();
    bool ok = !t.isEmpty() && QString::fromLatin1(latin) == t;
    *value = ok ? parseStrict(latin.constData(), latin.size(), &ok) : 0.0;
    return ok;
}

bool DbfFile::parseScaled(const char* data, int length, int decimals, qint64* scaled) {
    return decimals >= 0 && decimals <= 15 && parseScaledText(data, length, decimals, scaled);
}

QString DbfFile::displayName() const { return d->name; }
