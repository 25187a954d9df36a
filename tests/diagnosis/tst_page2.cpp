// Page 2 of the diagnosis and the printed sheet, on a recording surface:
// rows, formats, colours, rates and bars on screen and paper, the scale of
// the sheet and where page 2 stands below the advice.
#include <QtTest>

#include "core/diagnosis/page1.h"
#include "core/diagnosis/page2.h"
#include "core/diagnosis/sheet.h"
#include "pagetestdata.h"
#include "core/interfaces/surface.h"

using namespace PageTest;
using Op = RecordingSurface::Op;

namespace {
// y of data row i (0 = energy) of page 2 in a layout.
int dataRowY(const DiagLayout& l, int i) { return l.rowY(l.page2Base + 23 + i); }
}   // namespace

class TestPage2 : public QObject {
    Q_OBJECT
private slots:
    void labelsAndHeadings() {
        RecordingSurface s;
        const DiagLayout l = DiagLayout::ecran();
        LibellesPage2(s, l);
        const Op* h = s.findText(QStringLiteral("MINÉRAUX-VITAMINES :"));
        QVERIFY(h);
        QCOMPARE(h->x, 10);
        QCOMPARE(h->y, 10 + 2 * 17);
        QCOMPARE(h->style, Surface::Bold | Surface::Underline);
        QCOMPARE(s.findText(QStringLiteral("CONSEILS :"))->x, 250);
        QCOMPARE(s.findText(QStringLiteral("TAUX :"))->x, 370);
        const Op* energy = s.findText(QStringLiteral("- Énergie"));
        QCOMPARE(energy->y, 10 + 4 * 17);
        QCOMPARE(energy->colour, SurfaceColour::Red);
        QCOMPARE(energy->style, int(Surface::Regular));
        const QStringList expected = {"- Calcium",   "- Chlore",    "- Cuivre",    "- Fer",       "- Iode",
                                      "- Magnésium", "- Manganèse", "- Phosphore", "- Potassium", "- Sodium",
                                      "- Soufre",    "- Zinc",      "- Vit. A",    "- Vit. B1",   "- Vit. B2",
                                      "- Vit. B6",   "- Vit. B9",   "- Vit. C",    "- Vit. D",    "- Vit. PP"};
        const QList<Op> texts = s.texts();
        QCOMPARE(texts.size(), 3 + 21);
        for (int i = 0; i < expected.size(); ++i) {
            const Op& op = texts[4 + i];
            QCOMPARE(op.text, expected[i]);
            QCOMPARE(op.x, 40);
            QCOMPARE(op.y, dataRowY(l, i + 1));
            QCOMPARE(op.colour, SurfaceColour::Black);
        }
        QCOMPARE(texts.last().y, 10 + 24 * 17);
    }

    // Intake, need and rate of one row, with the row's suffix and colour.
    void rows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("intake");
        QTest::addColumn<double>("need");
        QTest::addColumn<QString>("intakeText");
        QTest::addColumn<QString>("needText");
        QTest::addColumn<QString>("rateText");
        QTest::addColumn<int>("bar");
        QTest::newRow("energy, two decimals, red") << 0 << 850.4 << 2000.0 << " 850.40 kcal"
                                                   << "2000.00 kcal"
                                                   << "  42.52 %" << 43;
        QTest::newRow("1.5 times the need: full bar") << 1 << 1200.0 << 800.0 << "1200.00 mg"
                                                      << " 800.00 mg"
                                                      << " 150.00 %" << 100;
        QTest::newRow("absent nutrient") << 4 << 0.0 << 16.0 << "   0.00 mg"
                                         << "  16.00 mg"
                                         << "   0.00 %" << 0;
        QTest::newRow("vitamin D in micrograms, rate from mg") << 19 << 0.0025 << 0.005 << "   2.50 µg"
                                                               << "   5.00 µg"
                                                               << "  50.00 %" << 50;
        QTest::newRow("just over 100") << 20 << 15.01 << 15.0 << "  15.01 mg"
                                       << "  15.00 mg"
                                       << " 100.07 %" << 100;
    }
    void rows() {
        QFETCH(int, row);
        QFETCH(double, intake);
        QFETCH(double, need);
        QFETCH(QString, intakeText);
        QFETCH(QString, needText);
        QFETCH(QString, rateText);
        QFETCH(int, bar);
        const LignePage2& line = LignesPage2()[row];
        DiagnosisData d = baseline();
        d.totals[line.intake] = intake;
        d.needs[line.need] = need;
        const DiagLayout l = DiagLayout::ecran();
        RecordingSurface s;
        dessinePage2(s, l, d);
        const int y = dataRowY(l, row);
        const quint32 colour = row == 0 ? SurfaceColour::Red : SurfaceColour::Blue;
        const int numberWidth = 6 * 7;
        const Op* a = textOnRow(s, y, intakeText);
        QVERIFY2(a, qPrintable(intakeText));
        QCOMPARE(a->x + numberWidth, 180);
        QCOMPARE(a->colour, colour);
        const Op* n = textOnRow(s, y, needText);
        QVERIFY2(n, qPrintable(needText));
        QCOMPARE(n->x + numberWidth, 300);
        QCOMPARE(n->colour, colour);
        const Op* r = textOnRow(s, y, rateText);
        QVERIFY2(r, qPrintable(rateText));
        QCOMPARE(r->x + numberWidth, 400);
        QCOMPARE(r->colour, colour);
        const QList<Op> lines = s.lines();
        QCOMPARE(lines.size(), 21);
        const Op& b = lines[row];
        QCOMPARE(b.x, 450);
        QCOMPARE(b.y, y + 7);
        QCOMPARE(b.y2, y + 7);
        QCOMPARE(b.x2 - b.x, bar);
        QCOMPARE(b.penWidth, 5);
        QCOMPARE(b.colour, colour);
    }

    // The rate of a row whose need is 0 has no value: a dash and no bar.
    void needOfZero() {
        DiagnosisData d = baseline();
        d.needs[GroupNeeds::Fer] = 0;
        d.totals[DailyTotals::FE] = 12;
        const DiagLayout l = DiagLayout::ecran();
        RecordingSurface s;
        dessinePage2(s, l, d);
        const int y = dataRowY(l, 4);   // "- Fer"
        const Op* rate = textOnRow(s, y, QStringLiteral("      - %"));
        QVERIFY(rate);
        QCOMPARE(rate->x + 6 * 7, 400);
        QVERIFY(textOnRow(s, y, QStringLiteral("   0.00 mg")));
        QCOMPARE(s.lines().size(), 20);
        for (const Op& op : s.lines()) QVERIFY(op.y != y + 7);
        noInfNan(s);
    }

    void negativeRateDrawsNoBackwardBar() {
        RecordingSurface s;
        BarreTaux(s, DiagLayout::ecran(), 450, 100, SurfaceColour::Blue, -30);
        QCOMPARE(s.lines().size(), 1);
        QCOMPARE(s.lines()[0].x2, 450);
    }

    void barsOnPaper_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("length");
        QTest::newRow("37.5 % at s=8") << 37.5 << 300;
        QTest::newRow("0.0625 % rounds halves to even") << 0.0625 << 0;   // 0.5 -> 0
        QTest::newRow("250 % is capped") << 250.0 << 800;
    }
    void barsOnPaper() {
        QFETCH(double, rate);
        QFETCH(int, length);
        RecordingSurface s;
        const DiagLayout l = DiagLayout::papier(8);
        BarreTaux(s, l, l.x(450), 1000, SurfaceColour::Red, rate);
        const Op b = s.lines().first();
        QCOMPARE(b.x, 3600);
        QCOMPARE(b.y, 1000 + 56);
        QCOMPARE(b.penWidth, 40);
        QCOMPARE(b.x2 - b.x, length);
    }

    void echelle_data() {
        QTest::addColumn<int>("dots");
        QTest::addColumn<int>("scale");
        QTest::newRow("4800 dots: 7.5 rounds to even 8") << 4800 << 8;
        QTest::newRow("2400 dots") << 2400 << 4;
        QTest::newRow("4160 dots: 6.5 rounds to even 6") << 4160 << 6;
        QTest::newRow("640 dots") << 640 << 1;
        QTest::newRow("narrower than half the window") << 300 << 1;
    }
    void echelle() {
        QFETCH(int, dots);
        QFETCH(int, scale);
        QCOMPARE(Echelle(dots), scale);
    }

    // Page 2 on paper starts below the advice: headings on row n + 21.
    void sheetRows_data() {
        QTest::addColumn<bool>("advice");
        QTest::addColumn<int>("headingRow");
        QTest::newRow("no advice") << false << 21;
        QTest::newRow("six sentences") << true << 27;
    }
    void sheetRows() {
        QFETCH(bool, advice);
        QFETCH(int, headingRow);
        DiagnosisData d = baseline();
        if (advice) {
            d.totals[DailyTotals::PROT_A] = 10;
            d.totals[DailyTotals::PROT_V] = 10;
            d.totals[DailyTotals::LIPI_A] = 150;
            d.totals[DailyTotals::GLUC_S] = 200;
            d.totals[DailyTotals::GLUC_A] = 10;
        }
        const int s = 8;
        RecordingSurface rs;
        QCOMPARE(dessineFeuille(rs, s, d), advice ? 6 : 0);
        auto rowY = [&](int r) { return 10 * s + r * 16 * s; };
        QCOMPARE(rs.findText(QStringLiteral("MINÉRAUX-VITAMINES :"))->y, rowY(headingRow));
        QCOMPARE(rs.findText(QStringLiteral("MINÉRAUX-VITAMINES :"))->x, 10 * s);
        QCOMPARE(rs.findText(QStringLiteral("- Énergie"))->y, rowY(headingRow + 2));
        QCOMPARE(rs.findText(QStringLiteral("- Vit. PP"))->y, rowY(headingRow + 22));
        QCOMPARE(rs.findText(QStringLiteral("- Vit. PP"))->x, 40 * s);
        // One title only, page 1 first, every text in Times New Roman.
        QCOMPARE(countTexts(rs, [](const Op& op) { return op.text == QStringLiteral("FEMME ACTIVE"); }), 1);
        QCOMPARE(rs.ops.first().text, QStringLiteral("FEMME ACTIVE"));
        QCOMPARE(rs.ops.first().y, 10 * s);
        QVERIFY(indexOf(rs, QStringLiteral("ÉNERGIE :")) < indexOf(rs, QStringLiteral("MINÉRAUX-VITAMINES :")));
        for (const Op& op : rs.ops) QCOMPARE(op.font, QStringLiteral("Times New Roman"));
        QCOMPARE(rs.findText(QStringLiteral("ÉNERGIE :"))->size, 10);
        QCOMPARE(rs.findText(QStringLiteral(".............:"))->x, 150 * s);
        QCOMPARE(rs.lines().size(), 21);
        QCOMPARE(rs.lines().first().x, 450 * s);
    }

    void effacePage() {
        RecordingSurface s;
        EffacePage(s);
        const QList<Op> t = s.texts();
        QCOMPARE(t.size(), 27);
        QCOMPARE(t.first().y, 10);
        QCOMPARE(t.last().y, 10 + 26 * 17);
        for (const Op& op : t) {
            QCOMPARE(op.x, 5);
            QVERIFY(op.text.trimmed().isEmpty());
            QVERIFY(s.textWidth(op.text) >= 630);
            QVERIFY(s.textWidth(op.text) < 630 + 2 * 6);
        }
    }
};

QTEST_APPLESS_MAIN(TestPage2)
#include "tst_page2.moc"
