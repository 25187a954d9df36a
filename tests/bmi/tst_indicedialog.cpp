// The body-mass-index dialog driven through its spin edits: its controls and
// tab order, the index and the one bold class, the height 0 that empties the
// index, the caps written back into the spin edits, and the main window's
// File > Indice de masse corporelle that opens a fresh dialog each time.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "app/diet.h"
#include "bmi/indice.h"
#include "bmi/spinedit.h"
#include "core/session/session.h"
#include "support/testsupport.h"

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

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("LPoids") << "LPoids" << QPoint(56, 29) << "Entrez votre poids (en kg)";
        QTest::newRow("SEPoids") << "SEPoids" << QPoint(224, 24) << "0";
        QTest::newRow("LTaille") << "LTaille" << QPoint(56, 80) << "Entrez votre taille (en cm)";
        QTest::newRow("SETaille") << "SETaille" << QPoint(224, 72) << "0";
        QTest::newRow("LIndice") << "LIndice" << QPoint(56, 128) << QStringLiteral("Indice (P/T²) :");
        QTest::newRow("EIndice") << "EIndice" << QPoint(224, 124) << "";
        QTest::newRow("Lmaigre") << "Lmaigre" << QPoint(56, 184) << QStringLiteral("De 0 à 18,5    :  maigre");
        QTest::newRow("LNormal") << "LNormal" << QPoint(56, 221) << QStringLiteral("De 18,5 à 25  :  normal");
        QTest::newRow("Lsurpoids") << "Lsurpoids" << QPoint(56, 259) << QStringLiteral("De 25 à 30  : surpoids");
        QTest::newRow("Lobese") << "Lobese" << QPoint(56, 296) << QStringLiteral("Au-dessus de 30 : obésité");
        QTest::newRow("BitBtn1") << "BitBtn1" << QPoint(232, 288) << "OK";
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QPoint, position);
        QFETCH(QString, text);
        TFIndice d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Indice de masse corporelle"));
        QCOMPARE(d.size(), QSize(370, 348));
        QWidget* w = d.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->pos(), position);
        QString shown;
        if (auto* l = qobject_cast<QLabel*>(w)) shown = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(w)) shown = e->text();
        else if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) shown = s->text();
        else if (auto* b = qobject_cast<QPushButton*>(w)) shown = b->text();
        QCOMPARE(shown, text);
    }

    void tabOrderAndRanges() {
        TFIndice d;
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.SEPoids->setFocus();
        QStringList order{d.focusWidget()->objectName()};
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            order << (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ? w->parentWidget() : w)->objectName();
        }
        QCOMPARE(order, QStringList({"SEPoids", "SETaille", "EIndice", "BitBtn1"}));
        d.hide();
        QVERIFY(d.EIndice->isReadOnly());
        QVERIFY(d.EIndice->font().bold());
        QCOMPARE(d.SEPoids->maximum(), 200);
        QCOMPARE(d.SETaille->maximum(), 250);
        // The arrows stay within the range.
        d.SEPoids->setValue(200);
        d.SEPoids->stepUp();
        QCOMPARE(d.SEPoids->text(), QStringLiteral("200"));
    }

    void indexAndClass_data() {
        QTest::addColumn<int>("poids");
        QTest::addColumn<int>("taille");
        QTest::addColumn<QString>("indice");
        QTest::addColumn<QString>("bold");
        QTest::newRow("70/175") << 70 << 175 << "22,86" << "LNormal";
        QTest::newRow("81/180 exactly 25") << 81 << 180 << "25,00" << "LNormal";
        QTest::newRow("weight 0") << 0 << 160 << "0,00" << "Lmaigre";
        QTest::newRow("overweight") << 90 << 180 << "27,78" << "Lsurpoids";
        QTest::newRow("obese") << 120 << 200 << "30,00" << "Lobese";
    }
    void indexAndClass() {
        QFETCH(int, poids);
        QFETCH(int, taille);
        QFETCH(QString, indice);
        QFETCH(QString, bold);
        TFIndice d;
        d.SEPoids->setValue(poids);
        d.SETaille->setValue(taille);
        QCOMPARE(d.EIndice->text(), indice);
        QCOMPARE(boldLabels(d), QStringList{bold});
    }

    void heightZeroKeepsTheClass() {
        TFIndice d;
        QCOMPARE(boldLabels(d), QStringList());
        type(d.SEPoids, "95");
        type(d.SETaille, "170");
        QCOMPARE(d.EIndice->text(), QStringLiteral("32,87"));
        type(d.SETaille, "0");
        QCOMPARE(d.EIndice->text(), QString());
        QCOMPARE(boldLabels(d), QStringList{"Lobese"});
        // Emptying the height's text reads as 0 too.
        type(d.SETaille, "170");
        d.SETaille->setText(QString());
        QCOMPARE(d.EIndice->text(), QString());
    }

    // Typing past the maximum: the handler writes the cap back and computes
    // with it, but only while the height is not 0.
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
        QCOMPARE(boldLabels(d), QStringList{"Lobese"});
        // Letters are not taken by the spin edit at all.
        type(d.SEPoids, "8x0");
        QCOMPARE(d.SEPoids->text(), QStringLiteral("80"));
        QCOMPARE(d.EIndice->text(), QStringLiteral("12,80"));
    }

    // Each opening from the menu is a new dialog owned by the main window,
    // shown modally, gone once closed: it starts from 0 and 0 again.
    void openedFreshFromTheMenu() {
        TempDataDir dir;
        Session session(dir.path());
        TFdiet diet(session, Fenetres{});
        QList<QPointer<TFIndice>> shown;
        diet.setAfficheur([&](QDialog* w) {
            auto* d = qobject_cast<TFIndice*>(w);
            QVERIFY(d);
            QCOMPARE(d->parentWidget(), static_cast<QWidget*>(&diet));
            QCOMPARE(d->SEPoids->value() + d->SETaille->value(), 0);
            d->SEPoids->setValue(70);
            d->SETaille->setValue(175);
            shown << d;
        });
        QVERIFY(diet.Indicedemassecorporelle1->isEnabled());
        diet.Indicedemassecorporelle1->trigger();
        diet.Indicedemassecorporelle1->trigger();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].isNull() && shown[1].isNull());
    }
};

QTEST_MAIN(TestIndiceDialog)
#include "tst_indicedialog.moc"
