// Composition window figures, on the window as the user sees it (shown
// offscreen, events processed after each step so that the grids repaint):
// adding a line (prompt answered, line computed and posted, totals strip
// refreshed) and refreshing the strip alone with 10, 200 and 2,000 lines in the
// list; changing category on a Food table of 100,000 foods.
#include <benchmark/benchmark.h>

#include "benchwindows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>

#include "compose/compose.h"
#include "core/compose/dailytotals.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "benchtables.h"
#include "core/table/table.h"
#include "core/session/session.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"

namespace {
using BenchTables::writeTable;

// A Data directory with `foods` foods and a day's choice of `lines` lines,
// and the composition window shown on it.
struct Setup {
    TempDataDir dir;
    Session* session = &dir.session();
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFcompose> w;

    Setup(int foods, int lines) {
        desktop = std::make_unique<ScriptedDesktop>(session->run());
        const QDir d(dir.path());
        const QStringList& cats = categories();
        writeTable(d.filePath(foodSchema().fileName), foodSchema(), foods, [&](RecordBuilder& r, int i) {
            r.set(QStringLiteral("NUMERO"), i + 1);
            r.set(QStringLiteral("NOM"), QStringLiteral("Aliment %1").arg(i + 1, 6, 10, QLatin1Char('0')));
            r.set(QStringLiteral("CATEGORIE"), cats[i % cats.size()]);
            int k = 0;
            for (const Nutrient& n : nutrients()) r.set(QString::fromLatin1(n.field), 0.25 * ((i + k++) % 40));
        });
        writeTable(d.filePath(choiceSchema().fileName), choiceSchema(), lines, [&](RecordBuilder& r, int i) {
            r.set(QStringLiteral("NOM"), QStringLiteral("Aliment %1").arg(i + 1));
            r.set(QStringLiteral("QTE"), 100 + i % 50);
            for (const QString& field : lineComputedFields()) r.set(field, 0.5 + i % 7);
        });
        DbfFile::create(d.filePath(QStringLiteral("choix0.dbf")), choiceSchema().fields);
        DbfFile::create(d.filePath(compositeSchema().fileName), compositeSchema().fields);
        w = std::make_unique<TFcompose>(*session, *desktop);
        w->show();
        QApplication::processEvents();
    }
    ~Setup() {
        w->close();
        w.reset();
    }
};

void BM_AddLine(benchmark::State& state) {
    Setup s(500, static_cast<int>(state.range(0)));
    ScriptedPrompter p(s.session->run());
    for (auto _ : state) {
        p.answer(QStringLiteral("150"));
        s.w->SBajouterClick();
        QApplication::processEvents();
        state.PauseTiming();
        // Back to the same length for the next step.
        s.w->Tchoix().last();
        s.w->Tchoix().deleteRecord();
        p.asked.clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(QStringLiteral("%1 lignes").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_AddLine)->Arg(10)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_RefreshStrip(benchmark::State& state) {
    Setup s(500, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        s.w->AfficheTotaux();
        QApplication::processEvents();
    }
    state.SetLabel(QStringLiteral("%1 lignes").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_RefreshStrip)->Arg(10)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_ChangeCategory(benchmark::State& state) {
    Setup s(100000, 200);
    int i = 0;
    for (auto _ : state) {
        s.w->CBcategorie->setCurrentIndex(++i % 2 ? 9 : 0);
        QApplication::processEvents();
    }
    state.SetLabel("100 000 aliments");
}
BENCHMARK(BM_ChangeCategory)->Unit(benchmark::kMillisecond);

void BM_ShowWindow(benchmark::State& state) {
    Setup s(100000, 200);
    s.w->close();
    for (auto _ : state) {
        s.w->show();
        QApplication::processEvents();
        state.PauseTiming();
        s.w->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel("100 000 aliments, 200 lignes");
}
BENCHMARK(BM_ShowWindow)->Unit(benchmark::kMillisecond)->Iterations(5);
}   // namespace

NUTRIMO_WINDOW_BENCHMARK_MAIN()
