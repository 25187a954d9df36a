// The rules that turn CIQUAL cells into Food table values: the cell reading,
// the nutrient record of a food, the merging of a food given on two lines,
// and the names and categories of the full CIQUAL import.
#include <QTemporaryDir>
#include <QtTest>

#include "ciqualcell.h"
#include "ciqualtable.h"
#include "core/ciqual/ciqualnames.h"
#include "core/io/dataerror.h"
#include "core/schema/schema.h"
#include "fullimport.h"
#include "nutrientrules.h"
#include "support/dataerrors.h"
#include "support/files.h"

namespace {

// The CIQUAL columns the rules read, in the file's own spelling.
const QStringList kColumns = {"alim_grp_code",
                              "alim_ssgrp_code",
                              "alim_ssssgrp_code",
                              "alim_grp_nom_fr",
                              "alim_ssgrp_nom_fr",
                              "alim_ssssgrp_nom_fr",
                              "alim_code",
                              "alim_nom_fr",
                              "alim_nom_sci",
                              "Energie, Règlement UE N° 1169/2011 (kcal/100 g)",
                              "Protéines, N x facteur de Jones (g/100 g)",
                              "Protéines, N x 6.25 (g/100 g)",
                              "Glucides (g/100 g)",
                              "Lipides (g/100 g)",
                              "Sucres (g/100 g)",
                              "Amidon (g/100 g)",
                              "Fibres alimentaires (g/100 g)",
                              "Polyols totaux (g/100 g)",
                              "Alcool (g/100 g)",
                              "Acides organiques (g/100 g)",
                              "AG saturés (g/100 g)",
                              "AG monoinsaturés (g/100 g)",
                              "AG polyinsaturés (g/100 g)",
                              "Cholestérol (mg/100 g)",
                              "Calcium (mg/100 g)",
                              "Chlorure (mg/100 g)",
                              "Cuivre (mg/100 g)",
                              "Fer (mg/100 g)",
                              "Iode (µg/100 g)",
                              "Magnésium (mg/100 g)",
                              "Manganèse (mg/100 g)",
                              "Phosphore (mg/100 g)",
                              "Potassium (mg/100 g)",
                              "Sodium (mg/100 g)",
                              "Zinc (mg/100 g)",
                              "Rétinol (µg/100 g)",
                              "Beta-Carotène (µg/100 g)",
                              "Vitamine D (µg/100 g)",
                              "Vitamine C (mg/100 g)",
                              "Vitamine B1 ou Thiamine (mg/100 g)",
                              "Vitamine B2 ou Riboflavine (mg/100 g)",
                              "Vitamine B3 ou PP ou Niacine (mg/100 g)",
                              "Vitamine B6 (mg/100 g)",
                              "Vitamine B9 ou Folates totaux (µg/100 g)"};

// Writes a small CIQUAL file: one food per map of column -> cell text.
QString writeCiqual(const QString& dir, const QVector<QHash<QString, QString>>& foods) {
    QStringList lines{QChar(0xFEFF) + kColumns.join(';')};
    for (const auto& f : foods) {
        QStringList cells;
        for (const QString& c : kColumns) cells << f.value(c, QStringLiteral("-"));
        lines << cells.join(';');
    }
    const QString path = dir + "/ciqual.csv";
    return Files::writeBytes(path, lines.join("\r\n").toUtf8() + "\r\n") ? path : QString();
}

QHash<QString, QString> food(const QString& code,
                             std::initializer_list<std::pair<const char*, const char*>> cells) {
    QHash<QString, QString> f{{"alim_code", code},
                              {"alim_nom_fr", "Aliment " + code},
                              {"alim_grp_code", "04"},
                              {"alim_ssgrp_code", "0401"},
                              {"alim_ssssgrp_code", "040101"}};
    for (const auto& c : cells) f.insert(QString::fromUtf8(c.first), QString::fromUtf8(c.second));
    return f;
}

}   // namespace

class TestCiqualRules : public QObject {
    Q_OBJECT
private slots:
    void cellReading_data();
    void cellReading();
    void nutrientRecord();
    void carbohydrateSplit_data();
    void carbohydrateSplit();
    void proteinsFallBackOnJones();
    void chlorideFromSodium_data();
    void chlorideFromSodium();
    void unmeasuredFields_data();
    void unmeasuredFields();
    void duplicateLinesAreMerged();
    void conflictingDuplicateIsRefused();
    void unreadableCellNamesLineAndColumn();
    void shortNames_data();
    void shortNames();
    void uniqueNamesFitTheField();
    void categoriesOfGroups_data();
    void categoriesOfGroups();
};

void TestCiqualRules::cellReading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("missing");
    QTest::newRow("decimal comma") << "4,63" << true << 4.63 << false;
    QTest::newRow("dash") << "-" << true << 0.0 << true;
    QTest::newRow("empty") << "" << true << 0.0 << true;
    QTest::newRow("traces") << "traces" << true << 0.0 << false;
    QTest::newRow("below limit") << "< 0,5" << true << 0.25 << false;
    QTest::newRow("below limit unspaced") << "<2" << true << 1.0 << false;
    QTest::newRow("negative") << "-1" << false << 0.0 << false;
    QTest::newRow("word") << "ND" << false << 0.0 << false;
    QTest::newRow("bare sign") << "<" << false << 0.0 << false;
    QTest::newRow("two numbers") << "1,2 3" << false << 0.0 << false;
}

void TestCiqualRules::cellReading() {
    QFETCH(QString, text);
    QFETCH(bool, readable);
    const auto v = parseCiqualCell(text);
    QCOMPARE(v.has_value(), readable);
    if (!readable) return;
    QFETCH(double, value);
    QFETCH(bool, missing);
    QCOMPARE(v->value, value);
    QCOMPARE(v->missing, missing);
}

void TestCiqualRules::nutrientRecord() {
    QTemporaryDir dir;
    const QString path =
        writeCiqual(dir.path(), {food("1", {{"Protéines, N x 6.25 (g/100 g)", "20"},
                                            {"Lipides (g/100 g)", "10"},
                                            {"Glucides (g/100 g)", "5"},
                                            {"Sucres (g/100 g)", "1"},
                                            {"Amidon (g/100 g)", "4"},
                                            {"Iode (µg/100 g)", "150"},
                                            {"Rétinol (µg/100 g)", "30"},
                                            {"Beta-Carotène (µg/100 g)", "600"},
                                            {"Vitamine D (µg/100 g)", "< 0,5"},
                                            {"Vitamine B9 ou Folates totaux (µg/100 g)", "40"},
                                            {"Chlorure (mg/100 g)", "traces"},
                                            {"Sodium (mg/100 g)", "61,5"},
                                            {"Vitamine B3 ou PP ou Niacine (mg/100 g)", "5,15"},
                                            {"Fibres alimentaires (g/100 g)", "2,5"}})});
    const CiqualTable table = CiqualTable::read(path);
    const NutrientRules rules(table);
    const NutrientValues v = rules.compute(*table.find("1"), AnimalShares{0.75, 0.4});
    QCOMPARE(v.size(), nutrients().size());
    QCOMPARE(v.value("PROT_A"), 15.0);
    QCOMPARE(v.value("PROT_V"), 5.0);
    QCOMPARE(v.value("LIPI_A"), 4.0);
    QCOMPARE(v.value("LIPI_V"), 6.0);
    QCOMPARE(v.value("GLUC_S"), 1.0);
    QCOMPARE(v.value("GLUC_A"), 4.0);
    QCOMPARE(v.value("I"), 0.15);   // µg -> mg
    QCOMPARE(v.value("VIT_A"), (30 + 600 / 6.0) / 1000);
    QCOMPARE(v.value("VIT_D"), 0.00025);   // "< 0,5" µg -> 0.25 µg -> mg
    QCOMPARE(v.value("VIT_B9"), 0.04);
    QCOMPARE(v.value("CL"), 0.0);
    QCOMPARE(v.value("NA"), 61.5);
    QCOMPARE(v.value("VIT_PP"), 5.15);
    QCOMPARE(v.value("FIBRES"), 2.5);
    QCOMPARE(v.value("S"), 200.0);       // 1 % of 20 g of proteins
    QCOMPARE(v.value("CHOLEST"), 0.0);   // "-" reads 0
}

void TestCiqualRules::carbohydrateSplit_data() {
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("sugars");
    QTest::addColumn<QString>("starch");
    QTest::addColumn<double>("glucS");
    QTest::addColumn<double>("glucA");
    QTest::newRow("both given, adding up") << "10"
                                           << "3"
                                           << "7" << 3.0 << 7.0;
    QTest::newRow("unnamed rest counts as starch") << "58,3"
                                                   << "2,3"
                                                   << "48,3" << 2.3 << 56.0;
    QTest::newRow("glycogen of shellfish") << "3,86"
                                           << "0"
                                           << "0" << 0.0 << 3.86;
    QTest::newRow("starch not given") << "12"
                                      << "9"
                                      << "-" << 9.0 << 3.0;
    QTest::newRow("sugars not given") << "20"
                                      << "-"
                                      << "15" << 5.0 << 15.0;
    QTest::newRow("neither given") << "8"
                                   << "-"
                                   << "-" << 8.0 << 0.0;
    QTest::newRow("parts above the total") << "5"
                                           << "3"
                                           << "4" << 3.0 << 4.0;
    QTest::newRow("no total") << "-"
                              << "2"
                              << "-" << 2.0 << 0.0;
}

void TestCiqualRules::carbohydrateSplit() {
    QFETCH(QString, total);
    QFETCH(QString, sugars);
    QFETCH(QString, starch);
    QTemporaryDir dir;
    auto f = food("7", {});
    f.insert("Glucides (g/100 g)", total);
    f.insert("Sucres (g/100 g)", sugars);
    f.insert("Amidon (g/100 g)", starch);
    const CiqualTable table = CiqualTable::read(writeCiqual(dir.path(), {f}));
    const NutrientValues v = NutrientRules(table).compute(*table.find("7"), AnimalShares{});
    QTEST(v.value("GLUC_S"), "glucS");
    QTEST(v.value("GLUC_A"), "glucA");
}

void TestCiqualRules::proteinsFallBackOnJones() {
    QTemporaryDir dir;
    const CiqualTable table = CiqualTable::read(
        writeCiqual(dir.path(), {food("2", {{"Protéines, N x facteur de Jones (g/100 g)", "8"}}),
                                 food("3", {{"Protéines, N x facteur de Jones (g/100 g)", "8"},
                                            {"Protéines, N x 6.25 (g/100 g)", "9"}})}));
    const NutrientRules rules(table);
    QCOMPARE(rules.compute(*table.find("2"), AnimalShares{}).value("PROT_V"), 8.0);
    QCOMPARE(rules.compute(*table.find("3"), AnimalShares{}).value("PROT_V"), 9.0);
}

void TestCiqualRules::chlorideFromSodium_data() {
    QTest::addColumn<QString>("chloride");
    QTest::addColumn<QString>("sodium");
    QTest::addColumn<double>("cl");
    QTest::addColumn<bool>("estimated");
    QTest::addColumn<bool>("unmeasured");
    // Estimates: sodium x 35.45 / 22.99 (table salt), at CIQUAL's precision
    // for chloride: 2868.07 -> 2868, 47.34 -> 47.3, 3.855 -> 3.85.
    QTest::newRow("measured") << "820"
                              << "566" << 820.0 << false << false;
    QTest::newRow("measured, kept as given") << "44,96"
                                             << "30" << 44.96 << false << false;
    QTest::newRow("traces of chloride") << "traces"
                                        << "61,5" << 0.0 << false << false;
    QTest::newRow("estimated, whole from 100 mg") << "-"
                                                  << "1860" << 2868.0 << true << false;
    QTest::newRow("empty cell estimated") << ""
                                          << "1000" << 1542.0 << true << false;
    QTest::newRow("one decimal from 10 mg") << "-"
                                            << "30,7" << 47.3 << true << false;
    QTest::newRow("from a sodium below its limit") << "-"
                                                   << "< 5" << 3.85 << true << false;
    QTest::newRow("from traces of sodium") << "-"
                                           << "traces" << 0.0 << true << false;
    QTest::newRow("neither given") << "-"
                                   << "-" << 0.0 << false << true;
}

void TestCiqualRules::chlorideFromSodium() {
    QFETCH(QString, chloride);
    QFETCH(QString, sodium);
    QFETCH(bool, unmeasured);
    QTemporaryDir dir;
    auto f = food("11", {});
    f.insert("Chlorure (mg/100 g)", chloride);
    f.insert("Sodium (mg/100 g)", sodium);
    const CiqualTable table = CiqualTable::read(writeCiqual(dir.path(), {f}));
    ValueOrigins origins;
    const NutrientValues v = NutrientRules(table).compute(*table.find("11"), AnimalShares{}, &origins);
    QTEST(v.value("CL"), "cl");
    QTEST(origins.chlorideFromSodium, "estimated");
    QCOMPARE(origins.unmeasured.contains("CL"), unmeasured);
}

void TestCiqualRules::unmeasuredFields_data() {
    // Each row starts from a food whose every nutrient cell is 1, then
    // applies "column" (made "-") or "column=text" changes.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("unmeasured");
    const QString prot625 = "Protéines, N x 6.25 (g/100 g)",
                  jones = "Protéines, N x facteur de Jones (g/100 g)";
    const QString total = "Glucides (g/100 g)", sugars = "Sucres (g/100 g)", starch = "Amidon (g/100 g)";
    const QString retinol = "Rétinol (µg/100 g)", carotene = "Beta-Carotène (µg/100 g)";
    QTest::newRow("complete") << QStringList{} << QStringList{};
    QTest::newRow("no proteins: sulphur unknown too")
        << QStringList{prot625, jones} << QStringList{"PROT_A", "PROT_V", "S"};
    QTest::newRow("proteins by Jones") << QStringList{prot625} << QStringList{};
    QTest::newRow("no lipids") << QStringList{"Lipides (g/100 g)"} << QStringList{"LIPI_A", "LIPI_V"};
    QTest::newRow("sugars from the total") << QStringList{sugars} << QStringList{};
    QTest::newRow("total only") << QStringList{sugars, starch} << QStringList{};
    QTest::newRow("no total, no sugars") << QStringList{total, sugars} << QStringList{"GLUC_S"};
    QTest::newRow("no total, no starch") << QStringList{total, starch} << QStringList{"GLUC_A"};
    QTest::newRow("retinol only") << QStringList{carotene} << QStringList{};
    QTest::newRow("no vitamin A") << QStringList{retinol, carotene} << QStringList{"VIT_A"};
    QTest::newRow("chloride estimated") << QStringList{"Chlorure (mg/100 g)"} << QStringList{};
    QTest::newRow("no chloride, no sodium")
        << QStringList{"Chlorure (mg/100 g)", "Sodium (mg/100 g)"} << QStringList{"CL", "NA"};
    QTest::newRow("in field order") << QStringList{"Vitamine D (µg/100 g)", "Iode (µg/100 g)",
                                                   "Cholestérol (mg/100 g)"}
                                    << QStringList{"CHOLEST", "I", "VIT_D"};
    QTest::newRow("traces and limits are measured")
        << QStringList{"Vitamine D (µg/100 g)=traces", "Iode (µg/100 g)=< 2"} << QStringList{};
    QStringList everything;
    for (int c = 9; c < kColumns.size(); ++c) everything << kColumns.at(c);
    QStringList all;
    for (const Nutrient& n : nutrients()) all << QLatin1String(n.field);
    QTest::newRow("nothing measured") << everything << all;
}

void TestCiqualRules::unmeasuredFields() {
    QFETCH(QStringList, changes);
    auto f = food("12", {});
    for (int c = 9; c < kColumns.size(); ++c) f.insert(kColumns.at(c), "1");
    for (const QString& change : changes) {
        const int eq = change.indexOf('=');
        if (eq < 0)
            f.insert(change, "-");
        else
            f.insert(change.left(eq), change.mid(eq + 1));
    }
    QTemporaryDir dir;
    const CiqualTable table = CiqualTable::read(writeCiqual(dir.path(), {f}));
    ValueOrigins origins;
    const NutrientValues v = NutrientRules(table).compute(*table.find("12"), AnimalShares{0.5, 0.5}, &origins);
    QTEST(origins.unmeasured, "unmeasured");
    for (const QString& field : origins.unmeasured) QCOMPARE(v.value(field), 0.0);   // stored as 0
}

void TestCiqualRules::duplicateLinesAreMerged() {
    QTemporaryDir dir;
    auto first = food("9621", {{"Energie, Règlement UE N° 1169/2011 (kcal/100 g)", "279"}});
    first.insert("Lipides (g/100 g)", "");
    auto second = food("9621", {{"Lipides (g/100 g)", "4,35"}});
    second.insert("Energie, Règlement UE N° 1169/2011 (kcal/100 g)", "");
    const CiqualTable table = CiqualTable::read(writeCiqual(dir.path(), {first, food("5", {}), second}));
    QCOMPARE(table.foods().size(), 2);
    const NutrientRules rules(table);
    const CiqualFood* bran = table.find("9621");
    QVERIFY(bran);
    QCOMPARE(bran->line, 2);
    QCOMPARE(rules.ciqualEnergy(*bran), std::optional<double>(279));
    QCOMPARE(rules.compute(*bran, AnimalShares{}).value("LIPI_V"), 4.35);
}

void TestCiqualRules::conflictingDuplicateIsRefused() {
    QTemporaryDir dir;
    const QString path = writeCiqual(
        dir.path(), {food("8", {{"Lipides (g/100 g)", "1"}}), food("8", {{"Lipides (g/100 g)", "2"}})});
    EXPECT_DATA_ERROR(StartsWith, "ciqual.csv:3 : l'aliment 8 figure aussi ligne 2", CiqualTable::read(path));
}

void TestCiqualRules::unreadableCellNamesLineAndColumn() {
    QTemporaryDir dir;
    const CiqualTable table =
        CiqualTable::read(writeCiqual(dir.path(), {food("4", {}), food("6", {{"Zinc (mg/100 g)", "abc"}})}));
    EXPECT_DATA_ERROR(Equals,
                      QStringLiteral("ciqual.csv:3 : valeur illisible « abc » dans la colonne "
                                     "« Zinc (mg/100 g) » (aliment 6)."),
                      NutrientRules(table).compute(*table.find("6"), AnimalShares{}));
}

void TestCiqualRules::shortNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << "Jambon cru"
                          << "Jambon cru";
    QTest::newRow("exactly 30") << "Abcdefghij abcdefghij abcdefgh"
                                << "Abcdefghij abcdefghij abcdefgh";
    QTest::newRow("cooking phrase") << "Boeuf, jarret, bouilli/cuit à l'eau"
                                    << "Boeuf, jarret, bouilli";
    QTest::newRow("grill phrase") << "Cheval, faux-filet, grillé/poêlé"
                                  << "Cheval, faux-filet, grillé";
    QTest::newRow("packaging dropped") << "Tarte à la tomate et au thon, préemballée"
                                       << "Tarte à la tomate et au thon";
    QTest::newRow("cut after a comma") << "Gnocchi à la pomme de terre, cuit"
                                       << "Gnocchi à la pomme de terre";
    QTest::newRow("no dangling word") << "Soupe à la volaille et aux vermicelles, à réchauffer"
                                      << "Soupe à la volaille";
    QTest::newRow("parentheses dropped") << "Haricot mungo germé (pousse de soja), cru"
                                         << "Haricot mungo germé, cru";
    QTest::newRow("one long word") << "Abcdefghijabcdefghijabcdefghijabcdefghij"
                                   << "Abcdefghijabcdefghijabcdefghij";
}

void TestCiqualRules::shortNames() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString s = CiqualNames::shortName(name);
    QCOMPARE(s, expected);
    QVERIFY(s.size() <= 30);
}

void TestCiqualRules::uniqueNamesFitTheField() {
    const QString longName = QStringLiteral("Soupe à la volaille et aux légumes");
    const QStringList names = CiqualNames::uniqueNames(
        {"Soupe à la volaille", "soupe à la volaille", "Soupe à la volaille", CiqualNames::shortName(longName),
         "Abcdefghij abcdefghij abcdefgh", "Abcdefghij abcdefghij abcdefgh"});
    QCOMPARE(names.at(0), QStringLiteral("Soupe à la volaille"));
    QCOMPARE(names.at(1), QStringLiteral("soupe à la volaille (2)"));
    QCOMPARE(names.at(2), QStringLiteral("Soupe à la volaille (3)"));
    QCOMPARE(names.at(3), QStringLiteral("Soupe à la volaille (4)"));
    QCOMPARE(names.at(5), QStringLiteral("Abcdefghij abcdefghij (2)"));
    QSet<QString> seen;
    for (const QString& n : names) {
        QVERIFY2(n.size() <= 30, qPrintable(n));
        QVERIFY2(!seen.contains(n.toCaseFolded()), qPrintable(n));
        seen.insert(n.toCaseFolded());
    }
}

void TestCiqualRules::categoriesOfGroups_data() {
    QTest::addColumn<QString>("subgroup");
    QTest::addColumn<QString>("subsubgroup");
    QTest::addColumn<int>("category");
    QTest::newRow("cooked meat") << "0401"
                                 << "040101" << 1;
    QTest::newRow("cooked offal") << "0401"
                                  << "040108" << 2;
    QTest::newRow("raw offal") << "0402"
                               << "040208" << 2;
    QTest::newRow("charcuterie") << "0403"
                                 << "040302" << 2;
    QTest::newRow("plant charcuterie") << "0403"
                                       << "040309" << 9;
    QTest::newRow("raw fish") << "0406"
                              << "000000" << 3;
    QTest::newRow("shellfish") << "0408"
                               << "000000" << 4;
    QTest::newRow("cream") << "0504"
                           << "000000" << 6;
    QTest::newRow("potatoes") << "0202"
                              << "000000" << 9;
    QTest::newRow("pastries") << "0705"
                              << "000000" << 7;
    QTest::newRow("dishes") << "0103"
                            << "000000" << 12;
    QTest::newRow("yeasts and germ") << "1009"
                                     << "000000" << 14;
}

void TestCiqualRules::categoriesOfGroups() {
    QFETCH(QString, subgroup);
    QFETCH(QString, subsubgroup);
    QFETCH(int, category);
    CiqualFood f;
    f.group = subgroup.left(2);
    f.subgroup = subgroup;
    f.subsubgroup = subsubgroup;
    QCOMPARE(FullImport::categoryOf(f), categories().at(category - 1));
    QVERIFY(FullImport::categoryOf(f) != CategorieComposee);
}

QTEST_GUILESS_MAIN(TestCiqualRules)
#include "tst_ciqualrules.moc"
