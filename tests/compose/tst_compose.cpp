// The composition window in composition mode, driven through its handlers
// with scripted answers; every result is read back from the files on disk.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTimer>
#include <QScopeGuard>
#include <QtTest>

#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/compose/dailytotals.h"
#include "compose/voir.h"
#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/session/session.h"
#include "ui/datagrid.h"
#include "ui/fieldbox.h"
#include "ui/help.h"
#include "ui/iconbutton.h"
#include "ui/namesearch.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "ui/qtprompter.h"
#include "ui/tablemodel.h"

namespace {
// One line of the Choice table as read from the file.
struct Line {
    QString nom;
    QHash<QString, double> v;
    double operator[](const char* f) const { return v.value(QString::fromLatin1(f)); }
};

QVector<Line> choiceOnDisk(const TempDataDir& dir) {
    auto f = DbfFile::open(dir.file(QStringLiteral("CHOIX.DBF")), true);
    QVector<Line> lines;
    for (int r = 0; r < f->recordCount(); ++r) {
        if (f->isDeleted(r)) continue;
        Line l;
        for (int i = 0; i < f->fields().size(); ++i) {
            const DbfField& fd = f->fields()[i];
            if (fd.name == QLatin1String("NOM"))
                l.nom = f->text(r, i);
            else if (fd.type == 'N')
                l.v.insert(fd.name, f->number(r, i));
        }
        lines << l;
    }
    return lines;
}

int categoryIndex(const QString& category) { return categories().indexOf(category); }
}   // namespace

class TestCompose : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFcompose> w;

    // Shows the window in composition mode on a fresh Data directory.
    void open() {
        session->ModeCompose = false;
        QVERIFY(w->prepare());
    }
    void choose(const QString& category) {
        w->CBcategorie->setCurrentIndex(categoryIndex(category));
        QCOMPARE(w->CBcategorie->currentText(), category);
    }
    // Adds a food of the current category (selected by name) with the quantity text.
    void add(const QString& food, const QString& quantity) {
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), food));
        ScriptedPrompter p(dir->run());
        p.answer(quantity);
        w->SBajouterClick();
        QCOMPARE(p.unexpected, 0);
    }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFcompose>(*session, *desktop);
    }
    void cleanup() {
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    void createdWindow() {
        QCOMPARE(Help::contextOf(w.get()), 25);
        QCOMPARE(w->CBcategorie->count(), 14);
        QCOMPARE(w->CBcategorie->itemText(12), QStringLiteral("PRODUITS COMPOSÉS"));
        // The food grid: one column, no title row.
        QCOMPARE(w->DBGalim->model()->columnCount(), 1);
        QVERIFY(w->DBGalim->horizontalHeader()->isHidden());
        // The chosen grid: every field but NUMERO and CATEGORIE, titled.
        auto* m = w->DBGchoix->tableModel();
        QCOMPARE(m->columnCount(), 34);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nom"));
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Qté"));
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Prot. Vég."));
        QCOMPARE(m->headerData(m->columnOf(QStringLiteral("VIT_D")), Qt::Horizontal).toString(),
                 QStringLiteral("Vit. D"));
        QCOMPARE(m->headerData(33, Qt::Horizontal).toString(), QStringLiteral("FIBRES"));
        QStringList menu;
        for (QAction* a : w->PMcompose->actions()) menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(menu, QStringList({"&Supprimer", "&Ajouter", "&Modifier", "&Tout effacer", "&Voir",
                                    "&Imprimer", "-", "S&ortir"}));
        QSet<QChar> letters;   // each entry its own access letter
        for (const QString& e : menu)
            if (e != QLatin1String("-")) letters.insert(e.at(e.indexOf(QLatin1Char('&')) + 1).toLower());
        QCOMPARE(letters.size(), menu.size() - 1);
    }

    void showingInCompositionMode() {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Composition d'un menu"));
        QCOMPARE(w->Panel3->text(), QStringLiteral("Liste des aliments choisis"));
        // The designed 640 × 480 window, with the name search to its right.
        QCOMPARE(w->height(), 480);
        QCOMPARE(w->findChild<QWidget*>("Panel1")->geometry(), QRect(0, 0, 640, 161));
        QCOMPARE(w->findChild<QWidget*>("Panel2")->geometry(), QRect(0, 480 - 53, 640, 53));
        QCOMPARE(w->nameSearch->parentWidget()->geometry(), QRect(640, 0, w->width() - 640, 480));
        QCOMPARE(w->SBajouter->hint(), QStringLiteral("Ajouter aux aliments choisis"));
        QCOMPARE(w->SBsupprimer->hint(), QStringLiteral("Supprimer des aliments choisis"));
        QCOMPARE(w->SBmodifier->hint(), QStringLiteral("Modifier un aliment choisi"));
        QCOMPARE(w->SBeffacer->hint(), QStringLiteral("Effacer tous les aliments choisis"));
        QCOMPARE(w->SBconsulter->hint(), QStringLiteral("Voir en détail un aliment"));
        QCOMPARE(w->SBimprimer->hint(), QStringLiteral("Imprimer la liste du menu"));
        QCOMPARE(w->SBsortir->toolTip(), QStringLiteral("Sortir"));
        // A button's hint shows the key of the same command.
        QCOMPARE(w->SBconsulter->toolTip(),
                 IconButton::bulle(w->SBconsulter->hint(), {QKeySequence(Qt::CTRL | Qt::Key_D)}));
        QCOMPARE(w->SBsupprimer->toolTip(),
                 IconButton::bulle(w->SBsupprimer->hint(), {QKeySequence(Qt::Key_Delete)}));
        QVERIFY(!w->SBimprimer->isHidden());
        QVERIFY(w->SBrenommer->isHidden());
        QVERIFY(w->Imprimer1->isVisible());
        // First category, its foods in name order, the first one selected.
        QCOMPARE(w->CBcategorie->currentText(), QStringLiteral("VIANDES ET VOLAILLES"));
        QCOMPARE(w->Talim().filter(), QStringLiteral("CATEGORIE='VIANDES ET VOLAILLES'"));
        QVERIFY(w->Talim().filtered());
        QCOMPARE(w->Talim().rowCount(), 3);
        QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Agneau, gigot"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté    0 g"));
        w->done(QDialog::Rejected);
        QVERIFY(!w->Talim().isOpen() && !w->Tchoix().isOpen() && !w->TalimCompo().isOpen());
    }

    void categoryResetAtEachShowing() {
        open();
        choose(QStringLiteral("FRUITS"));
        QCOMPARE(w->Talim().rowCount(), 1);
        QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Pomme"));
        w->done(QDialog::Rejected);
        open();
        QCOMPARE(w->CBcategorie->currentText(), QStringLiteral("VIANDES ET VOLAILLES"));
        QCOMPARE(w->Talim().rowCount(), 3);
        QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Agneau, gigot"));
    }

    void addingExample() {
        open();
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("150"));
        const auto lines = choiceOnDisk(*dir);
        QCOMPARE(lines.size(), 1);
        const Line& l = lines[0];
        QCOMPARE(l.nom, QStringLiteral("Poulet, rôti"));
        QCOMPARE(l["QTE"], 150.0);
        QCOMPARE(l["PROT_A"], 30.0);
        QCOMPARE(l["LIPI_A"], 15.0);
        QCOMPARE(l["CALORIES"], 255.0);
        QCOMPARE(l["PROT_V"], 0.0);
        QCOMPARE(l["CA"], 15.0);   // 10 per 100 g
        QCOMPARE(l["CHOLEST"], 7.5);
        QCOMPARE(l["VIT_D"], 0.00015);
        QCOMPARE(l["NUMERO"], 0.0);   // never written
        // The strip: 150 and 255 padded to four characters.
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté  150 g"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalCALORIES"))->text(), QStringLiteral(" 255 kcal"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalPROT_A"))->text(), QStringLiteral("P.A.   30 g"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalLIPI_A"))->text(), QStringLiteral("L.A.   15 g"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalCHOLEST"))->text(), QStringLiteral("Chol.    8 mg"));
        QCOMPARE(session->totals()[DailyTotals::QTE], 150.0);
        // The same food again is a line of its own; the cursor ends on the last line.
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("50"));
        QCOMPARE(choiceOnDisk(*dir).size(), 2);
        QCOMPARE(w->Tchoix().currentRow(), 1);
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté  200 g"));
    }

    void quantityEntry_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("lines");         // lines on disk afterwards
        QTest::addColumn<double>("qte");        // quantity of the line, if any
        QTest::addColumn<QString>("message");   // message shown, if any
        const QString nulle = QStringLiteral("La quantité saisie est nulle !");
        QTest::newRow("ordinary") << "150" << 1 << 150.0 << "";
        QTest::newRow("10000 accepted") << "10000" << 1 << 10000.0 << "";
        QTest::newRow("10001 refused") << "10001" << 0 << 0.0 << "La quantité saisie est de 10001 grammes !";
        QTest::newRow("as typed in the message")
            << "+10001" << 0 << 0.0 << "La quantité saisie est de +10001 grammes !";
        QTest::newRow("empty") << "" << 0 << 0.0 << nulle;
        QTest::newRow("zero") << "0" << 0 << 0.0 << nulle;
        QTest::newRow("blanks only") << "   " << 0 << 0.0 << nulle;
        QTest::newRow("double zero accepted") << "00" << 1 << 0.0 << "";
        QTest::newRow("negative accepted") << "-40" << 1 << -40.0 << "";
        QTest::newRow("plus sign") << "+5" << 1 << 5.0 << "";
        QTest::newRow("blanks around") << " 20 " << 1 << 20.0 << "";
        QTest::newRow("letters") << "abc" << 0 << 0.0 << "'abc' n'est pas une valeur entière correcte";
        QTest::newRow("decimal point") << "1.5" << 0 << 0.0 << "'1.5' n'est pas une valeur entière correcte";
        QTest::newRow("decimal comma") << "1,5" << 0 << 0.0 << "'1,5' n'est pas une valeur entière correcte";
        QTest::newRow("sign alone") << "-" << 0 << 0.0 << "'-' n'est pas une valeur entière correcte";
        QTest::newRow("beyond 32 bits")
            << "99999999999" << 0 << 0.0 << "'99999999999' n'est pas une valeur entière correcte";
        QTest::newRow("digits then letters")
            << "12g" << 0 << 0.0 << "'12g' n'est pas une valeur entière correcte";
    }
    void quantityEntry() {
        QFETCH(QString, typed);
        QFETCH(int, lines);
        QFETCH(double, qte);
        QFETCH(QString, message);
        open();
        ScriptedPrompter p(dir->run());
        p.answer(typed);
        w->SBajouterClick();
        QCOMPARE(p.asked.first().title, QStringLiteral("Quantité en gramme"));
        QCOMPARE(p.asked.first().text, QStringLiteral("Entrez le poids de Agneau, gigot"));
        QCOMPARE(p.asked.size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty()) QCOMPARE(p.asked[1].text, message);
        const auto disk = choiceOnDisk(*dir);
        QCOMPARE(disk.size(), lines);
        if (lines) {
            QCOMPARE(disk[0]["QTE"], qte);
            QCOMPARE(disk[0]["PROT_A"], qte * 25 / 100);   // Agneau: 25 g per 100 g
        }
        // Nothing half-written stays pending: the next move posts nothing.
        w->Tchoix().first();
        QCOMPARE(choiceOnDisk(*dir).size(), lines);
    }

    void cancelAsksNothingMore() {
        open();
        ScriptedPrompter p(dir->run());
        p.cancel();
        w->SBajouterClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(choiceOnDisk(*dir).size(), 0);
    }

    void negativeLineLowersTotals() {
        open();
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("100"));
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("-30"));
        QCOMPARE(session->totals()[DailyTotals::QTE], 70.0);
        QCOMPARE(session->totals()[DailyTotals::PROT_A], 14.0);
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté   70 g"));
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("-200"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté -130 g"));
    }

    void addingFromAnEmptyCategoryAsksNothing() {
        open();
        choose(QStringLiteral("CRUSTACÉS, COQUILLAGES"));
        QVERIFY(w->Talim().isEmpty());
        ScriptedPrompter p(dir->run());
        w->SBajouterClick();
        // No quantity is asked; the empty category is told.
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].what, QStringLiteral("message"));
        QCOMPARE(choiceOnDisk(*dir).size(), 0);
    }

    void modifyRecomputesFromTheFoodTable() {
        open();
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("100"));
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("100"));
        w->done(QDialog::Rejected);
        {
            // The food is edited meanwhile (the editing window does this).
            Table food(dir->run(), foodSchema());
            food.open();
            QVERIFY(food.locate(QStringLiteral("NOM"), QStringLiteral("Poulet, rôti")));
            food.setFloat(QStringLiteral("PROT_A"), 40);
            food.post();
        }
        open();
        // Elsewhere in the list and another category shown: the food is found all the same.
        choose(QStringLiteral("FRUITS"));
        w->Tchoix().first();
        QCOMPARE(w->Tchoix().asString(QStringLiteral("NOM")), QStringLiteral("Poulet, rôti"));
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("200"));
        w->SBmodifierClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].text, QStringLiteral("Entrez le nouveau poids de Poulet, rôti"));
        const auto lines = choiceOnDisk(*dir);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0]["QTE"], 200.0);
        QCOMPARE(lines[0]["PROT_A"], 80.0);   // the new value, not the old line rescaled
        QCOMPARE(lines[0]["LIPI_A"], 20.0);
        QCOMPARE(lines[1]["QTE"], 100.0);   // the other line untouched
        // The category filter is back on, the strip refreshed.
        QVERIFY(w->Talim().filtered());
        QCOMPARE(w->Talim().filter(), QStringLiteral("CATEGORIE='FRUITS'"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté  300 g"));
    }

    void modifyFindsTheFoodWhateverTheCase() {
        const QString choix = dir->file(QStringLiteral("CHOIX.DBF"));
        QVariantMap line;
        line["NOM"] = QStringLiteral("POULET, RÔTI");
        line["QTE"] = 10.0;
        Fixtures::appendRecords(choiceSchema(), choix, {line});
        open();
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("100"));
        w->SBmodifierClick();
        const auto lines = choiceOnDisk(*dir);
        QCOMPARE(lines[0]["QTE"], 100.0);
        QCOMPARE(lines[0]["PROT_A"], 20.0);
        QCOMPARE(lines[0].nom, QStringLiteral("POULET, RÔTI"));   // the name is not rewritten
    }

    void modifyOfAFoodThatIsGoneChangesNothing() {
        open();
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("100"));
        w->done(QDialog::Rejected);
        {
            Table food(dir->run(), foodSchema());
            food.open();
            QVERIFY(food.locate(QStringLiteral("NOM"), QStringLiteral("Poulet, rôti")));
            food.setString(QStringLiteral("NOM"), QStringLiteral("Poulet rôti"));
            food.post();
        }
        const QByteArray before = Files::bytesOf(dir->file(QStringLiteral("CHOIX.DBF")));
        open();
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("300"));
        w->SBmodifierClick();
        QCOMPARE(p.asked.size(), 1);   // no message
        QCOMPARE(Files::bytesOf(dir->file(QStringLiteral("CHOIX.DBF"))), before);
        QVERIFY(w->Talim().filtered());
    }

    void modifyOnAnEmptyList() {
        open();
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("100"));
        w->SBmodifierClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].text, QStringLiteral("Entrez le nouveau poids de "));
        QCOMPARE(choiceOnDisk(*dir).size(), 0);
    }

    void remove_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Oui") << true;
        QTest::newRow("Non") << false;
    }
    void remove() {
        QFETCH(bool, yes);
        open();
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("80"));
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("150"));
        ScriptedPrompter p(dir->run());
        p.answer(yes);
        w->SBsupprimerClick();   // the current line is the last one
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].text, QStringLiteral("Désirez-vous supprimer les 150 g de Poulet, rôti ?"));
        QCOMPARE(p.asked[0].kind, Prompter::Kind::Information);
        const auto lines = choiceOnDisk(*dir);
        QCOMPARE(lines.size(), yes ? 1 : 2);
        QCOMPARE(lines[0].nom, QStringLiteral("Agneau, gigot"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(),
                 yes ? QStringLiteral("Qté   80 g") : QStringLiteral("Qté  230 g"));
    }

    void removeDoesNothingOnZeroOrEmpty() {
        open();
        {
            ScriptedPrompter p(dir->run());
            w->SBsupprimerClick();
            QVERIFY(p.asked.isEmpty());
        }
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("00"));
        ScriptedPrompter p(dir->run());
        w->SBsupprimerClick();
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(choiceOnDisk(*dir).size(), 1);
    }

    void clear_data() {
        QTest::addColumn<bool>("withTemplate");
        QTest::newRow("template copied") << true;
        QTest::newRow("template missing") << false;
    }
    void clear() {
        QFETCH(bool, withTemplate);
        open();
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("80"));
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("150"));
        if (!withTemplate) QVERIFY(QFile::remove(dir->file(QStringLiteral("choix0.dbf"))));
        {
            ScriptedPrompter p(dir->run());
            p.answer(false);
            w->SBeffacerClick();
            QCOMPARE(p.lastText(), QStringLiteral("Désirez-vous effacer tous vos choix ?"));
            QCOMPARE(choiceOnDisk(*dir).size(), 2);
        }
        ScriptedPrompter p(dir->run());
        p.answer(true);
        w->SBeffacerClick();
        QCOMPARE(p.asked.size(), 1);   // a failed copy shows nothing
        QCOMPARE(choiceOnDisk(*dir).size(), 0);
        QVERIFY(w->Tchoix().isOpen());
        QCOMPARE(w->Tchoix().rowCount(), 0);
        if (withTemplate)
            QCOMPARE(Files::bytesOf(dir->file(QStringLiteral("CHOIX.DBF"))),
                     Files::bytesOf(dir->file(QStringLiteral("choix0.dbf"))));
        for (const auto& e : {"LtotalQTE", "LtotalCALORIES", "LtotalCHOLEST"})
            QVERIFY(w->Ltotal(QString::fromLatin1(e))->text().contains(QStringLiteral("   0 ")));
        // The list keeps working afterwards.
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("10"));
        QCOMPARE(choiceOnDisk(*dir).size(), 1);
    }

    void detailView() {
        TFvoir& voir = *w->Fvoir();
        QCOMPARE(Help::contextOf(&voir), 49);   // its own topic, not the editing window's
        QCOMPARE(voir.windowTitle(), QStringLiteral("Aliment choisi : détail"));
        QCOMPARE(voir.SBsortir->toolTip(), QStringLiteral("Sortir"));
        open();
        choose(QStringLiteral("VITAMINES, MINÉRAUX"));
        QString energy, nom, prot, glucA;
        QTimer::singleShot(0, &voir, [&] {
            energy = voir.EKCAL->text();
            nom = voir.box(QStringLiteral("NOM"))->text();
            prot = voir.box(QStringLiteral("PROT_A"))->text();
            glucA = voir.box(QStringLiteral("GLUC_A"))->text();
            voir.SBsortirClick();
        });
        w->SBconsulterClick();
        QCOMPARE(w->Fvoir()->energie(), 109.0);
        QCOMPARE(energy, QStringLiteral(" 109"));
        QCOMPARE(nom, QStringLiteral("Test énergie"));
        QCOMPARE(prot, QStringLiteral("10"));
        QCOMPARE(glucA, QStringLiteral("3"));
        // An empty category: empty boxes and an energy of 0.
        choose(QStringLiteral("POISSONS"));
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), QStringLiteral("Cabillaud")));
        choose(QStringLiteral("CRUSTACÉS, COQUILLAGES"));
        QTimer::singleShot(0, &voir, [&] {
            energy = voir.EKCAL->text();
            nom = voir.box(QStringLiteral("NOM"))->text();
            prot = voir.box(QStringLiteral("PROT_A"))->text();
            voir.SBsortirClick();
        });
        w->SBconsulterClick();
        QCOMPARE(energy, QStringLiteral("   0"));
        QVERIFY(nom.isEmpty() && prot.isEmpty());
    }

    void energyText_data() {
        QTest::addColumn<double>("energy");
        QTest::addColumn<QString>("text");
        QTest::newRow("three digits") << 109.0 << " 109";
        QTest::newRow("rounded") << 54.5 << "  54";
        QTest::newRow("half to even") << 55.5 << "  56";
        QTest::newRow("four digits") << 9000.0 << "9000";
        QTest::newRow("five digits kept whole") << 12345.0 << "12345";
        QTest::newRow("negative") << -5.0 << "  -5";
    }
    void energyText() {
        QFETCH(double, energy);
        QFETCH(QString, text);
        QCOMPARE(TFvoir::texteEnergie(energy), text);
    }

    void printDoesNothingOnAnEmptyList() {
        open();
        // With nothing to print, printing is offered greyed, not as a dead button.
        QVERIFY(!w->SBimprimer->isEnabled());
        QVERIFY(!w->Imprimer1->isEnabled());
        int printed = 0;
        desktop->onRun = [&](QDialog&) {
            ++printed;
            QCOMPARE(w->Tchoix().currentRow(), 0);   // reopened on its first line
        };
        w->SBimprimerClick();
        QCOMPARE(printed, 0);
        add(QStringLiteral("Agneau, gigot"), QStringLiteral("10"));
        add(QStringLiteral("Poulet, rôti"), QStringLiteral("10"));
        QVERIFY(w->SBimprimer->isEnabled());
        QVERIFY(w->Imprimer1->isEnabled());
        w->Imprimer1->trigger();
        QCOMPARE(printed, 1);
    }

    void keyboardReachesEveryCommand() {
        // Every command has a key of its own besides the pop-up menu.
        for (QAction* a : {w->Supprimer1, w->Ajouter1, w->Modifier1, w->Touteffacer1, w->Voir1, w->Imprimer1})
            QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->text()));
        for (IconButton* b : {w->SBsupprimer, w->SBajouter, w->SBmodifier, w->SBeffacer, w->SBconsulter,
                              w->SBimprimer, w->SBsortir})
            QVERIFY(b->focusPolicy() & Qt::TabFocus);
        open();
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("30"));
        w->Ajouter1->trigger();
        QCOMPARE(choiceOnDisk(*dir).size(), 1);
    }

    // The name search, by keyboard alone on the shown window: Ctrl+F to the
    // box, the whole table searched whatever the category shown, the arrows
    // in the list, Return to the food (category box and food grid follow it,
    // and Ajouter works on it), Escape to an empty box; in composite mode too.
    void nameSearchByKeyboard() {
        for (const bool composite : {false, true}) {
            session->ModeCompose = composite;
            if (composite)
                desktop->onRun = [](QDialog& d) {
                    auto& dialog = static_cast<TFCreadlg&>(d);
                    dialog.setText(QStringLiteral("Salade"));
                    dialog.OKButtonClick();
                };
            w->show();
            QApplication::setActiveWindow(w.get());
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            QTest::keyClick(w.get(), Qt::Key_F, Qt::ControlModifier);
            QLineEdit* box = w->nameSearch->box();
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(Help::contextForF1(box), 27);
            QTest::keyClicks(box, QStringLiteral("EPINARDS cuit"));
            QCOMPARE(w->nameSearch->matches().size(), 1);
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->text().isEmpty() && w->nameSearch->matches().isEmpty() && w->isVisible());
            // Both foods cooked, of two categories, neither of them shown.
            QTest::keyClicks(box, QStringLiteral("cuit"));
            QCOMPARE(w->nameSearch->list()->model()->rowCount(), 2);
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_Up);
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(w->CBcategorie->currentText(), categories()[1]);
            QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Jambon cuit"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->DBGalim));
            ScriptedPrompter p(dir->run());
            p.answer(QStringLiteral("125"));
            QTest::keyClick(w->DBGalim, Qt::Key_Return);
            QCOMPARE(choiceOnDisk(*dir).last().nom, QStringLiteral("Jambon cuit"));
            w->close();
        }
    }

    // Under a real event loop: the window shown, the add button clicked, the
    // actual input dialog filled in.
    void endToEndAdd() {
        QtPrompter boxes;   // the real boxes, as the application gives its run
        const auto back =
            qScopeGuard([this, before = dir->run().setPrompter(&boxes)] { dir->run().setPrompter(before); });
        session->ModeCompose = false;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->CBcategorie->currentText(), QStringLiteral("VIANDES ET VOLAILLES"));
        QString prompt;
        bool filled = false;
        QTimer::singleShot(50, [&] {
            auto* dlg = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            prompt = dlg->labelText();
            dlg->setTextValue(QStringLiteral("150"));
            filled = true;
            dlg->accept();
        });
        QTest::mouseClick(w->SBajouter, Qt::LeftButton);
        QVERIFY(filled);
        QCOMPARE(prompt, QStringLiteral("Entrez le poids de Agneau, gigot"));
        const auto lines = choiceOnDisk(*dir);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].nom, QStringLiteral("Agneau, gigot"));
        QCOMPARE(lines[0]["PROT_A"], 37.5);
        QCOMPARE(w->DBGchoix->currentIndex().row(), 0);
        QCOMPARE(w->DBGchoix->model()->data(w->DBGchoix->model()->index(0, 2)).toString(),
                 QStringLiteral("37.500"));
        // The keyboard's context-menu key opens the pop-up menu.
        bool menuShown = false;
        QTimer::singleShot(50, [&] {
            menuShown = QApplication::activePopupWidget() == w->PMcompose;
            w->PMcompose->close();
        });
        w->DBGchoix->setFocus();
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              w->DBGchoix->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w->DBGchoix->viewport(), &key);
        QVERIFY(menuShown);
        // Escape does not close the window; the close box does.
        QTest::keyClick(w->DBGchoix, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        w->close();
        QVERIFY(!w->Tchoix().isOpen());
        QCOMPARE(choiceOnDisk(*dir).size(), 1);   // leaving loses nothing
    }
};

QTEST_MAIN(TestCompose)
#include "tst_compose.moc"
