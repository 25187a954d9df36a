// Number formats and schema facts that the windows and pages rely on.
#include <QtTest>

#include "core/schema/numformat.h"
#include "core/schema/schema.h"

using namespace NumFormat;

class TestNumFormat : public QObject {
    Q_OBJECT
private slots:
    void fixed_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("850 on four") << 850.0 << 4 << 0 << " 850";
        QTest::newRow("850.4 rounds down") << 850.4 << 4 << 0 << " 850";
        QTest::newRow("12.5 on 7.2") << 12.5 << 7 << 2 << "  12.50";
        QTest::newRow("longer is not cut") << 123456.0 << 4 << 0 << "123456";
        QTest::newRow("negative") << -3.0 << 4 << 0 << "  -3";
        QTest::newRow("tiny negative shows no sign") << -0.001 << 6 << 2 << "  0.00";
        QTest::newRow("kilojoules") << 2000 * 4.18 << 4 << 0 << "8360";
    }
    void fixed() {
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(Fixed(value, width, decimals), expected);
    }

    void nearestHalvesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<long long>("expected");
        QTest::newRow("2.5") << 2.5 << 2LL;
        QTest::newRow("3.5") << 3.5 << 4LL;
        QTest::newRow("-2.5") << -2.5 << -2LL;
        QTest::newRow("7.5") << 7.5 << 8LL;
        QTest::newRow("0.4") << 0.4 << 0LL;
        QTest::newRow("149.6") << 149.6 << 150LL;
    }
    void nearestHalvesToEven() {
        QFETCH(double, value);
        QFETCH(long long, expected);
        QCOMPARE(Nearest(value), expected);
    }

    void intPads() {
        QCOMPARE(Int(35, 3), QString(" 35"));
        QCOMPARE(Int(12345, 4), QString("12345"));
    }

    void displayUsesLocaleSeparator() {
        const QLocale fr(QLocale::French, QLocale::France);
        const QLocale c = QLocale::c();
        QCOMPARE(Formatted(1.5, "0.000", fr), QString("1,500"));
        QCOMPARE(Formatted(1.5, "0.000", c), QString("1.500"));
        QCOMPARE(Formatted(0.00025, "0.0000", c), QString("0.0003"));
        QCOMPARE(Formatted(109.4, "##0", c), QString("109"));
        QCOMPARE(Formatted(2.5, "", fr), QString("2,5"));
        QCOMPARE(Formatted(150, "", c), QString("150"));
        QCOMPARE(Formatted(0.1 + 0.2, "", c), QString("0.3"));
    }

    void schemasHaveTheirFieldsInOrder() {
        QCOMPARE(foodSchema().fields.size(), 34);
        QCOMPARE(choiceSchema().fields.size(), 36);
        QCOMPARE(compositeSchema().fields.size(), 36);
        QCOMPARE(needsSchema().fields.size(), 18);
        QCOMPARE(choiceSchema().fields[10].name, QString("CALORIES"));
        QCOMPARE(compositeSchema().fields[11].name, QString("CALORIES"));
        QCOMPARE(choiceNumericFields().size(), 33);
        QCOMPARE(choiceNumericFields().first(), QString("QTE"));
        QCOMPARE(choiceNumericFields().last(), QString("FIBRES"));
        QCOMPARE(nutrients().size(), 31);
        QCOMPARE(nutrientTags().size(), 30);
        QVERIFY(!nutrientTags().contains("FIBRES"));
        QCOMPARE(lineComputedFields().size(), 32);
        // Every nutrient is a field of the three nutrient tables.
        for (const auto& n : nutrients()) {
            QVERIFY(foodSchema().field(n.field));
            QVERIFY(choiceSchema().field(n.field));
            QVERIFY(compositeSchema().field(n.field));
        }
    }

    void categories() {
        QCOMPARE(::categories().size(), 14);
        QCOMPARE(::categories().first(), QString("VIANDES ET VOLAILLES"));
        QCOMPARE(::categories()[12], CategorieComposee);
        for (const QString& c : ::categories()) QVERIFY(c.size() <= 30);
    }

    void foodEnergy() {
        QCOMPARE(::foodEnergy(10, 2, 5, 0, 1, 3), 109.0);
        QCOMPARE(50 * ::foodEnergy(10, 2, 5, 0, 1, 3) / 100, 54.5);
    }
};

QTEST_GUILESS_MAIN(TestNumFormat)
#include "tst_numformat.moc"
