// Diagnosis figures: showing the window (reading the Needs table, summing
// the Choice table, drawing page 1) with 20 and 2,000 lines in the day's
// choice, drawing page 2, and printing the sheet to a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "core/compose/dailytotals.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "diagnosis/diagnost.h"
#include "core/diagnosis/needs.h"
#include "core/session/session.h"
#include "ui/printerservice.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {
// A Data directory with a Needs table and a Choice table of n lines.
struct Day {
    QTemporaryDir dir;
    Session session{dir.path()};
    ScriptedDesktop desktop{session.run()};
    ScriptedPrompter prompter{session.run()};
    Table choice{session.run(), choiceSchema()};

    explicit Day(int lines) {
        // The day is written once, without waiting for the disk.
        session.run().seam().setDurable(false);
        const QString needs = QDir(QStringLiteral(NUTRIMO_TABLES_DIR)).filePath(needsSchema().fileName);
        if (!QFile::copy(needs, QDir(dir.path()).filePath(needsSchema().fileName))) writeNeeds();
        DbfFile::create(QDir(dir.path()).filePath(choiceSchema().fileName), choiceSchema().fields);
        choice.open();
        for (int i = 0; i < lines; ++i) {
            choice.append();
            choice.setString(QStringLiteral("NOM"), QStringLiteral("Aliment %1").arg(i + 1));
            choice.setFloat(QStringLiteral("QTE"), 100 + i % 50);
            int f = 0;
            for (const QString& field : lineComputedFields()) choice.setFloat(field, 0.5 + (i + f++) % 7);
            choice.post();
        }
        choice.close();
        session.run().seam().setDurable(true);
    }
    void writeNeeds() {
        DbfFile::create(QDir(dir.path()).filePath(needsSchema().fileName), needsSchema().fields);
        Table t(session.run(), needsSchema());
        t.open();
        for (int r = 1; r <= 29; ++r) {
            t.append();
            for (const PopulationGroup& g : populationGroups()) t.setFloat(g.column, r == 1 ? 2000 : 10 * r);
            t.post();
        }
    }
};

void BM_ShowDiagnosis(benchmark::State& state) {
    Day day(static_cast<int>(state.range(0)));
    ScriptedPrompter& prompter = day.prompter;
    TFdiagnost w(day.session, day.desktop);
    w.setGroupe(QStringLiteral("Femme active"));
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        w.show();   // reads both tables
        w.render(&image);   // paints page 1
        w.hide();
    }
    if (!prompter.asked.isEmpty()) state.SkipWithError("the window asked something");
    state.SetLabel(QStringLiteral("%1 lines").arg(state.range(0)).toStdString());
}
BENCHMARK(BM_ShowDiagnosis)->Arg(20)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_DrawPage2(benchmark::State& state) {
    Day day(20);
    TFdiagnost w(day.session, day.desktop);
    w.setGroupe(QStringLiteral("Femme active"));
    w.show();
    w.SBpage2Click();
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) w.render(&image);
    w.hide();
}
BENCHMARK(BM_DrawPage2)->Unit(benchmark::kMillisecond);

void BM_PrintToPdf(benchmark::State& state) {
    Day day(20);
    ScriptedPrompter& prompter = day.prompter;
    const QString pdf = QDir(day.dir.path()).filePath(QStringLiteral("bilan.pdf"));
    day.desktop.printers().setPdfOutput(pdf);
    TFdiagnost w(day.session, day.desktop);
    w.setGroupe(QStringLiteral("Femme active"));
    w.show();
    for (auto _ : state) w.SBimprimerClick();
    w.hide();
    if (!prompter.asked.isEmpty()) state.SkipWithError(prompter.lastText().toStdString().c_str());
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
