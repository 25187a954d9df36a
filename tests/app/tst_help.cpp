// The help document DIETAIDE.HLP (its format, the topics the windows ask
// for, where it is read from) and the help viewer.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "app/helpdocument.h"
#include "app/helpviewer.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "support/ui/scripteddesktop.h"
#include "ui/help.h"

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("contexts");
        QTest::addColumn<int>("errors");
        QTest::newRow("preamble and two topics")
            << "préambule\n@@ 0 Index\n<p>a</p>\n@@ 25 Composition\n<p>b</p>\n"
            << QList<int>{0, 25} << 0;
        QTest::newRow("windows line ends") << "@@ 7 Nouveau\r\ntexte\r\n" << QList<int>{7} << 0;
        QTest::newRow("duplicate context") << "@@ 1 A\nx\n@@ 1 B\ny\n" << QList<int>{1} << 1;
        QTest::newRow("header without number") << "@@ Index\nx\n@@ 2 B\n" << QList<int>{2} << 1;
        QTest::newRow("no topic") << "rien\n" << QList<int>{} << 0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(QList<int>, contexts);
        QFETCH(int, errors);
        const HelpDocument doc = HelpDocument::parse(text);
        QList<int> got;
        for (const HelpTopic& t : doc.topics()) got << t.context;
        QCOMPARE(got, contexts);
        QCOMPARE(doc.errors().size(), errors);
    }

    void bodyAndLinks() {
        const HelpDocument doc = HelpDocument::parse(
            "@@ 0 Index\nVoir [[9]] et [[25|la liste]], ou [[77]].\n@@ 9 Ouvrir & enregistrer\ncorps\n"
            "@@ 25 Composition\n");
        QCOMPARE(doc.topic(9)->title, QStringLiteral("Ouvrir & enregistrer"));
        QCOMPARE(doc.topic(9)->body, QStringLiteral("corps\n"));
        const QString page = doc.page(0);
        QVERIFY(page.contains("<a href=\"aide:9\">Ouvrir &amp; enregistrer</a>"));
        QVERIFY(page.contains("<a href=\"aide:25\">la liste</a>"));
        QCOMPARE(doc.brokenLinks(), QList<int>{77});
        QCOMPARE(HelpDocument::contextOfLink("aide:25"), 25);
        QCOMPARE(HelpDocument::contextOfLink("https://example.org"), -1);
    }

    void unknownContextShowsIndex() {
        const HelpDocument doc = HelpDocument::parse("@@ 0 Index\nle sommaire\n@@ 6 Fichier\nx\n");
        QCOMPARE(doc.shownContext(6), 6);
        QCOMPARE(doc.shownContext(404), 0);
        const QString page = doc.page(404);
        QVERIFY(page.contains("le sommaire"));
        QVERIFY(page.contains(QStringLiteral("Il n'y a pas de rubrique d'aide")));
        QVERIFY(!doc.page(6).contains(QStringLiteral("Il n'y a pas de rubrique")));
    }

    // The program's own help file: every context a window or menu asks for.
    void builtInDocument() {
        TempDataDir dir;
        QCOMPARE(HelpDocument::locate(dir.run().dataDir(), "DIETAIDE.HLP"), HelpDocument::builtInPath());
        const HelpDocument doc = HelpDocument::load(dir.run().dataDir(), "DIETAIDE.HLP");
        QVERIFY2(doc.errors().isEmpty(), qPrintable(doc.errors().join('\n')));
        QVERIFY(doc.brokenLinks().isEmpty());
        for (int c :
             {0, 6, 7, 8, 9, 14, 19, 20, 21, 22, 24, 25, 27, 36, 37, 39, 48, 49, 55, 60, 61, 62, 63, 64}) {
            QVERIFY2(doc.has(c), qPrintable(QString::number(c)));
            QVERIFY(doc.topic(c)->body.trimmed().size() > 80);
        }
        QCOMPARE(doc.topic(49)->title, QStringLiteral("Aliment choisi : détail"));
        bool credits = false;
        for (const HelpTopic& t : doc.topics()) {
            const QString body = t.body.simplified();
            credits |= body.contains(QStringLiteral(
                           "Anses. 2020. Table de composition nutritionnelle des aliments Ciqual.")) &&
                       body.contains("Licence Ouverte 2.0") &&
                       body.contains(
                           "EFSA (European Food Safety Authority), Dietary Reference Values "
                           "for the EU, DRV Finder.");
        }
        QVERIFY(credits);
    }

    void dataDirectoryCopyComesFirst() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("dietaide.hlp"), "@@ 0 Aide du site\nnotre aide\n"));
        QCOMPARE(HelpDocument::locate(dir.run().dataDir(), "DIETAIDE.HLP"), dir.file("dietaide.hlp"));
        QCOMPARE(HelpDocument::load(dir.run().dataDir(), "DIETAIDE.HLP").topic(0)->title,
                 QStringLiteral("Aide du site"));
    }

    void viewerFollowsLinksAndHistory() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        HelpViewer::install(desktop);
        desktop.showHelp(25);
        HelpViewer* v = HelpViewer::of(desktop);
        QVERIFY(v);
        QVERIFY(v->isVisible());
        QCOMPARE(v->currentContext(), 25);
        QCOMPARE(v->index()->count(), v->document().topics().size());
        QCOMPARE(v->index()->currentItem()->data(Qt::UserRole).toInt(), 25);
        QVERIFY(v->browser()->toPlainText().contains(QStringLiteral("Composition d'un menu")));
        emit v->browser()->anchorClicked(QUrl("aide:9"));
        QCOMPARE(v->currentContext(), 9);
        auto* back = v->findChild<QPushButton*>("Precedent");
        QVERIFY(back);
        back->click();
        QCOMPARE(v->currentContext(), 25);
        desktop.showHelp(12345);
        QCOMPARE(v->currentContext(), 0);
        v->close();
    }

    void escapeClosesTheViewer() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        HelpViewer::install(desktop);
        desktop.showHelp(25);
        HelpViewer* v = HelpViewer::of(desktop);
        QVERIFY(v && v->isVisible());
        // From the topic text, where the focus usually is.
        v->browser()->setFocus();
        QTest::keyClick(v->browser(), Qt::Key_Escape);
        QVERIFY(!v->isVisible());
    }

    void viewerUsableOverModalWindow() {
        TempDataDir dir;
        ScriptedDesktop desktop(dir.run());
        HelpViewer::install(desktop);
        QDialog modal;
        QWidget* owner = nullptr;
        bool visible = false;
        QTimer::singleShot(0, &modal, [&] {
            desktop.showHelp(9);
            owner = HelpViewer::of(desktop)->parentWidget();
            visible = HelpViewer::of(desktop)->isVisible();
            HelpViewer::of(desktop)->close();
            modal.reject();
        });
        modal.exec();
        QCOMPARE(owner, static_cast<QWidget*>(&modal));
        QVERIFY(visible);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
