// The About box: its animation cycle played tick by tick by the test, the
// two links handed to a recording desktop, and the main window's menus that
// open a fresh About box or body-mass-index dialog each time.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "app/aprop.h"
#include "app/diet.h"
#include "core/session/session.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"

class TestAprop : public QObject {
    Q_OBJECT

    static QString shownImage(const TFAprop_gg& d) {
        QStringList shown;
        for (QLabel* l : {d.Image1, d.Image2, d.Image3})
            if (!l->isHidden()) shown << l->objectName();
        return shown.join(QLatin1Char('+'));
    }

private slots:
    void animationCycle_data() {
        QTest::addColumn<int>("start");   // interval before the ticks; 0: as opened
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("shown");
        QTest::newRow("opening") << 0 << 0 << 3000 << "Image1";
        QTest::newRow("after 3000 ms") << 0 << 1 << 100 << "Image2";
        QTest::newRow("after 100 ms") << 0 << 2 << 150 << "Image3";
        QTest::newRow("after 150 ms") << 0 << 3 << 110 << "Image2";
        QTest::newRow("after 110 ms: rest") << 0 << 4 << 3000 << "Image1";
        QTest::newRow("other interval: nothing") << 500 << 1 << 500 << "Image1";
    }
    void animationCycle() {
        QFETCH(int, start);
        QFETCH(int, ticks);
        QFETCH(int, interval);
        QFETCH(QString, shown);
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        TFAprop_gg d(desktop);
        QVERIFY(d.prepare());
        QVERIFY(d.Timer1->isActive());
        if (start) d.Timer1->setInterval(start);
        for (int i = 0; i < ticks; ++i) d.Timer1Timer();
        QCOMPARE(d.Timer1->interval(), interval);
        QCOMPARE(shownImage(d), shown);
        d.done(QDialog::Rejected);
        QVERIFY(!d.Timer1->isActive());
    }

    // Ten seconds: Image1 comes back at the start of each 3.36 s cycle.
    void tenSeconds() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        TFAprop_gg d(desktop);
        d.prepare();
        QList<int> image1Starts;
        bool wasImage1 = false;
        for (int t = 0; t <= 10000; t += d.Timer1->interval(), d.Timer1Timer()) {
            const bool isImage1 = shownImage(d) == QLatin1String("Image1");
            if (isImage1 && !wasImage1) image1Starts << t;
            wasImage1 = isImage1;
        }
        QCOMPARE(image1Starts, QList<int>({0, 3360, 6720}));
    }

    // Each click hands its fixed address to the opener; the box stays open
    // and OK, which has the focus at opening, keeps it.
    void linksGoToTheOpener() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        const QList<QUrl>& opened = desktop.opened;
        TFAprop_gg d(desktop);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.OKButton));
        QTest::mouseClick(d.LURL, Qt::LeftButton);
        QTest::mouseClick(d.LURL, Qt::LeftButton);
        QTest::mouseClick(d.SpeedButton1, Qt::LeftButton);
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0], QUrl(TFAprop_gg::AdresseWeb));
        QCOMPARE(opened[1], opened[0]);
        QCOMPARE(opened[2].scheme(), QStringLiteral("mailto"));
        QCOMPARE(opened[2].query(), QStringLiteral("subject=Nutrimo"));
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.OKButton));
    }

    // Each opening is a new window owned by the main window, shown, and gone
    // once closed, so that each opening starts afresh.
    void menuOpensAFreshWindow_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("A propos") << "Apropos1"
                                  << "TFAprop_gg";
        QTest::newRow("Indice") << "Indicedemassecorporelle1"
                                << "TFIndice";
    }
    void menuOpensAFreshWindow() {
        QFETCH(QString, item);
        QFETCH(QString, window);
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        TFdiet diet(dir.session(), desktop);
        QList<QPointer<QDialog>> shown;
        desktop.onRun = [&](QDialog& w) {
            QCOMPARE(QLatin1String(w.metaObject()->className()), window);
            QCOMPARE(w.parentWidget(), static_cast<QWidget*>(&diet));
            shown << &w;
        };
        QAction* a = diet.findChild<QAction*>(item);
        a->trigger();
        a->trigger();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].isNull() && shown[1].isNull());
    }
};

QTEST_MAIN(TestAprop)
#include "tst_aprop.moc"
