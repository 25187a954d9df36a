// The diagnosis window: what showing reads, the empty-choice path, page
// switching, closing, the start-up reading, and printing both pages on one
// sheet (read back from the PDF).
#include <QFrame>
#include <QPrinterInfo>
#include <QToolButton>
#include <QtTest>

#include "core/compose/dailytotals.h"
#include "core/table/table.h"
#include "diagnosis/diagnost.h"
#include "diagnosis/impression.h"
#include "core/diagnosis/needs.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "compose/compose.h"
#include "core/session/session.h"
#include "ui/help.h"
#include "ui/printerservice.h"
#include "support/recordingsurface.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

using Op = RecordingSurface::Op;

namespace {
// One Choice line of q grams with a few nutrients.
QVariantMap line(const QString& nom, double q, double protA, double glucA, double lipiA, double ca) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = q;
    m["PROT_A"] = protA;
    m["GLUC_A"] = glucA;
    m["LIPI_A"] = lipiA;
    m["CALORIES"] = 4 * protA + 4 * glucA + 9 * lipiA;
    m["A_G_SAT"] = lipiA / 2;
    m["CA"] = ca;
    m["VIT_D"] = 0.0025;
    return m;
}

QString caption() { return QStringLiteral("Femme active") + SuffixeBilan; }

// The Data directory with every table, the Session whose Daily totals the
// window refills, the composition window (whose Choice table handle it leaves
// alone), the desktop it prints on, and a scripted prompter.
struct Fixture {
    TempDataDir dir;
    Session& session = dir.session();
    ScriptedDesktop desktop{dir.run()};
    TFcompose compose{session, desktop};
    Table& tchoix = compose.Tchoix();
    DailyTotals& totals = session.totals();
    ScriptedPrompter prompter{dir.run()};
    Fixture() {
        Fixtures::writeAllTables(dir.path());
        session.FirstPaint = false;
    }
    void choose(const QVector<QVariantMap>& lines) {
        Fixtures::appendRecords(choiceSchema(), dir.file(QStringLiteral("CHOIX.DBF")), lines);
    }
};

}   // namespace

class TestDiagnost : public QObject {
    Q_OBJECT
private slots:
    void windowLayout() {
        Fixture f;
        TFdiagnost w(f.session, f.desktop);
        QCOMPARE(w.size(), QSize(640, 480));
        QCOMPARE(w.font().family(), QStringLiteral("Arial"));
        QCOMPARE(w.font().pixelSize(), 13);
        QCOMPARE(Help::contextOf(&w), 19);
        QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.Panel1->width(), 30);
        const struct {
            QToolButton* b;
            int y;
            const char* tip;
        } buttons[] = {{w.SBpage1, 9, "Page 1"},
                       {w.SBpage2, 38, "Page 2"},
                       {w.SBimprimer, 67, "Imprimer"},
                       {w.SBsortir, 96, "Sortir"}};
        for (const auto& b : buttons) {
            QCOMPARE(b.b->geometry(), QRect(5, b.y, 22, 22));
            // The hint, followed by the button's shortcut where it has one.
            QVERIFY(b.b->toolTip().startsWith(QString::fromUtf8(b.tip)));
            QVERIFY(!b.b->icon().pixmap(16, 16, QIcon::Normal).isNull());
            QVERIFY(!b.b->icon().pixmap(16, 16, QIcon::Disabled).isNull());
        }
        QVERIFY(w.SBpage1->isChecked());
        w.show();
        QCOMPARE(w.Panel1->geometry().right(), w.width() - 1);
        w.SBpage2->click();
        QVERIFY(!w.SBpage1->isChecked());
    }

    // With nothing chosen the window says so and closes; one food later it
    // shows page 1 from the Daily totals it refilled.
    void emptyChoiceThenOneFood() {
        Fixture f;
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        QCOMPARE(w.windowTitle(), caption());
        // Shown modally, as the main window does: the warning comes once the
        // window is up, and closing it ends the modal loop.
        bool stuck = false;
        QTimer::singleShot(5000, &w, [&] {
            stuck = true;
            w.reject();
        });
        w.exec();
        QVERIFY(!stuck);
        QVERIFY(!w.isVisible());
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].kind, Prompter::Kind::Warning);
        QCOMPARE(f.prompter.asked[0].text, QStringLiteral("Vous n'avez encore rien choisi"));
        QVERIFY(!w.donneesLues());

        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20),
                  line(QStringLiteral("Pain blanc"), 100, 0, 50, 1, 30)});
        f.totals.v[DailyTotals::FIBRES] = 99;   // stale: refilled on showing
        w.show();
        QTest::qWait(20);
        QVERIFY(w.isVisible());
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY(w.donneesLues());
        QCOMPARE(f.totals[DailyTotals::QTE], 250.0);
        QCOMPARE(f.totals[DailyTotals::FIBRES], 0.0);
        QCOMPARE(w.donnees().totals[DailyTotals::CA], 50.0);
        QVERIFY(!f.tchoix.isOpen());
        QCOMPARE(w.colonneGroupe(), QStringLiteral("F_FORCE"));
        QCOMPARE(w.donnees().groupName, QStringLiteral("Femme active"));
        // The fixture's row 1 holds 2000 + 10 c in column c (F_FORCE is the 14th).
        QCOMPARE(w.donnees().needs[GroupNeeds::Energie], 2140.0);
        w.close();
    }

    // The page buttons blank the page area and draw the other page from the
    // data read, without reading again.
    void pageSwitching() {
        Fixture f;
        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20)});
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        w.show();
        QTRY_VERIFY(w.donneesLues());
        QCOMPARE(w.pageAffichee(), 1);

        // A change on disk after showing is not seen by the page buttons.
        f.choose({line(QStringLiteral("Pain blanc"), 100, 0, 50, 1, 30)});
        w.SBpage2->click();
        QCOMPARE(w.pageAffichee(), 2);
        QVERIFY(w.SBpage2->isChecked() && !w.SBpage1->isChecked());
        RecordingSurface s;
        w.dessinePage(s);
        for (int i = 0; i < 27; ++i) {
            QCOMPARE(s.ops[i].x, 5);
            QVERIFY(s.ops[i].text.trimmed().isEmpty());
        }
        QCOMPARE(s.ops[27].text, QStringLiteral("FEMME ACTIVE"));
        QCOMPARE(s.findText(QStringLiteral("MINÉRAUX-VITAMINES :"))->y, 10 + 2 * 17);
        QVERIFY(s.findText(QStringLiteral("  20.00 mg")));   // calcium of the first line only
        QVERIFY(!s.findText(QStringLiteral("  50.00 mg")));
        QCOMPARE(w.donnees().totals[DailyTotals::QTE], 150.0);
        QVERIFY(!s.findText(QStringLiteral("ÉNERGIE :")));

        w.SBpage1->click();
        s = RecordingSurface();
        w.dessinePage(s);
        QVERIFY(s.findText(QStringLiteral("ÉNERGIE :")));
        QVERIFY(s.ops[0].text.trimmed().isEmpty());
        w.SBpage1->click();   // page 1 again: blank, then page 1 again
        QCOMPARE(w.pageAffichee(), 1);

        // Closing puts page 1 down and closes the Needs table; the next
        // showing reads again.
        w.SBpage2->click();
        w.SBsortir->click();
        QVERIFY(!w.isVisible());
        QVERIFY(w.SBpage1->isChecked());
        QCOMPARE(w.pageAffichee(), 1);
        w.show();
        QTRY_VERIFY(w.donneesLues());
        QCOMPARE(w.donnees().totals[DailyTotals::QTE], 250.0);
        // The real page area paints without trouble on both pages.
        QVERIFY(!w.grab().isNull());
        w.SBpage2->click();
        QVERIFY(!w.grab().isNull());
        w.close();
    }

    void startUpReading() {
        Fixture f;
        f.session.FirstPaint = true;
        TFdiagnost w(f.session, f.desktop);
        w.premiereLecture();
        QVERIFY(!f.session.FirstPaint);
        QVERIFY(!w.isVisible());
        QCOMPARE(f.prompter.asked.size(), 0);

        // A missing Needs table is reported at start-up, through the error handler.
        QFile::remove(f.dir.file(QStringLiteral("BESOINS.DBF")));
        f.session.FirstPaint = true;
        TFdiagnost w2(f.session, f.desktop);
        w2.premiereLecture();
        QVERIFY(!f.session.FirstPaint);
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].kind, Prompter::Kind::Error);
        QVERIFY2(f.prompter.asked[0].text.contains(QStringLiteral("BESOINS"), Qt::CaseInsensitive),
                 qPrintable(f.prompter.asked[0].text));
    }

    // An error of the tables on showing is shown and the window closes.
    void tableErrorOnShowing() {
        Fixture f;
        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20)});
        QFile::remove(f.dir.file(QStringLiteral("CHOIX.DBF")));
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        w.show();
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].kind, Prompter::Kind::Error);
        QVERIFY(!w.donneesLues());
    }

    // Both pages on one sheet, page 1 first, read back from the PDF.
    void printBothPagesOnOneSheet() {
        Fixture f;
        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20),
                  line(QStringLiteral("Pain blanc"), 100, 0, 50, 1, 30)});
        const QString pdf = f.dir.file(QStringLiteral("test-bilan.pdf"));
        f.desktop.printers().setPdfOutput(pdf);
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        w.show();
        QTRY_VERIFY(w.donneesLues());
        w.SBpage2->click();   // printing from page 2 prints both pages all the same
        w.SBimprimerClick();
        QCOMPARE(f.prompter.asked.size(), 0);
        QVERIFY(w.donneesLues());   // back to drawing on screen
        QVERIFY(QFileInfo(pdf).size() > 0);
        const QString text = Files::pdfText(pdf);
        if (text.isEmpty()) QSKIP("pdftotext is not available");
        QCOMPARE(text.count(QLatin1Char('\f')), 1);   // one page
        QVERIFY(!text.trimmed().contains(QLatin1Char('\f')));
        const QStringList inOrder = {"ÉNERGIE :",
                                     "FEMME ACTIVE",
                                     "CONSEILS :",
                                     "2140 kcal/jour",
                                     "RÉPARTITION :",
                                     "Protides (prot. an.)",
                                     "A.G. poly-insaturés",
                                     "Vous ne consommez pas assez",
                                     "MINÉRAUX-VITAMINES :",
                                     "TAUX :",
                                     "- Énergie",
                                     "- Calcium",
                                     "  50.00 mg",
                                     "- Vit. D",
                                     "   5.00 µg",
                                     "- Vit. PP"};
        int at = 0;
        for (const QString& part : inOrder) {
            const int found = text.indexOf(part, at);
            QVERIFY2(found >= 0,
                     qPrintable(
                         QStringLiteral("« %1 » missing after position %2:\n%3").arg(part).arg(at).arg(text)));
            at = found + part.size();
        }
        QCOMPARE(text.count(QStringLiteral("FEMME ACTIVE")), 1);
        QCOMPARE(w.pageAffichee(), 2);
        // The advice lines printing counts are the ones on the sheet.
        QCOMPARE(imprimeBilan(f.desktop.printers(), w.donnees()), text.count(QStringLiteral("Vous ")));
    }

    void printerErrors() {
        Fixture f;
        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20)});
        f.desktop.printers().setPdfOutput(f.dir.file(QStringLiteral("no/such/dir/bilan.pdf")));
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        w.show();
        QTRY_VERIFY(w.donneesLues());
        w.SBimprimerClick();
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].kind, Prompter::Kind::Error);
        QVERIFY2(f.prompter.asked[0].text.startsWith(QStringLiteral("Impossible d'écrire le fichier")),
                 qPrintable(f.prompter.asked[0].text));
        QVERIFY(w.donneesLues());   // back to drawing on screen
        QVERIFY(w.isVisible());
    }

    // Without any printer the sheet goes to a PDF in the Data directory, and
    // the user is told its name.
    void noPrinterWritesPdfInDataDirectory() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
        Fixture f;
        f.choose({line(QStringLiteral("Poulet, rôti"), 150, 30, 0, 15, 20)});
        TFdiagnost w(f.session, f.desktop);
        w.setGroup(QStringLiteral("Femme active"));
        w.show();
        QTRY_VERIFY(w.donneesLues());
        w.SBimprimerClick();
        const QStringList pdfs = QDir(f.dir.path()).entryList({QStringLiteral("bilan-*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.prompter.asked[0].kind, Prompter::Kind::Information);
        QVERIFY(f.prompter.asked[0].text.contains(pdfs[0]));
    }
};

QTEST_MAIN(TestDiagnost)
#include "tst_diagnost.moc"
