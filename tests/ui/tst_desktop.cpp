// What the Desktop gives every window: a showing that goes one way (prepared,
// run, closed once however it ends; refused, never shown), and printing that
// still gives a document when the machine has no printer.
#include <QFileInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"
#include "ui/desktop.h"
#include "ui/modalwindow.h"

namespace {
// A window that counts its showings, and whether it ever appeared.
class CountingWindow : public ModalWindow {
public:
    CountingWindow() : ModalWindow(nullptr, -1) {}
    bool accepts = true;
    int prepared = 0, closed = 0;
    bool appeared = false;
    bool FormShow() override {
        ++prepared;
        return accepts;
    }
    void FormClose() override { ++closed; }

protected:
    void showEvent(QShowEvent* event) override {
        appeared = true;
        ModalWindow::showEvent(event);
    }
};
}   // namespace

class TestDesktop : public QObject {
    Q_OBJECT

    // Runs the window through the desktop, ending its showing with `end`
    // once its modal loop runs (closed anyway after a few seconds).
    static int runEndingWith(Desktop& desktop, CountingWindow& w, const QString& end) {
        QTimer::singleShot(0, &w, [&w, end] {
            if (end == "done")
                w.done(QDialog::Accepted);
            else if (end == "Escape")
                QTest::keyClick(&w, Qt::Key_Escape);
            else if (end == "close box")
                w.close();
            else if (end == "hide")
                w.hide();
        });
        QTimer::singleShot(5000, &w, [&w] {
            if (w.isVisible()) w.done(QDialog::Rejected);
        });
        return desktop.run(w);
    }

private slots:
    // However a showing ends, FormClose runs once, and the next showing is
    // prepared again.
    void showingClosedOnce_data() {
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("result");
        QTest::newRow("button (done)") << "done" << int(QDialog::Accepted);
        QTest::newRow("Escape") << "Escape" << int(QDialog::Rejected);
        QTest::newRow("close box") << "close box" << int(QDialog::Rejected);
        QTest::newRow("hide") << "hide" << int(QDialog::Rejected);
    }
    void showingClosedOnce() {
        QFETCH(QString, end);
        QFETCH(int, result);
        TempDataDir dir;
        Desktop desktop(dir.run());
        CountingWindow w;
        for (int showing = 1; showing <= 2; ++showing) {
            QCOMPARE(runEndingWith(desktop, w, end), result);
            QVERIFY(!w.isVisible());
            QVERIFY(!w.isShowing());
            QCOMPARE(w.prepared, showing);
            QCOMPARE(w.closed, showing);
        }
    }

    // A window whose FormShow refuses is never shown when run, and its
    // FormClose never runs; shown by show() it goes as the event loop turns.
    void refusedNeverShown_data() {
        QTest::addColumn<bool>("byShow");
        QTest::newRow("run by the desktop") << false;
        QTest::newRow("shown by show()") << true;
    }
    void refusedNeverShown() {
        QFETCH(bool, byShow);
        TempDataDir dir;
        Desktop desktop(dir.run());
        CountingWindow w;
        w.accepts = false;
        if (byShow) {
            w.show();
            QTRY_VERIFY(!w.isVisible());
        } else {
            QCOMPARE(runEndingWith(desktop, w, "done"), int(QDialog::Rejected));
            QVERIFY(!w.appeared);
        }
        QCOMPARE(w.prepared, 1);
        QCOMPARE(w.closed, 0);
        QVERIFY(!w.isShowing());
    }

    // With no printer and no PDF output set, each print lands as a PDF file
    // of its own in the Data directory, and the user is told its name.
    void noPrinterPrintsToPdf() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
        TempDataDir dir;
        Desktop desktop(dir.run());
        ScriptedPrompter told(dir.run());
        QStringList written;
        for (const QString& text : {QStringLiteral("Premier bilan"), QStringLiteral("Second bilan")}) {
            PrintJob job(desktop.printers(), QStringLiteral("bilan"));
            QVERIFY(job.isFallback());
            job.begin().drawText(100, 100, text);
            job.finish();
            const QFileInfo pdf(job.pdfPath());
            QCOMPARE(pdf.absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
            QVERIFY2(QRegularExpression(QStringLiteral("^bilan-\\d{8}-\\d{6}(-\\d+)?\\.pdf$"))
                         .match(pdf.fileName())
                         .hasMatch(),
                     qPrintable(pdf.fileName()));
            QCOMPARE(told.asked.size(), written.size() + 1);
            QCOMPARE(told.asked.last().kind, Prompter::Kind::Information);
            QVERIFY2(told.lastText().startsWith(QStringLiteral("Aucune imprimante n'est installée")) &&
                         told.lastText().contains(pdf.fileName()),
                     qPrintable(told.lastText()));
            written << pdf.absoluteFilePath();
        }
        QVERIFY(written[0] != written[1]);
        for (int i = 0; i < written.size(); ++i) {
            const QString text = Files::pdfText(written[i]);
            if (text.isEmpty()) QSKIP("pdftotext is not available");
            QVERIFY(text.contains(i ? QStringLiteral("Second bilan") : QStringLiteral("Premier bilan")));
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
