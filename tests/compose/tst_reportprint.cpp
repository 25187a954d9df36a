// The chosen-list report from the composition window: the print button
// hidden in composite mode and enabled with a choice, nothing at all for an
// empty choice, the preview of a long list, and the report's texts in order
// in the printed PDF.
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>

#include "compose/compimpr.h"
#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "ui/iconbutton.h"
#include "ui/printerservice.h"

namespace {
QVector<QVariantMap> lines(int n) {
    QVector<QVariantMap> out;
    for (int i = 1; i <= n; ++i) {
        QVariantMap m;
        m["NOM"] = QStringLiteral("Aliment %1").arg(i);
        m["QTE"] = 100.0;
        m["PROT_A"] = 1.5;
        m["CALORIES"] = 10.0 * i;
        out << m;
    }
    return out;
}

struct Fixture {
    TempDataDir dir;
    Session& session = dir.session();
    ScriptedDesktop desktop{dir.run()};
    TFcompose compose{session, desktop};
    TFcompimpr& compimpr = *compose.Fcompimpr();
    ScriptedPrompter prompter{dir.run()};
    int previews = 0;
    int pages = -1;
    Fixture() {
        Fixtures::writeAllTables(dir.path());
        compimpr.setTimestamp(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)));
        // The preview is looked at, then closed without printing.
        desktop.onRun = [this](QDialog& d) {
            ++previews;
            d.show();
            QTest::qWait(50);
            if (auto* w = d.findChild<QPrintPreviewWidget*>()) pages = w->pageCount();
            d.reject();
        };
    }
    void choose(int n) { Fixtures::appendRecords(choiceSchema(), dir.file("CHOIX.DBF"), lines(n)); }
};
}   // namespace

class TestReportPrint : public QObject {
    Q_OBJECT
private slots:
    void emptyChoiceShowsNothing() {
        Fixture f;
        f.session.ModeCompose = false;
        QVERIFY(f.compose.prepare());
        QVERIFY(f.compose.SBimprimer->isVisibleTo(&f.compose));
        QVERIFY(!f.compose.SBimprimer->isEnabled());
        f.compose.SBimprimerClick();
        QCOMPARE(f.previews, 0);
        QVERIFY(f.prompter.asked.isEmpty());
        f.compose.done(QDialog::Rejected);
    }

    void longListPreviewedOverTwoPages() {
        Fixture f;
        f.choose(45);
        f.session.ModeCompose = false;
        QVERIFY(f.compose.prepare());
        QVERIFY(f.compose.SBimprimer->isEnabled());
        QVERIFY(f.compose.Imprimer1->isEnabled());
        f.compose.Tchoix().last();
        f.compose.SBimprimerClick();
        QCOMPARE(f.previews, 1);
        QCOMPARE(f.pages, 2);
        QVERIFY(f.compose.Tchoix().isOpen());
        f.compose.done(QDialog::Rejected);
    }

    void hiddenInCompositeMode() {
        Fixture f;
        f.choose(2);
        f.session.ModeCompose = true;
        f.desktop.onRun = [](QDialog& d) {
            auto& dialog = static_cast<TFCreadlg&>(d);
            dialog.setText(QStringLiteral("Salade du jour"));
            dialog.OKButtonClick();
        };
        QVERIFY(f.compose.prepare());
        QVERIFY(!f.compose.SBimprimer->isVisibleTo(&f.compose));
        QVERIFY(!f.compose.Imprimer1->isVisible());
        f.compose.done(QDialog::Rejected);
    }

    // The printed report: its texts in order, totals right under the rows.
    void textsInThePdf() {
        Fixture f;
        f.choose(3);
        Table t(f.dir.run(), choiceSchema());
        t.open();
        const QString pdf = f.dir.file("liste.pdf");
        f.desktop.printers().setPdfOutput(pdf);
        f.compimpr.Print(t);
        f.desktop.printers().setPdfOutput(QString());
        QCOMPARE(f.compimpr.hauteurPied(), 960 - 3 * 31);
        const QString text = Files::pdfText(pdf, Files::PdfText::Raw);
        const QStringList inOrder = {"Liste des aliments choisis",
                                     "08/12/2026",
                                     "09:05:07",
                                     "Nom",
                                     QStringLiteral("Qté"),
                                     "Kcal.",
                                     "Aliment 1",
                                     "100",
                                     "1.500",
                                     "10",
                                     "Aliment 2",
                                     "Aliment 3",
                                     "30",
                                     "Totaux",
                                     "300",
                                     "4.500",
                                     "60"};
        int at = 0;
        for (const QString& s : inOrder) {
            const int found = text.indexOf(s, at);
            QVERIFY2(found >= 0, qPrintable(s + QStringLiteral(" not after position ") + QString::number(at) +
                                            QStringLiteral(" in:\n") + text));
            at = found + s.size();
        }
        QCOMPARE(text.count(QStringLiteral("\f")), 1);   // one page
    }
};

QTEST_MAIN(TestReportPrint)
#include "tst_reportprint.moc"
