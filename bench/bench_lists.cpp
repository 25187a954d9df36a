// The two printed lists, on the windows as the user sees them (shown
// offscreen, events processed after each step): a ranking switch (the Food
// table reopened on another nutrient's tag, the grid refilled) and the
// ranking's printed page, on Food tables of 3,185 and 100,000 foods; the
// chosen-list report printed for 20 and 2,000 lines. Printing goes to a PDF.
#include <benchmark/benchmark.h>

#include "benchwindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "compose/compimpr.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "benchtables.h"
#include "core/table/table.h"
#include "foodtable/dietri.h"
#include "core/io/runcontext.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "ui/printerservice.h"

namespace {
using BenchTables::writeTable;

// A Data directory holding a Food table of `foods` foods with varied values.
struct Foods {
    QTemporaryDir dir;
    RunContext run{DataDirectory(dir.path())};
    ScriptedPrompter boxes{run};
    ScriptedDesktop desktop{run};
    explicit Foods(int foods) {
        writeTable(QDir(dir.path()).filePath(foodSchema().fileName), foodSchema(), foods,
                   [&](RecordBuilder& r, int i) {
                       r.set(QStringLiteral("NUMERO"), i + 1);
                       r.set(QStringLiteral("NOM"),
                             QStringLiteral("Aliment %1").arg(i + 1, 6, 10, QLatin1Char('0')));
                       r.set(QStringLiteral("CATEGORIE"), categories()[i % categories().size()]);
                       int k = 0;
                       for (const Nutrient& n : nutrients())
                           r.set(QString::fromLatin1(n.field), 0.25 * ((i * 7919 + 31 * k++) % 4000));
                   });
    }
    QString pdf() const { return QDir(dir.path()).filePath(QStringLiteral("sortie.pdf")); }
};

void BM_RankingSwitch(benchmark::State& state) {
    Foods foods(static_cast<int>(state.range(0)));
    TFDietri w(foods.desktop);
    w.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        if (++i % 2)
            w.RBcalciumClick();
        else
            w.RBferClick();
        QApplication::processEvents();
    }
    w.close();
    state.SetLabel(QStringLiteral("%1 aliments").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_RankingSwitch)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RankingPrintout(benchmark::State& state) {
    Foods foods(static_cast<int>(state.range(0)));
    TFDietri w(foods.desktop);
    w.show();
    w.RBcalciumClick();
    QApplication::processEvents();
    foods.desktop.printers().setPdfOutput(foods.pdf());
    for (auto _ : state) {
        w.SBimprimerClick();
        QApplication::processEvents();
    }
    w.close();
    state.SetLabel(QStringLiteral("%1 aliments").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_RankingPrintout)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Report(benchmark::State& state) {
    QTemporaryDir dir;
    RunContext run{DataDirectory(dir.path())};
    ScriptedPrompter boxes{run};
    ScriptedDesktop desktop{run};
    const int lines = static_cast<int>(state.range(0));
    writeTable(QDir(dir.path()).filePath(choiceSchema().fileName), choiceSchema(), lines,
               [&](RecordBuilder& r, int i) {
                   r.set(QStringLiteral("NOM"), QStringLiteral("Aliment %1").arg(i + 1));
                   r.set(QStringLiteral("QTE"), 100 + i % 50);
                   for (const QString& field : lineComputedFields()) r.set(field, 0.5 + i % 7);
               });
    Table tchoix(run, choiceSchema());
    tchoix.open();
    TFcompimpr compimpr(desktop);
    desktop.printers().setPdfOutput(QDir(dir.path()).filePath(QStringLiteral("liste.pdf")));
    for (auto _ : state) compimpr.Print(tchoix);
    state.SetLabel(QStringLiteral("%1 lignes").arg(lines).toStdString());
}
BENCHMARK(BM_Report)->Arg(20)->Arg(2000)->Unit(benchmark::kMillisecond);
}   // namespace

NUTRIMO_WINDOW_BENCHMARK_MAIN()
