// The window "Compléter la ration" by keyboard alone, on the supplied tables
// and a three-food day: it opens on a proposal with page 2's rates before and
// after; unticking a category with the space bar keeps it in EXCLUS.TXT and
// proposes again without it; Alt+A adds the lines to the day and closes.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "core/diagnosis/page2.h"
#include "core/session/session.h"
#include "core/suggest/completiondata.h"
#include "suggest/completer.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"

class TestCompleter : public QObject {
    Q_OBJECT
private slots:
    void byKeyboard();
    void solverTimedOut();
};

namespace {
// The supplied tables with a day of bread, chicken and an apple.
void threeFoodDay(TempDataDir& dir) {
    Fixtures::copySuppliedTables(dir.path());
    CompletionRequest day;
    day.foods = CompletionData::readFoods(dir.run());
    QVector<ProposedLine> three;
    for (int i = 0; i < day.foods.size(); ++i)
        if (QStringList{"Pain, baguette", "Poulet, rôti", "Pomme"}.contains(day.foods[i].name))
            three << ProposedLine{i, 100};
    CompletionData::addToDay(dir.run(), day, three);
}

void showActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}
}   // namespace

void TestCompleter::byKeyboard() {
    TempDataDir dir;
    threeFoodDay(dir);
    ScriptedPrompter prompter(dir.run());
    Session& session = dir.session();
    TFcompleter w(session, Fixtures::efsaReference());
    w.setGroup(QStringLiteral("Femme active"), true);
    showActive(w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Compléter la ration"));
    QVERIFY(!w.CBgroupe->isEnabled());
    QVERIFY(w.propositionAJour() && w.SBajouter->isEnabled());
    QVERIFY(w.DBGproposition->rowCount() >= 1 && w.DBGproposition->rowCount() <= 5);
    // Before and after, as page 2 writes its rates.
    const DailyTotals before = CompletionData::readDay(dir.run());
    DiagnosisData d;
    d.totals = before;
    d.needs = w.demande().needs;
    QCOMPARE(w.DBGtaux->item(1, 2)->text(), QString::number(*tauxDe(LignesPage2()[1], d), 'f', 2) + " %");
    d.totals = w.proposition().after;
    QCOMPARE(w.DBGtaux->item(1, 3)->text(), QString::number(*tauxDe(LignesPage2()[1], d), 'f', 2) + " %");

    // Meat unticked with the space bar: kept in the file, proposed again without it.
    w.LBcategories->setFocus();
    w.LBcategories->setCurrentRow(0);
    QTest::keyClick(w.LBcategories, Qt::Key_Space);
    QCOMPARE(w.LBcategories->item(0)->checkState(), Qt::Unchecked);
    QVERIFY(!w.SBajouter->isEnabled());
    QVERIFY(Files::bytesOf(dir.file("EXCLUS.TXT")).contains("catégorie : VIANDES ET VOLAILLES"));
    QTRY_VERIFY(w.propositionAJour());
    for (const ProposedLine& l : w.proposition().lines)
        QVERIFY(w.demande().foods[l.food].category != categories()[0]);

    // The first food proposed refused (Alt+F), then taken back (Alt+R).
    const QString refused = w.DBGproposition->item(0, 0)->text();
    w.DBGproposition->setFocus();
    // A mnemonic presses its button as a click does, after a short delay.
    QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(w.LBexclus->count(), 1);
    QVERIFY(Files::bytesOf(dir.file("EXCLUS.TXT")).contains(("aliment : " + refused).toUtf8()));
    QTRY_VERIFY(w.propositionAJour());
    for (const ProposedLine& l : w.proposition().lines) QVERIFY(w.demande().foods[l.food].name != refused);
    QTest::keyClick(&w, Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(w.LBexclus->count(), 0);
    QVERIFY(!Files::bytesOf(dir.file("EXCLUS.TXT")).contains("aliment :"));
    QTRY_VERIFY(w.propositionAJour());

    // Three foods at most, typed into the box reached by Alt+N.
    QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), w.SEnombre);
    w.SEnombre->selectAll();
    QTest::keyClicks(w.SEnombre, "3");
    QTRY_VERIFY(w.propositionAJour() && w.demande().maxFoods == 3);
    QVERIFY(w.proposition().lines.size() <= 3);

    const QVector<ProposedLine> proposed = w.proposition().lines;
    QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QList<double> grams;
    const QStringList names = Fixtures::liveChoiceNames(dir.path(), &grams);
    QCOMPARE(names.size(), 3 + proposed.size());
    for (int i = 0; i < proposed.size(); ++i) {
        QCOMPARE(names[3 + i], w.demande().foods[proposed[i].food].name);
        QCOMPARE(grams[3 + i], double(proposed[i].grams));
    }
    QCOMPARE(
        session.totals()[DailyTotals::QTE], 300.0 + [&] {
            double g = 0;
            for (auto& l : proposed) g += l.grams;
            return g;
        }());
    QCOMPARE(prompter.asked.size(), 0);
}

void TestCompleter::solverTimedOut() {
    // The solver stopped by its time cap: the window says so and Alt+A adds nothing.
    TempDataDir dir;
    threeFoodDay(dir);
    ScriptedPrompter prompter(dir.run());
    Session& session = dir.session();
    TFcompleter w(session, Fixtures::efsaReference());
    CompletionOptions o;
    o.timeLimitMs = 0;
    w.setOptions(o);
    showActive(w);
    QVERIFY2(w.Lnotes->text().contains(QStringLiteral("n'a pas abouti dans le temps imparti")),
             qPrintable(w.Lnotes->text()));
    QVERIFY(!w.SBajouter->isEnabled());
    QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
    QVERIFY(w.isVisible());
    QCOMPARE(Fixtures::liveChoiceNames(dir.path()).size(), 3);
    w.close();
}

QTEST_MAIN(TestCompleter)
#include "tst_completer.moc"
