// The population groups, the group taken from the window caption and the
// reading of the Needs table rows into the Group needs.
#include <QtTest>

#include "core/table/table.h"
#include "core/diagnosis/needs.h"
#include "support/testsupport.h"

class TestNeeds : public QObject {
    Q_OBJECT

    // A Needs table whose cell of row r in the column of index c (1-based
    // after NOM) holds 1000 r + c, so that every value says where it came from.
    static void writeNeeds(const QString& dir, int rows, const QSet<int>& emptyRows = {}) {
        const QString path = Fixtures::createEmpty(needsSchema(), dir);
        QVector<QVariantMap> records;
        for (int r = 1; r <= rows; ++r) {
            QVariantMap m;
            m["NOM"] = QStringLiteral("Ligne %1").arg(r);
            if (!emptyRows.contains(r))
                for (int c = 1; c < needsSchema().fields.size(); ++c)
                    m[needsSchema().fields[c].name] = 1000.0 * r + c;
            records << m;
        }
        Fixtures::appendRecords(needsSchema(), path, records);
    }
    static int columnIndex(const QString& column) {
        for (int c = 0; c < needsSchema().fields.size(); ++c)
            if (needsSchema().fields[c].name == column) return c;
        return -1;
    }

private slots:
    void groupsMatchTheNeedsTable() {
        const QVector<PopulationGroup>& g = populationGroups();
        QCOMPARE(g.size(), 17);
        // The columns follow the menu order, as in the table file.
        for (int i = 0; i < g.size(); ++i) QCOMPARE(g[i].column, needsSchema().fields[i + 1].name);
        QCOMPARE(SuffixeBilan.size(), 33);
    }

    void groupFromCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("column");
        for (const PopulationGroup& g : populationGroups())
            QTest::newRow(g.menuItem) << g.caption + SuffixeBilan << g.caption << g.column;
        QTest::newRow("empty caption") << QString() << QString() << "E_2_ANS";
        QTest::newRow("shorter than the suffix") << QStringLiteral("Femme active") << QString() << "E_2_ANS";
        QTest::newRow("the suffix alone") << SuffixeBilan << QString() << "E_2_ANS";
        QTest::newRow("wrong letter case") << QStringLiteral("enfant de 5 ans") + SuffixeBilan
                                           << QStringLiteral("enfant de 5 ans") << "E_2_ANS";
        QTest::newRow("accent missing")
            << QStringLiteral("Femme agee") + SuffixeBilan << QStringLiteral("Femme agee") << "E_2_ANS";
        QTest::newRow("trailing blank")
            << QStringLiteral("Homme actif ") + SuffixeBilan << QStringLiteral("Homme actif ") << "E_2_ANS";
    }
    void groupFromCaption() {
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, column);
        QCOMPARE(NomGroupe(caption), name);
        QCOMPARE(colonneDuGroupe(NomGroupe(caption)), column);
    }

    void choixColonneLeavesTheColumnWhenNothingMatches() {
        QString column = QStringLiteral("H_FORCE");
        ChoixColonne(QStringLiteral("Personne"), column);
        QCOMPARE(column, QStringLiteral("H_FORCE"));
        ChoixColonne(QStringLiteral("Femme âgée"), column);
        QCOMPARE(column, QStringLiteral("F_VIEILLAR"));
    }

    void rowsOfTheSlots() {
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::Energie), 1);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::ProtA), 3);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::LipiV), 6);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::Sucre), 8);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::Calcium), 10);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::VitD), 22);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::Chlore), 24);
        QCOMPARE(GroupNeeds::rowOf(GroupNeeds::Potassium), 29);
    }

    void litBesoins_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("column");
        QTest::newRow("29 rows, Femme active") << 29 << "F_FORCE";
        QTest::newRow("31 rows, the last two ignored") << 31 << "H_VIEILLAR";
        QTest::newRow("12 rows: the last one repeats") << 12 << "E_2_ANS";
        QTest::newRow("one row") << 1 << "G_13_ANS";
    }
    void litBesoins() {
        QFETCH(int, rows);
        QFETCH(QString, column);
        TempDataDir dir;
        writeNeeds(dir.path(), rows);
        Table t(dir.run(), needsSchema());
        t.setDirectory(dir.path());
        t.open();
        GroupNeeds n;
        LitBesoins(t, column, n);
        const int c = columnIndex(column);
        for (int s = 0; s < GroupNeeds::Count; ++s) {
            const int row = qMin(GroupNeeds::rowOf(GroupNeeds::Slot(s)), rows);
            QCOMPARE(n.v[s], 1000.0 * row + c);
        }
    }

    // Rows 2 and 7 are never read; an empty cell reads as 0.
    void unusedRowsAndEmptyCells() {
        TempDataDir dir;
        writeNeeds(dir.path(), 29, {2, 7, 15});
        Table t(dir.run(), needsSchema());
        t.setDirectory(dir.path());
        t.open();
        GroupNeeds n;
        LitBesoins(t, QStringLiteral("F_FORCE"), n);
        const int c = columnIndex(QStringLiteral("F_FORCE"));
        QCOMPARE(n[GroupNeeds::ProtA], 3000.0 + c);
        QCOMPARE(n[GroupNeeds::Sucre], 8000.0 + c);
        QCOMPARE(n[GroupNeeds::Iode], 0.0);
        for (double v : n.v) QVERIFY(v != 2000.0 + c && v != 7000.0 + c);
    }
};

QTEST_GUILESS_MAIN(TestNeeds)
#include "tst_needs.moc"
