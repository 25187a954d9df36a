// Fuzzes the Table handle over a real file, and every write through the file
// seam. The input is five control bytes then the bytes of a table file with
// the fields below (NOM, NUMERO, CATEGORIE, PROT_A, QTE): the file is written
// to a scratch Data directory and opened by a Table, which then runs every
// tag (text, number up, nutrient down), the filter (as text and as a value,
// with and without case), the searches (findKey, findNearest, locate), and
// the writes (edit and post, append, delete, a copy of the file), while the
// seam makes the n-th call of one kind fail as the control bytes say.
//
// Promises checked: a refused file is a DataError naming it; a failed write
// is a DataError too; whatever failed, the file reopens, and its live records
// are exactly those the handle counts (nothing posted lost, nothing refused
// kept); no temporary file stays behind.
#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/io/fileops.h"
#include "core/io/fileseam.h"
#include "core/table/table.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

const TableSchema& schema() {
    static const TableSchema s = [] {
        TableSchema t;
        t.fileName = QStringLiteral("FUZZ.DBF");
        auto field = [](const char* name, char type, int length, int decimals) {
            DbfField f;
            f.name = QString::fromLatin1(name);
            f.type = type;
            f.length = length;
            f.decimals = decimals;
            return f;
        };
        t.fields = {field("NOM", 'C', 30, 0), field("NUMERO", 'N', 6, 0), field("CATEGORIE", 'C', 12, 0),
                    field("PROT_A", 'N', 8, 3), field("QTE", 'N', 7, 1)};
        int offset = 0;
        for (DbfField& f : t.fields) {
            f.offset = offset;
            offset += f.length;
        }
        // The four kinds of order of the program's tables: text, text with
        // duplicates, number upwards, number downwards with a tie-break.
        using K = TagDescription::Kind;
        using D = TagDescription::Direction;
        t.tags = {{QStringLiteral("NOM"), QStringLiteral("NOM"), K::Text, D::Ascending, QString()},
                  {QStringLiteral("NUMERO"), QStringLiteral("NUMERO"), K::Number, D::Ascending, QString()},
                  {QStringLiteral("CATEGORIE"), QStringLiteral("CATEGORIE"), K::Text, D::Ascending, QString()},
                  {QStringLiteral("PROT_A"), QStringLiteral("PROT_A"), K::Number, D::Descending,
                   QStringLiteral("NOM")}};
        return t;
    }();
    return s;
}

const QString& scratch() {
    static const QString dir = [] {
        const QString base =
            QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString d = QStringLiteral("%1/nutrimo-fuzz-%2").arg(base).arg(::getpid());
        QDir().mkpath(d);
        // Removed when the fuzzer exits normally; a crash leaves it for the
        // reproduction.
        static QString removeAtExit = d;
        std::atexit([] { QDir(removeAtExit).removeRecursively(); });
        return d;
    }();
    return dir;
}

// Runs f; a DataError is an accepted outcome (a planned fault, a value that
// does not fit), and must name something.
template <class F>
bool attempt(F&& f) {
    try {
        f();
        return true;
    } catch (const DataError& e) {
        check(!e.message().isEmpty());
        return false;
    }
}

int liveOnDisk(const QString& path) {
    auto f = DbfFile::open(path, true);   // throws (and the fuzzer reports it) if broken
    int n = 0;
    for (int r = 0; r < f->recordCount(); ++r) n += !f->isDeleted(r);
    return n;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5 || size > (1u << 16)) return 0;
    const QString& dir = scratch();
    const QString path = dir + QStringLiteral("/FUZZ.DBF");
    const uint8_t ops = data[0];
    const auto faultOp = static_cast<FileSeam::Op>(data[1] % 5);
    const int nth = 1 + data[2] % 8;
    const auto fault = static_cast<FileSeam::Fault>(data[3] % 5);
    const QString key = QString::fromLatin1(reinterpret_cast<const char*>(data + 4), 1 + data[4] % 4);
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly)) std::abort();
        out.write(reinterpret_cast<const char*>(data + 5), static_cast<qint64>(size - 5));
    }
    // A run of its own for each input, on thousands of throw-away files
    // written without waiting for the disk.
    RunContext run{DataDirectory(dir)};
    run.seam().setDurable(false);
    Table t(run, schema());
    try {
        t.open();
    } catch (const DataError& e) {
        check(e.message().contains(QStringLiteral("FUZZ.DBF")));
        return 0;
    }
    // Reading: every tag, each searched, walked both ways.
    for (const QString& tag : schema().tagNames() + QStringList{QString()}) {
        t.setIndexName(tag);
        t.first();
        int steps = 0;
        while (!t.eof() && steps++ < 64) {
            (void)t.asString(QStringLiteral("NOM"));
            check(std::isfinite(t.asFloat(QStringLiteral("PROT_A"))));
            t.next();
        }
        t.last();
        t.prior();
        if (!tag.isEmpty()) {
            const QString before = t.asString(QStringLiteral("NOM"));
            if (!t.findKey(key)) check(t.asString(QStringLiteral("NOM")) == before);
            t.findNearest(key);
        }
    }
    (void)t.locate(QStringLiteral("nom"), key, ops & 1);
    (void)t.locate(QStringLiteral("QTE"), key);
    // The filter, as text (which may not parse) and as a value.
    attempt([&] { t.setFilter(QStringLiteral("CATEGORIE='") + key + QStringLiteral("'")); });
    t.setFilterCaseInsensitive(ops & 2);
    attempt([&] { t.setFiltered(true); });
    for (t.first(); !t.eof();) t.next();
    t.setFilterValue(QStringLiteral("NOM"), key);
    t.setFiltered(false);
    t.setIndexName(QStringLiteral("NOM"));

    // Writing, with the planned fault.
    run.seam().failAt(faultOp, nth, fault, ops & 4);
    if ((ops & 8) && !t.isEmpty()) {
        t.first();
        const bool ok = attempt([&] {
            t.setString(QStringLiteral("NOM"), key + QStringLiteral("é"));
            t.setFloat(QStringLiteral("PROT_A"), data[4] / 7.0);
            t.post();
        });
        if (!ok) t.cancel();
    }
    if (ops & 16) {
        const bool ok = attempt([&] {
            t.append();
            t.setString(QStringLiteral("CATEGORIE"), key);
            t.setFloat(QStringLiteral("NUMERO"), data[2]);
            t.post();
        });
        if (!ok) t.cancel();
    }
    if ((ops & 32) && !t.isEmpty()) {
        t.last();
        attempt([&] { t.deleteRecord(); });
    }
    if (ops & 64) {
        // A copy is whole or absent.
        const QString copy = dir + QStringLiteral("/copie.dbf");
        if (attempt([&] { FileOps::copyFile(run, QStringLiteral("FUZZ.DBF"), QStringLiteral("copie.dbf")); })) {
            QFile a(path), b(copy);
            check(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll());
        } else {
            check(!QFile::exists(copy));
        }
        run.seam().reset();
        FileOps::deleteFile(run, QStringLiteral("copie.dbf"));
    }
    run.seam().reset();

    // What the handle holds is what the file holds.
    t.setFiltered(false);
    const int held = t.recordCount();
    t.close();
    check(liveOnDisk(path) == held);
    check(QDir(dir).entryList(QDir::Files | QDir::Hidden).size() == 1);
    return 0;
}
