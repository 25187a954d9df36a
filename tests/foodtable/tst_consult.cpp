// The consultation window driven through its handlers: the category box
// following every move, the order shown by the sort buttons and kept between
// showings, and printing the window's image to a PDF in both sizes, read back
// by rendering the page.
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPrintDialog>
#include <QtTest>

#include "core/session/session.h"
#include "core/table/table.h"
#include "foodfixture.h"
#include "foodtable/consult.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"
#include "ui/iconbutton.h"
#include "ui/printerservice.h"

namespace {
// The box, in pixels at 72 dpi, of what is not white on the PDF's first page,
// or an empty rectangle when it cannot be rendered.
QRect inkOf(const QString& pdf) {
    QTemporaryDir out;
    const QString base = out.filePath(QStringLiteral("page"));
    if (QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                           QStringLiteral("-singlefile"), pdf, base}) != 0)
        return QRect();
    const QImage page(base + QStringLiteral(".png"));
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (QColor(page.pixel(x, y)).lightness() < 250) ink |= QRect(x, y, 1, 1);
    return ink;
}
}   // namespace

class TestConsult : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFconsult> w;
    QString nom() { return w->Taliments().asString(QStringLiteral("NOM")); }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        FoodFixture::write(dir->path());
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFconsult>(*session, *desktop);
        desktop->printers().setPdfOutput(QString());
        w->show();   // shown as by exec(), without its modal loop
        QVERIFY(w->isShowing());
    }
    void cleanup() {
        desktop->printers().setPdfOutput(QString());
        w->close();
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    void createdWindow() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Table des aliments (consultation)"));
        QCOMPARE(w->size(), QSize(378, 315));
        QCOMPARE(w->SBchercher->hint(), QStringLiteral("Chercher"));
        QCOMPARE(w->SBimprimer->hint(), QStringLiteral("Imprimer"));
        QVERIFY(w->RBnumero->isChecked());
        QCOMPARE(w->CBcategorie->count(), 14);
        QVERIFY(w->CBcategorie->isEditable());
        QVERIFY(w->Taliments().isOpen());
        // Read-only, on the first food by number, its values in their formats.
        QVERIFY(w->edit(QStringLiteral("NOM"))->isReadOnly());
        QCOMPARE(w->edit(QStringLiteral("EditNOM"))->text(), QStringLiteral("Pomme"));
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->text(), QStringLiteral("1.00"));
        QCOMPARE(w->edit(QStringLiteral("VIT_D"))->text(), QStringLiteral("0.0000"));
        QCOMPARE(w->edit(QStringLiteral("CHOLEST"))->text(), QStringLiteral("0"));
        QCOMPARE(w->edit(QStringLiteral("EditKCAL"))->text(), QStringLiteral("34"));
        QCOMPARE(w->edit(QStringLiteral("EditVIT_B3"))->objectName(), QStringLiteral("EditVIT_B3"));
        QCOMPARE(w->CBcategorie->currentText(), categories()[9]);
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("Lcomposition"))->isVisibleTo(w.get()));
    }

    // Every move ends with the box on the current food's category; the
    // category box jumps and takes the category order.
    void categoryBoxFollows() {
        w->DBNavigator->click(TableNavigator::Last);
        QCOMPARE(nom(), QStringLiteral("Salade"));
        QCOMPARE(w->CBcategorie->currentText(), categories()[7]);
        w->CBcategorie->setCurrentIndex(8);   // no food: the next category's first
        w->CBcategorieChange();
        QVERIFY(w->RBcategorie->isChecked());
        QCOMPARE(w->Taliments().indexName(), QStringLiteral("CATEGORIE"));
        QCOMPARE(nom(), QStringLiteral("Salade"));
        QCOMPARE(w->CBcategorie->currentText(), categories()[7]);
        w->DBNavigator->click(TableNavigator::Next);
        QCOMPARE(w->CBcategorie->currentText(), categories()[5]);
        // A text typed into the box goes to the nearest category on Return.
        w->CBcategorie->lineEdit()->clear();
        QTest::keyClicks(w->CBcategorie->lineEdit(), QStringLiteral("leg"));
        QTest::keyClick(w->CBcategorie->lineEdit(), Qt::Key_Return);
        QCOMPARE(nom(), QStringLiteral("Salade"));
        QCOMPARE(w->CBcategorie->currentText(), categories()[7]);
        QVERIFY(w->isVisible());
    }

    // A confirmed search shows the name order; the order stays for the next
    // showing, which starts on its first food.
    void searchAndOrderKept() {
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("ta"));
        w->SBchercherClick();
        QCOMPARE(nom(), QStringLiteral("Tarte maison"));
        QVERIFY(w->RBnom->isChecked());
        QCOMPARE(w->CBcategorie->currentText(), CategorieComposee);
        w->RBcategorie->click();
        QCOMPARE(nom(), QStringLiteral("Tarte maison"));
        p.cancel();
        w->SBchercherClick();
        QVERIFY(w->RBcategorie->isChecked());
        QCOMPARE(w->Taliments().indexName(), QStringLiteral("CATEGORIE"));
        w->close();
        QVERIFY(!w->Taliments().isOpen());
        w->show();
        QCOMPARE(nom(), QStringLiteral("Pomme"));   // first of FRUITS, by record
        QCOMPARE(w->Taliments().indexName(), QStringLiteral("CATEGORIE"));
    }

    void printing_data() {
        QTest::addColumn<bool>("large");
        QTest::addColumn<double>("widthInches");
        QTest::newRow("Non: screen size") << false << 378.0 / 96;
        QTest::newRow("Oui: the page's width") << true << (210.0 - 20.0) / 25.4;
    }
    void printing() {
        QFETCH(bool, large);
        QFETCH(double, widthInches);
        const QString pdf = dir->file(QStringLiteral("image.pdf"));
        desktop->printers().setPdfOutput(pdf);
        bool dressedInDialog = true;
        desktop->onRun = [&](QDialog& d) {
            dressedInDialog = w->habille();
            static_cast<QPrintDialog&>(d).printer()->setPageOrientation(QPageLayout::Portrait);
            d.setResult(QDialog::Accepted);
        };
        ScriptedPrompter p(dir->run());
        p.answer(large);
        w->SBimprimerClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].text, QStringLiteral("Voulez-vous imprimer en grande taille ?"));
        QVERIFY(!dressedInDialog);
        QVERIFY(!w->habille());
        QVERIFY(!w->DBNavigator->isHidden());
        QVERIFY(!w->RGtri->isHidden());
        QVERIFY(QFileInfo(pdf).size() > 0);
        // 378 x 315 at the image's proportions, from the top left corner of
        // the printable area (10 mm margins).
        const QSize size = w->tailleImprimee();
        QVERIFY(qAbs(size.width() * 315.0 / 378.0 - size.height()) <= 1.0);
        const QRect ink = inkOf(pdf);
        if (ink.isEmpty()) QSKIP("pdftoppm is not available");
        QVERIFY2(qAbs(ink.width() - widthInches * 72) <= 3, qPrintable(QString::number(ink.width())));
        QVERIFY(qAbs(ink.left() - 10 / 25.4 * 72) <= 3);
        QVERIFY(qAbs(ink.top() - 10 / 25.4 * 72) <= 3);
    }

    // Without any printer the image goes to a PDF in the Data directory, and
    // the user is told the name of the file written, as the dialog left it.
    void noPrinterWritesPdfInDataDirectory_data() {
        QTest::addColumn<QString>("renamed");
        QTest::newRow("name proposed") << QString();
        QTest::newRow("renamed in the print dialog") << QStringLiteral("mon image.pdf");
    }
    void noPrinterWritesPdfInDataDirectory() {
        QFETCH(QString, renamed);
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
        desktop->onRun = [&](QDialog& d) {
            if (!renamed.isEmpty())
                static_cast<QPrintDialog&>(d).printer()->setOutputFileName(dir->file(renamed));
            d.setResult(QDialog::Accepted);
        };
        ScriptedPrompter p(dir->run());
        p.answer(false);
        w->SBimprimerClick();
        const QStringList pdfs = QDir(dir->path()).entryList({QStringLiteral("*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        if (!renamed.isEmpty()) QCOMPARE(pdfs[0], renamed);
        QCOMPARE(p.asked.size(), 2);
        QVERIFY2(p.lastText().contains(QStringLiteral("« %1 »").arg(dir->file(pdfs[0]))),
                 qPrintable(p.lastText()));
        QVERIFY(!w->habille());
    }

    // Cancelled, or failing at the printer: nothing asked or printed past
    // that point, and the window looks as before.
    void printingCancelledOrFailing() {
        ScriptedPrompter p(dir->run());
        desktop->printers().setPdfOutput(dir->file(QStringLiteral("cancelled.pdf")));
        desktop->onRun = [](QDialog& d) { d.setResult(QDialog::Rejected); };
        w->SBimprimerClick();
        QVERIFY(p.asked.isEmpty());
        QVERIFY(!QFileInfo::exists(dir->file(QStringLiteral("cancelled.pdf"))));
        desktop->printers().setPdfOutput(dir->file(QStringLiteral("no/such/dir/image.pdf")));
        desktop->onRun = [](QDialog& d) { d.setResult(QDialog::Accepted); };
        p.answer(false);
        w->SBimprimerClick();
        QCOMPARE(p.asked.size(), 2);
        QCOMPARE(p.asked[1].kind, Prompter::Kind::Error);
        QVERIFY(!w->habille());
        QVERIFY(!w->SBimprimer->isHidden());
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("Lcomposition"))->isHidden());
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->palette().color(QPalette::Base),
                 w->palette().color(QPalette::Button));
    }
};

QTEST_MAIN(TestConsult)
#include "tst_consult.moc"
