// Names in composite mode: a name that differs from another food's only by
// letter case is refused wherever a name is given, a too long name is refused
// alike by the name dialog and by renaming, a line finds its own food before
// one whose name differs by case, and a recipe cannot hold itself. Every
// result is read back from the files.
#include <QComboBox>
#include <QtTest>

#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/dbf/dbf.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"

namespace {
QVariantMap food(double numero, const QString& nom, const QString& categorie, double glucS) {
    QVariantMap m;
    m["NUMERO"] = numero;
    m["NOM"] = nom;
    m["CATEGORIE"] = categorie;
    m["GLUC_S"] = glucS;
    return m;
}

QVariantMap compositeLine(const QString& compo, const QString& nom, double qte) {
    QVariantMap m;
    m["NOM_COMPO"] = compo;
    m["NOM"] = nom;
    m["QTE"] = qte;
    return m;
}

// Names and GLUC_S of the live lines of a table file, in record order.
QVector<QPair<QString, double>> linesOf(const QString& path, const char* nameField = "NOM") {
    auto f = DbfFile::open(path, true);
    const int nom = f->fieldIndex(QString::fromLatin1(nameField));
    const int gluc = f->fieldIndex(QStringLiteral("GLUC_S"));
    QVector<QPair<QString, double>> out;
    for (int r = 0; r < f->recordCount(); ++r)
        if (!f->isDeleted(r)) out << qMakePair(f->text(r, nom), f->number(r, gluc));
    return out;
}
}   // namespace

class TestCompositeNames : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFcompose> w;

    QString file(const char* name) const { return dir->file(QString::fromLatin1(name)); }

    // Composite mode with the name typed in the real dialog and OK; true when
    // the name was accepted (a refused name is then given up with Annuler).
    bool nameDialog(const QString& typed) {
        session->ModeCompose = true;
        desktop->onRun = [typed](QDialog& d) {
            auto& dialog = static_cast<TFCreadlg&>(d);
            dialog.setText(typed);
            dialog.OKButtonClick();
        };
        return w->prepare();
    }
    void enter(const QString& name) {
        ScriptedPrompter p(dir->run());
        QVERIFY(nameDialog(name));
        QCOMPARE(p.asked.size(), 0);
    }
    void select(const QString& category, const QString& nom) {
        w->CBcategorie->setCurrentIndex(categories().indexOf(category));
        QVERIFY(w->Talim().locate(QStringLiteral("NOM"), nom));
    }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
        // An existing composite, with its food record and one ingredient line.
        Fixtures::appendRecords(foodSchema(), file("DIETAB.DBF"),
                                {food(300, QStringLiteral("Compote maison"), CategorieComposee, 15)});
        Fixtures::appendRecords(
            compositeSchema(), file("Alimcomp.DBF"),
            {compositeLine(QStringLiteral("Compote maison"), QStringLiteral("Pomme"), 100)});
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFcompose>(*session, *desktop);
    }
    void cleanup() {
        if (w) w->done(QDialog::Rejected);
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    void nameDialogComparesWithoutCase_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");   // "" when accepted
        QTest::newRow("a fruit in lower case") << "pomme"
                                               << "L'aliment pomme existe déjà !";
        QTest::newRow("a food in capitals") << "PAIN BLANC"
                                            << "L'aliment PAIN BLANC existe déjà !";
        QTest::newRow("a composite by another case") << "compote Maison"
                                                     << "L'aliment compote Maison existe déjà !";
        QTest::newRow("accents are letters") << "Epinards, cuits"
                                             << "";
        QTest::newRow("the composite itself") << "Compote maison"
                                              << "";
        QTest::newRow("a new name") << "Pommes au four"
                                    << "";
    }
    void nameDialogComparesWithoutCase() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        ScriptedPrompter p(dir->run());
        QCOMPARE(nameDialog(typed), message.isEmpty());
        QCOMPARE(p.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) QCOMPARE(p.asked[0].text, message);
    }

    // The whole sequence: "pomme" cannot be created beside the fruit "Pomme";
    // where both exist (an older Food table), each line of the day is
    // recomputed from its own food.
    void modifyFindsTheExactNameFirst() {
        {
            ScriptedPrompter p(dir->run());
            QVERIFY(!nameDialog(QStringLiteral("pomme")));
            QCOMPARE(p.lastText(), QStringLiteral("L'aliment pomme existe déjà !"));
        }
        w.reset();
        // A composite "pomme" (99.8 g of sugar per 100 g) left by an older version.
        Fixtures::appendRecords(foodSchema(), file("DIETAB.DBF"),
                                {food(301, QStringLiteral("pomme"), CategorieComposee, 99.8)});
        w = std::make_unique<TFcompose>(*session, *desktop);
        session->ModeCompose = false;
        QVERIFY(w->prepare());
        for (const QString& nom : {QStringLiteral("pomme"), QStringLiteral("Pomme")}) {
            select(nom == QLatin1String("pomme") ? CategorieComposee : categories()[9], nom);
            QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), nom);
            ScriptedPrompter p(dir->run());
            p.answer(QStringLiteral("100"));
            w->SBajouterClick();
        }
        // Each line modified to 200 g.
        for (int row : {0, 1}) {
            w->Tchoix().moveToRow(row);
            ScriptedPrompter p(dir->run());
            p.answer(QStringLiteral("200"));
            w->SBmodifierClick();
            QCOMPARE(p.unexpected, 0);
        }
        const auto lines = linesOf(file("CHOIX.DBF"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].first, QStringLiteral("pomme"));
        QCOMPARE(lines[0].second, 199.6);
        QCOMPARE(lines[1].first, QStringLiteral("Pomme"));
        QCOMPARE(lines[1].second, 22.0);
    }

    void renamingComparesWithoutCase_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");   // "" when accepted
        QTest::newRow("a fruit in lower case") << "pomme"
                                               << "L'aliment pomme existe déjà !";
        QTest::newRow("a composite, trailing blank") << "COMPOTE MAISON "
                                                     << "L'aliment COMPOTE MAISON existe déjà !";
        QTest::newRow("its own name by another case") << "tarte Fine"
                                                      << "";
        QTest::newRow("a 40-character name") << "Gratin dauphinois de la grand-mère Lucie"
                                             << "Le nom d'un aliment ne peut pas dépasser 30 caractères.";
    }
    void renamingComparesWithoutCase() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        enter(QStringLiteral("Tarte fine"));
        ScriptedPrompter p(dir->run());
        p.answer(typed);
        w->SBrenommerClick();
        QCOMPARE(p.asked.size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty()) QCOMPARE(p.asked[1].text, message);
        QCOMPARE(w->composite().NomCompose, message.isEmpty() ? typed : QStringLiteral("Tarte fine"));
    }

    // The name dialog and renaming refuse a long name with one message; the
    // dialog neither cuts it nor closes.
    void nameDialogRefusesALongName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("30 characters") << "Gratin dauphinois de la grand-" << true;
        QTest::newRow("31 characters") << "Gratin dauphinois de la grand-m" << false;
        QTest::newRow("40 characters") << "Gratin dauphinois de la grand-mère Lucie" << false;
    }
    void nameDialogRefusesALongName() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        ScriptedPrompter p(dir->run());
        QString left;
        session->ModeCompose = true;
        desktop->onRun = [&](QDialog& d) {
            auto& dialog = static_cast<TFCreadlg&>(d);
            dialog.setText(typed);
            dialog.OKButtonClick();
            left = dialog.texte();
        };
        QCOMPARE(w->prepare(), accepted);
        QCOMPARE(left, typed);
        if (accepted) {
            QCOMPARE(p.asked.size(), 0);
            QCOMPARE(w->composite().NomCompose, typed);
        } else {
            QCOMPARE(p.asked.size(), 1);
            QCOMPARE(p.asked[0].text,
                     QStringLiteral("Le nom d'un aliment ne peut pas dépasser 30 caractères."));
        }
    }

    // Reopening a composite lists it among the foods; adding it to its own
    // list is refused, before and after renaming, and the save writes no
    // line of it in itself.
    void recipeCannotHoldItself_data() {
        QTest::addColumn<QString>("renamed");
        QTest::newRow("as reopened") << QString();
        QTest::newRow("after renaming") << "Compote du jardin";
    }
    void recipeCannotHoldItself() {
        QFETCH(QString, renamed);
        enter(QStringLiteral("Compote maison"));
        QVERIFY(w->composite().ModifCompose);
        if (!renamed.isEmpty()) {
            ScriptedPrompter p(dir->run());
            p.answer(renamed);
            w->SBrenommerClick();
            QCOMPARE(w->composite().NomCompose, renamed);
        }
        select(CategorieComposee, QStringLiteral("Compote maison"));
        {
            ScriptedPrompter p(dir->run());
            w->SBajouterClick();
            QCOMPARE(p.asked.size(), 1);
            QCOMPARE(p.asked[0].what, QStringLiteral("message"));
            QCOMPARE(
                p.asked[0].text,
                QStringLiteral("L'aliment Compote maison ne peut pas entrer dans sa propre composition !"));
        }
        QCOMPARE(w->Tchoix().rowCount(), 1);
        ScriptedPrompter p(dir->run());
        p.answer(true);
        w->SBsortirClick();
        const QString saved = renamed.isEmpty() ? QStringLiteral("Compote maison") : renamed;
        const auto lines = linesOf(file("Alimcomp.DBF"), "NOM_COMPO");
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].first, saved);
        QCOMPARE(linesOf(file("Alimcomp.DBF"))[0].first, QStringLiteral("Pomme"));
    }

    // Renaming looks through the whole Food table but leaves the food list
    // on the food the user had selected.
    void renamingKeepsTheFoodList() {
        enter(QStringLiteral("Tarte fine"));
        select(categories()[0], QStringLiteral("Poulet, rôti"));
        for (const QString& typed : {QStringLiteral("Pain blanc"), QStringLiteral("Tarte aux pommes")}) {
            ScriptedPrompter p(dir->run());
            p.answer(typed);
            w->SBrenommerClick();
            QVERIFY(w->Talim().filtered());
            QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Poulet, rôti"));
        }
        QCOMPARE(w->composite().NomCompose, QStringLiteral("Tarte aux pommes"));
    }
};

QTEST_MAIN(TestCompositeNames)
#include "tst_compositenames.moc"
