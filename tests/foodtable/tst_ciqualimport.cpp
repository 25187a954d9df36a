// Adding foods of the whole CIQUAL table to the Food table, without a window,
// on the supplied tables and the CIQUAL.DBF the build writes: the food and
// its side tables on disk, the refusals (a food already there, a name already
// taken), several foods at once, and a renamed or deleted food. Every result
// is read back from the files.
#include <QtTest>

#include "core/ciqual/ciqualcatalogue.h"
#include "core/ciqual/ciqualimport.h"
#include "core/ciqual/ciqualnames.h"
#include "core/compose/nonmesures.h"
#include "core/foodtable/foodeditor.h"
#include "core/foodtable/foodorigins.h"
#include "core/table/table.h"
#include "foodfixture.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {
// Salsifis: a long name, five values CIQUAL did not measure. Asperge: a
// cooking phrase shortened. 6271: the CIQUAL food of the Base food n° 4.
const QString kSalsifis = QStringLiteral("20197"), kAsperge = QStringLiteral("20299"),
              kPaleron = QStringLiteral("6271");
}   // namespace

class TestCiqualImport : public QObject {
    Q_OBJECT
    TempDataDir catalogueRun;   // the run the catalogue's handle belongs to
    std::unique_ptr<CiqualCatalogue> catalogue;
    std::unique_ptr<TempDataDir> dir;
    std::unique_ptr<Table> foods;
    std::unique_ptr<ScriptedPrompter> prompter;

    int entry(const QString& code) const { return catalogue->indexOfCode(code); }
    QString file(const char* name) const { return dir->file(QString::fromLatin1(name)); }
    QVector<CiqualImport::Food> add(const QStringList& codes) {
        QVector<int> entries;
        for (const QString& c : codes) entries << entry(c);
        return CiqualImport(*foods, *catalogue, *prompter).add(entries);
    }

private slots:
    void initTestCase() {
        catalogue = std::make_unique<CiqualCatalogue>(catalogueRun.run(), Fixtures::ciqualTable());
    }
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::copySuppliedTables(dir->path());
        foods = std::make_unique<Table>(dir->run(), foodSchema());
        foods->open();
        prompter = std::make_unique<ScriptedPrompter>(dir->run());
    }
    void cleanup() {
        prompter.reset();
        foods.reset();
        dir.reset();
    }

    void catalogueInNameOrder() {
        QCOMPARE(catalogue->size(), 3185);
        const QStringList names = catalogue->names();
        QVERIFY(names.indexOf(QStringLiteral("Abricot, dénoyauté, cru")) <
                names.indexOf(QStringLiteral("Épinard, cru")));
        const int i = entry(kSalsifis);
        QCOMPARE(catalogue->entry(i).name, QStringLiteral("Salsifis noir, ou scorsonère d'Espagne, cru"));
        QCOMPARE(catalogue->category(i), categories().at(7));
        QCOMPARE(catalogue->unmeasured(i), QStringList({"A_G_MONO", "A_G_POLY", "ZN", "MN", "VIT_B9"}));
    }

    // The food, under the next number, with its values, its unmeasured
    // values marked for the diagnosis and its code for the food windows.
    void addsAFoodWithItsSideTables() {
        const int i = entry(kSalsifis);
        const QVector<CiqualImport::Food> added = add({kSalsifis});
        QCOMPARE(added.size(), 1);
        const QString nom = CiqualNames::shortName(catalogue->entry(i).name);
        QCOMPARE(added[0].numero, 234);
        QCOMPARE(added[0].nom, nom);
        QCOMPARE(prompter->lastText(),
                 QStringLiteral("L'aliment n° 234 « %1 » est ajouté à la table des aliments, "
                                "dans la catégorie LÉGUMES NON FÉCULENTS.")
                     .arg(nom));
        Table onDisk(dir->run(), foodSchema());
        onDisk.open();
        QVERIFY(onDisk.locate(QStringLiteral("NOM"), nom));
        QCOMPARE(onDisk.asFloat(QStringLiteral("NUMERO")), 234.0);
        QCOMPARE(onDisk.asString(QStringLiteral("CATEGORIE")), categories().at(7));
        for (const Nutrient& n : nutrients())
            QCOMPARE(onDisk.asFloat(QLatin1String(n.field)), catalogue->value(i, QLatin1String(n.field)));
        const QSet<int> marks = marquesDesAliments(dir->path()).value(nom);
        QCOMPARE(marks.size(), 5);
        QVERIFY(marks.contains(DailyTotals::VIT_B9) && marks.contains(DailyTotals::ZN));
        QCOMPARE(FoodOrigins::read(dir->path()).textOf(234, nom), QStringLiteral("CIQUAL 2020, code 20197"));
        QCOMPARE(CiqualImport(*foods, *catalogue, *prompter).inTable(i).numero, 234);
    }

    // A food already in the table (a Base food, or one added before) is
    // refused with its number; a name another food bears asks for another.
    void refusals_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QVariantList>("answers");   // to the name prompts: a text, or null for Annuler
        QTest::addColumn<QString>("said");           // the first box
        QTest::addColumn<QString>("added");          // the name added, "" when none
        QTest::newRow("a Base food's")
            << kPaleron << QVariantList{}
            << "« Boeuf, paleron, braisé ou bouilli » (CIQUAL 2020, code 6271) est déjà dans la table des "
               "aliments : c'est l'aliment n° 4 « Boeuf pot-au-feu, cuit ». Il n'est pas ajouté une seconde "
               "fois."
            << "";
        QTest::newRow("name taken, cancelled")
            << kAsperge << QVariantList{QVariant()}
            << "Le nom « Asperge verte, bouillie » est déjà celui de l'aliment n° 500.\nNom à donner à « "
               "Asperge "
               "verte, bouillie/cuite à l'eau » (CIQUAL 2020, code 20299), 30 caractères au plus :"
            << "";
        QTest::newRow("name taken, another given")
            << kAsperge
            << QVariantList{QStringLiteral("asperge verte, BOUILLIE"), QString(),
                            QStringLiteral("Asperge verte, cuite à l'eau, sans sel"),
                            QStringLiteral(" Asperge  verte cuite ")}
            << "Le nom « Asperge verte, bouillie » est déjà celui de l'aliment n° 500.\nNom à donner à « "
               "Asperge "
               "verte, bouillie/cuite à l'eau » (CIQUAL 2020, code 20299), 30 caractères au plus :"
            << "Asperge verte cuite";
    }
    void refusals() {
        QFETCH(QString, code);
        QFETCH(QVariantList, answers);
        QFETCH(QString, said);
        QFETCH(QString, added);
        foods->close();
        Fixtures::appendRecords(
            foodSchema(), file("DIETAB.DBF"),
            {FoodFixture::food(500, QStringLiteral("Asperge verte, bouillie"), categories()[7])});
        foods->open();
        for (const QVariant& a : answers) a.isNull() ? prompter->cancel() : prompter->answer(a.toString());
        const QByteArray before = Files::bytesOf(file("DIETAB.DBF"));
        const QVector<CiqualImport::Food> done = add({code});
        QCOMPARE(prompter->asked.first().text, said);
        QCOMPARE(prompter->unexpected, 0);
        if (added.isEmpty()) {
            QVERIFY(done.isEmpty());
            QCOMPARE(Files::bytesOf(file("DIETAB.DBF")), before);
            return;
        }
        // Each unfit name is asked again, the reason first.
        QCOMPARE(prompter->asked.size(), answers.size() + 1);
        QVERIFY(prompter->asked[2].text.startsWith(QStringLiteral("Le nom ne peut pas être vide.")));
        QVERIFY(prompter->asked[3].text.startsWith(
            QStringLiteral("Le nom « Asperge verte, cuite à l'eau, sans sel » a 38 caractères")));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0].nom, added);
        QCOMPARE(done[0].numero, 501);
    }

    // Several foods at once: each under its own number, the one already
    // there told and skipped, one message for those added.
    void severalAtOnce() {
        add({kSalsifis});
        prompter->asked.clear();
        const QVector<CiqualImport::Food> done = add({kAsperge, kSalsifis, kPaleron, QStringLiteral("20103")});
        QCOMPARE(done.size(), 2);
        QCOMPARE(done[0].numero, 235);
        QCOMPARE(done[1].numero, 236);
        QCOMPARE(prompter->asked.size(), 3);
        QVERIFY(prompter->asked[0].text.contains(QStringLiteral("c'est l'aliment n° 234")));
        QVERIFY(prompter->asked[1].text.contains(QStringLiteral("c'est l'aliment n° 4 ")));
        QCOMPARE(prompter->asked[2].text,
                 QStringLiteral("2 aliments sont ajoutés à la table des aliments :\n"
                                "n° 235 « Asperge verte, bouillie » (LÉGUMES NON FÉCULENTS)\n"
                                "n° 236 « Champignon, chanterelle » (LÉGUMES NON FÉCULENTS)"));
    }

    // Renamed in the editing window, an added food keeps its code and its
    // marks (it is still refused a second time); deleted, it can be added
    // again, and its number's old records do not stay beside the new ones.
    void renamedThenDeleted() {
        add({kSalsifis});
        Table lines(dir->run(), compositeSchema());
        lines.open();
        {
            FoodEditor editor(*foods, lines);
            QVERIFY(foods->locate(QStringLiteral("NOM"),
                                  CiqualNames::shortName(catalogue->entry(entry(kSalsifis)).name)));
            editor.ecritTexte(QStringLiteral("NOM"), QStringLiteral("Scorsonère, crue"));
            QVERIFY(editor.confirme());
        }
        QCOMPARE(FoodOrigins::read(dir->path()).textOf(234, QStringLiteral("Scorsonère, crue")),
                 QStringLiteral("CIQUAL 2020, code 20197"));
        QCOMPARE(marquesDesAliments(dir->path()).value(QStringLiteral("Scorsonère, crue")).size(), 5);
        prompter->asked.clear();
        QVERIFY(add({kSalsifis}).isEmpty());
        QVERIFY(prompter->lastText().contains(QStringLiteral("n° 234 « Scorsonère, crue »")));

        foods->deleteRecord();
        QCOMPARE(add({kSalsifis}).value(0).numero, 234);
        QCOMPARE(
            FoodFixture::column(file("NONMESUR.DBF"), QStringLiteral("NUMERO")).count(QStringLiteral("234")),
            1);
        QCOMPARE(
            FoodFixture::column(file("ORIGINES.DBF"), QStringLiteral("NUMERO")).count(QStringLiteral("234")),
            1);
    }

    // A renamed food takes its side-table records along, and only its own
    // (a record of the same number under another name is another table's).
    void followOnlyTheirFood_data() {
        QTest::addColumn<QString>("recorded");   // the name in the side tables for n° 7
        QTest::addColumn<QString>("before");     // the food's name before the rename
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("expected");   // the name in the side tables then
        QTest::newRow("its own") << "Salsifis"
                                 << "Salsifis"
                                 << "Scorsonère"
                                 << "Scorsonère";
        QTest::newRow("blanks around") << "Salsifis"
                                       << " Salsifis "
                                       << "Scorsonère "
                                       << "Scorsonère";
        QTest::newRow("letter case only") << "Salsifis"
                                          << "Salsifis"
                                          << "SALSIFIS"
                                          << "SALSIFIS";
        QTest::newRow("another food's") << "Navet"
                                        << "Salsifis"
                                        << "Scorsonère"
                                        << "Navet";
    }
    void followOnlyTheirFood() {
        QFETCH(QString, recorded);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, expected);
        TempDataDir dir;   // without the supplied side tables
        FoodOrigins::note(dir.run(), dir.path(),
                          {7, recorded, QStringLiteral("CIQUAL 2020"), QStringLiteral("20197")});
        Fixtures::createEmpty(nonMesuresSchema(), dir.path());
        FichierNonMesures::marque(dir.run(), dir.path(), 7, recorded, {QStringLiteral("ZN")});
        FoodOrigins::rename(dir.run(), dir.path(), 7, before, after);
        FichierNonMesures::renomme(dir.run(), dir.path(), 7, before, after);
        for (const char* side : {"ORIGINES.DBF", "NONMESUR.DBF"})
            QCOMPARE(FoodFixture::column(dir.file(QLatin1String(side)), QStringLiteral("NOM")),
                     QStringList{expected});
    }
};

QTEST_GUILESS_MAIN(TestCiqualImport)
#include "tst_ciqualimport.moc"
