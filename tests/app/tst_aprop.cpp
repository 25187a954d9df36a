// The About box: its texts and pictures, the animation cycle driven tick by
// tick (the test plays the timer), the two links handed to a recording
// opener, and Aide > A propos that opens a fresh box each time.
#include <QFrame>
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
#include "ui/help.h"

class TestAprop : public QObject {
    Q_OBJECT

    static QString shownImage(const TFAprop_gg& d) {
        QStringList shown;
        for (QLabel* l : {d.Image1, d.Image2, d.Image3})
            if (!l->isHidden()) shown << l->objectName();
        return shown.join(QLatin1Char('+'));
    }

private slots:
    void contents() {
        TFAprop_gg d(nullptr, [](const QUrl&) {});
        QCOMPARE(d.windowTitle(), QStringLiteral("A propos"));
        QCOMPARE(d.size(), QSize(298, 243));
        QCOMPARE(Help::contextOf(&d), 63);
        QCOMPARE(d.ProductName->text(), QStringLiteral("Nutrimo"));
        QCOMPARE(d.ProductName->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(d.ProductName->font().pixelSize(), 21);
        QVERIFY(d.ProductName->font().bold());
        QCOMPARE(d.ProductName->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(d.Version->text(), QStringLiteral("Version 5.3"));
        QVERIFY(d.Version->font().bold());
        QVERIFY(!d.Auteur->text().isEmpty());
        QCOMPARE(d.LURL->text(), TFAprop_gg::AdresseWeb);
        QCOMPARE(d.LURL->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(d.OKButton->text(), QStringLiteral("OK"));
        QVERIFY(d.OKButton->font().bold());
        for (QLabel* l : {d.Image1, d.Image2, d.Image3}) {
            QCOMPARE(l->parentWidget(), static_cast<QWidget*>(d.Panel1));
            QCOMPARE(l->geometry(), d.Image1->geometry());
            QCOMPARE(l->size(), QSize(31, 35));
            QVERIFY(!l->pixmap().isNull());
        }
        QVERIFY(d.Image1->pixmap().toImage() != d.Image2->pixmap().toImage());
        QVERIFY(d.Image2->pixmap().toImage() != d.Image3->pixmap().toImage());
    }

    void opensWithImage1AndOkFocused() {
        TFAprop_gg d(nullptr, [](const QUrl&) {});
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(shownImage(d), QStringLiteral("Image1"));
        QVERIFY(d.Timer1->isActive());
        QCOMPARE(d.Timer1->interval(), 3000);
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.OKButton));
        QTest::mouseClick(d.OKButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QVERIFY(!d.Timer1->isActive());
    }

    void animationCycle_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("shown");
        QTest::newRow("opening") << 0 << 3000 << "Image1";
        QTest::newRow("after 3000 ms") << 1 << 100 << "Image2";
        QTest::newRow("after 100 ms") << 2 << 150 << "Image3";
        QTest::newRow("after 150 ms") << 3 << 110 << "Image2";
        QTest::newRow("after 110 ms: rest again") << 4 << 3000 << "Image1";
        QTest::newRow("second cycle") << 6 << 150 << "Image3";
    }
    void animationCycle() {
        QFETCH(int, ticks);
        QFETCH(int, interval);
        QFETCH(QString, shown);
        TFAprop_gg d(nullptr, [](const QUrl&) {});
        QVERIFY(d.FormShow());
        for (int i = 0; i < ticks; ++i) d.Timer1Timer();
        QCOMPARE(d.Timer1->interval(), interval);
        QCOMPARE(shownImage(d), shown);
        d.FormClose();
    }

    // Ten seconds played tick by tick: Image1 is on at the start of each
    // 3.36 s cycle, and one picture at a time is shown throughout.
    void tenSeconds() {
        TFAprop_gg d(nullptr, [](const QUrl&) {});
        d.FormShow();
        QList<int> image1Starts;
        int t = 0;
        bool wasImage1 = false;
        while (t <= 10000) {
            const QString shown = shownImage(d);
            QVERIFY2(!shown.contains(QLatin1Char('+')), qPrintable(shown));
            const bool isImage1 = shown == QLatin1String("Image1");
            if (isImage1 && !wasImage1) image1Starts << t;
            wasImage1 = isImage1;
            t += d.Timer1->interval();
            d.Timer1Timer();
        }
        QCOMPARE(image1Starts, QList<int>({0, 3360, 6720}));
        d.FormClose();
    }

    void otherIntervalDoesNothing() {
        TFAprop_gg d(nullptr, [](const QUrl&) {});
        d.FormShow();
        d.Timer1->setInterval(500);
        d.Timer1Timer();
        QCOMPARE(d.Timer1->interval(), 500);
        QCOMPARE(shownImage(d), QStringLiteral("Image1"));
        d.FormClose();
    }

    // Each click hands its fixed address to the opener; whatever the opener
    // does, the box stays open, shows nothing and OK keeps the focus.
    void linksGoToTheOpener() {
        QList<QUrl> opened;
        TFAprop_gg d(nullptr, [&](const QUrl& u) { opened << u; });
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(d.LURL, Qt::LeftButton);
        QTest::mouseClick(d.LURL, Qt::LeftButton);
        QTest::mouseClick(d.SpeedButton1, Qt::LeftButton);
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0], QUrl(TFAprop_gg::AdresseWeb));
        QCOMPARE(opened[1], opened[0]);
        QCOMPARE(opened[0].scheme(), QStringLiteral("https"));
        QCOMPARE(opened[2].scheme(), QStringLiteral("mailto"));
        QCOMPARE(opened[2].query(), QStringLiteral("subject=Nutrimo"));
        QVERIFY(!opened[2].path().isEmpty());
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.OKButton));
        d.close();
    }

    void openedFreshFromTheMenu() {
        TempDataDir dir;
        Session session(dir.path());
        TFdiet diet(session, Fenetres{});
        QList<QPointer<TFAprop_gg>> shown;
        diet.setAfficheur([&](QDialog* w) {
            auto* d = qobject_cast<TFAprop_gg*>(w);
            QVERIFY(d);
            QCOMPARE(d->parentWidget(), static_cast<QWidget*>(&diet));
            shown << d;
        });
        QVERIFY(diet.Apropos1->isEnabled());
        diet.Apropos1->trigger();
        diet.Apropos1->trigger();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].isNull() && shown[1].isNull());
    }
};

QTEST_MAIN(TestAprop)
#include "tst_aprop.moc"
