// dBase III codec.
//
// The header and its field descriptors are read, checked and built by
// DbfHeader (dbfheader.h); the records follow it: one flag byte (' ' live,
// '*' deleted) and the fields, fixed width, one after the other; a 0x1A byte
// ends the file.
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

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io/checkedfiles.h"
#include "core/io/dataerror.h"
#include "core/io/fileerror.h"
#include "core/io/fileseam.h"
#include "core/dbf/dbfheader.h"
#include "core/dbf/dbfnumber.h"
#include "core/io/wholefile.h"
#include "core/io/runcontext.h"

// ---------------------------------------------------------------------------
// Number formatting (the parsing is in dbfnumber.cpp)

namespace {

using DbfNumber::isPad;
using DbfNumber::parseLenient;
using DbfNumber::parseScaledText;
using DbfNumber::parseStrict;

// The refused value as the user would write it: no trailing decimals, no
// exponent for ordinary magnitudes.
QString shownNumber(double value) {
    if (std::fabs(value) < 1e21) return DbfNumber::plainText(value);
    return QString::number(value, 'g', 6);
}

// A big table is read into memory it fills at once: asking the system for
// large pages there spares one page fault per 4 KiB while it is read (the
// largest share of reading 100,000 foods). A hint only; nothing changes when
// it is not followed.
void askForLargePages(QByteArray& buffer) {
#ifdef MADV_HUGEPAGE
    constexpr quintptr large = quintptr(2) << 20;
    if (buffer.size() < 4 * int(large)) return;
    const quintptr begin = (reinterpret_cast<quintptr>(buffer.data()) + large - 1) & ~(large - 1);
    const quintptr end = (reinterpret_cast<quintptr>(buffer.data()) + quintptr(buffer.size())) & ~(large - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}

using DbfHeader::damaged;
using DbfHeader::le32;
using DbfHeader::put32;

}   // namespace

// ---------------------------------------------------------------------------

struct DbfFile::Impl {
    QString path;   // as opened (absolute when from a file)
    QString name;   // shown in messages
    int fd = -1;    // open while the DbfFile lives (not for fromBytes)
    bool onDisk = false;
    bool readOnly = false;
    QByteArray image;   // header + records (without the trailing end mark)
    int headerLength = 0;
    int recordLength = 0;
    int recordCount = 0;
    QVector<DbfField> fields;
    QHash<QString, int> byName;   // upper-case name -> index
    bool mdx = false;
    bool recordsKnownGood = false;   // this very file passed the record checks before
    FileSeam ownSeam;                // the seam of a handle opened without a run
    FileSeam* seam = &ownSeam;

    const char* rec(int r) const {
        return image.constData() + headerLength + static_cast<qint64>(r) * recordLength;
    }
    void parse(QByteArray bytes, qint64 fileSize);
    void checkRecord(int r) const;
    void checkField(int f) const;
    void checkWritable() const;
    void writeAt(qint64 pos, const char* data, qint64 len);
    void undoAppend(qint64 end);
    void checkRecords(const char* records, int count, int rlen, const QVector<DbfField>& list) const;
    ~Impl() {
        if (fd >= 0) ::close(fd);
    }
};

void DbfFile::Impl::checkRecord(int r) const {
    if (r < 0 || r >= recordCount)
        throw DataError(
            QStringLiteral("L'enregistrement n° %1 n'existe pas dans le fichier %2.").arg(r + 1).arg(name));
}

void DbfFile::Impl::checkField(int f) const {
    if (f < 0 || f >= fields.size())
        throw DataError(QStringLiteral("Le champ n° %1 n'existe pas dans le fichier %2.").arg(f + 1).arg(name));
}

void DbfFile::Impl::checkWritable() const {
    if (readOnly) throw DataError(QStringLiteral("Le fichier %1 est ouvert en lecture seule.").arg(name));
}

void DbfFile::Impl::writeAt(qint64 pos, const char* data, qint64 len) {
    if (!onDisk) return;
    if (const int err = seam->writeAll(fd, pos, data, len, path))
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
    const DbfHeader::Header h = DbfHeader::read(p, bytes.size(), name);
    const quint32 count = h.recordCount;
    const int hlen = h.headerLength;
    const int rlen = h.recordLength;
    mdx = h.productionIndex;
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

    if (!recordsKnownGood) checkRecords(p + hlen, static_cast<int>(count), rlen, h.fields);

    headerLength = hlen;
    recordLength = rlen;
    recordCount = static_cast<int>(count);
    fields = h.fields;
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
    // Up to here 16 bytes can be read from any byte of a record.
    const char* wideEnd = records + static_cast<qint64>(count) * rlen - 16;
    for (int r = 0; r < count; ++r) {
        const char* rec = records + static_cast<qint64>(r) * rlen;
        if (rec[0] != ' ' && rec[0] != '*')
            throw DataError(
                damaged(name, QStringLiteral("l'enregistrement n° %1 a un indicateur de suppression "
                                             "invalide (0x%2 au lieu d'un blanc ou d'une étoile)")
                                  .arg(r + 1)
                                  .arg(static_cast<unsigned char>(rec[0]), 2, 16, QLatin1Char('0'))));
        for (const DbfField* f : numbers) {
            const char* p = rec + 1 + f->offset;
            if (f->length <= 16 && p <= wideEnd ? DbfNumber::isPlainNumberWide(p, f->length)
                                                : DbfNumber::isPlainNumber(p, f->length))
                continue;
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

std::unique_ptr<DbfFile> DbfFile::open(const QString& path, bool readOnly, RunContext* run) {
    std::unique_ptr<DbfFile> f(new DbfFile);
    Impl& d = *f->d;
    if (run) d.seam = &run->seam();
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
    if (readOnly || d.seam->readOnlyRun()) {
        d.fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
        if (d.fd < 0) err = errno;
    } else if (WholeFile::isSymLink(d.path)) {
        throw DataError(WholeFile::linkRefusal(d.name));
    } else {
        err = d.seam->openForWriting(d.path, &d.fd);
    }
    struct stat st;
    if (!err && ::fstat(d.fd, &st) < 0) err = errno;
    if (!err && S_ISDIR(st.st_mode)) err = EISDIR;
    if (err)
        throw DataError(
            QStringLiteral("Impossible d'ouvrir le fichier %1 : %2.")
                .arg(d.name, FileError::fromErrno(
                                 err, d.path, readOnly ? FileError::Access::Read : FileError::Access::Write)));
    const qint64 size = st.st_size;
    if (size > 0x7FFFFFFF)
        throw DataError(QStringLiteral("Le fichier %1 est trop grand pour être ouvert.").arg(d.name));
    const bool settled = run && CheckedFiles::settled(st);
    const QByteArray identity = CheckedFiles::identityOf(st);
    d.recordsKnownGood = settled && run->checkedFiles().contains(identity);
    QByteArray bytes(static_cast<int>(size), Qt::Uninitialized);
    askForLargePages(bytes);
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
    if (settled) run->checkedFiles().insert(identity);
    d.onDisk = true;
    return f;
}

std::unique_ptr<DbfFile> DbfFile::fromBytes(const QByteArray& bytes, const QString& nameForMessages) {
    std::unique_ptr<DbfFile> f(new DbfFile);
    Impl& d = *f->d;
    d.path = nameForMessages;
    d.name = FileError::shownName(nameForMessages);
    d.parse(bytes, bytes.size());
    d.onDisk = false;
    return f;
}

void DbfFile::create(const QString& path, const QVector<DbfField>& fields, RunContext* run, int year, int month,
                     int day) {
    create(path, fields, {}, run, year, month, day);
}

void DbfFile::create(const QString& path, const QVector<DbfField>& fields, const QVector<QByteArray>& records,
                     RunContext* run, int year, int month, int day) {
    const QString name = FileError::shownName(path);
    QByteArray bytes = DbfHeader::build(fields, name, year, month, day);
    const int recordLength = DbfHeader::le16(bytes.constData() + 10);
    bytes.reserve(bytes.size() + records.size() * recordLength + 1);
    for (const QByteArray& r : records) {
        if (r.size() != recordLength - 1)
            throw DataError(QStringLiteral("Impossible de créer le fichier %1 : un enregistrement n'a pas la "
                                           "bonne longueur (%2 au lieu de %3).")
                                .arg(name)
                                .arg(r.size())
                                .arg(recordLength - 1));
        bytes.append(' ');
        bytes.append(r);
    }
    put32(bytes.data() + 4, static_cast<quint32>(records.size()));
    bytes.append('\x1A');

    // Written through a temporary file: replacing a table either happens
    // whole or not at all.
    try {
        FileSeam ownSeam;
        WholeFile::replace(run ? run->seam() : ownSeam, QFileInfo(path).absoluteFilePath(), bytes, name);
    } catch (const DataError& e) {
        throw DataError(QString(e.message())
                            .replace(QStringLiteral("Impossible d'écrire le fichier"),
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
    return decodeText(d->rec(record) + 1 + f.offset, f);
}

int DbfFile::trimmedLength(const char* data, int length) {
    while (length > 0 && isPad(data[length - 1])) --length;
    return length;
}

QString DbfFile::trimmedText(const QString& text) {
    int n = text.size();
    while (n > 0 && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1).isNull())) --n;
    return text.left(n);
}

QString DbfFile::decodeText(const char* p, const DbfField& f) {
    int n = f.length;
    if (f.type == 'N' || f.type == 'F') {
        while (n > 0 && isPad(*p)) ++p, --n;
    }
    return Cp1252::decode(QByteArray::fromRawData(p, trimmedLength(p, n)));
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
        throw DataError(QStringLiteral("La valeur donnée au champ %1 n'est pas un nombre.").arg(f.name));
    // "-0.000" is zero: written without sign.
    const QByteArray text = DbfNumber::withoutNegativeZero(QString::number(value, 'f', f.decimals)).toLatin1();
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
                (void)!::pwrite(d->fd, d->image.constData() + pos + 1, static_cast<size_t>(fieldBytes.size()),
                                pos + 1);
            throw;
        }
        std::memcpy(d->image.data() + pos + 1, fieldBytes.constData(), static_cast<size_t>(fieldBytes.size()));
        return;
    }

    // Append. Another handle on the same file may have appended meanwhile:
    // writing over its record would lose it, so refuse instead.
    if (d->onDisk) {
        char onDisk[4];
        if (::pread(d->fd, onDisk, 4, 4) != 4)
            throw DataError(
                QStringLiteral("Impossible de lire le fichier %1 : %2.")
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
