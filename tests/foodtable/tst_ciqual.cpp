// The window "Aliments CIQUAL 2020" by keyboard alone, on the supplied tables
// and the CIQUAL.DBF the build writes: it opens with the focus in its search
// box over every CIQUAL food, shows the selected food's values with the
// unmeasured ones marked, moves with the arrows, adds the selected foods with
// Alt+A; the consultation window then names an added food's CIQUAL code.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "core/session/session.h"
#include "core/table/table.h"
#include "foodtable/ciqual.h"
#include "foodtable/consult.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"
#include "ui/help.h"
#include "ui/namesearch.h"

class TestCiqual : public QObject {
    Q_OBJECT
private slots:
    void byKeyboard() {
        TempDataDir dir;
        Fixtures::copySuppliedTables(dir.path());
        ScriptedPrompter p(dir.run());
        TFciqual w(dir.run(), Fixtures::ciqualTable());
        QCOMPARE(w.windowTitle(), QStringLiteral("Aliments CIQUAL 2020"));
        QCOMPARE(Help::contextOf(&w), 39);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QLineEdit* box = w.nameSearch->box();
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(w.nameSearch->list()->model()->rowCount(), 3185);
        QCOMPARE(w.nameSearch->countLine()->text(), QStringLiteral("3\u202f185 aliments"));

        QTest::keyClicks(box, QStringLiteral("asperge verte"));
        QCOMPARE(w.Lnom->text(), QStringLiteral("Asperge verte, bouillie/cuite à l'eau"));
        QTest::keyClick(box, Qt::Key_Down);
        const QString second = w.Lnom->text();
        QVERIFY(second != QStringLiteral("Asperge verte, bouillie/cuite à l'eau"));
        QTest::keyClick(box, Qt::Key_Up);
        QVERIFY2(w.Lorigine->text().startsWith(QStringLiteral("CIQUAL 2020, code 20299\n")),
                 qPrintable(w.Lorigine->text()));
        QCOMPARE(
            w.Ltable->text(),
            QStringLiteral("Dans la table : « Asperge verte, bouillie », catégorie LÉGUMES NON FÉCULENTS"));
        // Cholesterol (the 10th value) was not measured: marked; proteins were.
        QCOMPARE(w.Gvaleurs->item(9, 1)->text(), QStringLiteral("0 *"));
        QVERIFY(!w.Gvaleurs->item(1, 1)->text().endsWith(QLatin1Char('*')));

        // Two foods at once, with Alt+A.
        QTest::keyClick(box, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(w.nameSearch->selected().size(), 2);
        QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(p.asked.size(), 1);
        QVERIFY2(p.lastText().startsWith(
                     QStringLiteral("2 aliments sont ajoutés à la table des aliments :\n"
                                    "n° 234 « Asperge verte, bouillie » (LÉGUMES NON FÉCULENTS)\n"
                                    "n° 235 ")),
                 qPrintable(p.lastText()));
        QVERIFY(w.Ltable->text().startsWith(QStringLiteral("Déjà dans la table des aliments : n° 23")));

        // Escape empties the box, then closes the window.
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(box->text().isEmpty() && w.isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QVERIFY(!w.Taliments().isOpen());

        ScriptedDesktop desktop(dir.run());
        TFconsult consult(dir.session(), desktop);
        QVERIFY(consult.FormShow());
        QVERIFY(consult.Taliments().locate(QStringLiteral("NOM"), QStringLiteral("Asperge verte, bouillie")));
        QCOMPARE(consult.Lorigine->text(), QStringLiteral("CIQUAL 2020, code 20299"));
        consult.Taliments().first();
        QCOMPARE(consult.Lorigine->text(), QStringLiteral("CIQUAL 2020, code 6200"));
        consult.FormClose();
    }
};

QTEST_MAIN(TestCiqual)
#include "tst_ciqual.moc"
