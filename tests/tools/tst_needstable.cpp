// The Needs table: the formula language of needs.csv, the reading of EFSA's
// values and units, and the supplied table itself (derivations, units,
// sanity of the figures, the built BESOINS.DBF).
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/schema/schema.h"
#include "core/needs/efsatable.h"
#include "core/needs/formula.h"
#include "needstable.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {

const QString kDataDir = QStringLiteral(NUTRIMO_SOURCE_DIR "/data");

FormulaContext fakeContext() {
    FormulaContext ctx;
    ctx.row = [](int row) -> double {
        if (row == 1) return 2000;
        if (row == 2) return 50;
        throw DataError(QStringLiteral("ligne %1 absente").arg(row));
    };
    ctx.efsa = [](const QString& ref, bool* increment) -> double {
        *increment = ref == QLatin1String("INC");
        if (ref == QLatin1String("A") || ref == QLatin1String("INC")) return ref == "A" ? 10 : 2;
        throw DataError(QStringLiteral("EFSA[%1] inconnu").arg(ref));
    };
    return ctx;
}

// Column index of a group in the Needs table.
int col(const NeedsTable& t, const char* name) { return t.columns.indexOf(QLatin1String(name)); }

}   // namespace

class TestNeedsTable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void formulas_data();
    void formulas();
    void formulaErrors_data();
    void formulaErrors();
    void efsaUnits_data();
    void efsaUnits();
    void derivedRows();
    void sugarLimits_data();
    void sugarLimits();
    void idealSharesMakeHundred_data();
    void idealSharesMakeHundred();
    void energyOrder();
    void everyUsedCellPositive();
    void unitsInMilligrams();
    void builtTableMatchesSources();
    void badNeedsLines_data();
    void badNeedsLines();

private:
    EfsaTable m_efsa;
    NeedsTable m_needs;
};

void TestNeedsTable::initTestCase() {
    m_efsa = EfsaTable::read(kDataDir + "/sources/efsa-drv.csv");
    m_needs = Needs::read(kDataDir + "/needs.csv", m_efsa);
}

void TestNeedsTable::formulas_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("value");
    QTest::newRow("number") << "239" << 239.0;
    QTest::newRow("precedence") << "1 + 2 * 3" << 7.0;
    QTest::newRow("parentheses") << "(1 + 2) * 3" << 9.0;
    QTest::newRow("left to right") << "L1 * 0.10 / 4" << 50.0;
    QTest::newRow("row reference") << "L2 * 0.5" << 25.0;
    QTest::newRow("mean") << "moyenne(L1, L2, 50)" << 700.0;
    QTest::newRow("efsa term") << "EFSA[A] * 58.5" << 585.0;
    QTest::newRow("increment on a base") << "EFSA[A] + EFSA[INC]" << 12.0;
    QTest::newRow("increment on a row") << "L2 + EFSA[INC]" << 52.0;
}

void TestNeedsTable::formulas() {
    QFETCH(QString, formula);
    QTEST(evaluateFormula(formula, fakeContext()), "value");
}

void TestNeedsTable::formulaErrors_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("message");
    QTest::newRow("lone increment") << "EFSA[INC]"
                                    << "doit s'ajouter à une valeur de base";
    QTest::newRow("increment times number") << "EFSA[INC] * 2"
                                            << "doit s'ajouter à une valeur de base";
    QTest::newRow("division by zero") << "L1 / (L2 - 50)"
                                      << "division par zéro";
    QTest::newRow("unclosed parenthesis") << "(L1 + 2"
                                          << "parenthèse fermante attendue";
    QTest::newRow("trailing text") << "L1 L2"
                                   << "caractère inattendu";
    QTest::newRow("decimal comma") << "0,35 * L1"
                                   << "caractère inattendu";
    QTest::newRow("unclosed bracket") << "EFSA[A"
                                      << "crochet fermant attendu";
    QTest::newRow("unknown row") << "L9"
                                 << "ligne 9 absente";
}

void TestNeedsTable::formulaErrors() {
    QFETCH(QString, formula);
    QFETCH(QString, message);
    EXPECT_DATA_ERROR(Contains, message, evaluateFormula(formula, fakeContext()));
}

void TestNeedsTable::efsaUnits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rowUnit");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("increment");
    QTest::newRow("vitamin D µg to mg") << QString::fromUtf8("15 μg/day") << "mg" << true << 0.015 << false;
    QTest::newRow("micro sign") << QString::fromUtf8("15 µg/day") << "mg" << true << 0.015 << false;
    QTest::newRow("iodine") << QString::fromUtf8("150 μg/day") << "mg" << true << 0.15 << false;
    QTest::newRow("retinol equivalents") << QString::fromUtf8("650 μg RE/day") << "mg" << true << 0.65 << false;
    QTest::newRow("folate equivalents") << QString::fromUtf8("330 μg DFE/day") << "mg" << true << 0.33 << false;
    QTest::newRow("chloride decimal comma") << "3,1 g/day"
                                            << "mg" << true << 3100.0 << false;
    QTest::newRow("energy") << "7.6 MJ/day"
                            << "kcal" << true << 1816.4 << false;
    QTest::newRow("energy increment") << "(+) 1.1 MJ/day"
                                      << "kcal" << true << 262.9 << true;
    QTest::newRow("protein per kg") << "0.83 g/kg bw per day"
                                    << "g" << true << 0.83 << false;
    QTest::newRow("thiamin per MJ") << "0.1 mg/MJ"
                                    << "mg" << true << 0.1 << false;
    QTest::newRow("niacin equivalents") << "1.6 mg NE/MJ"
                                        << "mg" << true << 1.6 << false;
    QTest::newRow("energy in a mass row") << "7.6 MJ/day"
                                          << "mg" << false << 0.0 << false;
    QTest::newRow("share of energy") << "0.5 E%"
                                     << "g" << false << 0.0 << false;
    QTest::newRow("range") << QString::fromUtf8("0.02–0.5 mg/day") << "mg" << false << 0.0 << false;
    QTest::newRow("as low as possible") << "ALAP"
                                        << "g" << false << 0.0 << false;
}

void TestNeedsTable::efsaUnits() {
    QFETCH(QString, text);
    QFETCH(QString, rowUnit);
    QFETCH(bool, ok);
    EfsaValue v;
    double converted = 0;
    const bool parsed = EfsaTable::parseValue(text, &v) && convertEfsa(v, rowUnit, &converted);
    QCOMPARE(parsed, ok);
    if (!ok) return;
    QFETCH(double, value);
    QVERIFY2(qAbs(converted - value) < 1e-9, qPrintable(QString::number(converted, 'g', 17)));
    QTEST(v.increment, "increment");
}

void TestNeedsTable::derivedRows() {
    for (int c = 0; c < m_needs.columns.size(); ++c) {
        auto v = [&](int row) { return m_needs.cells.at(row - 1).at(c).value; };
        const QByteArray group = m_needs.columns.at(c).toLatin1();
        const double e = v(1);
        QVERIFY2(qFuzzyCompare(v(3), v(2) / 2), group);       // animal proteins, half
        QVERIFY2(qFuzzyCompare(v(4), v(2) / 2), group);       // vegetable proteins, half
        QVERIFY2(qFuzzyCompare(v(7), e * 0.35 / 9), group);   // lipids, 35 % of energy
        QVERIFY2(qFuzzyCompare(v(5), v(7) / 2), group);
        QVERIFY2(qFuzzyCompare(v(6), v(7) / 2), group);
        QVERIFY2(qFuzzyCompare(v(25), v(2) * 10), group);   // sulphur, 1 % of proteins
        // Thiamin 0.1 mg and niacin 1.6 mg per MJ of the energy need.
        QVERIFY2(qAbs(v(17) - 0.1 * e / 239) < 1e-9, group);
        QVERIFY2(qAbs(v(23) - 1.6 * e / 239) < 1e-9, group);
    }
    // Protein: PRI per kg times the reference weight, plus the pregnancy increment.
    QCOMPARE(m_needs.cells.at(1).at(col(m_needs, "F_SEDENT")).value, 0.83 * 58.5);
    QCOMPARE(m_needs.cells.at(1).at(col(m_needs, "F_ENCEINTE")).value, 0.83 * 58.5 + 9);
    QCOMPARE(m_needs.cells.at(1).at(col(m_needs, "F_ALLETANT")).value, 0.83 * 58.5 + 19);
}

void TestNeedsTable::sugarLimits_data() {
    // Total sugars, at most, in g per day: 100 for adults and from 13 years,
    // 75 from 8 to 12, 60 from 4 to 7, and for the child of 2 the 4-7 limit
    // scaled by the energy need (checked below).
    QTest::addColumn<QString>("group");
    QTest::addColumn<double>("grams");
    const char* adults[] = {"F_13_ANS",   "G_13_ANS",   "F_17_ANS", "G_17_ANS", "F_SEDENT",   "H_SEDENT",
                            "F_ENCEINTE", "F_ALLETANT", "F_FORCE",  "H_FORCE",  "F_VIEILLAR", "H_VIEILLAR"};
    for (const char* g : adults) QTest::newRow(g) << g << 100.0;
    for (const char* g : {"E_8_ANS", "F_11_ANS", "G_11_ANS"}) QTest::newRow(g) << g << 75.0;
    QTest::newRow("E_5_ANS") << "E_5_ANS" << 60.0;
    QTest::newRow("E_2_ANS") << "E_2_ANS" << 40.4878;
}

void TestNeedsTable::sugarLimits() {
    QFETCH(QString, group);
    QFETCH(double, grams);
    const int c = m_needs.columns.indexOf(group);
    QVERIFY(c >= 0);
    QVERIFY2(qAbs(m_needs.cells.at(7).at(c).value - grams) < 0.00005,
             qPrintable(QString::number(m_needs.cells.at(7).at(c).value)));
    if (group == QLatin1String("E_2_ANS")) {
        const double energy2 = m_needs.cells.at(0).at(c).value;
        const double energy5 = m_needs.cells.at(0).at(col(m_needs, "E_5_ANS")).value;
        QVERIFY(qFuzzyCompare(m_needs.cells.at(7).at(c).value, 60 * energy2 / energy5));
    }
}

void TestNeedsTable::idealSharesMakeHundred_data() {
    QTest::addColumn<int>("column");
    for (int c = 0; c < m_needs.columns.size(); ++c) QTest::newRow(qPrintable(m_needs.columns.at(c))) << c;
    QCOMPARE(m_needs.columns.size(), 17);
}

void TestNeedsTable::idealSharesMakeHundred() {
    // The three ideal proportions of page 1, rounded as the page rounds them
    // (to the nearest, halves to even), from the rows the diagnosis reads.
    QFETCH(int, column);
    auto v = [&](int row) { return m_needs.cells.at(row - 1).at(column).value; };
    const double e = v(1);
    const double proteins = (v(3) + v(4)) * 400 / e;
    const double carbohydrates = (v(8) + v(9)) * 400 / e;
    const double lipids = (v(5) + v(6)) * 900 / e;
    QVERIFY2(qAbs(proteins + carbohydrates + lipids - 100) < 1e-9,
             qPrintable(QString::number(proteins + carbohydrates + lipids, 'g', 17)));
    const int shown = int(std::nearbyint(proteins) + std::nearbyint(carbohydrates) + std::nearbyint(lipids));
    QVERIFY2(shown >= 99 && shown <= 101, qPrintable(QString::number(shown)));
    QCOMPARE(int(std::nearbyint(lipids)), 35);
    QVERIFY2(carbohydrates >= 45, qPrintable(QString::number(carbohydrates)));   // EFSA's lower end
    QVERIFY(v(9) > 0);
}

void TestNeedsTable::energyOrder() {
    auto energy = [&](const char* group) { return m_needs.cells.at(0).at(col(m_needs, group)).value; };
    const char* growing[] = {"E_2_ANS", "E_5_ANS", "E_8_ANS", "G_11_ANS", "G_13_ANS", "G_17_ANS"};
    for (int i = 1; i < 6; ++i) QVERIFY2(energy(growing[i]) > energy(growing[i - 1]), growing[i]);
    QVERIFY(energy("F_FORCE") > energy("F_SEDENT"));
    QVERIFY(energy("H_FORCE") > energy("H_SEDENT"));
    QVERIFY(energy("F_ENCEINTE") > energy("F_SEDENT"));
    QVERIFY(energy("F_ALLETANT") > energy("F_SEDENT"));
    QVERIFY(energy("F_VIEILLAR") < energy("F_SEDENT"));
    QVERIFY(energy("H_VIEILLAR") < energy("H_SEDENT"));
    QCOMPARE(energy("F_SEDENT"), 7.6 * 239);
    QCOMPARE(energy("E_2_ANS"), (4.3 + 4.0) / 2 * 239);
}

void TestNeedsTable::everyUsedCellPositive() {
    QCOMPARE(m_needs.cells.size(), kNeedsRows);
    for (int row = 1; row <= kNeedsRows; ++row)
        for (int c = 0; c < m_needs.columns.size(); ++c)
            QVERIFY2(m_needs.cells.at(row - 1).at(c).value > 0,
                     qPrintable(QStringLiteral("ligne %1, %2").arg(row).arg(m_needs.columns.at(c))));
    for (const QString& name : m_needs.rowNames) QVERIFY(!name.isEmpty() && name.size() <= 18);
}

void TestNeedsTable::unitsInMilligrams() {
    auto need = [&](int row, const char* group) {
        return m_needs.cells.at(row - 1).at(col(m_needs, group)).value;
    };
    QCOMPARE(need(22, "H_SEDENT"), 0.015);   // vitamin D 15 µg
    QCOMPARE(need(15, "H_SEDENT"), 0.15);    // iodine 150 µg
    QCOMPARE(need(15, "F_ENCEINTE"), 0.2);
    QCOMPARE(need(16, "F_ALLETANT"), 1.3);    // vitamin A 1300 µg RE
    QCOMPARE(need(20, "F_ENCEINTE"), 0.6);    // folate 600 µg DFE
    QCOMPARE(need(24, "E_2_ANS"), 1700.0);    // chloride 1.7 g
    QCOMPARE(need(28, "H_FORCE"), 2000.0);    // sodium 2 g
    QCOMPARE(need(13, "F_SEDENT"), 16.0);     // iron, premenopausal women
    QCOMPARE(need(13, "F_VIEILLAR"), 11.0);   // iron, postmenopausal women
    QCOMPARE(need(14, "F_ENCEINTE"), 9.3 + 1.6);
}

void TestNeedsTable::builtTableMatchesSources() {
    const auto file = DbfFile::open(Fixtures::suppliedTablesDir() + "/BESOINS.DBF", true);
    QCOMPARE(file->recordCount(), kNeedsRows);
    QCOMPARE(file->fields().size(), needsSchema().fields.size());
    for (int f = 0; f < needsSchema().fields.size(); ++f)
        QCOMPARE(file->fields().at(f).name, needsSchema().fields.at(f).name);
    for (int row = 0; row < kNeedsRows; ++row) {
        QCOMPARE(file->text(row, 0), m_needs.rowNames.at(row));
        for (int c = 0; c < m_needs.columns.size(); ++c)
            QVERIFY(qAbs(file->number(row, c + 1) - m_needs.cells.at(row).at(c).value) < 0.000006);
    }
}

void TestNeedsTable::badNeedsLines_data() {
    QTest::addColumn<int>("line");    // line of needs.csv to change (1 = header)
    QTest::addColumn<int>("field");   // field to replace, -1 removes the line
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("value not from its formula") << 2 << 3 << "1000"
                                                << "needs.csv:2 : valeur écrite 1000, la formule donne 991.85";
    QTest::newRow("wrong unit") << 40 << 4 << "mg"
                                << "needs.csv:40 : unité « mg » pour la ligne 3";
    QTest::newRow("unknown column") << 5 << 2 << "F_12_ANS"
                                    << "needs.csv:5 : colonne « F_12_ANS » inconnue";
    QTest::newRow("name too long") << 5 << 1 << "Énergie en kilocalories"
                                   << "needs.csv:5 : nom de ligne";
    QTest::newRow("two names for a row") << 6 << 1 << "Calories"
                                         << "needs.csv:6 : la ligne 1 s'appelle";
    QTest::newRow("missing cell") << 3 << -1 << ""
                                  << "aucune valeur pour la ligne 1, colonne E_5_ANS";
    QTest::newRow("circular reference") << 36 << 5 << "L3 * 2"
                                        << "needs.csv:36 : référence circulaire à la ligne 3";
    QTest::newRow("unknown EFSA row") << 2 << 5 << "EFSA[Energy|Children|2 years|Male]"
                                      << "aucune ligne pour Energy";
    QTest::newRow("zero need") << 189 << 5 << "L1 * 0"
                               << "un besoin doit être positif";
}

void TestNeedsTable::badNeedsLines() {
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QByteArray source = Files::bytesOf(kDataDir + "/needs.csv");
    QVERIFY(!source.isEmpty());
    const QStringList lines = Fixtures::editCsvLine(QString::fromUtf8(source).split('\n'), line, field, text);
    QTemporaryDir dir;
    const QString path = dir.filePath("needs.csv");
    QVERIFY(Files::writeBytes(path, lines.join('\n').toUtf8()));
    EXPECT_DATA_ERROR(Contains, message, Needs::read(path, m_efsa));
}

QTEST_GUILESS_MAIN(TestNeedsTable)
#include "tst_needstable.moc"
