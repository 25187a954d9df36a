// The body-mass-index dialog driven through its spin edits: the tab order,
// the one bold class, the height 0 that empties the index but keeps the
// class, and the caps written back into the spin edits while typing.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include "bmi/indice.h"
#include "ui/spinedit.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"

class TestIndiceDialog : public QObject {
    Q_OBJECT

    static QStringList boldLabels(const TFIndice& d) {
        QStringList bold;
        for (QLabel* l : {d.Lmaigre, d.LNormal, d.Lsurpoids, d.Lobese})
            if (l->font().bold()) bold << l->objectName();
        return bold;
    }
    static void type(SpinEdit* spin, const QString& text) {
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    void tabOrder() {
        TFIndice d;
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"SEPoids", "SETaille", "EIndice", "BitBtn1"}));
    }

    void f1OpensItsOwnTopic() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        desktop.installF1Handler();
        TFIndice d;
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(desktop.lastHelpContext(), 64);
    }

    void heightZeroKeepsTheClass() {
        TFIndice d;
        QCOMPARE(boldLabels(d), QStringList());
        d.SEPoids->setValue(70);
        d.SETaille->setValue(175);
        QCOMPARE(d.EIndice->text(), QStringLiteral("22,86"));
        QCOMPARE(boldLabels(d), QStringList{"LNormal"});
        type(d.SEPoids, "95");
        QCOMPARE(boldLabels(d), QStringList{"Lobese"});
        type(d.SETaille, "0");
        QCOMPARE(d.EIndice->text(), QString());
        QCOMPARE(boldLabels(d), QStringList{"Lobese"});
        // An emptied height reads as 0 too.
        type(d.SETaille, "170");
        d.SETaille->setText(QString());
        QCOMPARE(d.EIndice->text(), QString());
    }

    // Typing past the maximum: the handler writes the cap back and computes
    // with it, but only while the height is not 0; the arrows never pass it.
    void capsWrittenBack() {
        TFIndice d;
        type(d.SEPoids, "300");
        QCOMPARE(d.SEPoids->text(), QStringLiteral("300"));
        QCOMPARE(d.EIndice->text(), QString());
        type(d.SETaille, "200");
        QCOMPARE(d.SEPoids->text(), QStringLiteral("200"));
        QCOMPARE(d.EIndice->text(), QStringLiteral("50,00"));
        type(d.SETaille, "300");
        QCOMPARE(d.SETaille->text(), QStringLiteral("250"));
        QCOMPARE(d.EIndice->text(), QStringLiteral("32,00"));
        d.SETaille->stepUp();
        QCOMPARE(d.SETaille->text(), QStringLiteral("250"));
        // Letters and a second separator are refused as they are typed, with
        // a hint naming the field; either separator is a decimal point.
        type(d.SEPoids, "8x0.5,");
        QCOMPARE(d.SEPoids->text(), QStringLiteral("80.5"));
        QCOMPARE(d.EIndice->text(), QStringLiteral("12,88"));
        QCOMPARE(QToolTip::text(), d.SEPoids->refusal());
        QVERIFY(QToolTip::text().startsWith(QStringLiteral("Poids : ")));
    }
};

QTEST_MAIN(TestIndiceDialog)
#include "tst_indicedialog.moc"
