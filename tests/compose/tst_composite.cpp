// Composite mode of the composition window and the name dialog: creating,
// reopening, changing, renaming and deleting composite foods, and the day's
// choice put back byte for byte after every stay. Results are read from disk.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/compose/dailytotals.h"
#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/session/session.h"
#include "ui/iconbutton.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {
struct Rec {
    int index = 0;   // record number in the file
    bool deleted = false;
    QHash<QString, QVariant> v;
    QString s(const char* f) const { return v.value(QString::fromLatin1(f)).toString(); }
    double n(const char* f) const { return v.value(QString::fromLatin1(f)).toDouble(); }
};

QVector<Rec> readAll(const QString& path) {
    auto f = DbfFile::open(path, true);
    QVector<Rec> recs;
    for (int r = 0; r < f->recordCount(); ++r) {
        Rec rec;
        rec.index = r;
        rec.deleted = f->isDeleted(r);
        for (int i = 0; i < f->fields().size(); ++i) {
            const DbfField& fd = f->fields()[i];
            rec.v.insert(fd.name, fd.type == 'C' ? QVariant(f->text(r, i)) : QVariant(f->number(r, i)));
        }
        recs << rec;
    }
    return recs;
}

QVector<Rec> live(const QVector<Rec>& all) {
    QVector<Rec> out;
    for (const Rec& r : all)
        if (!r.deleted) out << r;
    return out;
}

QVariantMap compositeLine(const QString& compo, const QString& nom, double qte, double protA) {
    QVariantMap m;
    m["NOM_COMPO"] = compo;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["PROT_A"] = protA;
    m["CALORIES"] = 4 * protA;
    return m;
}
}   // namespace

class TestComposite : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    std::unique_ptr<TFcompose> w;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    QByteArray dayBytes;   // the day's choice before composite mode

    QString file(const char* name) const { return dir->file(QString::fromLatin1(name)); }
    QVector<Rec> foods() const { return live(readAll(file("DIETAB.DBF"))); }
    QVector<Rec> compoLines(const QString& compo) const {
        QVector<Rec> out;
        for (const Rec& r : live(readAll(file("Alimcomp.DBF"))))
            if (r.s("NOM_COMPO") == compo) out << r;
        return out;
    }
    const Rec* food(const QString& nom) const {
        static QVector<Rec> cache;
        cache = foods();
        for (const Rec& r : cache)
            if (r.s("NOM") == nom) return &r;
        return nullptr;
    }

    // Composite mode for that name, the name given to the real dialog.
    bool enter(const QString& name) {
        session->ModeCompose = true;
        desktop->onRun = [name](QDialog& d) {
            auto& dialog = static_cast<TFCreadlg&>(d);
            dialog.setText(name);
            dialog.OKButtonClick();
        };
        return w->prepare();
    }
    void add(const QString& category, const QString& food, const QString& quantity) {
        w->CBcategorie->setCurrentIndex(categories().indexOf(category));
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), food));
        ScriptedPrompter p(dir->run());
        p.answer(quantity);
        w->SBajouterClick();
        QCOMPARE(p.unexpected, 0);
    }
    // Saves with Oui and checks that the window closed and the day came back.
    void saveYes(const QString& question) {
        ScriptedPrompter p(dir->run());
        p.answer(true);
        w->SBsortirClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].text, question);
        QCOMPARE(p.asked[0].kind, Prompter::Kind::Confirmation);
        checkClosedAndRestored();
    }
    void checkClosedAndRestored() {
        QVERIFY(!w->Tchoix().isOpen());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), dayBytes);
        QVERIFY(!QFile::exists(file("choix.tmp")));
    }
    // A new composite of 200 g of "Test énergie" (PROT_A 10) and 100 g of
    // "Yaourt nature" (PROT_A 4), saved.
    void createTarte(const QString& name) {
        QVERIFY(enter(name));
        add(QStringLiteral("VITAMINES, MINÉRAUX"), QStringLiteral("Test énergie"), QStringLiteral("200"));
        add(QStringLiteral("OEUFS, LAIT, FROMAGES"), QStringLiteral("Yaourt nature"), QStringLiteral("100"));
        saveYes(QStringLiteral("Voulez-vous enregistrer l'aliment ") + name);
    }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
        QVariantMap big;
        big["NUMERO"] = 300.0;
        big["NOM"] = QStringLiteral("Grand numéro");
        big["CATEGORIE"] = categories()[9];
        big["PROT_A"] = 1.0;
        QVariantMap base;
        base["NUMERO"] = 200.0;
        base["NOM"] = QStringLiteral("Recette de base");
        base["CATEGORIE"] = CategorieComposee;
        Fixtures::appendRecords(foodSchema(), file("DIETAB.DBF"), {big, base});
        Fixtures::appendRecords(
            compositeSchema(), file("Alimcomp.DBF"),
            {compositeLine(QStringLiteral("Recette de base"), QStringLiteral("Pomme"), 100, 0)});
        // A day's choice of two lines, which composite mode must leave exactly so.
        QVariantMap a, b;
        a["NOM"] = QStringLiteral("Pomme");
        a["QTE"] = 150.0;
        b["NOM"] = QStringLiteral("Pain blanc");
        b["QTE"] = 60.0;
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {a, b});
        dayBytes = Files::bytesOf(file("CHOIX.DBF"));
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

    void newComposite() {
        QVERIFY(enter(QStringLiteral("Tarte maison")));
        QCOMPARE(w->windowTitle(), QStringLiteral("Création d'un aliment composé"));
        QCOMPARE(w->Panel3->text(), QStringLiteral("Liste des éléments composant l'aliment Tarte maison"));
        QCOMPARE(w->SBsortir->toolTip(), QStringLiteral("Enregistrer/Sortir"));
        QCOMPARE(w->SBsupprimer->hint(), QStringLiteral("Retirer de la liste des éléments"));
        QCOMPARE(w->SBajouter->hint(), QStringLiteral("Ajouter à la liste des éléments"));
        QCOMPARE(w->SBmodifier->hint(), QStringLiteral("Modifier un élément de la liste"));
        QCOMPARE(w->SBeffacer->hint(), QStringLiteral("Effacer la liste des éléments"));
        QCOMPARE(w->SBrenommer->hint(), QStringLiteral("Renommer"));
        QVERIFY(w->SBimprimer->isHidden() && !w->SBrenommer->isHidden());
        QCOMPARE(w->SBrenommer->pos(), w->SBimprimer->pos());
        QVERIFY(!w->Imprimer1->isVisible());
        // The day's choice is set aside; the list starts empty.
        QCOMPARE(Files::bytesOf(file("choix.tmp")), dayBytes);
        QCOMPARE(w->Tchoix().rowCount(), 0);
        add(QStringLiteral("VITAMINES, MINÉRAUX"), QStringLiteral("Test énergie"), QStringLiteral("200"));
        add(QStringLiteral("OEUFS, LAIT, FROMAGES"), QStringLiteral("Yaourt nature"), QStringLiteral("100"));
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalPROT_A"))->text(), QStringLiteral("P.A.   24 g"));
        // Whatever category is shown at the save.
        w->CBcategorie->setCurrentIndex(0);
        saveYes(QStringLiteral("Voulez-vous enregistrer l'aliment Tarte maison"));

        const Rec* f = food(QStringLiteral("Tarte maison"));
        QVERIFY(f);
        QCOMPARE(f->n("NUMERO"), 301.0);   // one above the highest number
        QCOMPARE(f->s("CATEGORIE"), CategorieComposee);
        QCOMPARE(f->n("PROT_A"), 8.0);   // 24 g in 300 g
        QCOMPARE(f->n("PROT_V"), 1.333333);
        QCOMPARE(f->n("LIPI_A"), 3.666667);
        QCOMPARE(f->n("GLUC_S"), 2.333333);
        QCOMPARE(f->n("CA"), 93.333333);   // 220 + 60 mg in 300 g
        const auto lines = compoLines(QStringLiteral("Tarte maison"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].s("NOM"), QStringLiteral("Test énergie"));
        QCOMPARE(lines[0].n("QTE"), 200.0);
        QCOMPARE(lines[0].n("PROT_A"), 20.0);
        QCOMPARE(lines[0].n("CALORIES"), 218.0);
        QCOMPARE(lines[0].s("CATEGORIE"), QString());
        QCOMPARE(lines[1].s("NOM"), QStringLiteral("Yaourt nature"));
        QCOMPARE(lines[1].n("QTE"), 100.0);
        QCOMPARE(lines[1].n("CALORIES"), 45.0);
        // The new food is listed under its category.
        session->ModeCompose = false;
        QVERIFY(w->prepare());
        w->CBcategorie->setCurrentIndex(12);
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), QStringLiteral("Tarte maison")));
    }

    void emptyNewCompositeSavesNothing() {
        const QByteArray food = Files::bytesOf(file("DIETAB.DBF"));
        const QByteArray compo = Files::bytesOf(file("Alimcomp.DBF"));
        QVERIFY(enter(QStringLiteral("Rien du tout")));
        ScriptedPrompter p(dir->run());
        w->SBsortirClick();
        QVERIFY(p.asked.isEmpty());
        checkClosedAndRestored();
        QCOMPARE(Files::bytesOf(file("DIETAB.DBF")), food);
        QCOMPARE(Files::bytesOf(file("Alimcomp.DBF")), compo);
    }

    void saveAnsweredNo() {
        const QByteArray food = Files::bytesOf(file("DIETAB.DBF"));
        QVERIFY(enter(QStringLiteral("Tarte")));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        ScriptedPrompter p(dir->run());
        p.answer(false);
        w->SBsortirClick();
        QCOMPARE(p.asked.size(), 1);
        checkClosedAndRestored();
        QCOMPARE(Files::bytesOf(file("DIETAB.DBF")), food);
        QVERIFY(compoLines(QStringLiteral("Tarte")).isEmpty());
    }

    void closeBoxNeverSaves() {
        QVERIFY(enter(QStringLiteral("Tarte")));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        ScriptedPrompter p(dir->run());
        w->close();
        QVERIFY(p.asked.isEmpty());
        checkClosedAndRestored();
        QVERIFY(!food(QStringLiteral("Tarte")));
    }

    void cancelledNameClosesAtOnce() {
        session->ModeCompose = true;
        desktop->onRun = [](QDialog& d) { static_cast<TFCreadlg&>(d).AnnulerButtonClick(); };
        QVERIFY(!w->prepare());
        QVERIFY(!w->Tchoix().isOpen() && !w->Talim().isOpen());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), dayBytes);
        QVERIFY(!QFile::exists(file("choix.tmp")));
        // exec() does not even show the window.
        QCOMPARE(w->exec(), int(QDialog::Rejected));
        QVERIFY(!w->isVisible());
    }

    // Composite mode is never shown without an accepted name (FormShow
    // refuses it); once it has one, painting never closes the window, and
    // closing it puts the day back.
    void paintWithoutAcceptedNameCloses() {
        QVERIFY(enter(QStringLiteral("Tarte")));
        w->repaint();
        QVERIFY(w->Tchoix().isOpen());
        w->done(QDialog::Rejected);
        QTRY_VERIFY(!w->Tchoix().isOpen());
        checkClosedAndRestored();
    }

    void reopenedCompositeShowsStoredValues() {
        createTarte(QStringLiteral("Tarte"));
        {
            Table t(dir->run(), foodSchema());
            t.open();
            QVERIFY(t.locate(QStringLiteral("NOM"), QStringLiteral("Test énergie")));
            t.setFloat(QStringLiteral("PROT_A"), 50);
            t.post();
        }
        QVERIFY(enter(QStringLiteral("Tarte")));
        QVERIFY(w->composite().ModifCompose);
        QCOMPARE(w->windowTitle(), QStringLiteral("Modification d'un aliment composé"));
        Table& l = w->Tchoix();
        QCOMPARE(l.rowCount(), 2);
        l.first();
        QCOMPARE(l.asString(QStringLiteral("NOM")), QStringLiteral("Test énergie"));
        QCOMPARE(l.asFloat(QStringLiteral("QTE")), 200.0);
        QCOMPARE(l.asFloat(QStringLiteral("PROT_A")), 20.0);   // stored, not recomputed
        QCOMPARE(l.asFloat(QStringLiteral("CALORIES")), 218.0);
        QCOMPARE(w->Ltotal(QStringLiteral("LtotalQTE"))->text(), QStringLiteral("Qté  300 g"));
        // Modifying a line recomputes it from the Food table.
        l.first();
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("200"));
        w->SBmodifierClick();
        l.first();
        QCOMPARE(l.asFloat(QStringLiteral("PROT_A")), 100.0);
        w->done(QDialog::Rejected);
        checkClosedAndRestored();
    }

    void changedIngredientsAtTheSave() {
        createTarte(QStringLiteral("Tarte"));
        const double numero = food(QStringLiteral("Tarte"))->n("NUMERO");
        const auto before = compoLines(QStringLiteral("Tarte"));
        QVERIFY(enter(QStringLiteral("Tarte")));
        Table& l = w->Tchoix();
        // Yaourt removed, Test énergie changed to 300 g, Pomme added.
        QVERIFY(l.locate(QStringLiteral("NOM"), QStringLiteral("Yaourt nature")));
        {
            ScriptedPrompter p(dir->run());
            p.answer(true);
            w->SBsupprimerClick();
        }
        QVERIFY(l.locate(QStringLiteral("NOM"), QStringLiteral("Test énergie")));
        {
            ScriptedPrompter p(dir->run());
            p.answer(QStringLiteral("300"));
            w->SBmodifierClick();
        }
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        saveYes(QStringLiteral("Voulez-vous modifier l'aliment Tarte"));

        const Rec* f = food(QStringLiteral("Tarte"));
        QVERIFY(f);
        QCOMPARE(f->n("NUMERO"), numero);   // the same record keeps its number
        QCOMPARE(f->n("PROT_A"), 7.5);      // 30 g in 400 g
        const auto all = readAll(file("Alimcomp.DBF"));
        const auto lines = compoLines(QStringLiteral("Tarte"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].index, before[0].index);   // updated in place
        QCOMPARE(lines[0].s("NOM"), QStringLiteral("Test énergie"));
        QCOMPARE(lines[0].n("QTE"), 300.0);
        QCOMPARE(lines[0].n("PROT_A"), 30.0);
        QVERIFY(all[before[1].index].deleted);   // Yaourt's line deleted
        QCOMPARE(lines[1].s("NOM"), QStringLiteral("Pomme"));
        QCOMPARE(lines[1].n("QTE"), 100.0);
        QCOMPARE(lines[1].index, all.size() - 1);   // appended
        QCOMPARE(foods().size(), 14);               // no second food record
    }

    void duplicateIngredientsKeepOneLineEach() {
        QVERIFY(enter(QStringLiteral("Double")));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("50"));
        saveYes(QStringLiteral("Voulez-vous enregistrer l'aliment Double"));
        QCOMPARE(compoLines(QStringLiteral("Double")).size(), 2);

        QVERIFY(enter(QStringLiteral("Double")));
        QCOMPARE(w->Tchoix().rowCount(), 2);
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("25"));
        saveYes(QStringLiteral("Voulez-vous modifier l'aliment Double"));
        auto lines = compoLines(QStringLiteral("Double"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].n("QTE") + lines[1].n("QTE") + lines[2].n("QTE"), 175.0);

        QVERIFY(enter(QStringLiteral("Double")));
        w->Tchoix().first();
        {
            ScriptedPrompter p(dir->run());
            p.answer(true);
            w->SBsupprimerClick();
        }
        saveYes(QStringLiteral("Voulez-vous modifier l'aliment Double"));
        lines = compoLines(QStringLiteral("Double"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].n("QTE") + lines[1].n("QTE"), 75.0);
    }

    void zeroLineDoesNotStopTheSave() {
        // The current line's quantity is 0, but the list is not empty.
        QVERIFY(enter(QStringLiteral("Avec zéro")));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("00"));
        saveYes(QStringLiteral("Voulez-vous enregistrer l'aliment Avec zéro"));
        QCOMPARE(compoLines(QStringLiteral("Avec zéro")).size(), 2);
    }

    void zeroTotalIsRefused() {
        const QByteArray foodBytes = Files::bytesOf(file("DIETAB.DBF"));
        const QByteArray compo = Files::bytesOf(file("Alimcomp.DBF"));
        QVERIFY(enter(QStringLiteral("Nul")));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("-100"));
        ScriptedPrompter p(dir->run());
        w->SBsortirClick();
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].what, QStringLiteral("message"));
        QCOMPARE(p.asked[0].text, QStringLiteral("La quantité totale des éléments de l'aliment Nul est "
                                                 "nulle : l'aliment ne peut pas être enregistré."));
        QVERIFY(w->Tchoix().isOpen());   // still editing
        QCOMPARE(Files::bytesOf(file("DIETAB.DBF")), foodBytes);
        QCOMPARE(Files::bytesOf(file("Alimcomp.DBF")), compo);
        w->done(QDialog::Rejected);
        checkClosedAndRestored();
    }

    void deletionOffer_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("message");
        QTest::newRow("above 233, Oui") << "Tarte" << true << true << "";
        QTest::newRow("above 233, Non") << "Tarte" << false << false << "L'aliment Tarte n'a pas été modifié !";
        QTest::newRow("233 or less, Oui")
            << "Recette de base" << true << false
            << QStringLiteral("Impossible de supprimer les 233 premiers enregistrements") + QChar(13) +
                   QStringLiteral("L'aliment Recette de base n'est pas modifié.");
        QTest::newRow("233 or less, Non")
            << "Recette de base" << false << false << "L'aliment Recette de base n'a pas été modifié !";
    }
    void deletionOffer() {
        QFETCH(QString, name);
        QFETCH(bool, yes);
        QFETCH(bool, deleted);
        QFETCH(QString, message);
        if (name == QLatin1String("Tarte")) createTarte(name);
        const int foodCount = foods().size();
        QVERIFY(enter(name));
        QVERIFY(w->Tchoix().rowCount() > 0);
        {
            ScriptedPrompter p(dir->run());
            p.answer(true);
            w->SBeffacerClick();
        }
        QCOMPARE(w->Tchoix().rowCount(), 0);
        ScriptedPrompter p(dir->run());
        p.answer(yes);
        w->SBsortirClick();
        QCOMPARE(p.asked[0].text, QStringLiteral("Quantité nulle ! Voulez-vous supprimer l'aliment ") + name +
                                      QStringLiteral(" ?"));
        QCOMPARE(p.asked.size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty()) QCOMPARE(p.asked[1].text, message);
        checkClosedAndRestored();
        QCOMPARE(food(name) == nullptr, deleted);
        QCOMPARE(foods().size(), deleted ? foodCount - 1 : foodCount);
        QCOMPARE(compoLines(name).isEmpty(), deleted);
        QVERIFY(food(QStringLiteral("Pomme")));   // nothing else touched
    }

    void namesWithQuotesAndAccents() {
        const QString name = QStringLiteral("Gâteau d'Élise \"maison\"");
        createTarte(name);
        QCOMPARE(compoLines(name).size(), 2);
        QVERIFY(enter(name));
        QVERIFY(w->composite().ModifCompose);
        QCOMPARE(w->Tchoix().rowCount(), 2);
        add(QStringLiteral("FRUITS"), QStringLiteral("Pomme"), QStringLiteral("100"));
        saveYes(QStringLiteral("Voulez-vous modifier l'aliment ") + name);
        QCOMPARE(compoLines(name).size(), 3);
        QVERIFY(enter(name));
        {
            ScriptedPrompter p(dir->run());
            p.answer(true);
            w->SBeffacerClick();
        }
        ScriptedPrompter p(dir->run());
        p.answer(true);
        w->SBsortirClick();
        QVERIFY(!food(name));
        QVERIFY(compoLines(name).isEmpty());
        // A name that differs from a composite's only by case is refused: the
        // lines of the day find their food without regard to case.
        createTarte(QStringLiteral("tarte"));
        {
            ScriptedPrompter refused(dir->run());
            QVERIFY(!enter(QStringLiteral("Tarte")));
            QCOMPARE(refused.lastText(), QStringLiteral("L'aliment Tarte existe déjà !"));
        }
        QCOMPARE(compoLines(QStringLiteral("tarte")).size(), 2);
        QCOMPARE(compoLines(QStringLiteral("Tarte")).size(), 0);
    }

    void renamingAnExistingComposite() {
        createTarte(QStringLiteral("Tarte"));
        const double numero = food(QStringLiteral("Tarte"))->n("NUMERO");
        QVERIFY(enter(QStringLiteral("Tarte")));
        {
            ScriptedPrompter p(dir->run());
            p.answer(QString());   // empty: asked again
            p.answer(QStringLiteral("Tarte du jour"));
            w->SBrenommerClick();
            QCOMPARE(p.asked.size(), 2);
            QCOMPARE(p.asked[0].title, QStringLiteral("Nouvel aliment"));
            QCOMPARE(p.asked[0].text, QStringLiteral("Modifiez le nom de l'aliment"));
        }
        QCOMPARE(w->Panel3->text(), QStringLiteral("Liste des éléments composant l'aliment Tarte du jour"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Modification d'un aliment composé"));
        saveYes(QStringLiteral("Voulez-vous modifier l'aliment Tarte du jour"));
        QVERIFY(!food(QStringLiteral("Tarte")));
        const Rec* f = food(QStringLiteral("Tarte du jour"));
        QVERIFY(f);
        QCOMPARE(f->n("NUMERO"), numero);
        QCOMPARE(f->n("PROT_A"), 8.0);
        QVERIFY(compoLines(QStringLiteral("Tarte")).isEmpty());
        QCOMPARE(compoLines(QStringLiteral("Tarte du jour")).size(), 2);
    }

    void renamingRefusals_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("ordinary food") << "Pomme"
                                       << "L'aliment Pomme existe déjà !";
        QTest::newRow("another composite") << "Recette de base"
                                           << "L'aliment Recette de base existe déjà !";
        QTest::newRow("too long") << QString(31, QLatin1Char('x'))
                                  << "Le nom d'un aliment ne peut pas dépasser 30 caractères.";
        QTest::newRow("cancel keeps the name") << QString() << QString();
    }
    void renamingRefusals() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QVERIFY(enter(QStringLiteral("Nouvelle")));
        ScriptedPrompter p(dir->run());
        if (typed.isNull())
            p.cancel();
        else
            p.answer(typed);
        w->SBrenommerClick();
        QCOMPARE(p.asked.size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty()) QCOMPARE(p.asked[1].text, message);
        QCOMPARE(w->composite().NomCompose, QStringLiteral("Nouvelle"));
        QCOMPARE(w->Panel3->text(), QStringLiteral("Liste des éléments composant l'aliment Nouvelle"));
        QVERIFY(w->Talim().isOpen());
        w->done(QDialog::Rejected);
        checkClosedAndRestored();
    }

    void leftoverBackupIsPutBackFirst() {
        // A backup an earlier stay could not put back holds the day's choice.
        QVERIFY(QFile::copy(file("CHOIX.DBF"), file("choix.tmp")));
        QFile::remove(file("CHOIX.DBF"));
        QVERIFY(QFile::copy(file("choix0.dbf"), file("CHOIX.DBF")));
        QVERIFY(enter(QStringLiteral("Tarte")));
        w->done(QDialog::Rejected);
        checkClosedAndRestored();
    }

    void nameDialogList() {
        Table talim(dir->run(), foodSchema()), compo(dir->run(), compositeSchema());
        talim.open();
        {
            // No composite at all: the plain box and the short prompt.
            Table c(dir->run(), compositeSchema());
            c.open();
            while (!c.isEmpty()) {
                c.first();
                c.deleteRecord();
            }
            TFCreadlg d(talim, c);
            QCOMPARE(d.windowTitle(), QStringLiteral("Aliments composés"));
            d.prepare();
            QVERIFY(!d.listeVisible());
            QCOMPARE(d.label()->text(), QStringLiteral("Entrez le nom du nouvel aliment"));
            QCOMPARE(d.label()->x(), 45);
        }
        Fixtures::appendRecords(compositeSchema(), file("Alimcomp.DBF"),
                                {compositeLine(QStringLiteral("Tarte"), QStringLiteral("Pomme"), 100, 0),
                                 compositeLine(QStringLiteral("Crêpe"), QStringLiteral("Pomme"), 100, 0),
                                 compositeLine(QStringLiteral("Tarte"), QStringLiteral("Pain blanc"), 50, 0)});
        compo.open();
        TFCreadlg d(talim, compo);
        d.prepare();
        QVERIFY(d.listeVisible());
        QCOMPARE(d.label()->text(), QStringLiteral("Entrez le nom du nouvel aliment à créer ou sélectionnez "
                                                   "dans la liste un aliment à modifier."));
        QCOMPARE(d.liste(), QStringList({"Crêpe", "Tarte"}));   // "Recette de base" deleted above
    }

    void nameDialogOk_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("nomSaisi");
        QTest::addColumn<QString>("message");
        QTest::newRow("new name") << "Salade" << true << "Salade"
                                  << "";
        QTest::newRow("blanks dropped") << "  Salade " << true << "Salade"
                                        << "";
        QTest::newRow("existing composite") << "Recette de base" << true << "Recette de base"
                                            << "";
        QTest::newRow("ordinary food") << "Pomme" << false << ""
                                       << "L'aliment Pomme existe déjà !";
        QTest::newRow("empty") << "" << false << ""
                               << "";
        QTest::newRow("quote") << "Pâté d'hiver" << true << "Pâté d'hiver"
                               << "";
    }
    void nameDialogOk() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, nomSaisi);
        QFETCH(QString, message);
        Table talim(dir->run(), foodSchema()), compo(dir->run(), compositeSchema());
        talim.open();
        compo.open();
        talim.setFilter(QStringLiteral("CATEGORIE='FRUITS'"));
        talim.setFiltered(true);
        TFCreadlg d(talim, compo);
        d.prepare();
        d.setText(typed);
        ScriptedPrompter p(dir->run());
        QVERIFY(d.CBDlgKeyDown(Qt::Key_Return));
        QCOMPARE(d.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(d.nom(), nomSaisi);
        QCOMPARE(p.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(p.asked[0].text, message);
            QVERIFY(d.texte().isEmpty());   // the box is emptied
        }
    }

    void nameDialogCancel_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Annuler") << "button";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void nameDialogCancel() {
        QFETCH(QString, how);
        Table talim(dir->run(), foodSchema()), compo(dir->run(), compositeSchema());
        talim.open();
        compo.open();
        TFCreadlg d(talim, compo);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.setText(QStringLiteral("Salade"));
        if (how == QLatin1String("button")) {
            QPushButton* annuler = nullptr;
            for (auto* b : d.findChildren<QPushButton*>())
                if (b->text() == QLatin1String("Annuler")) annuler = b;
            QVERIFY(annuler);
            QTest::mouseClick(annuler, Qt::LeftButton);
        } else if (how == QLatin1String("escape"))
            QVERIFY(d.CBDlgKeyDown(Qt::Key_Escape));
        else
            d.close();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.nom().isEmpty());
        QVERIFY(!d.CBDlgKeyDown(Qt::Key_A));
    }

    // Under a real event loop, the real name dialog answered with the keyboard.
    void endToEndCompositeMode() {
        session->ModeCompose = true;
        bool typed = false;
        QTimer::singleShot(50, [&] {
            auto* dlg = qobject_cast<TFCreadlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            QWidget* box = QApplication::focusWidget();
            if (!box || !dlg->isAncestorOf(box)) {
                dlg->reject();
                return;
            }
            QTest::keyClicks(box, QStringLiteral("Compote"));
            typed = true;
            QTest::keyClick(box, Qt::Key_Return);
        });
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(typed);
        QCOMPARE(w->windowTitle(), QStringLiteral("Création d'un aliment composé"));
        QCOMPARE(w->composite().NomCompose, QStringLiteral("Compote"));
        QVERIFY(QFile::exists(file("choix.tmp")));
        w->close();
        checkClosedAndRestored();
    }
};

QTEST_MAIN(TestComposite)
#include "tst_composite.moc"
