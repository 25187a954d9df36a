// The editing window driven as a user would: typing into its boxes, pressing
// its navigator's buttons, choosing a category; what each command wrote is
// read back from the file, and the Composite lock is read from the boxes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "core/session/session.h"
#include "core/table/table.h"
#include "foodfixture.h"
#include "foodtable/modif.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"
#include "ui/iconbutton.h"

class TestModif : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    Session* session = nullptr;
    std::unique_ptr<ScriptedDesktop> desktop;
    std::unique_ptr<TFmodif> w;

    QString nom() { return w->Taliments().asString(QStringLiteral("NOM")); }
    QString foodFile() const { return dir->file(QStringLiteral("DIETAB.DBF")); }
    QString onDisk(const QString& food, const QString& field) const {
        const int r = FoodFixture::column(foodFile(), QStringLiteral("NOM")).indexOf(food);
        return r < 0 ? QString() : FoodFixture::column(foodFile(), field).at(r);
    }
    void type(const QString& field, const QString& text) {
        QLineEdit* box = w->edit(field);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    bool locked() {
        const bool nomLocked = w->edit(QStringLiteral("NOM"))->isReadOnly();
        for (QLineEdit* b : w->boitesVerrouillees()) {
            if (b->isReadOnly() != nomLocked) return !nomLocked;   // mixed: report it as wrong
            const QPalette::ColorRole role = nomLocked ? QPalette::Button : QPalette::Base;
            if (b->palette().color(QPalette::Base) != w->palette().color(role)) return !nomLocked;
        }
        if (w->DBComboBox1->isEnabled() == nomLocked) return !nomLocked;
        return nomLocked;
    }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        FoodFixture::write(dir->path());
        session = &dir->session();
        desktop = std::make_unique<ScriptedDesktop>(dir->run());
        w = std::make_unique<TFmodif>(*session);
        w->show();
        QVERIFY(w->isShowing());
    }
    void cleanup() {
        w->close();
        w.reset();
        desktop.reset();
        session = nullptr;
        dir.reset();
    }

    void createdWindow() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Table des aliments (modification)"));
        QStringList hints;
        for (QToolButton* b : w->DBNavigator->findChildren<QToolButton*>()) hints << b->accessibleName();
        QCOMPARE(hints,
                 QStringList({"Début", "Précédent", "Suivant", "Fin", "Ajouter un aliment",
                              "Supprimer l'aliment", "Confirmer modifications", "Annuler modifications"}));
        QCOMPARE(w->findChildren<QLineEdit*>().size(), 33);
        QCOMPARE(w->edit(QStringLiteral("EditA_G_MONO"))->geometry(), QRect(60, 59, 50, 21));
        QCOMPARE(w->edit(QStringLiteral("EditMN"))->x(), 6);
        QVERIFY(!w->DBComboBox1->isEditable());
        QCOMPARE(w->RBNom->y(), 203);
        QStringList labels;
        for (QLabel* l : w->findChildren<QLabel*>()) labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("A_G_POLY")) && labels.contains(QStringLiteral("Cl")));
        QVERIFY(!labels.contains(QStringLiteral("KCAL.")));
    }

    // Moving onto a composite locks its name, nutrients and category; moving
    // on unlocks them. The number is never editable.
    void compositeLockWhileMoving() {
        QVERIFY(!locked());
        const QList<QPair<QString, bool>> steps = {
            {"Beurre", false}, {"Gâteau", true}, {"Poire", false}, {"Tarte maison", true}, {"Zeste", false}};
        for (const auto& step : steps) {
            w->DBNavigator->click(TableNavigator::Next);
            QCOMPARE(nom(), step.first);
            QCOMPARE(locked(), step.second);
            QVERIFY(w->edit(QStringLiteral("NUMERO"))->isReadOnly());
        }
        // A search ends with the lock, a change of order does not run it.
        ScriptedPrompter p(dir->run());
        p.answer(QStringLiteral("Gât"));
        w->SBchercherClick();
        QVERIFY(locked());
        QVERIFY(w->RBNom->isChecked());
        w->RBnumero->click();
        QCOMPARE(nom(), QStringLiteral("Gâteau"));
        QVERIFY(locked());
        // Each showing starts with the lock of its first food, a composite
        // as well as an ordinary one.
        w->close();
        w->show();
        QCOMPARE(nom(), QStringLiteral("Pomme"));
        QVERIFY(!locked());
        w->close();
        Fixtures::appendRecords(foodSchema(), foodFile(),
                                {FoodFixture::food(400, QStringLiteral("Aïoli maison"), CategorieComposee)});
        w->RBNom->click();   // closed: the order waits for the next showing
        w->show();
        QCOMPARE(nom(), QStringLiteral("Aïoli maison"));
        QVERIFY(locked());
    }

    // Typing begins editing; a move writes the change; closing drops one.
    void typedChangesOnMoveAndClose() {
        type(QStringLiteral("PROT_A"), QStringLiteral("12,5"));   // "," is a decimal point too
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->text(), QStringLiteral("12,5"));
        QCOMPARE(w->Taliments().state(), Table::State::Edit);
        w->DBNavigator->click(TableNavigator::Next);
        QCOMPARE(onDisk(QStringLiteral("Pomme"), QStringLiteral("PROT_A")), QStringLiteral("12.5"));
        type(QStringLiteral("CA"), QStringLiteral("99"));
        const QByteArray before = Files::bytesOf(foodFile());
        w->close();
        QCOMPARE(Files::bytesOf(foodFile()), before);
        w->show();
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->text(), QStringLiteral("12.50"));
    }

    // A command that does not move leaves the food exactly as typed, boxes
    // included, and the next move writes it.
    void commandsThatDoNotMoveKeepTheTypedFood_data() {
        QTest::addColumn<QString>("food");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QVariant>("answer");   // null: the prompt cancelled
        QTest::newRow("deletion answered Annuler") << "Zeste"
                                                   << "Supprimer" << QVariant(false);
        QTest::newRow("deletion of a Base food refused") << "Poire"
                                                         << "Supprimer" << QVariant(true);
        QTest::newRow("search cancelled") << "Zeste"
                                          << "Chercher" << QVariant();
    }
    void commandsThatDoNotMoveKeepTheTypedFood() {
        QFETCH(QString, food);
        QFETCH(QString, command);
        QFETCH(QVariant, answer);
        while (nom() != food) w->DBNavigator->click(TableNavigator::Next);
        type(QStringLiteral("PROT_V"), QStringLiteral("7"));
        const QByteArray before = Files::bytesOf(foodFile());
        ScriptedPrompter p(dir->run());
        if (answer.isValid())
            p.answer(answer.toBool());
        else
            p.cancel();
        if (command == QLatin1String("Supprimer"))
            w->DBNavigator->click(TableNavigator::Delete);
        else
            w->SBchercherClick();
        QCOMPARE(p.unexpected, 0);
        QCOMPARE(nom(), food);
        QCOMPARE(w->edit(QStringLiteral("PROT_V"))->text(), QStringLiteral("7"));
        QCOMPARE(Files::bytesOf(foodFile()), before);
        w->DBNavigator->click(TableNavigator::Next);
        QCOMPARE(onDisk(food, QStringLiteral("PROT_V")), QStringLiteral("7"));
    }

    // The whole navigator from the keyboard, from inside a box: its keys win
    // over the box's own, Escape cancels a pending change before it closes
    // the window, and each button's hint shows its keys.
    void keyboardDrivesTheNavigator() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QLineEdit* box = w->edit(QStringLiteral("PROT_V"));
        box->setFocus();
        auto key = [&](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTest::keyClick(box, Qt::Key(k), m);
        };
        const QList<std::tuple<int, Qt::KeyboardModifiers, QString>> moves = {
            {Qt::Key_PageDown, Qt::NoModifier, "Beurre"}, {Qt::Key_Down, Qt::ControlModifier, "Gâteau"},
            {Qt::Key_PageUp, Qt::NoModifier, "Beurre"},   {Qt::Key_End, Qt::ControlModifier, "Salade"},
            {Qt::Key_Up, Qt::ControlModifier, "Zeste"},   {Qt::Key_Home, Qt::ControlModifier, "Pomme"}};
        for (const auto& [k, m, food] : moves) {
            key(k, m);
            QCOMPARE(nom(), food);
        }
        type(QStringLiteral("PROT_V"), QStringLiteral("7"));
        key(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(onDisk(QStringLiteral("Pomme"), QStringLiteral("PROT_V")), QStringLiteral("7"));
        key(Qt::Key_Insert);
        QCOMPARE(w->Taliments().state(), Table::State::Insert);
        key(Qt::Key_Escape);   // drops the new food; the window stays
        QCOMPARE(w->Taliments().state(), Table::State::Browse);
        QVERIFY(w->isVisible());
        {
            ScriptedPrompter p(dir->run());
            p.answer(false);
            key(Qt::Key_Delete, Qt::ControlModifier);
            QCOMPARE(p.lastText(), QStringLiteral("Supprimer l'enregistrement ?"));
        }
        QCOMPARE(w->DBNavigator->button(TableNavigator::Next)->toolTip(),
                 IconButton::bulle(QStringLiteral("Suivant"), TableNavigator::keys(TableNavigator::Next)));
        key(Qt::Key_Escape);   // nothing pending: the window closes
        QVERIFY(!w->isVisible());
    }

    // A text that does not read is refused at confirmation; the food stays
    // in editing with the box focused, and nothing is written.
    void numberThatDoesNotRead() {
        type(QStringLiteral("PROT_A"), QStringLiteral("1e+"));
        const QByteArray before = Files::bytesOf(foodFile());
        ScriptedPrompter p(dir->run());
        w->DBNavigator->click(TableNavigator::Post);
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.lastText(),
                 QStringLiteral("'1e+' n'est pas une valeur flottante correcte pour le champ 'PROT_A'"));
        QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->edit(QStringLiteral("PROT_A"))));
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->text(), QStringLiteral("1e+"));
        QCOMPARE(w->Taliments().state(), Table::State::Edit);
        w->DBNavigator->click(TableNavigator::Next);
        QCOMPARE(nom(), QStringLiteral("Pomme"));
        QCOMPARE(Files::bytesOf(foodFile()), before);
        w->DBNavigator->click(TableNavigator::Cancel);
        QCOMPARE(w->edit(QStringLiteral("PROT_A"))->text(), QStringLiteral("1.00"));
    }

    // On an empty table the first key typed begins a new food and stays in
    // its box; another box written meanwhile leaves it as typed.
    void typingIntoAnEmptyTable() {
        w->close();
        Fixtures::createEmpty(foodSchema(), dir->path());
        w->show();
        type(QStringLiteral("NOM"), QStringLiteral("Kiwi"));
        QCOMPARE(w->Taliments().state(), Table::State::Insert);
        QCOMPARE(w->edit(QStringLiteral("NUMERO"))->text(), QStringLiteral("1"));
        QCOMPARE(w->edit(QStringLiteral("NOM"))->text(), QStringLiteral("Kiwi"));
        type(QStringLiteral("PROT_V"), QStringLiteral("1.5"));
        w->DBComboBox1->setCurrentIndex(9);
        emit w->DBComboBox1->activated(9);
        QCOMPARE(w->edit(QStringLiteral("PROT_V"))->text(), QStringLiteral("1.5"));
        w->DBNavigator->click(TableNavigator::Post);
        QCOMPARE(onDisk(QStringLiteral("Kiwi"), QStringLiteral("PROT_V")), QStringLiteral("1.5"));
    }

    // A new food, numbered whatever the order, checked before it is written.
    void newFoodThroughTheWindow() {
        w->RBNom->click();
        w->DBNavigator->click(TableNavigator::Insert);
        QCOMPARE(w->edit(QStringLiteral("NUMERO"))->text(), QStringLiteral("301"));
        QCOMPARE(w->edit(QStringLiteral("NOM"))->text(), QString());
        QCOMPARE(w->edit(QStringLiteral("FIBRES"))->text(), QStringLiteral("0.00"));
        QCOMPARE(w->DBComboBox1->currentIndex(), -1);
        QVERIFY(!locked());
        ScriptedPrompter p(dir->run());
        type(QStringLiteral("NOM"), QStringLiteral("BEURRE"));
        w->DBNavigator->click(TableNavigator::Post);
        QVERIFY(p.lastText().contains(QStringLiteral("l'aliment n° 2 (« Beurre »)")));
        type(QStringLiteral("NOM"), QStringLiteral("Kiwi"));
        w->DBNavigator->click(TableNavigator::Post);
        QVERIFY(p.lastText().contains(QStringLiteral("n'a pas de catégorie")));
        w->DBComboBox1->setCurrentIndex(9);
        emit w->DBComboBox1->activated(9);
        w->DBNavigator->click(TableNavigator::Post);
        QCOMPARE(p.asked.size(), 2);
        QCOMPARE(onDisk(QStringLiteral("Kiwi"), QStringLiteral("NUMERO")), QStringLiteral("301"));
        QCOMPARE(onDisk(QStringLiteral("Kiwi"), QStringLiteral("CATEGORIE")), categories()[9]);
        QCOMPARE(nom(), QStringLiteral("Kiwi"));
    }
};

QTEST_MAIN(TestModif)
#include "tst_modif.moc"
