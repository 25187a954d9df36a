// Page 1 of the diagnosis drawn on a recording surface: texts, formats,
// colours, positions on screen and paper, drawing order, advice, and the
// values that have no quotient.
#include <QtTest>

#include "core/diagnosis/page1.h"
#include "pagetestdata.h"
#include "core/interfaces/surface.h"

using namespace PageTest;
using Op = RecordingSurface::Op;

class TestPage1 : public QObject {
    Q_OBJECT

    static RecordingSurface draw(const DiagnosisData& d, const DiagLayout& l = DiagLayout::ecran()) {
        RecordingSurface s;
        dessinePage1(s, l, d);
        return s;
    }

private slots:
    void energyRows() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::CALORIES] = 850.4;
        RecordingSurface s = draw(d);
        const Op* need = s.findText(QStringLiteral("2000 kcal/jour"));
        QVERIFY(need);
        QCOMPARE(need->x, 500);
        QCOMPARE(need->y, 10);
        QCOMPARE(need->colour, SurfaceColour::Blue);
        const Op* kj = s.findText(QStringLiteral("8360 kj/jour"));
        QVERIFY(kj);
        QCOMPARE(kj->y, 27);
        const Op* intake = s.findText(QStringLiteral(" 850 kcal"));
        QVERIFY(intake);
        QCOMPARE(intake->x, 90);
        QCOMPARE(intake->y, 10);
        QCOMPARE(intake->colour, SurfaceColour::Blue);
        QVERIFY(s.findText(QStringLiteral("3555 kj")));
    }

    void header() {
        DiagnosisData d = baseline();
        d.groupName = QStringLiteral("Femme âgée");
        RecordingSurface s = draw(d);
        const Op& title = s.ops.first();
        QCOMPARE(title.text, QStringLiteral("FEMME ÂGÉE"));
        QCOMPARE(title.x, 220);
        QCOMPARE(title.colour, SurfaceColour::Red);
        QCOMPARE(title.style, Surface::Bold | Surface::Underline);
        for (const QString& h :
             {QStringLiteral("ÉNERGIE :"), QStringLiteral("RÉPARTITION :"), QStringLiteral("CONSEILS :")}) {
            const Op* op = s.findText(h);
            QVERIFY(op);
            QCOMPARE(op->colour, SurfaceColour::Black);
            QCOMPARE(op->size, 10);
            QCOMPARE(op->style, Surface::Bold | Surface::Underline);
        }
        QCOMPARE(s.findText(QStringLiteral("RÉPARTITION :"))->y, 10 + 2 * 17);
        QCOMPARE(s.findText(QStringLiteral("CONSEILS :"))->x, 390);
    }

    // Leader first, then the label over its start; regular black.
    void labelsAndLeaders_data() {
        QTest::addColumn<bool>("paper");
        QTest::newRow("screen") << false;
        QTest::newRow("paper s=8") << true;
    }
    void labelsAndLeaders() {
        QFETCH(bool, paper);
        const DiagLayout l = paper ? DiagLayout::papier(8) : DiagLayout::ecran();
        RecordingSurface s;
        LibellesPage1(s, l);
        const QList<Op> row4 = onRow(s, l.rowY(4));
        QCOMPARE(row4.size(), 4);
        QCOMPARE(row4[0].text, QStringLiteral(".............:"));
        QCOMPARE(row4[0].x, paper ? 150 * 8 : 153);
        QCOMPARE(row4[1].text, QStringLiteral("- Protides (prot. an.)........."));
        QCOMPARE(row4[1].x, l.leftLabelX);
        QCOMPARE(row4[2].text, QStringLiteral("........:"));
        QCOMPARE(row4[2].x, paper ? 495 * 8 : 515);
        QCOMPARE(row4[3].text, QStringLiteral("- protéines animales........."));
        QCOMPARE(row4[3].x, paper ? 390 * 8 : 390);
        for (const Op& op : s.texts()) {
            QCOMPARE(op.style, int(Surface::Regular));
            QCOMPARE(op.colour, SurfaceColour::Black);
        }
        const QList<Op> row17 = onRow(s, l.rowY(17));
        QCOMPARE(row17.size(), 4);
        QCOMPARE(row17[1].text, QStringLiteral("A.G. mono-insaturés........"));
        QCOMPARE(row17[2].text, QStringLiteral("soit"));
        QCOMPARE(row17[2].x, l.x(370));
        QCOMPARE(row17[3].text, QStringLiteral(" % des acides-gras."));
        QCOMPARE(row17[3].x, l.x(440));
    }

    // EcritValeur: the number, padding included, ends at the right edge.
    void valuesEndAtTheirEdge_data() {
        QTest::addColumn<bool>("paper");
        QTest::newRow("screen") << false;
        QTest::newRow("paper s=4") << true;
    }
    void valuesEndAtTheirEdge() {
        QFETCH(bool, paper);
        const DiagLayout l = paper ? DiagLayout::papier(4) : DiagLayout::ecran();
        DiagnosisData d = baseline();
        d.totals[DailyTotals::PROT_A] = 12.5;
        RecordingSurface s = draw(d, l);
        const Op* intake = s.findText(QStringLiteral("  12.50 g"));
        QVERIFY(intake);
        QCOMPARE(intake->y, l.rowY(4));
        QCOMPARE(intake->x + 6 * 7, paper ? 250 * 4 : 250);
        const QList<Op> row4 = onRow(s, l.rowY(4));
        auto needOp = std::find_if(row4.begin(), row4.end(),
                                   [](const Op& op) { return op.text == QStringLiteral("  50 g"); });
        QVERIFY(needOp != row4.end());
        QCOMPARE(needOp->x + 6 * 4, paper ? 560 * 4 : 580);
        // Fatty-acid share: Fixed(6, 2), no suffix, ending at 435.
        const QList<Op> row16 = onRow(s, l.rowY(16));
        auto share = std::find_if(row16.begin(), row16.end(),
                                  [](const Op& op) { return op.text == QStringLiteral(" 36.36"); });
        QVERIFY(share != row16.end());
        QCOMPARE(share->x + 6 * 6, l.x(435));
    }

    void idealProportions() {
        RecordingSurface s = draw(baseline());
        const Op* prot = s.findText(QStringLiteral("(proportion idéale =  18 %)"));   // 90 g x 400 / 2000
        QVERIFY(prot);
        QCOMPARE(prot->x, 400);
        QCOMPARE(prot->y, 10 + 6 * 17);
        QCOMPARE(s.findText(QStringLiteral("(proportion idéale =  52 %)"))->y, 10 + 10 * 17);
        QCOMPARE(s.findText(QStringLiteral("(proportion idéale =  35 %)"))->y, 10 + 14 * 17);
        RecordingSurface p = draw(baseline(), DiagLayout::papier(8));
        QCOMPARE(p.findText(QStringLiteral("(proportion idéale =  18 %)"))->x, 390 * 8 + 10);
    }

    // The family energies use 4/4/9 on the grams, not the CALORIES total.
    void environFigures() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::PROT_A] = 30;
        d.totals[DailyTotals::PROT_V] = 20;
        d.totals[DailyTotals::GLUC_S] = 100;
        d.totals[DailyTotals::GLUC_A] = 150;
        d.totals[DailyTotals::LIPI_A] = 20;
        d.totals[DailyTotals::LIPI_V] = 15.2;
        d.totals[DailyTotals::CALORIES] = 1500;
        RecordingSurface s = draw(d);
        const Op* prot = s.findText(QStringLiteral("(environ  200 kcalories, soit  13 %)"));
        QVERIFY(prot);
        QCOMPARE(prot->x, 50);
        QCOMPARE(prot->y, 10 + 6 * 17);
        QCOMPARE(prot->colour, SurfaceColour::Blue);
        QCOMPARE(s.findText(QStringLiteral("(environ 1000 kcalories, soit  67 %)"))->y, 10 + 10 * 17);
        // 316.8 kcal rounds to 317 before its share is taken: 317 / 1500 = 21 %.
        QCOMPARE(s.findText(QStringLiteral("(environ  317 kcalories, soit  21 %)"))->y, 10 + 14 * 17);
        RecordingSurface p = draw(d, DiagLayout::papier(8));
        QCOMPARE(p.findText(QStringLiteral("(environ  200 kcalories, soit  13 %)"))->x, 40 * 8 + 10);
        QCOMPARE(p.findText(QStringLiteral(" 850 kcal")), nullptr);
        QCOMPARE(p.findText(QStringLiteral("1500 kcal"))->x, 90 * 8);
    }

    void fattyAcidSharesMakeOneHundred() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::A_G_SAT] = 10;
        d.totals[DailyTotals::A_G_MONO] = 7;
        d.totals[DailyTotals::A_G_POLY] = 3.3;
        d.totals[DailyTotals::LIPI_A] = 99;   // the other lipids play no part
        RecordingSurface s;
        ApportsPage1(s, DiagLayout::ecran(), d.totals);
        double sum = 0;
        for (int r = 16; r <= 18; ++r) {
            const QList<Op> row = onRow(s, 10 + r * 17);
            QCOMPARE(row.size(), 2);
            sum += row[1].text.toDouble();
        }
        QCOMPARE(s.findText(QStringLiteral(" 49.26"))->y, 10 + 16 * 17);
        QVERIFY(qAbs(sum - 100.0) < 0.015);
    }

    void advice_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("sentence");
        const QString none;
        QTest::newRow("animal proteins equal to the need") << "PROT_A" << 50.0 << none;
        QTest::newRow("animal proteins 0.01 g short")
            << "PROT_A" << 49.99
            << QStringLiteral("Vous ne consommez pas assez de protéines animales (min. rec.   50 g/jour)");
        QTest::newRow("vegetable proteins short")
            << "PROT_V" << 39.0
            << QStringLiteral("Vous ne consommez pas assez de protéines végétales (min. rec.   40 g/jour)");
        QTest::newRow("animal lipids equal to the maximum") << "LIPI_A" << 40.0 << none;
        QTest::newRow("animal lipids over the maximum")
            << "LIPI_A" << 40.5
            << QStringLiteral("Vous consommez trop de lipides d'orig. anim. (max. rec.   40 g/jour)");
        QTest::newRow("sugar over the maximum")
            << "GLUC_S" << 61.0
            << QStringLiteral("Vous consommez trop de sucre (maximum recommandé   60 g/jour)");
        QTest::newRow("starch short")
            << "GLUC_A" << 150.0
            << QStringLiteral("Vous ne consommez pas assez d'amidon (minimum recommandé  200 g/jour)");
    }
    void advice() {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(QString, sentence);
        DiagnosisData d = baseline();
        d.totals.v[DailyTotals::slotOf(field)] = value;
        RecordingSurface s;
        const int n = ConseilsPage1(s, DiagLayout::ecran(), d.totals, d.needs);
        if (sentence.isEmpty()) {
            QCOMPARE(n, 0);
            QVERIFY(s.ops.isEmpty());
            return;
        }
        QCOMPARE(n, 1);
        QCOMPARE(s.ops.size(), 1);
        QCOMPARE(s.ops[0].text, sentence);
        QCOMPARE(s.ops[0].x, 40);
        QCOMPARE(s.ops[0].y, 10 + 20 * 17);
        QCOMPARE(s.ops[0].colour, SurfaceColour::Red);
    }

    // qL = 35: a share of 35.2 % exceeds it, exactly 35 % does not.
    void lipidShare_data() {
        QTest::addColumn<double>("lipiV");
        QTest::addColumn<bool>("warned");
        QTest::newRow("35.2 %") << 15.2 << true;
        QTest::newRow("exactly 35 %") << 15.0 << false;
    }
    void lipidShare() {
        QFETCH(double, lipiV);
        QFETCH(bool, warned);
        DiagnosisData d = baseline();
        d.needs[GroupNeeds::Energie] = 1800;
        d.needs[GroupNeeds::LipiA] = 40;
        d.needs[GroupNeeds::LipiV] = 30;   // 70 x 900 / 1800 = 35
        d.totals[DailyTotals::CALORIES] = 900;
        d.totals[DailyTotals::LIPI_A] = 20;
        d.totals[DailyTotals::LIPI_V] = lipiV;
        const QStringList c = conseils(d.totals, d.needs);
        const QString sentence =
            QStringLiteral("Attention ! le pourcentage de ration calorique des lipides dépasse  35 %");
        QCOMPARE(c.contains(sentence), warned);
    }

    void sixSentencesInTheirOrder() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::PROT_A] = 10;
        d.totals[DailyTotals::PROT_V] = 10;
        d.totals[DailyTotals::LIPI_A] = 150;   // also a lipid share far over 35 %
        d.totals[DailyTotals::GLUC_S] = 200;
        d.totals[DailyTotals::GLUC_A] = 10;
        RecordingSurface s = draw(d);
        const QStringList expected = {
            QStringLiteral("Attention ! le pourcentage de ration calorique des lipides dépasse  35 %"),
            QStringLiteral("Vous ne consommez pas assez de protéines animales"),
            QStringLiteral("Vous ne consommez pas assez de protéines végétales"),
            QStringLiteral("Vous consommez trop de lipides d'orig. anim."),
            QStringLiteral("Vous consommez trop de sucre"),
            QStringLiteral("Vous ne consommez pas assez d'amidon")};
        for (int i = 0; i < 6; ++i) {
            const QList<Op> row = onRow(s, 10 + (20 + i) * 17);
            QCOMPARE(row.size(), 1);
            QCOMPARE(row[0].colour, SurfaceColour::Red);
            QCOMPARE(row[0].x, 40);
            QVERIFY2(row[0].text.startsWith(expected[i]), qPrintable(row[0].text));
        }
        QVERIFY(onRow(s, 10 + 22 * 17)[0].text.contains(QStringLiteral("végétales")));
        QVERIFY(onRow(s, 10 + 25 * 17)[0].text.contains(QStringLiteral("amidon")));
        QCOMPARE(dessinePage1(s, DiagLayout::ecran(), d), 6);
    }

    // Labels, then the needs, then the intakes, then the advice.
    void drawingOrder() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::PROT_A] = 10;
        RecordingSurface s = draw(d);
        const int label = indexOf(s, QStringLiteral("- Lipides (orig. vég.)........"));
        const int need = indexOf(s, QStringLiteral("2000 kcal/jour"));
        const int intake = indexOf(s, QStringLiteral("2040 kcal"));
        const int advice = s.ops.size() - 1;
        QVERIFY(label >= 0 && need > label && intake > need && advice > intake);
        QVERIFY(
            s.ops[advice].text.startsWith(QStringLiteral("Vous ne consommez pas assez de protéines animales")));
    }

    // Where a quotient has no value: a dash in the number's place, never inf
    // or nan, and no lipid warning resting on it.
    void noQuotientNoNumber() {
        DiagnosisData d = baseline();
        d.totals[DailyTotals::CALORIES] = 0;   // foods without energy, QTE not 0
        RecordingSurface s = draw(d);
        noInfNan(s);
        QVERIFY(s.findText(QStringLiteral("(environ  420 kcalories, soit   - %)")));
        QVERIFY(s.findText(QStringLiteral("   0 kcal")));
        QVERIFY(!s.findTextContaining(QStringLiteral("Attention")));

        d = baseline();
        d.needs[GroupNeeds::Energie] = 0;
        d.totals[DailyTotals::LIPI_A] = 99;   // would warn with any positive qL
        s = draw(d);
        noInfNan(s);
        QCOMPARE(countTexts(
                     s, [](const Op& op) { return op.text == QStringLiteral("(proportion idéale =   - %)"); }),
                 3);
        QVERIFY(s.findText(QStringLiteral("   0 kcal/jour")));
        QVERIFY(!s.findTextContaining(QStringLiteral("Attention")));
        QVERIFY(s.findTextContaining(QStringLiteral("lipides d'orig. anim.")));   // needs no quotient

        d = baseline();
        d.totals[DailyTotals::A_G_SAT] = d.totals[DailyTotals::A_G_MONO] = d.totals[DailyTotals::A_G_POLY] = 0;
        s = RecordingSurface();
        ApportsPage1(s, DiagLayout::ecran(), d.totals);
        noInfNan(s);
        for (int r = 16; r <= 18; ++r) {
            const QList<Op> row = onRow(s, 10 + r * 17);
            QCOMPARE(row[0].text, QStringLiteral("   0.00 g"));
            QCOMPARE(row[1].text, QStringLiteral("     -"));
            QCOMPARE(row[1].x + 6 * 6, 435);
        }
    }
};

QTEST_APPLESS_MAIN(TestPage1)
#include "tst_page1.moc"
