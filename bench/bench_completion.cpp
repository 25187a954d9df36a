// "Compléter la ration" figures: a proposal for three-food days at 233 foods
// (the supplied DIETAB.DBF) and at 3,185 foods (the whole CIQUAL table the
// table builder writes with --ciqual-complet), side by side with the greedy
// baseline on the same days: time, rates of page 2 reaching their target
// (of 21) and foods used, every proposal under the group's upper levels.
// Then the solver's time alone, repeated.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <cstdio>

#include "core/needs/efsatable.h"
#include "core/needs/personneeds.h"
#include "core/suggest/completion.h"
#include "core/io/runcontext.h"
#include "core/suggest/completiondata.h"
#include "core/schema/schema.h"
#include "suppliedtables.h"

namespace {
struct DayOf3 {
    const char* group;
    QVector<QPair<QString, int>> foods;   // Base foods and grams
};

const QVector<DayOf3>& days() {
    static const QVector<DayOf3> d = {
        {"Femme active",
         {{QStringLiteral("Pain, baguette"), 120},
          {QStringLiteral("Poulet, rôti"), 150},
          {QStringLiteral("Pomme"), 150}}},
        {"Homme sédentaire",
         {{QStringLiteral("Pâtes, cuites"), 250},
          {QStringLiteral("Steak haché 15 % MG, cuit"), 125},
          {QStringLiteral("Yaourt aux fruits"), 125}}},
        {"Garçon de 13 ans",
         {{QStringLiteral("Pain au chocolat"), 70},
          {QStringLiteral("Lait demi-écrémé"), 250},
          {QStringLiteral("Jambon cuit"), 80}}},
    };
    return d;
}

// Two Data directories: the supplied tables, and the same with the whole
// CIQUAL table as the Food table.
struct Tables {
    QTemporaryDir base, full;
    QVector<CandidateFood> baseFoods, fullFoods;
    std::unique_ptr<RunContext> needsRun;   // the Needs table read from the Base foods' directory
    EfsaTable efsa = EfsaTable::read(QStringLiteral(NUTRIMO_SOURCE_DIR "/data/sources/efsa-drv.csv"));
    Tables() {
        const QDir supplied(QStringLiteral(NUTRIMO_TABLES_DIR));
        for (const QTemporaryDir* d : {&base, &full})
            for (const char* name : {"DIETAB.DBF", "NONMESUR.DBF", "BESOINS.DBF", "CHOIX.DBF"})
                QFile::copy(supplied.filePath(QLatin1String(name)),
                            QDir(d->path()).filePath(QLatin1String(name)));
        QFile::remove(QDir(full.path()).filePath(QStringLiteral("DIETAB.DBF")));
        SuppliedTables::buildFullCiqual(QStringLiteral(NUTRIMO_SOURCE_DIR "/data/sources/ciqual-2020.csv"),
                                        QDir(full.path()).filePath(QStringLiteral("DIETAB.DBF")));
        RunContext baseRun{DataDirectory(base.path())}, fullRun{DataDirectory(full.path())};
        baseFoods = CompletionData::readFoods(baseRun);
        fullFoods = CompletionData::readFoods(fullRun);
        needsRun = std::make_unique<RunContext>(DataDirectory(base.path()));
    }
    static const Tables& get() {
        static const Tables t;
        return t;
    }
    // The day's request over one of the tables; the day's totals always come
    // from the Base foods, so that both tables complete the same day.
    CompletionRequest request(const DayOf3& day, bool whole) const {
        CompletionRequest r;
        r.foods = baseFoods;
        r.needs = CompletionData::readNeeds(*needsRun, colonneDuGroupe(QString::fromUtf8(day.group)));
        r.limits = PersonNeedsRules::groupUpperLimits(colonneDuGroupe(QString::fromUtf8(day.group)), efsa);
        r.groupName = QString::fromUtf8(day.group);
        QVector<ProposedLine> lines;
        for (const auto& [name, grams] : day.foods)
            for (int i = 0; i < r.foods.size(); ++i)
                if (r.foods[i].name == name) lines << ProposedLine{i, grams};
        r.day = totalsAfter(r, lines);
        if (whole) r.foods = fullFoods;
        return r;
    }
};

int foodsUsed(const Completion& c) { return static_cast<int>(c.lines.size()); }

void printComparison() {
    const Tables& t = Tables::get();
    std::printf("Compléter la ration, 5 aliments au plus : solveur et glouton sur les mêmes journées\n");
    std::printf("%-18s %6s | %8s %6s %7s %9s | %8s %6s %7s\n", "journée", "table", "solveur", "taux",
                "aliments", "candidats", "glouton", "taux", "aliments");
    for (bool whole : {false, true})
        for (const DayOf3& day : days()) {
            const CompletionRequest r = t.request(day, whole);
            const Completion s = completeDay(r);
            QElapsedTimer clock;
            clock.start();
            const Completion g = greedyCompletion(r);
            const double greedyMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            std::printf("%-18s %6d | %6.0f ms %3d/21 %7d %9d | %6.1f ms %3d/21 %7d%s\n", day.group,
                        static_cast<int>(r.foods.size()), s.elapsedMs, coveredRates(s.after, r.needs),
                        foodsUsed(s), s.candidates, greedyMs, coveredRates(g.after, r.needs), foodsUsed(g),
                        s.status == Completion::Status::Proposed ? "" : "  (solveur : pas de proposition)");
            for (const ProposedLine& l : s.lines)
                std::printf("    %4d g  %s\n", l.grams, qPrintable(r.foods[l.food].name));
            std::printf("    avant %d/21, temps %s, écart %.3f\n", coveredRates(r.day, r.needs),
                        s.stoppedByTime ? "épuisé" : "non épuisé", s.gap);
        }
    std::fflush(stdout);
}

void BM_CompleteDay(benchmark::State& state) {
    const CompletionRequest r = Tables::get().request(days()[state.range(1)], state.range(0) != 233);
    int covered = 0;
    for (auto _ : state) {
        const Completion c = completeDay(r);
        covered = coveredRates(c.after, r.needs);
        benchmark::DoNotOptimize(c.lines.data());
    }
    state.counters["taux_atteints"] = covered;
    state.SetLabel(QStringLiteral("%1 aliments, %2")
                       .arg(r.foods.size())
                       .arg(QString::fromUtf8(days()[state.range(1)].group))
                       .toStdString());
}
BENCHMARK(BM_CompleteDay)->Args({233, 0})->Args({3185, 0})->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_Greedy(benchmark::State& state) {
    const CompletionRequest r = Tables::get().request(days()[0], state.range(0) != 233);
    for (auto _ : state) benchmark::DoNotOptimize(greedyCompletion(r).lines.data());
}
BENCHMARK(BM_Greedy)->Arg(233)->Arg(3185)->Unit(benchmark::kMillisecond);
}   // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    printComparison();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
