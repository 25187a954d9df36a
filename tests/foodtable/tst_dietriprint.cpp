// The ranking's printed list, drawn on a recording surface: the print unit,
// the positions of the title and of both columns, the amounts and their unit,
// the order of the foods as the ranking tags give it, and a second printing
// identical to the first.
#include <QtTest>

#include "core/foodtable/ranking.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "support/recordingsurface.h"
#include "support/testsupport.h"

using Op = RecordingSurface::Op;

namespace {
// A Food table of n foods "Aliment 001"..., calcium 10 x number (so the last
// food is the richest), iron in the order given by `fer` when not empty.
QString foodTable(const QString& dir, int n, const QVector<QVariant>& fer = {}) {
    const QString path = Fixtures::createEmpty(foodSchema(), dir);
    QVector<QVariantMap> rows;
    for (int i = 1; i <= n; ++i) {
        QVariantMap m;
        m["NUMERO"] = i;
        m["NOM"] = QStringLiteral("Aliment %1").arg(i, 3, 10, QLatin1Char('0'));
        m["CATEGORIE"] = categories().first();
        m["CA"] = 10.0 * i;
        if (i <= fer.size() && fer[i - 1].isValid()) m["FE"] = fer[i - 1];
        rows.push_back(m);
    }
    Fixtures::appendRecords(foodSchema(), path, rows);
    return path;
}

QList<Op> printout(Table& t, const QString& champ, int width = 4800) {
    RecordingSurface s(10);
    t.close();
    t.setIndexName(champ);
    t.open();
    imprimeTri(s, width, *classementDe(champ), t);
    return s.texts();
}
}   // namespace

class TestDietriPrint : public QObject {
    Q_OBJECT
private slots:
    void printUnit_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("u");
        QTest::newRow("4800 dots: 7.5 to the even 8") << 4800 << 8;
        QTest::newRow("4160 dots: 6.5 to the even 6") << 4160 << 6;
        QTest::newRow("A4 at 1200 dpi inside 10 mm") << 7480 << 12;
        QTest::newRow("a page narrower than 320 dots still prints") << 200 << 1;
    }
    void printUnit() {
        QFETCH(int, width);
        QFETCH(int, u);
        QCOMPARE(uniteImpression(width), u);
    }

    void amounts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("12.5 gets one leading space") << 12.5 << " 12.500";
        QTest::newRow("0 gets two") << 0.0 << "  0.000";
        QTest::newRow("1000 or more gets none") << 1234.5 << "1234.500";
        QTest::newRow("rounded to three decimals") << 0.0004 << "  0.000";
    }
    void amounts() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(montantTri(value), text);
    }

    void pageLayoutAtU8() {
        TempDataDir dir;
        foodTable(dir.path(), 120);
        Table t(dir.run(), foodSchema());
        const QList<Op> ops = printout(t, QStringLiteral("CA"));
        // Title, then 94 rows of a name and an amount each.
        QCOMPARE(ops.size(), 1 + 2 * 94);
        const Op& title = ops[0];
        QCOMPARE(title.text, QStringLiteral("Aliments comprenant le plus de calcium"));
        QCOMPARE(title.y, 80);
        QCOMPARE(title.x, (4800 - 10 * int(title.text.size())) / 2);
        QCOMPARE(title.style, Surface::Bold | Surface::Underline);
        QCOMPARE(title.size, 14);
        QCOMPARE(title.font, QStringLiteral("Times New Roman"));

        // Richest first: food 120 heads the left column, 73 the right one.
        const Op& first = ops[1];
        QCOMPARE(first.text, QStringLiteral("Aliment 120"));
        QCOMPARE(QPoint(first.x, first.y), QPoint(320, 336));
        QCOMPARE(first.colour, SurfaceColour::Blue);
        QCOMPARE(first.style, int(Surface::Regular));
        QCOMPARE(first.size, 10);
        const Op& amount = ops[2];
        QCOMPARE(amount.text, QStringLiteral("1200.000 mg"));   // 1000 or more: no leading space
        QCOMPARE(amount.x + 10 * 8, 2000);                      // the number alone ends at 250u
        const Op& lastLeft = ops[2 * 47 - 1];
        QCOMPARE(lastLeft.y, 6224);
        QCOMPARE(lastLeft.text, QStringLiteral("Aliment 074"));
        const Op& right = ops[2 * 47 + 1];
        QCOMPARE(QPoint(right.x, right.y), QPoint(2960, 336));
        QCOMPARE(right.text, QStringLiteral("Aliment 073"));
        QCOMPARE(ops[2 * 47 + 2].text, QStringLiteral("730.000 mg"));
        QCOMPARE(ops[2 * 47 + 2].x + 10 * 7, 4480);
        QCOMPARE(ops.last().text, QStringLiteral("270.000 mg"));   // food 27 is the 94th

        // The table is back on its first food, and a second printing is the same.
        QCOMPARE(t.asString("NOM"), QStringLiteral("Aliment 120"));
        RecordingSurface again(10);
        imprimeTri(again, 4800, *classementDe("CA"), t);
        QCOMPARE(again.texts().size(), ops.size());
        for (int i = 0; i < ops.size(); ++i) QCOMPARE(again.texts()[i].text, ops[i].text);
    }

    void orderAmongEqualsAndBlanks() {
        // Iron: two foods of equal content, one blank, one at zero.
        TempDataDir dir;
        foodTable(dir.path(), 4, {2.0, QVariant(), 2.0, 0.0});
        Table t(dir.run(), foodSchema());
        const QList<Op> ops = printout(t, QStringLiteral("FE"), 640);
        QStringList names;
        for (int i = 1; i < ops.size(); i += 2) names << ops[i].text;
        // Equal values by name, then zero and blank as the tag places them.
        QCOMPARE(names.mid(0, 2), QStringList({"Aliment 001", "Aliment 003"}));
        QCOMPARE(names.size(), 4);
        QCOMPARE(ops[4].text, QStringLiteral("  2.000 mg"));
        QVERIFY(ops.last().text.startsWith(QStringLiteral("  0.000")));
    }

    void everyRankingHasItsTagAndColumn() {
        QCOMPARE(classements().size(), 30);
        QStringList champs;
        for (const Ranking& c : classements()) {
            champs << c.champ;
            QVERIFY2(presentationOf(c.champ), qPrintable(c.champ));
            QVERIFY(c.unite == QLatin1String(" g") || c.unite == QLatin1String(" mg"));
        }
        QCOMPARE(QSet<QString>(champs.begin(), champs.end()),
                 QSet<QString>(nutrientTags().begin(), nutrientTags().end()));
        QVERIFY(!classementDe(QStringLiteral("FIBRES")));
        QVERIFY(!classementDe(QStringLiteral("CALORIES")));
        QCOMPARE(classementDe(QStringLiteral("fe"))->libelle, QStringLiteral("fer"));
    }
};

QTEST_GUILESS_MAIN(TestDietriPrint)
#include "tst_dietriprint.moc"
