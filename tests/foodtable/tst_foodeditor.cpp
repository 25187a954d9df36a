// Editing the Food table without a window: numbering new foods, the deletion
// rules (Base foods, composites and their lines), the checks made before a
// food is written, and what reaches the file when a food is confirmed, left by
// a move, cancelled or dropped by closing. Every result is read back from disk.
#include <QtTest>

#include "core/compose/foodrecords.h"
#include "core/foodtable/foodbrowser.h"
#include "core/foodtable/foodeditor.h"
#include "core/table/table.h"
#include "foodfixture.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

class TestFoodEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    std::unique_ptr<Table> foods, lines;
    std::unique_ptr<FoodEditor> editor;

    QString foodFile() const { return dir->file(QStringLiteral("DIETAB.DBF")); }
    QString lineFile() const { return dir->file(QStringLiteral("Alimcomp.DBF")); }
    QStringList names() const { return FoodFixture::column(foodFile(), QStringLiteral("NOM")); }
    QStringList lineOwners() const { return FoodFixture::column(lineFile(), QStringLiteral("NOM_COMPO")); }
    void goTo(const QString& nom) { QVERIFY(foods->locate(QStringLiteral("NOM"), nom)); }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        FoodFixture::write(dir->path());
        foods = std::make_unique<Table>(dir->run(), foodSchema());
        lines = std::make_unique<Table>(dir->run(), compositeSchema());
        lines->setIndexName(QStringLiteral("NOM_COMPO"));
        editor = std::make_unique<FoodEditor>(*foods, *lines);
        foods->setIndexName(QStringLiteral("NOM"));
        foods->open();
        lines->open();
    }
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        editor.reset();
        foods.reset();
        lines.reset();
        dir.reset();
    }

    // The number comes from the highest number, not from the order shown nor
    // from the last record; a cancelled food uses up none.
    void newFoodNumbering() {
        foods->last();   // "Zeste", 250, in name order
        QVERIFY(editor->insere());
        QCOMPARE(foods->asFloat(QStringLiteral("NUMERO")), 301.0);
        QCOMPARE(foods->asString(QStringLiteral("NOM")), QString());
        QCOMPARE(foods->asString(QStringLiteral("CATEGORIE")), QString());
        for (const Nutrient& n : nutrients()) {   // a zero, not a blank
            QCOMPARE(foods->asFloat(QString::fromLatin1(n.field)), 0.0);
            QVERIFY(!foods->asString(QString::fromLatin1(n.field)).isEmpty());
        }
        editor->annule();
        QCOMPARE(names().size(), 7);
        QVERIFY(editor->insere());
        QCOMPARE(foods->asFloat(QStringLiteral("NUMERO")), 301.0);
        // Left alone, a new food is dropped by the next move.
        QVERIFY(editor->ecritAvantDeplacement());
        foods->first();
        QCOMPARE(names().size(), 7);
    }

    void emptyTableNumbersFromOne() {
        foods->close();
        Fixtures::createEmpty(foodSchema(), dir->path());
        foods->open();
        QCOMPARE(FoodRecords::nextNumber(*foods), 1LL);
        // Typing into an empty table begins a new food.
        editor->ecritTexte(QStringLiteral("NOM"), QStringLiteral("Kiwi"));
        QCOMPARE(foods->state(), Table::State::Insert);
        QCOMPARE(foods->asFloat(QStringLiteral("NUMERO")), 1.0);
    }

    void deletion_data() {
        QTest::addColumn<QString>("food");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("linesLeft");
        const QString refus = QStringLiteral("Impossible de supprimer les 233 premiers enregistrements");
        const QStringList all = {"Tarte maison", "Gâteau",       "Tarte maison", "Soupe",
                                 "Gâteau",       "Tarte maison", "Soupe"};
        QTest::newRow("233 refused") << "Poire" << true << false << refus << all;
        QTest::newRow("234 composite, with its lines") << "Tarte maison" << true << true << QString()
                                                       << QStringList({"Gâteau", "Soupe", "Gâteau", "Soupe"});
        QTest::newRow("Base composite, nothing removed") << "Gâteau" << true << false << refus << all;
        QTest::newRow("ordinary food above 233") << "Zeste" << true << true << QString() << all;
        QTest::newRow("question answered Annuler") << "Zeste" << false << false << QString() << all;
    }
    void deletion() {
        QFETCH(QString, food);
        QFETCH(bool, answer);
        QFETCH(bool, deleted);
        QFETCH(QString, message);
        QFETCH(QStringList, linesLeft);
        goTo(food);
        ScriptedPrompter p(dir->run());
        p.answer(answer);
        QCOMPARE(editor->supprime(), deleted);
        QCOMPARE(p.asked.first().text, QStringLiteral("Supprimer l'enregistrement ?"));
        QCOMPARE(p.asked.first().byDefault, Prompter::Default::No);   // Enter alone deletes nothing
        QCOMPARE(p.asked.size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty()) QCOMPARE(p.asked.last().text, message);
        QCOMPARE(names().contains(food), !deleted);
        QCOMPARE(lineOwners(), linesLeft);
        // A refused food stays current.
        if (!deleted) QCOMPARE(foods->asString(QStringLiteral("NOM")), food);
    }

    // A food being added is dropped, whatever number it carries.
    void deletingANewFoodDropsIt() {
        QVERIFY(editor->insere());
        editor->ecritTexte(QStringLiteral("NOM"), QStringLiteral("Brouillon"));
        ScriptedPrompter p(dir->run());
        p.answer(true);
        QVERIFY(editor->supprime());
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(foods->state(), Table::State::Browse);
        QCOMPARE(names().size(), 7);
    }

    // Orphans go like any composite above 233: a composite without lines, and
    // lines whose food had gone, deleted through a food of their name.
    void orphanComposites() {
        foods->close();
        Fixtures::appendRecords(foodSchema(), foodFile(),
                                {FoodFixture::food(400, QStringLiteral("Soupe"), CategorieComposee),
                                 FoodFixture::food(401, QStringLiteral("Gratin"), CategorieComposee)});
        foods->open();
        ScriptedPrompter p(dir->run());
        for (const QString& nom : {QStringLiteral("Soupe"), QStringLiteral("Gratin")}) {
            goTo(nom);
            p.answer(true);
            QVERIFY(editor->supprime());
            QVERIFY(!names().contains(nom) && !lineOwners().contains(nom));
        }
        QCOMPARE(p.unexpected, 0);
    }

    // What is typed into a box: a decimal number takes "," or "." as its
    // point whatever the locale; anything else is refused with the field
    // named, as is the composite category for an ordinary food, and the
    // field keeps its value.
    void typedTexts_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");   // the value read, or the start of the refusal
        const auto refus = [](const char* t) {
            return QVariant(
                QStringLiteral("'%1' n'est pas une valeur flottante correcte pour le champ 'PROT_V'")
                    .arg(QString::fromUtf8(t)));
        };
        QTest::newRow("decimal comma") << "PROT_V"
                                       << "1,5" << QVariant(1.5);
        QTest::newRow("decimal point") << "PROT_V"
                                       << "1.5" << QVariant(1.5);
        QTest::newRow("blanks, sign, exponent") << "PROT_V"
                                                << " -2,5e1 " << QVariant(-25.0);
        QTest::newRow("comma then point") << "PROT_V"
                                          << "1,2.3" << refus("1,2.3");
        QTest::newRow("two points") << "PROT_V"
                                    << "1.2.3" << refus("1.2.3");
        QTest::newRow("stray letter") << "PROT_V"
                                      << "1x5" << refus("1x5");
        QTest::newRow("group separator") << "PROT_V"
                                         << "1 000" << refus("1 000");
        QTest::newRow("separator alone") << "PROT_V"
                                         << "," << refus(",");
        QTest::newRow("composite category")
            << "CATEGORIE" << CategorieComposee
            << QVariant(QStringLiteral("La catégorie « PRODUITS COMPOSÉS » est celle "
                                       "des aliments composés"));
    }
    void typedTexts() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        goTo(QStringLiteral("Zeste"));
        const QString before = foods->asString(field);
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
            QLocale::setDefault(locale);
            if (expected.typeId() == QMetaType::Double) {
                editor->ecritTexte(field, text);
                QCOMPARE(foods->asFloat(field), expected.toDouble());
                editor->annule();
            } else {
                EXPECT_DATA_ERROR(StartsWith, expected.toString(), editor->ecritTexte(field, text));
                QCOMPARE(foods->asString(field), before);
            }
        }
    }

    void checksBeforeWriting_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << "NOM"
                                    << "   "
                                    << "n'a pas de nom";
        QTest::newRow("name of another food") << "NOM"
                                              << "Pomme"
                                              << "« Pomme » est déjà celui de l'aliment n° 1";
        QTest::newRow("same name, other case") << "NOM"
                                               << "POMME  "
                                               << "est déjà celui de l'aliment n° 1 (« Pomme »)";
        QTest::newRow("accented capital") << "NOM"
                                          << "GÂTEAU"
                                          << "l'aliment n° 120";
        QTest::newRow("blanks before the name") << "NOM"
                                                << "  pomme "
                                                << "est déjà celui de l'aliment n° 1 (« Pomme »)";
        QTest::newRow("blank category") << "CATEGORIE"
                                        << ""
                                        << "n'a pas de catégorie";
        QTest::newRow("negative value") << "VIT_C"
                                        << "-0.5"
                                        << "La valeur de VIT_C de l'aliment « Zeste » est négative (-0.5)";
    }
    void checksBeforeWriting() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        goTo(QStringLiteral("Zeste"));
        const QByteArray before = Files::bytesOf(foodFile());
        editor->ecritTexte(field, value);
        ScriptedPrompter p(dir->run());
        QVERIFY(!editor->confirme());
        QCOMPARE(p.asked.size(), 1);
        QVERIFY2(p.lastText().contains(message), qPrintable(p.lastText()));
        QCOMPARE(foods->state(), Table::State::Edit);
        // A move is refused as well, with the same message, and nothing is written.
        QVERIFY(!editor->ecritAvantDeplacement());
        QCOMPARE(p.asked.size(), 2);
        QCOMPARE(Files::bytesOf(foodFile()), before);
    }

    void aFoodKeepsItsOwnName() {
        goTo(QStringLiteral("Zeste"));
        editor->ecritTexte(QStringLiteral("NOM"), QStringLiteral("  zeste "));   // stored without outer blanks
        QVERIFY(editor->confirme());
        QVERIFY(names().contains(QStringLiteral("zeste")));
    }

    void typedNumbers() {
        goTo(QStringLiteral("Zeste"));
        EXPECT_DATA_ERROR(
            Equals, QStringLiteral("'1.2.3' n'est pas une valeur flottante correcte pour le champ 'PROT_V'"),
            editor->ecritTexte(QStringLiteral("PROT_V"), QStringLiteral("1.2.3")));
        editor->ecritTexte(QStringLiteral("PROT_V"), QStringLiteral("2.5e1"));
        editor->ecritTexte(QStringLiteral("PROT_A"), QString());   // emptied: blank, reads 0
        QVERIFY(editor->ecritAvantDeplacement());
        foods->first();
        auto f = DbfFile::open(foodFile(), true);
        const int zeste = names().indexOf(QStringLiteral("Zeste"));
        QCOMPARE(f->number(zeste, f->fieldIndex(QStringLiteral("PROT_V"))), 25.0);
        QVERIFY(f->fieldData(zeste, f->fieldIndex(QStringLiteral("PROT_A")))[0] == ' ');
        QCOMPARE(f->number(zeste, f->fieldIndex(QStringLiteral("PROT_A"))), 0.0);
    }

    // A change is written by a move and lost by closing; cancelling restores it.
    void writtenOnMoveDroppedOnClose() {
        goTo(QStringLiteral("Salade"));
        editor->ecritTexte(QStringLiteral("CA"), QStringLiteral("42"));
        editor->annule();
        QCOMPARE(foods->asFloat(QStringLiteral("CA")), 0.0);
        editor->ecritTexte(QStringLiteral("CA"), QStringLiteral("42"));
        QVERIFY(editor->ecritAvantDeplacement());
        foods->next();
        goTo(QStringLiteral("Beurre"));
        editor->ecritTexte(QStringLiteral("CA"), QStringLiteral("7"));
        foods->close();
        const QStringList ca = FoodFixture::column(foodFile(), QStringLiteral("CA"));
        QCOMPARE(ca.at(names().indexOf(QStringLiteral("Salade"))), QStringLiteral("42"));
        QCOMPARE(ca.at(names().indexOf(QStringLiteral("Beurre"))), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestFoodEditor)
#include "tst_foodeditor.moc"
