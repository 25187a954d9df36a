// Browsing the Food table without a window: the name search and the category
// jump on their nearest keys, the order kept or set back afterwards, the
// energy of each food, and the two sizes of a printed window image.
#include <QtTest>

#include "core/foodtable/foodbrowser.h"
#include "core/foodtable/imagescale.h"
#include "core/table/table.h"
#include "foodfixture.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

Q_DECLARE_METATYPE(FoodBrowser::Tri)

class TestFoodBrowser : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> dir;
    std::unique_ptr<Table> foods;
    QString nom() const { return foods->asString(QStringLiteral("NOM")); }

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        FoodFixture::write(dir->path());
        foods = std::make_unique<Table>(dir->run(), foodSchema());
        foods->setReadOnly(true);
        FoodBrowser::ajouteKcal(*foods);
    }
    void cleanup() {
        foods.reset();
        dir.reset();
    }

    void nameSearch_data() {
        QTest::addColumn<FoodBrowser::Tri>("before");
        QTest::addColumn<QVariant>("entry");   // a null QVariant cancels
        QTest::addColumn<QString>("landsOn");
        QTest::addColumn<QString>("index");
        using T = FoodBrowser::Tri;
        QTest::newRow("empty entry: first name") << T::Numero << QVariant(QString()) << "Beurre"
                                                 << "NOM";
        QTest::newRow("beginning of a name") << T::Categorie << QVariant(QStringLiteral("Ta")) << "Tarte maison"
                                             << "NOM";
        QTest::newRow("accents and case aside") << T::Numero << QVariant(QStringLiteral("gat")) << "Gâteau"
                                                << "NOM";
        QTest::newRow("a whole name in other case") << T::Numero << QVariant(QStringLiteral("pomme")) << "Pomme"
                                                    << "NOM";
        QTest::newRow("between two names") << T::Numero << QVariant(QStringLiteral("Pomz")) << "Salade"
                                           << "NOM";
        QTest::newRow("after every name: the last") << T::Numero << QVariant(QStringLiteral("Zz")) << "Zeste"
                                                    << "NOM";
        QTest::newRow("cancelled in category order") << T::Categorie << QVariant() << "Poire"
                                                     << "CATEGORIE";
    }
    void nameSearch() {
        QFETCH(FoodBrowser::Tri, before);
        QFETCH(QVariant, entry);
        QFETCH(QString, landsOn);
        QFETCH(QString, index);
        FoodBrowser browser(*foods);
        browser.setSortOrder(before);
        foods->open();
        QVERIFY(foods->locate(QStringLiteral("NOM"), QStringLiteral("Poire")));
        ScriptedPrompter p(dir->run());
        if (entry.isValid())
            p.answer(entry.toString());
        else
            p.cancel();
        QCOMPARE(browser.chercheNom(), entry.isValid());
        QCOMPARE(p.asked.first().title, QStringLiteral("Recherche d'un aliment"));
        QCOMPARE(p.asked.first().text, QStringLiteral("Entrer le début d'un nom : "));
        QCOMPARE(nom(), landsOn);
        QCOMPARE(foods->indexName(), index);
        QCOMPARE(FoodBrowser::index(browser.tri()), index);
    }

    // The order changes, the food stays; a closed handle keeps the order for
    // its next opening, on its first food.
    void orderKeepsTheFood() {
        FoodBrowser browser(*foods);
        foods->open();
        QVERIFY(foods->locate(QStringLiteral("NOM"), QStringLiteral("Salade")));
        browser.setSortOrder(FoodBrowser::Tri::Nom);
        QCOMPARE(nom(), QStringLiteral("Salade"));
        foods->next();
        QCOMPARE(nom(), QStringLiteral("Tarte maison"));
        browser.setSortOrder(FoodBrowser::Tri::Categorie);
        QCOMPARE(nom(), QStringLiteral("Tarte maison"));
        foods->close();
        foods->open();
        QCOMPARE(foods->indexName(), QStringLiteral("CATEGORIE"));
        QCOMPARE(browser.categorie(), categories()[9]);   // FRUITS sorts first
    }

    void categoryJump_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("food");
        QTest::newRow("a category with foods") << categories()[12] << categories()[12] << "Tarte maison";
        QTest::newRow("no food: the next one") << categories()[8] << categories()[7] << "Salade";
        QTest::newRow("after every category: the last food") << "ZZ" << categories()[12] << "Gâteau";
    }
    void categoryJump() {
        QFETCH(QString, chosen);
        QFETCH(QString, category);
        QFETCH(QString, food);
        FoodBrowser browser(*foods);
        foods->open();
        browser.sauteCategorie(chosen);
        QCOMPARE(browser.tri(), FoodBrowser::Tri::Categorie);
        QCOMPARE(browser.categorie(), category);
        QCOMPARE(nom(), food);
    }

    void energy_data() {
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<double>("kcal");
        QTest::newRow("no macronutrient") << QVariantMap() << 0.0;
        QTest::newRow("10, 5, 2 and 8")
            << QVariantMap({{"PROT_A", 10.0}, {"LIPI_A", 5.0}, {"GLUC_S", 2.0}, {"GLUC_A", 8.0}}) << 125.0;
        QTest::newRow("the six, unrounded") << QVariantMap({{"PROT_A", 0.1},
                                                            {"PROT_V", 0.2},
                                                            {"LIPI_A", 0.05},
                                                            {"LIPI_V", 0.05},
                                                            {"GLUC_S", 0.3},
                                                            {"GLUC_A", 0.01},
                                                            {"CA", 500.0}})
                                            << 3.34;
    }
    void energy() {
        QFETCH(QVariantMap, values);
        QFETCH(double, kcal);
        const QString path = Fixtures::createEmpty(foodSchema(), dir->path());
        values["NUMERO"] = 1;
        values["NOM"] = QStringLiteral("Essai");
        Fixtures::appendRecords(foodSchema(), path, {values});
        foods->open();
        QVERIFY(qAbs(foods->asFloat(QStringLiteral("KCAL")) - kcal) < 1e-9);
    }

    void imageSizes_data() {
        QTest::addColumn<QSize>("printerDpi");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<QSize>("proportional");
        QTest::addColumn<QSize>("fit");
        // 378 x 315 at 96 dpi; 315 x 600 / 96 = 1968.75, 378 x 4960 / 315 = 5952.
        QTest::newRow("600 dpi, A4 portrait")
            << QSize(600, 600) << QSize(4960, 7016) << QSize(2363, 1969) << QSize(4960, 4133);
        QTest::newRow("300 dpi, A4 landscape")
            << QSize(300, 300) << QSize(3508, 2480) << QSize(1181, 984) << QSize(2976, 2480);
        QTest::newRow("unequal dots per inch")
            << QSize(600, 300) << QSize(1000, 1000) << QSize(2363, 984) << QSize(1000, 833);
    }
    void imageSizes() {
        QFETCH(QSize, printerDpi);
        QFETCH(QSize, page);
        QFETCH(QSize, proportional);
        QFETCH(QSize, fit);
        QCOMPARE(ImageScale::proportionnelle(QSize(378, 315), printerDpi, QSize(96, 96)), proportional);
        QCOMPARE(ImageScale::pleinePage(QSize(378, 315), page), fit);
    }

    void mulDivRoundsHalvesAway() {
        QCOMPARE(ImageScale::mulDiv(5, 1, 2), 3);
        QCOMPARE(ImageScale::mulDiv(-5, 1, 2), -3);
        QCOMPARE(ImageScale::mulDiv(7, 1, 3), 2);
        QCOMPARE(ImageScale::mulDiv(1, 1, 0), 0);
    }
};

QTEST_GUILESS_MAIN(TestFoodBrowser)
#include "tst_foodbrowser.moc"
