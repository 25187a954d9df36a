// Diagnosis figures: showing the window (reading the Needs table, summing
// the Choice table, drawing page 1) with 20 and 2,000 lines in the day's
// choice, drawing page 2, and printing the sheet to a PDF file. Then the
// bilan of several days: opening the bilan of 14 saved days of 200 lines
// (reading them, their mean, page 1) against the one-day diagnosis of the
// same 200 lines, both beside the supplied Food table and its unmeasured
// values; drawing page 3 and printing both sheets.
#include <benchmark/benchmark.h>

#include "benchwindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "core/compose/dailytotals.h"
#include "core/compose/savedday.h"
#include "core/io/datadirectory.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "diagnosis/diagnost.h"
#include "core/diagnosis/page3.h"
#include "core/diagnosis/needs.h"
#include "core/session/session.h"
#include "ui/printerservice.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"

namespace {
// A Data directory with a Needs table and a Choice table of n lines.
struct Day {
    TempDataDir dir;
    Session& session{dir.session()};
    ScriptedDesktop desktop{session.run()};
    ScriptedPrompter prompter{session.run()};
    Table choice{session.run(), choiceSchema()};

    // With the supplied tables, the lines are foods of the Food table, so that
    // their unmeasured values are looked up as in a real day.
    explicit Day(int lines, bool suppliedTables = false) {
        // The day is written once, without waiting for the disk.
        session.run().seam().setDurable(false);
        const QDir tables(QStringLiteral(NUTRIMO_TABLES_DIR));
        if (suppliedTables)
            for (const QString& f : {foodSchema().fileName, nonMesuresSchema().fileName})
                QFile::copy(tables.filePath(f), dir.file(f));
        QStringList foods;
        if (suppliedTables) {
            Table food(session.run(), foodSchema());
            food.setReadOnly(true);
            food.open();
            for (food.first(); !food.eof() && foods.size() < lines; food.next()) foods << food.asString("NOM");
        }
        const QString needs = tables.filePath(needsSchema().fileName);
        if (!QFile::copy(needs, dir.file(needsSchema().fileName))) writeNeeds();
        DbfFile::create(dir.file(choiceSchema().fileName), choiceSchema().fields);
        choice.open();
        for (int i = 0; i < lines; ++i) {
            choice.append();
            choice.setString(QStringLiteral("NOM"),
                             i < foods.size() ? foods[i] : QStringLiteral("Aliment %1").arg(i + 1));
            choice.setFloat(QStringLiteral("QTE"), 100 + i % 50);
            int f = 0;
            for (const QString& field : lineComputedFields()) choice.setFloat(field, 0.5 + (i + f++) % 7);
            choice.post();
        }
        choice.close();
        session.run().seam().setDurable(true);
    }
    void writeNeeds() {
        DbfFile::create(dir.file(needsSchema().fileName), needsSchema().fields);
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
    w.setGroup(QStringLiteral("Femme active"));
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        w.show();           // reads both tables
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
    w.setGroup(QStringLiteral("Femme active"));
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
    const QString pdf = day.dir.file(QStringLiteral("bilan.pdf"));
    day.desktop.printers().setPdfOutput(pdf);
    TFdiagnost w(day.session, day.desktop);
    w.setGroup(QStringLiteral("Femme active"));
    w.show();
    for (auto _ : state) w.SBimprimerClick();
    w.hide();
    if (!prompter.asked.isEmpty()) state.SkipWithError(prompter.lastText().toStdString().c_str());
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond);

// The same 200 lines saved as 14 days beside the day's choice.
struct FourteenDays : Day {
    FourteenDays() : Day(200, true) {
        for (int d = 1; d <= 14; ++d)
            QFile::copy(dir.file(choiceSchema().fileName), dir.file(QStringLiteral("jour%1.dat").arg(d)));
    }
};

// The one-day diagnosis of 200 lines, beside the supplied Food table: the
// figure the bilan of 14 such days is compared with.
void BM_OneDay200(benchmark::State& state) {
    Day day(200, true);
    ScriptedPrompter& prompter = day.prompter;
    TFdiagnost w(day.session, day.desktop);
    w.setGroup(QStringLiteral("Femme active"));
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        w.show();
        w.render(&image);
        w.hide();
    }
    if (!prompter.asked.isEmpty()) state.SkipWithError(prompter.lastText().toStdString().c_str());
}
BENCHMARK(BM_OneDay200)->Unit(benchmark::kMillisecond);

// The same 200 lines saved as 14 days; opening their bilan reads every saved
// day of the directory (as the window listing them does), then shows the
// diagnosis on the 14 and paints its page 1.
void BM_Bilan14Days(benchmark::State& state) {
    FourteenDays day;
    ScriptedPrompter& prompter = day.prompter;
    TFdiagnost w(day.session, day.desktop);
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        const QVector<SavedDay> days = SavedDays::readAll(day.session.run());
        w.setDays(QStringLiteral("Femme active"), days);
        w.show();
        w.render(&image);
        w.hide();
    }
    if (!prompter.asked.isEmpty()) state.SkipWithError(prompter.lastText().toStdString().c_str());
}
BENCHMARK(BM_Bilan14Days)->Unit(benchmark::kMillisecond);

// Reading the 14 saved days alone, and what the Food table tells about them.
void BM_ReadSavedDays(benchmark::State& state) {
    FourteenDays day;
    for (auto _ : state) benchmark::DoNotOptimize(SavedDays::readAll(day.session.run()));
}
BENCHMARK(BM_ReadSavedDays)->Unit(benchmark::kMillisecond);

void BM_FoodKnowledge(benchmark::State& state) {
    Day day(200, true);
    for (auto _ : state) benchmark::DoNotOptimize(FoodKnowledge::read(day.dir.path()));
}
BENCHMARK(BM_FoodKnowledge)->Unit(benchmark::kMillisecond);

void BM_DrawPage3(benchmark::State& state) {
    FourteenDays day;
    TFdiagnost w(day.session, day.desktop);
    w.setDays(QStringLiteral("Femme active"), SavedDays::readAll(day.session.run()));
    w.show();
    w.SBpage3Click();
    QImage image(640, 480, QImage::Format_RGB32);
    for (auto _ : state) w.render(&image);
    w.hide();
}
BENCHMARK(BM_DrawPage3)->Unit(benchmark::kMillisecond);
}   // namespace

NUTRIMO_WINDOW_BENCHMARK_MAIN()
