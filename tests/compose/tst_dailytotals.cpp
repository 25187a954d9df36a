// The Daily totals summed over the Choice table.
#include <QtTest>

#include "core/compose/dailytotals.h"
#include "core/compose/totalsstrip.h"
#include "core/table/table.h"
#include "support/testsupport.h"

namespace {
// A line of q grams of a food whose per-100 g value of every numeric field is
// its slot number (QTE aside), so that each slot's sum says where it came from.
void addLine(Table& t, double q) {
    t.append();
    t.setString(QStringLiteral("NOM"), QStringLiteral("Aliment"));
    const QStringList& fields = choiceNumericFields();
    t.setFloat(fields[0], q);
    for (int s = 1; s < fields.size(); ++s) t.setFloat(fields[s], s * q / 100.0);
    t.post();
}
}   // namespace

class TestDailyTotals : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataDir> dir;

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
    }
    void cleanup() { dir.reset(); }

    void slotsFollowTheChoiceFields() {
        QCOMPARE(int(DailyTotals::Count), 33);
        QCOMPARE(choiceNumericFields().size(), 33);
        QCOMPARE(DailyTotals::slotOf(QStringLiteral("QTE")), int(DailyTotals::QTE));
        QCOMPARE(DailyTotals::slotOf(QStringLiteral("calories")), int(DailyTotals::CALORIES));
        QCOMPARE(DailyTotals::slotOf(QStringLiteral("A_G_SAT")), int(DailyTotals::A_G_SAT));
        QCOMPARE(DailyTotals::slotOf(QStringLiteral("FIBRES")), int(DailyTotals::FIBRES));
        QCOMPARE(DailyTotals::slotOf(QStringLiteral("NUMERO")), -1);
        QCOMPARE(choiceNumericFields()[DailyTotals::VIT_D], QStringLiteral("VIT_D"));
    }

    void sums_data() {
        QTest::addColumn<QVector<double>>("quantities");
        QTest::addColumn<double>("qte");
        QTest::newRow("empty") << QVector<double>{} << 0.0;
        QTest::newRow("one line of 150 g") << QVector<double>{150} << 150.0;
        QTest::newRow("100 g and 50 g") << QVector<double>{100, 50} << 150.0;
        QTest::newRow("a negative line lowers everything") << QVector<double>{150, -50} << 100.0;
        QTest::newRow("a 0 g line counts for nothing") << QVector<double>{150, 0} << 150.0;
    }
    void sums() {
        QFETCH(QVector<double>, quantities);
        QFETCH(double, qte);
        Table t(dir->run(), choiceSchema());
        t.open();
        for (double q : quantities) addLine(t, q);
        DailyTotals totals;
        for (double& x : totals.v) x = 99;   // nothing carries over
        CalculTotaux(t, totals);
        QCOMPARE(totals[DailyTotals::QTE], qte);
        for (int s = 1; s < DailyTotals::Count; ++s)
            QVERIFY2(qAbs(totals.v[s] - s * qte / 100.0) < 1e-9, qPrintable(choiceNumericFields()[s]));
        // The handle is left on its last line, at end-of-table.
        QVERIFY(t.eof());
        QCOMPARE(t.currentRow(), quantities.size() - 1);
        RazTotaux(totals);
        for (double x : totals.v) QCOMPARE(x, 0.0);
    }

    void stripValues_data() {
        QTest::addColumn<double>("total");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << 150.0 << " 150";
        QTest::newRow("wider than four") << 12345.0 << "12345";
        QTest::newRow("negative") << -3.0 << "  -3";
        QTest::newRow("below one half") << 0.4 << "   0";
        QTest::newRow("half to even, down") << 2.5 << "   2";
        QTest::newRow("half to even, up") << 3.5 << "   4";
        QTest::newRow("negative zero") << -0.4 << "   0";
    }
    void stripValues() {
        QFETCH(double, total);
        QFETCH(QString, text);
        QCOMPARE(TotalsStrip::valeur(total), text);
    }

    void stripTexts() {
        DailyTotals t;
        for (int s = 0; s < DailyTotals::Count; ++s) t.v[s] = s;
        const auto e = TotalsStrip::textes(t);
        QStringList labels, texts;
        for (const auto& x : e) {
            labels << x.label;
            texts << x.text;
        }
        QCOMPARE(labels, QStringList({"LtotalQTE", "LtotalPROT_A", "LtotalGLUC_S", "LtotalLIPI_A",
                                      "LtotalA_G_SAT", "LtotalA_G_POLY", "LtotalCALORIES", "LtotalPROT_V",
                                      "LtotalGLUC_A", "LtotalLIPI_V", "LtotalA_G_MONO", "LtotalCHOLEST"}));
        QCOMPARE(texts, QStringList({"Qté    0 g", "P.A.    1 g", "G.S.    3 g", "L.A.    5 g", "A.G.S.    8 g",
                                     "A.G.P.   10 g", "   7 kcal", "P.V.    2 g", "G.A.    4 g", "L.V.    6 g",
                                     "A.G.M.    9 g", "Chol.   11 mg"}));
    }
};

QTEST_MAIN(TestDailyTotals)
#include "tst_dailytotals.moc"
