// The composition window answers every command: a line whose food is gone
// and an empty category are told, not silently ignored; and each question
// whose Oui destroys something offers Non by default, so that a stray Enter
// costs nothing. Files are compared before and after.
#include <QComboBox>
#include <QtTest>

#include "compose/compose.h"
#include "compose/creadlg.h"
#include "core/compose/choicefiles.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"

class TestListAnswers : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFcompose> w;

    QString file(const char* name) const { return dir->file(QString::fromLatin1(name)); }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
        // The day holds a line of a food since deleted, then a line of bread.
        QVariantMap gone, bread;
        gone["NOM"] = QStringLiteral("Gâteau de Mamie");
        gone["QTE"] = 120.0;
        gone["GLUC_S"] = 30.0;
        bread["NOM"] = QStringLiteral("Pain blanc");
        bread["QTE"] = 60.0;
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {gone, bread});
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFcompose>(*session, *desktop);
        session->ModeCompose = false;
        QVERIFY(w->prepare());
    }
    void cleanup() {
        w->done(QDialog::Rejected);
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    void silentCommandsSpeak_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("modify a line whose food is gone")
            << "modify"
            << "L'aliment Gâteau de Mamie n'existe plus dans la table";
        QTest::newRow("add from an empty category") << "add"
                                                    << "Aucun aliment dans cette catégorie";
    }
    void silentCommandsSpeak() {
        QFETCH(QString, command);
        QFETCH(QString, message);
        const QByteArray before = Files::bytesOf(file("CHOIX.DBF"));
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("200"));   // a quantity, should one be asked
        if (command == QLatin1String("modify")) {
            w->CBcategorie->setCurrentIndex(categories().indexOf(QStringLiteral("POISSONS")));
            w->Tchoix().moveToRow(0);
            w->SBmodifierClick();
            // The food list has not moved from the category shown.
            QVERIFY(w->Talim().filtered());
            QCOMPARE(w->Talim().asString(QStringLiteral("NOM")), QStringLiteral("Cabillaud"));
        } else {
            w->CBcategorie->setCurrentIndex(categories().indexOf(QStringLiteral("CRUSTACÉS, COQUILLAGES")));
            w->SBajouterClick();
        }
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].what, QStringLiteral("message"));
        QCOMPARE(p.asked[0].text, message);
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), before);
    }

    // Each destructive question defaults to Non; answered Non, nothing changes.
    void destructiveQuestionsDefaultToNon_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("kept");   // the file that must not change
        QTest::newRow("remove a line") << "remove"
                                       << "Désirez-vous supprimer les 60 g de Pain blanc ?"
                                       << "CHOIX.DBF";
        QTest::newRow("clear the list") << "clear"
                                        << "Désirez-vous effacer tous vos choix ?"
                                        << "CHOIX.DBF";
        QTest::newRow("overwrite a saved day") << "overwrite"
                                               << "Voulez vous écraser lundi.dat?"
                                               << "lundi.dat";
        QTest::newRow("delete a composite") << "delete composite"
                                            << "Quantité nulle ! Voulez-vous supprimer l'aliment Recette ?"
                                            << "DIETAB.DBF";
    }
    void destructiveQuestionsDefaultToNon() {
        QFETCH(QString, command);
        QFETCH(QString, question);
        QFETCH(QString, kept);
        if (command == QLatin1String("overwrite")) QVERIFY(Files::writeBytes(dir->file(kept), "un autre jour"));
        if (command == QLatin1String("delete composite")) {
            w->done(QDialog::Rejected);
            QVariantMap recette, ligne;
            recette["NUMERO"] = 300.0;
            recette["NOM"] = QStringLiteral("Recette");
            recette["CATEGORIE"] = CategorieComposee;
            ligne["NOM_COMPO"] = QStringLiteral("Recette");
            ligne["NOM"] = QStringLiteral("Pomme");
            ligne["QTE"] = 100.0;
            Fixtures::appendRecords(foodSchema(), file("DIETAB.DBF"), {recette});
            Fixtures::appendRecords(compositeSchema(), file("Alimcomp.DBF"), {ligne});
            session->ModeCompose = true;
            desktop->onRun = [](QDialog& d) {
                auto& dialog = static_cast<TFCreadlg&>(d);
                dialog.setText(QStringLiteral("Recette"));
                dialog.OKButtonClick();
            };
            QVERIFY(w->prepare());
            ScriptedPrompter clear(dir->run());
            clear.answer(true);
            w->SBeffacerClick();
        }
        const QByteArray before = Files::bytesOf(dir->file(kept));
        ScriptedPrompter p(dir->run());
        p.answer(false);
        if (command == QLatin1String("remove"))
            w->SBsupprimerClick();
        else if (command == QLatin1String("clear"))
            w->SBeffacerClick();
        else if (command == QLatin1String("overwrite"))
            ChoiceFiles::enregistrer(dir->run(), QStringLiteral("lundi.dat"));
        else
            w->SBsortirClick();
        QVERIFY(!p.asked.isEmpty());
        QCOMPARE(p.asked[0].what, QStringLiteral("ask"));
        QCOMPARE(p.asked[0].text, question);
        QCOMPARE(p.asked[0].byDefault, Prompter::Default::No);
        QCOMPARE(Files::bytesOf(dir->file(kept)), before);
    }
};

QTEST_MAIN(TestListAnswers)
#include "tst_listanswers.moc"
