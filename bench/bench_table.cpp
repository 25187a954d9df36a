// Table handle figures on synthetic Food tables of the real schema (233,
// 3,185 and 100,000 foods): opening on the default tag the first time in a
// run (every record checked) and again (the file remembered as checked), the
// ranking window's switch of nutrient the first time (the open handle takes
// the nutrient's order), the peak memory of an open, find nearest on NOM,
// switching the category filter, appending and posting a Choice line; and, as
// the baseline, shapelib reading every field of every record of the same file
// in the same run.
#include <benchmark/benchmark.h>
#include <shapefil.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>


#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/io/runcontext.h"
#include "core/table/table.h"
#include "benchtables.h"

namespace {

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// Words to build plausible French names, accents and ligatures included.
const char* const kWords[] = {"Épinards", "pomme",    "Œuf",   "crème",  "Bœuf",      "gâteau",   "purée",
                              "céleri",   "haricots", "verts", "cuits",  "à",         "l'eau",    "rôti",
                              "poêlé",    "fraîche",  "Pâtes", "Île",    "flottante", "Ça",       "sauce",
                              "tomate",   "Fromage",  "blanc", "Jambon", "cru",       "Yaourt",   "nature",
                              "Crêpe",    "sucrée",   "Maïs",  "doux",   "Noix",      "Lentilles"};

// Directory holding DIETAB.DBF with n synthetic foods (built once per n).
QString foodDir(int n) {
    static std::map<int, QString> dirs;
    auto it = dirs.find(n);
    if (it != dirs.end()) return it->second;
    const QString dir = workDir().filePath(QStringLiteral("foods%1").arg(n));
    QDir().mkpath(dir);
    std::mt19937 rng(42);
    const int words = int(sizeof kWords / sizeof kWords[0]);
    BenchTables::writeTable(
        dir + QStringLiteral("/DIETAB.DBF"), foodSchema(), n, [&](RecordBuilder& rec, int i) {
            QString name;
            for (int w = 0; w < 3; ++w)
                name += (w ? QStringLiteral(" ") : QString()) + QString::fromUtf8(kWords[rng() % words]);
            name += QStringLiteral(" %1").arg(i);
            rec.set(QStringLiteral("NUMERO"), i + 1).set(QStringLiteral("NOM"), name);
            rec.set(QStringLiteral("CATEGORIE"), categories()[i % categories().size()]);
            for (int f = 3; f < foodSchema().fields.size(); ++f)
                rec.set(foodSchema().fields[f].name, (rng() % 100000) / 1000.0 * ((rng() % 5) ? 1 : 0));
        });
    dirs[n] = dir;
    return dir;
}

// The first opening in a run: a run of its own each time, so that every
// record is checked at the door.
void Open(benchmark::State& state) {
    const QString dir = foodDir(int(state.range(0)));
    for (auto _ : state) {
        RunContext run{DataDirectory(dir)};
        Table t(run, foodSchema());
        t.open();
        benchmark::DoNotOptimize(t.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Opening again in the same run, the file unchanged since it was checked.
void OpenAgain(benchmark::State& state) {
    const QString dir = foodDir(int(state.range(0)));
    RunContext run{DataDirectory(dir)};
    for (auto _ : state) {
        Table t(run, foodSchema());
        t.open();
        benchmark::DoNotOptimize(t.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ShapelibReadAll(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(foodDir(int(state.range(0))) + QStringLiteral("/DIETAB.DBF"));
    for (auto _ : state) {
        DBFHandle h = DBFOpen(path.constData(), "rb");
        const int records = DBFGetRecordCount(h), fields = DBFGetFieldCount(h);
        double sum = 0;
        size_t chars = 0;
        for (int r = 0; r < records; ++r)
            for (int f = 0; f < fields; ++f) {
                if (DBFGetFieldInfo(h, f, nullptr, nullptr, nullptr) == FTString)
                    chars += std::strlen(DBFReadStringAttribute(h, r, f));
                else
                    sum += DBFReadDoubleAttribute(h, r, f);
            }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(chars);
        DBFClose(h);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The ranking window at a change of nutrient, the first time it is chosen:
// the open handle takes the nutrient's order (its tag built then) and goes to
// its first food.
void RankingSwitch(benchmark::State& state) {
    const QString dir = foodDir(int(state.range(0)));
    RunContext run{DataDirectory(dir)};
    const QStringList& nutrients = nutrientTags();
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Table t(run, foodSchema());
        t.setReadOnly(true);
        t.open();
        state.ResumeTiming();
        t.setIndexName(nutrients[i++ % nutrients.size()]);
        t.first();
        benchmark::DoNotOptimize(t.asFloat(QStringLiteral("PROT_A")));
    }
}

// Resident memory figures of this process, in KiB, from /proc/self/status
// ("VmRSS" now, "VmHWM" its peak).
long statusKiB(const char* name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(prefix)) return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Run in a fresh process (see main): the growth of the peak resident memory
// while one way of reading the file runs, so that memory the benchmarks
// before it used and freed cannot hide it.
long measurePeak(const QString& what, const QString& dir) {
    const long before = statusKiB("VmRSS");
    if (what == QLatin1String("open") || what == QLatin1String("ranking")) {
        RunContext run{DataDirectory(dir)};
        Table t(run, foodSchema());
        if (what == QLatin1String("ranking")) t.setIndexName(QStringLiteral("PROT_A"));
        t.open();
        benchmark::DoNotOptimize(t.rowCount());
    } else {
        const QByteArray path = QFile::encodeName(dir + QStringLiteral("/DIETAB.DBF"));
        DBFHandle h = DBFOpen(path.constData(), "rb");
        double sum = 0;
        for (int r = 0; r < DBFGetRecordCount(h); ++r)
            for (int f = 0; f < DBFGetFieldCount(h); ++f) sum += DBFReadDoubleAttribute(h, r, f);
        benchmark::DoNotOptimize(sum);
        DBFClose(h);
    }
    return statusKiB("VmHWM") - before;
}

long peakInChild(const QString& what, const QString& dir) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--measure-peak"), what, dir});
    if (!child.waitForFinished(120000)) return -1;
    bool ok = false;
    const long kib = child.readAllStandardOutput().trimmed().toLong(&ok);
    return ok ? kib : -1;
}

// Peak memory of opening the table on its default tag and on a nutrient tag
// (records held in memory included), beside shapelib reading the whole
// file, and the file's size for scale.
void OpenPeakMemory(benchmark::State& state) {
    const QString dir = foodDir(int(state.range(0)));
    long table = 0, ranking = 0, shapelib = 0;
    for (auto _ : state) {
        table = peakInChild(QStringLiteral("open"), dir);
        ranking = peakInChild(QStringLiteral("ranking"), dir);
        shapelib = peakInChild(QStringLiteral("shapelib"), dir);
    }
    state.counters["table_KiB"] = double(table);
    state.counters["ranking_KiB"] = double(ranking);
    state.counters["shapelib_KiB"] = double(shapelib);
    state.counters["file_KiB"] = double(QFileInfo(dir + QStringLiteral("/DIETAB.DBF")).size() / 1024);
}

void FindNearestNom(benchmark::State& state) {
    RunContext run{DataDirectory(foodDir(int(state.range(0))))};
    Table t(run, foodSchema());
    t.open();
    const QStringList prefixes = {QStringLiteral("Epi"),  QStringLiteral("pomme c"),
                                  QStringLiteral("oeuf"), QStringLiteral("Zz"),
                                  QStringLiteral("crè"),  QStringLiteral("Lentilles noix")};
    int i = 0;
    for (auto _ : state) {
        t.findNearest(prefixes[i++ % prefixes.size()]);
        benchmark::DoNotOptimize(t.currentRow());
    }
}

void SwitchCategoryFilter(benchmark::State& state) {
    RunContext run{DataDirectory(foodDir(int(state.range(0))))};
    Table t(run, foodSchema());
    t.setFilterCaseInsensitive(true);
    t.setFilter(QStringLiteral("CATEGORIE='") + categories()[0] + QLatin1Char('\''));
    t.setFiltered(true);
    t.open();
    int i = 0;
    for (auto _ : state) {
        t.setFilter(QStringLiteral("CATEGORIE='") + categories()[++i % categories().size()] +
                    QLatin1Char('\''));
        benchmark::DoNotOptimize(t.recordCount());
    }
}

// A Choice line made from a food, as the composition window does: 36
// fields written, then posted through to the file.
void AppendChoiceLine(benchmark::State& state) {
    const QString foods = foodDir(int(state.range(0)));
    const QString dir = workDir().filePath(QStringLiteral("choice%1").arg(state.range(0)));
    QDir().mkpath(dir);
    DbfFile::create(dir + QStringLiteral("/CHOIX.DBF"), choiceSchema().fields);
    RunContext run{DataDirectory(dir)};
    Table food(run, foodSchema());
    food.setDirectory(foods);
    food.open();
    food.findNearest(QStringLiteral("pomme"));
    Table choice(run, choiceSchema());
    choice.open();
    for (auto _ : state) {
        const double q = 150;
        choice.append();
        choice.setString(QStringLiteral("NOM"), food.asString(QStringLiteral("NOM")));
        choice.setFloat(QStringLiteral("QTE"), q);
        for (const QString& f : lineComputedFields())
            choice.setFloat(f, f == QLatin1String("CALORIES") ? 0.0 : food.asFloat(f) * q / 100);
        choice.post();
    }
    state.counters["lines"] = choice.recordCount();
}

}   // namespace

BENCHMARK(Open)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAgain)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ShapelibReadAll)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(RankingSwitch)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenPeakMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FindNearestNom)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SwitchCategoryFilter)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(AppendChoiceLine)->Arg(233)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--measure-peak") == 0) {
        std::printf("%ld\n", measurePeak(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
