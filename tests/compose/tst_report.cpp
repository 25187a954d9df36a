// The chosen-list report drawn on a recording surface: the rows and the
// totals right under them on one page, the masks of the rows and of the
// totals, and a list too long for one page with its running totals.
#include <QtTest>

#include "core/compose/choicereport.h"
#include "support/recordingsurface.h"

using Op = RecordingSurface::Op;

namespace {
LigneListe ligne(const QString& nom, double qte, double protA, double calories) {
    LigneListe l;
    l.nom = nom;
    l.valeurs[LigneListe::QTE] = qte;
    l.valeurs[LigneListe::PROT_A] = protA;
    l.valeurs[LigneListe::LIPI_V] = qte / 100.0;
    l.valeurs[LigneListe::CALORIES] = calories;
    return l;
}

}   // namespace
Q_DECLARE_METATYPE(QVector<LigneListe>)
namespace {
const QDateTime kQuand(QDate(2026, 12, 8), QTime(9, 5, 7));

QList<Op> page(const ChoiceReport& r, int index) {
    RecordingSurface s(6);
    r.dessinePage(s, index, 1.0);
    return s.texts();
}

// The texts of a page standing at height y, left to right.
QStringList rowAt(const QList<Op>& ops, int y) {
    QList<Op> row;
    for (const Op& o : ops)
        if (o.y == y) row << o;
    std::sort(row.begin(), row.end(), [](const Op& a, const Op& b) { return a.x < b.x; });
    QStringList t;
    for (const Op& o : row) t << o.text;
    return t;
}
}   // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void threeLinesAndTheirTotals() {
        const ChoiceReport r(
            {ligne("Pain", 250, 0, 612.5), ligne("Lait", 200, 6.4, 92.25), ligne("Pomme", 150, 0, 78)}, kQuand,
            QLocale::c());
        QCOMPARE(r.pageCount(), 1);
        QCOMPARE(Bandes::hauteurPied(3), 960 - 93);
        const QList<Op> ops = page(r, 0);
        QCOMPARE(rowAt(ops, 14), QStringList({"08/12/2026", "09:05:07"}));
        QCOMPARE(rowAt(ops, 10), QStringList({"Liste des aliments choisis"}));
        QCOMPARE(rowAt(ops, 40 + 14), QStringList({"Nom", QStringLiteral("Qté"), "P.A.", "P.V.", "Suc.",
                                                   "Amid.", "L.A.", "L.V.", "Kcal."}));
        // Rows every 31 pixels under the bands, the totals 31 below the last.
        QCOMPARE(rowAt(ops, 82),
                 QStringList({"Pain", "250", "0.000", "0.000", "0.000", "0.000", "0.000", "2.500", "612.5"}));
        QCOMPARE(rowAt(ops, 82 + 31)[8], QStringLiteral("92.25"));
        QCOMPARE(rowAt(ops, 82 + 62)[0], QStringLiteral("Pomme"));
        QCOMPARE(rowAt(ops, 82 + 93),
                 QStringList({"Totaux", "600", "6.400", "0.000", "0.000", "0.000", "0.000", "6.000", "783"}));
        // Right-aligned: QTE ends at 186, CALORIES at 582.
        const Op* qte = nullptr;
        for (const Op& o : ops)
            if (o.text == QLatin1String("250")) qte = &o;
        QVERIFY(qte);
        QCOMPARE(qte->x + 3 * 6, 186);
        const Op* kcal = nullptr;
        for (const Op& o : ops)
            if (o.text == QLatin1String("783")) kcal = &o;
        QCOMPARE(kcal->x + 3 * 6, 582);
    }

    void masks_data() {
        QTest::addColumn<double>("calories");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("total");
        QTest::newRow("a half goes to the even number below") << 82.5 << "82.5"
                                                              << "82";
        QTest::newRow("a half goes to the even number above") << 83.5 << "83.5"
                                                              << "84";
        QTest::newRow("under a half") << 99.4 << "99.4"
                                      << "99";
        QTest::newRow("whole") << 100.0 << "100"
                               << "100";
    }
    void masks() {
        QFETCH(double, calories);
        QFETCH(QString, row);
        QFETCH(QString, total);
        const ChoiceReport r({ligne("X", 250, 12.3456, calories)}, kQuand, QLocale::c());
        QCOMPARE(r.texteLigne(r.lignes()[0], LigneListe::CALORIES), row);
        QCOMPARE(r.texteTotal(r.sommes(1), LigneListe::CALORIES), total);
        QCOMPARE(r.texteLigne(r.lignes()[0], LigneListe::PROT_A), QStringLiteral("12.346"));
        QCOMPARE(r.texteTotal(r.sommes(1), LigneListe::QTE), QStringLiteral("250"));
    }

    // Nothing runs into its neighbour: a long name is cut before the
    // quantity, a column widens to its widest value (rows and every page's
    // totals) into the page's unused width, the time stays on the page.
    // Letters of 8 pixels, as wide as Arial's digits at 10 points.
    void textsKeepToTheirRoom_data() {
        QTest::addColumn<QVector<LigneListe>>("lignes");
        QTest::addColumn<QStringList>("shown");   // texts printed whole
        QTest::newRow("a long name, a long energy")
            << QVector<LigneListe>{ligne("Pommes de terre au four, avec peau", 225, 0, 1234.5678)}
            << QStringList{"1234.5678"};
        // The wider columns take the unused width on the right: a name that
        // fits its drawn room is not cut for them, and a longer one moves the
        // columns right, into the unused width, before it is cut.
        LigneListe lait = ligne(QStringLiteral("Lait demi-écrémé"), 10000, 1080, 90000);
        QTest::newRow("a name longer than its drawn room")
            << QVector<LigneListe>{ligne(QStringLiteral("Champignon de Paris, cru"), 10000, 262, 2632)}
            << QStringList{"Champignon de Paris, cru", "2632"};
        lait.valeurs[LigneListe::LIPI_A] = 680;
        QTest::newRow("lines of 10 000 g")
            << QVector<LigneListe>(3, lait) << QStringList{"1080.000", "680.000", "30000", lait.nom};
        QVector<LigneListe> jour;
        for (int i = 0; i < 105; ++i) jour << ligne(QStringLiteral("Aliment %1").arg(i), 250, 9.976, 712.3);
        QTest::newRow("a day of 105 lines") << jour << QStringList{"1047.480", "74792"};
    }
    void textsKeepToTheirRoom() {
        QFETCH(QVector<LigneListe>, lignes);
        QFETCH(QStringList, shown);
        const ChoiceReport r(lignes, kQuand, QLocale::c());
        QStringList found;
        for (int p = 0; p < r.pageCount(); ++p) {
            RecordingSurface s(8);
            r.dessinePage(s, p, 1.0);
            QCOMPARE(s.overlaps(), QStringList());
            for (const Op& o : s.texts()) {
                QVERIFY2(o.x >= 0 && o.x + o.width <= Bandes::Largeur, qPrintable(o.text));
                if (shown.contains(o.text) && !found.contains(o.text)) found << o.text;
            }
            if (p == 0 && lignes.size() == 1 && !shown.contains(lignes[0].nom)) {
                const QString nom = rowAt(s.texts(), 82)[0];
                QVERIFY2(nom.endsWith(QChar(0x2026)), qPrintable(nom));
            }
        }
        QCOMPARE(found.size(), shown.size());
    }

    void pagination_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("none: no page") << 0 << QList<int>();
        QTest::newRow("30 still stand on one page") << 30 << QList<int>({30});
        QTest::newRow("31 run over") << 31 << QList<int>({29, 2});
        QTest::newRow("45 on two pages") << 45 << QList<int>({29, 16});
        QTest::newRow("100 on four") << 100 << QList<int>({29, 30, 30, 11});
    }
    void pagination() {
        QFETCH(int, lines);
        QFETCH(QList<int>, perPage);
        QVector<LigneListe> l;
        for (int i = 1; i <= lines; ++i) l << ligne(QStringLiteral("Aliment %1").arg(i), 10, 1, i);
        const ChoiceReport r(l, kQuand, QLocale::c());
        QCOMPARE(r.pageCount(), perPage.size());
        int first = 0;
        for (int p = 0; p < r.pageCount(); ++p) {
            QCOMPARE(r.page(p).premiere, first);
            QCOMPARE(r.page(p).nombre, perPage[p]);
            QCOMPARE(r.page(p).titre, p == 0);
            // The footer under the page's last row, within the page's bands.
            const int rowsEnd = (p == 0 ? 80 : 40) + 31 * r.page(p).nombre;
            QVERIFY(r.page(p).piedY >= rowsEnd);
            QVERIFY(r.page(p).piedY + 20 <= Bandes::BasDePage);
            first += perPage[p];
        }
        QCOMPARE(first, lines);
    }

    // Each page's footer shows the sums of every row printed so far.
    void runningTotalsOnEachPage() {
        QVector<LigneListe> l;
        for (int i = 1; i <= 45; ++i) l << ligne(QStringLiteral("Aliment %1").arg(i), 10, 1, i);
        const ChoiceReport r(l, kQuand, QLocale::c());
        const QList<Op> p1 = page(r, 0), p2 = page(r, 1);
        const int pied = r.page(0).piedY + 2;
        QCOMPARE(rowAt(p1, pied),
                 QStringList({"Totaux", "290", "29.000", "0.000", "0.000", "0.000", "0.000", "2.900", "435"}));
        QCOMPARE(rowAt(p2, pied),
                 QStringList({"Totaux", "450", "45.000", "0.000", "0.000", "0.000", "0.000", "4.500", "1035"}));
        // The title on the first page only; the column head on both.
        QVERIFY(!rowAt(p2, 10).contains(QStringLiteral("Liste des aliments choisis")));
        QCOMPARE(rowAt(p2, 14).first(), QStringLiteral("Nom"));
        QCOMPARE(rowAt(p2, 42).first(), QStringLiteral("Aliment 30"));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
