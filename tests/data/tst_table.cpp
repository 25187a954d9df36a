// Table handle: cursor and end-of-table, index tags and their order, find by
// key, find nearest, locate and filters.
#include <QFile>
#include <QtTest>

#include <random>

#include "core/dbf/collation.h"
#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/recordbuilder.h"
#include "support/testsupport.h"

namespace {

struct Food {
    int numero;
    QString nom;
    QString categorie;
    double protA;
};

// A Food table holding the given foods, in that record order.
void writeFoods(const QString& dir, const QVector<Food>& foods) {
    const QString path = Fixtures::createEmpty(foodSchema(), dir);
    QVector<QVariantMap> records;
    for (const Food& f : foods) {
        QVariantMap m;
        m["NUMERO"] = f.numero;
        m["NOM"] = f.nom;
        m["CATEGORIE"] = f.categorie;
        m["PROT_A"] = f.protA;
        records << m;
    }
    Fixtures::appendRecords(foodSchema(), path, records);
}

QStringList names(Table& t) {
    QStringList out;
    for (t.first(); !t.eof(); t.next()) out << t.asString(QStringLiteral("NOM"));
    return out;
}

const QString kFruits = QStringLiteral("FRUITS");
const QString kLegumes = QStringLiteral("LÉGUMES NON FÉCULENTS");

QVector<Food> mixedFoods() {
    return {{1, QStringLiteral("Pomme"), kFruits, 0.3},
            {2, QStringLiteral("Épinards, cuits"), kLegumes, 3},
            {3, QStringLiteral("Zeste d'orange"), kFruits, 1.5},
            {4, QStringLiteral("Epinards"), kLegumes, 3},
            {5, QStringLiteral("abricot"), kFruits, 0.3},
            {6, QStringLiteral("pomme"), kFruits, 0.3},
            {7, QStringLiteral("Œuf dur"), QStringLiteral("OEUFS, LAIT, FROMAGES"), 12.5},
            {8, QStringLiteral("Oeuf brouillé"), QStringLiteral("OEUFS, LAIT, FROMAGES"), 10},
            {9, QStringLiteral("Céleri"), kLegumes, 0.3},
            {10, QStringLiteral("Cèpe"), kLegumes, 2}};
}

}   // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    // Text keys in French order: letters without accents or case first, then
    // the exact text, then the record number.
    void frenchOrder() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.open();
        QCOMPARE(t.indexName(), QStringLiteral("NOM"));
        QCOMPARE(names(t), (QStringList{"abricot", "Céleri", "Cèpe", "Epinards", "Épinards, cuits",
                                        "Oeuf brouillé", "Œuf dur", "Pomme", "pomme", "Zeste d'orange"}));
    }

    void otherOrders_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("natural") << QString() << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("NUMERO") << QStringLiteral("NUMERO") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        // Largest first; equal values by name in French order.
        QTest::newRow("nutrient") << QStringLiteral("PROT_A") << QList<int>{7, 8, 4, 2, 10, 3, 5, 9, 1, 6};
        // By category, then by record number within a category.
        QTest::newRow("category") << QStringLiteral("categorie") << QList<int>{1, 3, 5, 6, 2, 4, 9, 10, 7, 8};
    }
    void otherOrders() {
        QFETCH(QString, tag);
        QFETCH(QList<int>, numbers);
        TempDataDir dir;
        QVector<Food> foods = mixedFoods();
        std::swap(foods[0], foods[9]);   // record order differs from NUMERO order
        std::swap(foods[0], foods[9]);
        writeFoods(dir.path(), foods);
        Table t(dir.run(), foodSchema());
        t.setIndexName(tag);
        t.open();
        QList<int> got;
        for (t.first(); !t.eof(); t.next()) got << int(t.asFloat(QStringLiteral("NUMERO")));
        QCOMPARE(got, numbers);
    }

    void numeroOrderIsNumeric() {
        TempDataDir dir;
        writeFoods(dir.path(), {{10, "Dix", kFruits, 0},
                                {9, "Neuf", kFruits, 0},
                                {100, "Cent", kFruits, 0},
                                {2, "Deux", kFruits, 0}});
        Table t(dir.run(), foodSchema());
        t.setIndexName(QStringLiteral("NUMERO"));
        t.open();
        QCOMPARE(names(t), (QStringList{"Deux", "Neuf", "Dix", "Cent"}));
    }

    void unknownTag() {
        TempDataDir dir;
        Table t(dir.run(), foodSchema());
        EXPECT_DATA_ERROR(Equals, QStringLiteral("L'index FIBRES n'existe pas pour la table DIETAB.DBF."),
                          t.setIndexName(QStringLiteral("FIBRES")));
        QCOMPARE(t.indexName(), QStringLiteral("NOM"));
    }

    void changingTagKeepsRecord() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.open();
        QVERIFY(t.findKey(QStringLiteral("Cèpe")));
        t.setIndexName(QStringLiteral("NUMERO"));
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Cèpe"));
        t.next();
        QVERIFY(t.eof());   // NUMERO 10 is the last one in that order
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Cèpe"));
    }

    void cursorRules() {
        TempDataDir dir;
        writeFoods(dir.path(), {{1, "A", kFruits, 0}, {2, "B", kFruits, 0}});
        Table t(dir.run(), foodSchema());
        t.open();
        QVERIFY(!t.eof());
        QVERIFY(t.bof());
        t.next();
        QCOMPARE(t.asString("NOM"), QStringLiteral("B"));
        QVERIFY(!t.eof());
        t.next();   // from the last record: stays there, end of table
        QVERIFY(t.eof());
        QCOMPARE(t.asString("NOM"), QStringLiteral("B"));
        t.prior();
        QVERIFY(!t.eof());
        QCOMPARE(t.asString("NOM"), QStringLiteral("A"));
        t.prior();
        QVERIFY(t.bof());
        t.last();
        QCOMPARE(t.currentRow(), 1);
        QVERIFY(!t.eof());
    }

    void emptyTable() {
        TempDataDir dir;
        Fixtures::createEmpty(foodSchema(), dir.path());
        Table t(dir.run(), foodSchema());
        t.open();
        t.first();
        QVERIFY(t.eof());
        QVERIFY(t.isEmpty());
        QCOMPARE(t.recordCount(), 0);
        QCOMPARE(t.currentRow(), -1);
        QCOMPARE(t.asFloat("PROT_A"), 0.0);
        QCOMPARE(t.asString("NOM"), QString());
        QVERIFY(!t.findKey("Pomme"));
        t.findNearest("Pomme");
        QVERIFY(t.eof());
    }

    void findKey_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("numero");   // 0: not found
        QTest::newRow("exact") << "NOM"
                               << "Pomme" << 1;
        QTest::newRow("other case is another key") << "NOM"
                                                   << "pomme" << 6;
        QTest::newRow("all capitals not found") << "NOM"
                                                << "POMME" << 0;
        QTest::newRow("accent matters") << "NOM"
                                        << "Epinards" << 4;
        QTest::newRow("accented") << "NOM"
                                  << "Épinards, cuits" << 2;
        QTest::newRow("trailing blanks ignored") << "NOM"
                                                 << "Cèpe   " << 10;
        QTest::newRow("prefix is not the key") << "NOM"
                                               << "Cèp" << 0;
        QTest::newRow("outside cp1252") << "NOM"
                                        << "Ānanas" << 0;
        QTest::newRow("number") << "NUMERO"
                                << "7" << 7;
        QTest::newRow("number with decimals") << "NUMERO"
                                              << "7.0" << 7;
        QTest::newRow("number missing") << "NUMERO"
                                        << "70" << 0;
        QTest::newRow("not a number") << "NUMERO"
                                      << "sept" << 0;
        QTest::newRow("nutrient value") << "PROT_A"
                                        << "12.5" << 7;
        QTest::newRow("category") << "CATEGORIE"
                                  << "FRUITS" << 1;
    }
    void findKey() {
        QFETCH(QString, tag);
        QFETCH(QString, key);
        QFETCH(int, numero);
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setIndexName(tag);
        t.open();
        t.next();
        t.next();
        const int before = t.currentRow();
        QSignalSpy moved(&t, &Table::currentChanged);
        QCOMPARE(t.findKey(key), numero != 0);
        if (numero) {
            QCOMPARE(int(t.asFloat("NUMERO")), numero);
            QCOMPARE(moved.count(), 1);
        } else {
            QCOMPARE(t.currentRow(), before);   // a failed search does not move
            QCOMPARE(moved.count(), 0);
        }
    }

    void findKeyWithoutTag() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setIndexName(QString());
        t.open();
        QVERIFY_THROWS_EXCEPTION(DataError, t.findKey("Pomme"));
    }

    void findNearest_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("nom");
        QTest::newRow("start of a name") << "NOM"
                                         << "Epi"
                                         << "Epinards";
        QTest::newRow("without accent finds accented") << "NOM"
                                                       << "epinards, c"
                                                       << "Épinards, cuits";
        QTest::newRow("lower case") << "NOM"
                                    << "ce"
                                    << "Céleri";
        QTest::newRow("a name in other case: the first of its letters") << "NOM"
                                                                        << "pomme"
                                                                        << "Pomme";
        QTest::newRow("accented: the first of its letters")
            << "NOM" << QStringLiteral("épinards") << "Epinards";
        QTest::newRow("between names") << "NOM"
                                       << "Cf"
                                       << "Epinards";
        QTest::newRow("ligature as two letters") << "NOM"
                                                 << "oeuf d"
                                                 << "Œuf dur";
        QTest::newRow("before everything") << "NOM"
                                           << ""
                                           << "abricot";
        QTest::newRow("past the end") << "NOM"
                                      << "zz"
                                      << "Zeste d'orange";
        QTest::newRow("category") << "CATEGORIE"
                                  << "L"
                                  << "Épinards, cuits";
        QTest::newRow("category past the end") << "CATEGORIE"
                                               << "Z"
                                               << "Oeuf brouillé";
        QTest::newRow("number") << "NUMERO"
                                << "6.5"
                                << "Œuf dur";
        QTest::newRow("nutrient: first not larger") << "PROT_A"
                                                    << "2.5"
                                                    << "Cèpe";
    }
    void findNearest() {
        QFETCH(QString, tag);
        QFETCH(QString, key);
        QFETCH(QString, nom);
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setIndexName(tag);
        t.open();
        t.findNearest(key);
        QCOMPARE(t.asString("NOM"), nom);
        QVERIFY(!t.eof());
    }

    void locate_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<int>("numero");
        QTest::newRow("exact") << "Nom"
                               << "pomme" << false << 6;
        QTest::newRow("ignoring case") << "NOM"
                                       << "POMME" << true << 1;   // first in NOM order
        QTest::newRow("ignoring case keeps accents") << "nom"
                                                     << "EPINARDS, CUITS" << true << 0;
        QTest::newRow("accented capitals") << "nom"
                                           << "ÉPINARDS, CUITS" << true << 2;
        QTest::newRow("whole value only") << "NOM"
                                          << "Pom" << true << 0;
        QTest::newRow("number") << "numero"
                                << "9" << false << 9;
        QTest::newRow("unknown value") << "NOM"
                                       << "Kiwi" << false << 0;
    }
    void locate() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, caseInsensitive);
        QFETCH(int, numero);
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.open();
        t.last();
        QCOMPARE(t.locate(field, value, caseInsensitive), numero != 0);
        QCOMPARE(int(t.asFloat("NUMERO")), numero ? numero : 3);   // else stays on the last
    }

    void unknownField() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.open();
        EXPECT_DATA_ERROR(Equals, QStringLiteral("Le champ PROTA n'existe pas dans la table DIETAB.DBF."),
                          t.asFloat(QStringLiteral("PROTA")));
        QVERIFY_THROWS_EXCEPTION(DataError, t.locate(QStringLiteral("X"), QStringLiteral("1")));
    }

    void filter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("category") << "CATEGORIE='" + kLegumes + "'" << false
                                  << QStringList{"Céleri", "Cèpe", "Epinards", "Épinards, cuits"};
        QTest::newRow("exact case required") << "CATEGORIE='légumes non féculents'" << false << QStringList{};
        QTest::newRow("case-insensitive, accents kept")
            << "CATEGORIE='légumes non féculents'" << true
            << QStringList{"Céleri", "Cèpe", "Epinards", "Épinards, cuits"};
        QTest::newRow("case-insensitive needs the accents")
            << "CATEGORIE='legumes non feculents'" << true << QStringList{};
        QTest::newRow("field name in any case, blanks")
            << "categorie = 'FRUITS' " << false << QStringList{"abricot", "Pomme", "pomme", "Zeste d'orange"};
        QTest::newRow("quote inside the value")
            << "NOM='Zeste d'orange'" << false << QStringList{"Zeste d'orange"};
        QTest::newRow("no match") << "NOM='Kiwi'" << false << QStringList{};
        QTest::newRow("number") << "NUMERO='7.0'" << false << QStringList{"Œuf dur"};
        QTest::newRow("not a number matches nothing") << "NUMERO='sept'" << false << QStringList{};
    }
    void filter() {
        QFETCH(QString, text);
        QFETCH(bool, caseInsensitive);
        QFETCH(QStringList, expected);
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setFilterCaseInsensitive(caseInsensitive);
        t.setFilter(text);
        t.setFiltered(true);
        t.open();
        QCOMPARE(names(t), expected);
        QCOMPARE(t.recordCount(), expected.size());
        QCOMPARE(t.rowCount(), expected.size());
        for (int r = 0; r < expected.size(); ++r) QCOMPARE(t.valueAt(r, "NOM").toString(), expected[r]);
        t.setFiltered(false);
        QCOMPARE(t.recordCount(), 10);
    }

    void filterRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString form = QStringLiteral(
            "Le filtre « %1 » de la table DIETAB.DBF n'est pas "
            "valide : il doit avoir la forme CHAMP='valeur'.");
        QTest::newRow("no equals") << "CATEGORIE" << form.arg("CATEGORIE");
        QTest::newRow("no quotes") << "CATEGORIE=FRUITS" << form.arg("CATEGORIE=FRUITS");
        QTest::newRow("unclosed quote") << "CATEGORIE='FRUITS" << form.arg("CATEGORIE='FRUITS");
        QTest::newRow("text after the quote") << "NOM='a' OR 1" << form.arg("NOM='a' OR 1");
        QTest::newRow("no field") << "='a'" << form.arg("='a'");
        QTest::newRow("unknown field")
            << "COULEUR='rouge'"
            << QStringLiteral("Le filtre de la table DIETAB.DBF porte sur le champ COULEUR, qui n'existe pas.");
    }
    void filterRefused() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.open();
        t.setFilter(text);   // not checked while off
        EXPECT_DATA_ERROR(Equals, message, t.setFiltered(true));
        QVERIFY(!t.filtered());
        QCOMPARE(t.recordCount(), 10);

        // Set while on: refused and the previous filter stays.
        t.setFilter(QStringLiteral("CATEGORIE='FRUITS'"));
        t.setFiltered(true);
        QVERIFY_THROWS_EXCEPTION(DataError, t.setFilter(text));
        QCOMPARE(t.filter(), QStringLiteral("CATEGORIE='FRUITS'"));
        QCOMPARE(t.recordCount(), 4);
    }

    // A name holding quotes is matched exactly by setFilterValue.
    void filterValue() {
        TempDataDir dir;
        writeFoods(
            dir.path(),
            {{1, "Tarte 'maison'", kFruits, 0}, {2, "Tarte", kFruits, 0}, {3, "Tarte 'maison' ", kFruits, 0}});
        Table t(dir.run(), foodSchema());
        t.open();
        t.setFiltered(true);
        t.setFilterValue(QStringLiteral("nom"), QStringLiteral("Tarte 'maison'"));
        QCOMPARE(t.recordCount(), 2);   // trailing blanks do not count
        t.setFilterValue(QStringLiteral("NOM"), QStringLiteral("Tarte"));
        QCOMPARE(names(t), QStringList{"Tarte"});
    }

    // A search by key sees only the records that pass the filter.
    void filterAndSearch() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setFilter("CATEGORIE='" + kLegumes + "'");
        t.setFiltered(true);
        t.open();
        QVERIFY(!t.findKey("Pomme"));
        QVERIFY(t.findKey("Cèpe"));
        t.findNearest("P");   // every visible name is smaller: the last visible one
        QCOMPARE(t.asString("NOM"), QStringLiteral("Épinards, cuits"));
        QVERIFY(!t.locate("NOM", "abricot"));
        t.setFilter("CATEGORIE='" + kFruits + "'");
        QCOMPARE(t.asString("NOM"), QStringLiteral("abricot"));   // first of the new view
    }

    void calculatedFieldOnEveryRow() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.addCalculatedField(QStringLiteral("KCAL"));
        int calls = 0;
        t.onCalcFields = [&](Table& tb) {
            ++calls;
            tb.setCalculated(QStringLiteral("KCAL"), 4 * tb.asFloat(QStringLiteral("PROT_A")));
        };
        t.setIndexName(QStringLiteral("NUMERO"));
        t.open();
        QCOMPARE(t.fieldNames().last(), QStringLiteral("KCAL"));
        QCOMPARE(t.asFloat("KCAL"), 1.2);
        // Another row, without moving the cursor nor emitting anything.
        QSignalSpy moved(&t, &Table::currentChanged);
        QCOMPARE(t.valueAt(6, "kcal").toDouble(), 50.0);
        QCOMPARE(t.currentRow(), 0);
        QCOMPARE(moved.count(), 0);
        const int before = calls;
        QCOMPARE(t.valueAt(6, "KCAL").toDouble(), 50.0);
        QCOMPARE(calls, before);   // cached
        QVERIFY(!t.valueAt(99, "KCAL").isValid());
        QVERIFY(t.locate("KCAL", "40"));
        QCOMPARE(t.asString("NOM"), QStringLiteral("Oeuf brouillé"));
    }

    // A large table builds its tags another way (two threads, radix sorts on
    // exact or on 64-bit keys): every tag must still be in the tag's order.
    void largeTableOrders_data() {
        QTest::addColumn<QString>("tag");
        for (const char* t : {"NOM", "CATEGORIE", "NUMERO", "PROT_A", "PROT_V", "CA"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void largeTableOrders() {
        QFETCH(QString, tag);
        TempDataDir dir;
        const int n = 25000;
        const QString path = Fixtures::createEmpty(foodSchema(), dir.path());
        {
            // The records are laid out directly: PROT_V holds texts with more
            // decimals than its field declares, CA a range wider than 2^32
            // steps of its last decimal.
            auto file = DbfFile::open(path, true);
            QByteArray image = Files::bytesOf(path);
            QVERIFY(!image.isEmpty());
            image.chop(1);
            std::mt19937 rng(7);
            const QStringList words = {"Épinards", "epinards", "Pomme", "pomme", "Œuf", "oeuf", "Cèpe"};
            for (int i = 0; i < n; ++i) {
                RecordBuilder rec(*file);
                rec.set("NUMERO", i + 1)
                    .set("NOM", words[int(rng() % 7)] + (rng() % 3 ? QString() : QStringLiteral(" cuit")))
                    .set("CATEGORIE", categories()[int(rng() % 14)])
                    .set("PROT_A", (rng() % 8) * 0.25)
                    .setRaw("PROT_V",
                            QByteArray::number((rng() % 5) * 0.1234567, 'f', 7).rightJustified(14, ' '))
                    .set("CA", (rng() % 3) ? (rng() % 4) * 2500000.5 : -999999.999999);
                image += rec.withFlag();
            }
            image += '\x1a';
            for (int b = 0; b < 4; ++b) image[4 + b] = char((n >> (8 * b)) & 0xFF);
            QVERIFY(Files::writeBytes(path, image));
        }
        Table t(dir.run(), foodSchema());
        t.setIndexName(tag);
        t.open();
        QCOMPARE(t.rowCount(), n);
        auto check = [&] {
            const bool text = tag == "NOM" || tag == "CATEGORIE";
            const bool down = nutrientTags().contains(tag);
            for (int r = 0; r + 1 < t.rowCount(); ++r) {
                const double na = t.valueAt(r, "NUMERO").toDouble(), nb = t.valueAt(r + 1, "NUMERO").toDouble();
                int c = 0;
                if (text) {
                    c = Collation::compare(Collation::key(t.valueAt(r, tag).toString()),
                                           Collation::key(t.valueAt(r + 1, tag).toString()));
                } else if (down) {
                    const double va = t.valueAt(r, tag).toDouble(), vb = t.valueAt(r + 1, tag).toDouble();
                    c = va > vb ? -1 : (va < vb ? 1 : 0);
                    if (c == 0)
                        c = Collation::compare(Collation::key(t.valueAt(r, "NOM").toString()),
                                               Collation::key(t.valueAt(r + 1, "NOM").toString()));
                }
                if (c == 0) c = na < nb ? -1 : 1;   // NUMERO is the record order
                if (c > 0) QFAIL(qPrintable(QStringLiteral("rows %1 and %2 out of order").arg(r).arg(r + 1)));
            }
        };
        check();
        if (QTest::currentTestFailed()) return;
        // And the tag stays in order through an edit that moves a record.
        t.first();
        t.setString("NOM", "oeuf");
        t.setFloat("PROT_A", 0.25);
        t.setFloat("PROT_V", 0.2469134);
        t.setFloat("CA", 2500000.5);
        t.post();
        check();
    }

    void closedHandle() {
        TempDataDir dir;
        Table t(dir.run(), foodSchema());
        QVERIFY(!t.isOpen());
        QVERIFY(t.eof());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(!t.valueAt(0, "NOM").isValid());
        QVERIFY_THROWS_EXCEPTION(DataError, t.asString("NOM"));
        QVERIFY_THROWS_EXCEPTION(DataError, t.first());
    }

    // Names are found whatever their case on disk.
    void fileNameCase() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        QVERIFY(QFile::rename(dir.file("DIETAB.DBF"), dir.file("dietab.dbf")));
        Table t(dir.run(), foodSchema());
        t.setFileName(QStringLiteral("DIETAB.DBF"));
        QCOMPARE(t.filePath(), dir.file("dietab.dbf"));
        t.open();
        QCOMPARE(t.recordCount(), 10);
    }

    void readOnlyHandle() {
        TempDataDir dir;
        writeFoods(dir.path(), mixedFoods());
        Table t(dir.run(), foodSchema());
        t.setReadOnly(true);
        t.open();
        QVERIFY_THROWS_EXCEPTION(DataError, t.append());
        QVERIFY_THROWS_EXCEPTION(DataError, t.setString("NOM", "X"));
        QVERIFY_THROWS_EXCEPTION(DataError, t.deleteRecord());
        QCOMPARE(t.state(), Table::State::Browse);
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
