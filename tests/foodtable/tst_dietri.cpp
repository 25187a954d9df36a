// The ranking window: its controls, what the grid shows at opening and after
// a switch, the printout read back from the PDF, its opening from the Table
// menu and from a page-2 row of the diagnosis.
#include <QDir>
#include <QGroupBox>
#include <QRadioButton>
#include <QtTest>

#include "app/demarrage.h"
#include "app/diet.h"
#include "compose/compose.h"
#include "core/schema/schema.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "diagnosis/diagnost.h"
#include "core/diagnosis/needs.h"
#include "foodtable/dietri.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "ui/datagrid.h"
#include "ui/help.h"
#include "ui/iconbutton.h"
#include "ui/printerservice.h"
#include "ui/tablemodel.h"

namespace {
// Titles of the grid's visible columns.
QStringList visibleTitles(TFDietri& w) {
    QStringList t;
    for (int c = 0; c < w.modele()->columnCount(); ++c)
        if (!w.DBGrid1->isColumnHidden(c)) t << w.modele()->headerData(c, Qt::Horizontal).toString();
    return t;
}

// The largest value of a field over the Food table.
double richest(TempDataDir& dir, const QString& champ) {
    Table t(dir.run(), foodSchema());
    t.open();
    double best = -1;
    for (t.first(); !t.eof(); t.next()) best = std::max(best, t.asFloat(champ));
    return best;
}
}   // namespace

class TestDietri : public QObject {
    Q_OBJECT
    TempDataDir m_dir;
    ScriptedPrompter m_prompter{m_dir.run()};
    ScriptedDesktop m_desktop{m_dir.run()};

private slots:
    void initTestCase() { Fixtures::writeAllTables(m_dir.path()); }

    void controls() {
        TFDietri w(m_desktop);
        QCOMPARE(w.windowTitle(), QStringLiteral("Table des aliments : tri"));
        QCOMPARE(w.size(), QSize(632, 453));
        QCOMPARE(Help::contextOf(&w), 60);
        QCOMPARE(w.SBimprimer->geometry(), QRect(26, 5, 22, 22));
        QCOMPARE(w.SBsortir->geometry(), QRect(62, 5, 22, 22));
        QCOMPARE(w.DBGrid1->geometry(), QRect(9, 35, 319, 404));
        QCOMPARE(w.RGtri->title(), QStringLiteral("Tri pour 100 g à partir de :"));
        QVERIFY(w.bouton("RBprot_a")->isChecked());
        QCOMPARE(w.bouton("RBmanganese")->geometry(), QRect(489, 53, 125, 17));
        QCOMPARE(w.bouton("RBcholesterol")->text(), QStringLiteral("Cholesterol (mg)"));
        QCOMPARE(w.bouton("RBvit_B9")->parentWidget(), &w);   // not an item of the frame
        QCOMPARE(w.findChildren<QRadioButton*>().size(), 30);
    }

    void openingAndSwitch() {
        TFDietri w(m_desktop);
        QVERIFY(w.prepare());
        QCOMPARE(visibleTitles(w), QStringList({"NOM", "PROT.A"}));
        QCOMPARE(w.Talimtri().indexName(), QStringLiteral("PROT_A"));
        QCOMPARE(w.modele()->text(0, w.modele()->columnOf("PROT_A")),
                 QString::number(richest(m_dir, "PROT_A"), 'f', 1));

        w.bouton("RBcalcium")->click();
        QCOMPARE(visibleTitles(w), QStringList({"NOM", "Calcium"}));
        QCOMPARE(w.modele()->text(0, w.modele()->columnOf("CA")),
                 QString::number(richest(m_dir, "CA"), 'f', 3));
        QCOMPARE(w.libelleTri(), QStringLiteral("calcium"));
        QCOMPARE(w.uniteTri(), QStringLiteral(" mg"));
        QVERIFY(w.bouton("RBcalcium")->isChecked());
        QVERIFY(!w.bouton("RBprot_a")->isChecked());
        w.done(QDialog::Rejected);
        QVERIFY(!w.Talimtri().isOpen());
    }

    // The printed page read back: the title, the richest food with its amount
    // and unit; the grid back on the first food; printing twice, the same.
    void printoutToPdf() {
        TFDietri w(m_desktop);
        w.show();
        w.RBcalciumClick();
        w.Talimtri().last();
        const QString pdf1 = m_dir.file("tri1.pdf"), pdf2 = m_dir.file("tri2.pdf");
        m_desktop.printers().setPdfOutput(pdf1);
        w.SBimprimerClick();
        QCOMPARE(w.Talimtri().currentRow(), 0);
        m_desktop.printers().setPdfOutput(pdf2);
        w.SBimprimerClick();
        m_desktop.printers().setPdfOutput(QString());
        const QString text = Files::pdfText(pdf1);
        QVERIFY2(text.contains(QStringLiteral("Aliments comprenant le plus de calcium")), qPrintable(text));
        const QString top = QString::number(richest(m_dir, "CA"), 'f', 3) + QStringLiteral(" mg");
        QVERIFY2(text.contains(top), qPrintable(text));
        QCOMPARE(Files::pdfText(pdf2), text);
        QVERIFY(m_prompter.asked.isEmpty());   // no dialog, no question
        w.close();
    }

    void fromTheTableMenu() {
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        Session& session = m_dir.session();
        ScriptedDesktop desktop(m_dir.run());
        std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session, desktop));
        QString shown;
        QObject* parent = nullptr;
        desktop.onRun = [&](QDialog& d) {
            if (auto* w = qobject_cast<TFDietri*>(&d)) {
                QVERIFY(w->isShowing());
                shown = w->champTri();
                parent = w->parent();
            }
        };
        QVERIFY(diet->Tridelatable1->isEnabled());
        diet->Tridelatable1->trigger();
        QCOMPARE(shown, QStringLiteral("PROT_A"));
        QCOMPARE(parent, diet.get());
        QVERIFY(diet->findChildren<TFDietri*>().isEmpty());   // destroyed once closed
        QDir::setCurrent(cwd);
    }

    // Page 2 of the diagnosis: a double-click on "- Fer" opens the ranking
    // on iron; energy opens nothing; page 1 selects nothing.
    void fromADiagnosisRow() {
        Session& session = m_dir.session();
        session.FirstPaint = false;
        QVariantMap line;
        line["NOM"] = QStringLiteral("Lentilles");
        line["QTE"] = 100.0;
        line["FE"] = 3.0;
        Fixtures::appendRecords(choiceSchema(), m_dir.file("CHOIX.DBF"), {line});
        TFdiagnost d(session, m_desktop);
        d.setGroup(QStringLiteral("Femme active"));
        QStringList opened;
        d.setOpenRanking([&](const QString& champ) { opened << champ; });
        d.show();
        QTest::qWait(20);
        QWidget* page = d.childAt(QPoint(100, 200));
        QVERIFY(page);
        const DiagLayout l = DiagLayout::ecran();
        auto rowY = [&](int index) { return l.rowY(l.page2Base + 23 + index) + l.h / 2; };

        QTest::mouseDClick(page, Qt::LeftButton, {}, QPoint(60, rowY(4)));   // page 1 shown
        QVERIFY(opened.isEmpty());
        d.SBpage2Click();
        QTest::mouseDClick(page, Qt::LeftButton, {}, QPoint(60, rowY(4)));
        QTest::mouseDClick(page, Qt::LeftButton, {}, QPoint(60, rowY(0)));          // energy
        QTest::mouseDClick(page, Qt::LeftButton, {}, QPoint(60, rowY(20) + l.h));   // under the last row
        QCOMPARE(opened, QStringList({"FE"}));
        QCOMPARE(d.ligneChoisie(), -1);
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(60, rowY(1)));
        QCOMPARE(d.ligneChoisie(), 1);
        QTest::keyClick(page, Qt::Key_Down);
        QTest::keyClick(page, Qt::Key_Return);
        QCOMPARE(opened, QStringList({"FE", "CL"}));

        // Opened for real, the window starts on the nutrient asked.
        TFDietri w(m_desktop, &d);
        w.setInitialField(QStringLiteral("FE"));
        QVERIFY(w.prepare());
        QCOMPARE(w.champTri(), QStringLiteral("FE"));
        QVERIFY(w.bouton("RBfer")->isChecked());
        QCOMPARE(visibleTitles(w), QStringList({"NOM", "Fer"}));
        w.done(QDialog::Rejected);
        d.close();
    }
};

QTEST_MAIN(TestDietri)
#include "tst_dietri.moc"
