// Name search figures. The word search alone, keystroke by keystroke, at the
// 3,185 names of the whole CIQUAL table and at 100,000 synthetic names (the
// CIQUAL names again with a number each), side by side in the same run with
// a plain linear scan that folds every name at every keystroke and gives the
// same matches in the same order. Then the windows the search serves, as the
// user sees them (shown offscreen, events processed after each step) with the
// whole CIQUAL as the Food table (the builder's --ciqual-complet): the
// composition window (showing, a keystroke, picking a match), the window
// "Aliments CIQUAL 2020" (opening, a keystroke, an arrow, adding a food) and
// the editing window's step, which now reads the foods' origins. Every
// interactive step should stay under 16 ms at 3,185 foods; a keystroke of the
// search alone under 5 ms at 3,185 and 50 ms at 100,000.
#include <benchmark/benchmark.h>

#include "benchwindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "benchtables.h"
#include "compose/compose.h"
#include "core/ciqual/ciqualcatalogue.h"
#include "core/foodtable/foodorigins.h"
#include "core/search/wordsearch.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/ciqual.h"
#include "foodtable/modif.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "core/io/runcontext.h"
#include "suppliedtables.h"
#include "ui/namesearch.h"

namespace {
const QString kCiqual = QStringLiteral(NUTRIMO_TABLES_DIR "/CIQUAL.DBF");

// What a user types, one keystroke at a time.
QStringList keystrokes() {
    QStringList out;
    for (const QString& text : {QStringLiteral("poulet roti"), QStringLiteral("pomme de terre"),
                                QStringLiteral("creme fraiche"), QStringLiteral("yaourt nature")})
        for (int n = 1; n <= text.size(); ++n) out << text.left(n);
    return out;
}

QStringList names(int n) {
    static RunContext run{DataDirectory(QDir::tempPath())};
    static const QStringList ciqual = CiqualCatalogue(run, kCiqual).names();
    if (n == ciqual.size()) return ciqual;
    QStringList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) out << ciqual[i % ciqual.size()] + QStringLiteral(" %1").arg(i);
    return out;
}

// The plain way: every name folded again and scanned at every keystroke.
QVector<int> linearScan(const QStringList& names, const QString& text) {
    const QByteArray typed = WordSearch::fold(text);
    QList<QByteArray> words = typed.split(' ');
    words.removeAll(QByteArray());
    QVector<int> ranks[3];
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray name = ' ' + WordSearch::fold(names[i]);
        bool all = true, starts = true;
        for (const QByteArray& w : words) {
            all = all && name.contains(w);
            starts = starts && name.contains(' ' + w);
        }
        if (all) ranks[name.startsWith(' ' + typed) ? 0 : starts ? 1 : 2] << i;
    }
    return ranks[0] + ranks[1] + ranks[2];
}

void Keystroke(benchmark::State& state) {
    const QStringList all = names(int(state.range(0)));
    const WordSearch search(all);
    const QStringList keys = keystrokes();
    int i = 0;
    size_t found = 0;
    for (auto _ : state) found += search.find(keys[i++ % keys.size()]).size();
    benchmark::DoNotOptimize(found);
    state.SetLabel(QStringLiteral("%1 noms, index fait en une fois").arg(all.size()).toStdString());
}

void KeystrokeLinearScan(benchmark::State& state) {
    const QStringList all = names(int(state.range(0)));
    const QStringList keys = keystrokes();
    // Both give the same matches, in the same order.
    const WordSearch search(all);
    for (const QString& k : keys)
        if (linearScan(all, k) != search.find(k)) state.SkipWithError("résultats différents");
    int i = 0;
    size_t found = 0;
    for (auto _ : state) found += linearScan(all, keys[i++ % keys.size()]).size();
    benchmark::DoNotOptimize(found);
    state.SetLabel(QStringLiteral("%1 noms, balayage linéaire").arg(all.size()).toStdString());
}

// The first letter typed matches the most names: the slowest keystroke.
void FirstLetter(benchmark::State& state) {
    const WordSearch search(names(int(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(search.find(QStringLiteral("e")));
}

void BuildIndex(benchmark::State& state) {
    const QStringList all = names(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(WordSearch(all).size());
}

// A Data directory with the whole CIQUAL as the Food table, the day's tables,
// and an origin for every food.
QString wholeCiqualDir() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        const QDir d(dir.path());
        SuppliedTables::buildFullCiqual(QStringLiteral(NUTRIMO_SOURCE_DIR "/data/sources/ciqual-2020.csv"),
                                        d.filePath(foodSchema().fileName));
        for (const char* name : {"CHOIX.DBF", "choix0.dbf", "Alimcomp.DBF", "NONMESUR.DBF"})
            QFile::copy(QStringLiteral(NUTRIMO_TABLES_DIR "/") + QLatin1String(name),
                        d.filePath(QLatin1String(name)));
        auto foods = DbfFile::open(d.filePath(foodSchema().fileName), true);
        BenchTables::writeTable(d.filePath(originsSchema().fileName), originsSchema(), foods->recordCount(),
                                [&](RecordBuilder& r, int i) {
                                    r.set("NUMERO", i + 1)
                                        .set("NOM", foods->text(i, 1))
                                        .set("SOURCE", QStringLiteral("CIQUAL 2020"))
                                        .set("CODE", QString::number(100000 + i));
                                });
    }
    return dir.path();
}

// A Data directory of n synthetic foods named like CIQUAL's.
QString syntheticDir(int n) {
    static QTemporaryDir root;
    const QString dir = root.filePath(QString::number(n));
    if (QDir(dir).exists()) return dir;
    QDir().mkpath(dir);
    const QStringList all = names(n);
    BenchTables::writeTable(
        QDir(dir).filePath(foodSchema().fileName), foodSchema(), n, [&](RecordBuilder& r, int i) {
            r.set("NUMERO", i + 1).set("NOM", all[i].left(30)).set("CATEGORIE", categories()[i % 12]);
        });
    for (const char* name : {"CHOIX.DBF", "choix0.dbf", "Alimcomp.DBF"})
        QFile::copy(QStringLiteral(NUTRIMO_TABLES_DIR "/") + QLatin1String(name),
                    QDir(dir).filePath(QLatin1String(name)));
    return dir;
}

QString dirFor(int foods) { return foods == 3185 ? wholeCiqualDir() : syntheticDir(foods); }

// Each step shows the window; closing it again is not timed.
void opening(benchmark::State& state, QWidget& w) {
    for (auto _ : state) {
        w.show();
        QApplication::processEvents();
        state.PauseTiming();
        w.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Each step presses one key then, at the next step, the other, in a shown
// window, and lets it repaint.
void alternate(benchmark::State& state, QWidget* target, Qt::Key one, Qt::Key other) {
    int i = 0;
    for (auto _ : state) {
        QTest::keyClick(target, i++ % 2 ? other : one);
        QApplication::processEvents();
    }
}

// The run of one benchmark on a Data directory: its Session, the desktop its
// windows run on, and the prompter that answers them.
struct Run {
    explicit Run(const QString& dir) : session(dir), desktop(session.run()), prompter(session.run()) {}
    Session session;
    ScriptedDesktop desktop;
    ScriptedPrompter prompter;
};

// A window shown on the screen for one benchmark.
template <class W>
struct ShownWindow : W {
    template <class... Args>
    explicit ShownWindow(Args&&... args) : W(std::forward<Args>(args)...) {
        this->show();
        QApplication::processEvents();
    }
    ~ShownWindow() override { this->close(); }
};

void ComposeShow(benchmark::State& state) {
    Run run(dirFor(int(state.range(0))));
    TFcompose w(run.session, run.desktop);
    opening(state, w);
}

// One more letter typed in the composition window's search box, then one
// less, each repainted: the steps of typing "poulet r".
void ComposeKeystroke(benchmark::State& state) {
    Run run(dirFor(int(state.range(0))));
    ShownWindow<TFcompose> w(run.session, run.desktop);
    QTest::keyClicks(w.nameSearch->box(), QStringLiteral("poulet "));
    alternate(state, w.nameSearch->box(), Qt::Key_R, Qt::Key_Backspace);
}

// Ctrl+F in a window just shown, and a first letter: the names of the whole
// table are read then, once per showing.
void ComposeSearchFocus(benchmark::State& state) {
    Run run(dirFor(int(state.range(0))));
    TFcompose w(run.session, run.desktop);
    for (auto _ : state) {
        state.PauseTiming();
        w.show();
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w)) state.SkipWithError("fenêtre inactive");
        if (!w.nameSearch->names().isEmpty()) state.SkipWithError("noms déjà lus");
        state.ResumeTiming();
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(w.nameSearch->box(), Qt::Key_P);
        QApplication::processEvents();
        state.PauseTiming();
        if (w.nameSearch->names().size() != state.range(0)) state.SkipWithError("noms non lus");
        w.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Return on a match: the category box, the food grid and the selected food
// follow it.
void ComposePick(benchmark::State& state) {
    Run run(dirFor(int(state.range(0))));
    ShownWindow<TFcompose> w(run.session, run.desktop);
    QLineEdit* box = w.nameSearch->box();
    QTest::keyClicks(box, QStringLiteral("pomme"));
    int i = 0;
    for (auto _ : state) {
        QTest::keyClick(box, ++i % 2 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(box, Qt::Key_Return);
        QApplication::processEvents();
    }
}

void CiqualOpen(benchmark::State& state) {
    Run run(wholeCiqualDir());
    TFciqual w(run.session.run(), kCiqual);
    opening(state, w);
}

// From every food listed to those holding "p" and back.
void CiqualKeystroke(benchmark::State& state) {
    Run run(wholeCiqualDir());
    ShownWindow<TFciqual> w(run.session.run(), kCiqual);
    alternate(state, w.nameSearch->box(), Qt::Key_P, Qt::Key_Backspace);
}

// An arrow: the next food selected and its values shown.
void CiqualArrow(benchmark::State& state) {
    Run run(wholeCiqualDir());
    ShownWindow<TFciqual> w(run.session.run(), kCiqual);
    alternate(state, w.nameSearch->box(), Qt::Key_Down, Qt::Key_Up);
}

// Adding one food to the 3,185 foods (written with its side tables), the
// message answered; the food is taken out again between steps.
void CiqualAdd(benchmark::State& state) {
    Run run(wholeCiqualDir());
    ScriptedPrompter& p = run.prompter;
    ShownWindow<TFciqual> w(run.session.run(), kCiqual);
    QTest::keyClicks(w.nameSearch->box(), QStringLiteral("salsifis noir"));
    int i = 0;
    for (auto _ : state) {
        // Every CIQUAL food is in this table already under its name: the
        // name asked for is given.
        p.answer(QStringLiteral("Salsifis, essai %1").arg(++i));
        w.BajouterClick();
        QApplication::processEvents();
        state.PauseTiming();
        w.Taliments().last();
        if (w.Taliments().asString(QStringLiteral("NOM")).startsWith(QStringLiteral("Salsifis, essai")))
            w.Taliments().deleteRecord();
        w.close();
        w.show();
        QTest::keyClicks(w.nameSearch->box(), QStringLiteral("salsifis noir"));
        QApplication::processEvents();
        if (p.asked.size() != 2 || !p.asked.last().text.contains(QStringLiteral("est ajouté")))
            state.SkipWithError("aliment non ajouté");
        p.asked.clear();
        state.ResumeTiming();
    }
}

// A navigator step, with the food's origin shown under its category.
void ModifStep(benchmark::State& state) {
    Run run(wholeCiqualDir());
    ShownWindow<TFmodif> w(run.session);
    int i = 0;
    for (auto _ : state) {
        w.navigue(++i % 2 ? TableNavigator::Next : TableNavigator::Prior);
        QApplication::processEvents();
    }
}
}   // namespace

BENCHMARK(Keystroke)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeLinearScan)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstLetter)->Arg(3185)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildIndex)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ComposeShow)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ComposeSearchFocus)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ComposeKeystroke)->Arg(3185)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ComposePick)->Arg(3185)->Unit(benchmark::kMillisecond);
BENCHMARK(CiqualOpen)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(CiqualKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(CiqualArrow)->Unit(benchmark::kMillisecond);
BENCHMARK(CiqualAdd)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ModifStep)->Unit(benchmark::kMillisecond);

NUTRIMO_WINDOW_BENCHMARK_MAIN()
