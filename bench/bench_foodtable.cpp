// Food table windows, as the user sees them (shown offscreen, events
// processed after each step so that the boxes repaint), on synthetic Food
// tables of the real schema: 3,185 foods (the size of the whole CIQUAL table)
// and 100,000. For each window: opening it, one navigator step, a change of
// order and a name search; each interactive step should stay under 16 ms at
// 3,185 foods.
#include <benchmark/benchmark.h>

#include "benchwindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <random>

#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "benchtables.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {

const char* const kWords[] = {"Épinards", "pomme",   "Œuf",   "crème",  "Bœuf",  "gâteau",  "purée", "céleri",
                              "haricots", "verts",   "cuits", "rôti",   "poêlé", "fraîche", "Pâtes", "sauce",
                              "tomate",   "Fromage", "blanc", "Jambon", "cru",   "Yaourt",  "Crêpe", "Maïs"};

// A Data directory holding DIETAB.DBF with n synthetic foods and an empty
// Alimcomp.DBF, written once per n: the empty files from the codec, then the
// records and the header count put in as one image.
QString dataDir(int n) {
    static QTemporaryDir root;
    static std::map<int, QString> dirs;
    auto it = dirs.find(n);
    if (it != dirs.end()) return it->second;
    const QString dir = root.filePath(QStringLiteral("foods%1").arg(n));
    QDir().mkpath(dir);
    DbfFile::create(dir + QLatin1Char('/') + compositeSchema().fileName, compositeSchema().fields);
    const QString path = dir + QLatin1Char('/') + foodSchema().fileName;
    std::mt19937 rng(11);
    const int words = int(sizeof kWords / sizeof kWords[0]);
    BenchTables::writeTable(path, foodSchema(), n, [&](RecordBuilder& r, int i) {
        QString name;
        for (int w = 0; w < 2; ++w) name += QString::fromUtf8(kWords[rng() % words]) + QLatin1Char(' ');
        name += QString::number(i + 1);
        r.set(QStringLiteral("NUMERO"), i + 1).set(QStringLiteral("NOM"), name);
        r.set(QStringLiteral("CATEGORIE"), categories()[i % categories().size()]);
        for (int f = 3; f < foodSchema().fields.size(); ++f)
            r.set(foodSchema().fields[f].name, (rng() % 50000) / 1000.0);
    });
    dirs[n] = dir;
    return dir;
}

template <class W>
struct Shown {
    Session session;
    ScriptedDesktop desktop{session.run()};
    std::unique_ptr<W> w;
    explicit Shown(int n) : session(dataDir(int(n))) {
        if constexpr (std::is_constructible_v<W, Session&, Desktop&>)
            w = std::make_unique<W>(session, desktop);
        else
            w = std::make_unique<W>(session);
        w->show();
        QApplication::processEvents();
    }
    ~Shown() { w->close(); }
};

template <class W>
void Opening(benchmark::State& state) {
    Shown<W> s(int(state.range(0)));
    s.w->close();
    for (auto _ : state) {
        s.w->show();
        QApplication::processEvents();
        state.PauseTiming();
        s.w->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

template <class W>
void NavigatorStep(benchmark::State& state) {
    Shown<W> s(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        if constexpr (std::is_same_v<W, TFmodif>)
            s.w->navigue(++i % 2 ? TableNavigator::Next : TableNavigator::Prior);
        else
            s.w->DBNavigator->click(++i % 2 ? TableNavigator::Next : TableNavigator::Prior);
        QApplication::processEvents();
    }
}

template <class W>
void SortChange(benchmark::State& state) {
    Shown<W> s(int(state.range(0)));
    s.w->DBNavigator->click(TableNavigator::Last);
    int i = 0;
    for (auto _ : state) {
        QRadioButton* categorie;
        if constexpr (std::is_same_v<W, TFmodif>)
            categorie = s.w->RBCategorie;
        else
            categorie = s.w->RBcategorie;
        (++i % 2 ? categorie : s.w->RBnumero)->click();
        QApplication::processEvents();
    }
}

template <class W>
void NameSearch(benchmark::State& state) {
    Shown<W> s(int(state.range(0)));
    ScriptedPrompter p(s.session.run());
    const QStringList starts = {QStringLiteral("Epi"), QStringLiteral("pomme c"), QStringLiteral("oeuf"),
                                QStringLiteral("Zz"), QStringLiteral("crè")};
    int i = 0;
    for (auto _ : state) {
        p.answer(starts[i++ % starts.size()]);
        s.w->SBchercherClick();
        QApplication::processEvents();
        state.PauseTiming();
        p.asked.clear();
        state.ResumeTiming();
    }
}

}   // namespace

BENCHMARK_TEMPLATE(Opening, TFconsult)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Opening, TFmodif)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(NavigatorStep, TFconsult)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(NavigatorStep, TFmodif)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(SortChange, TFconsult)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(SortChange, TFmodif)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(NameSearch, TFconsult)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(NameSearch, TFmodif)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);

NUTRIMO_WINDOW_BENCHMARK_MAIN()
