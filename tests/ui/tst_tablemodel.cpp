// The grid model over a table handle, the grid that follows the handle's
// cursor both ways, and the bound field box.
#include <QAbstractItemModelTester>
#include <QtTest>

#include "core/table/table.h"
#include "support/testsupport.h"
#include "ui/datagrid.h"
#include "ui/fieldbox.h"
#include "ui/tablemodel.h"

namespace {
QVector<TableModel::Column> columns() {
    return {{QStringLiteral("NOM"), QStringLiteral("Nom"), QString(), 25},
            {QStringLiteral("QTE"), QStringLiteral("Qté"), QString(), 0},
            {QStringLiteral("PROT_A"), QStringLiteral("Prot. An."), QStringLiteral("0.000"), 0},
            {QStringLiteral("VIT_D"), QStringLiteral("Vit. D"), QStringLiteral("0.0000"), 0},
            {QStringLiteral("FIBRES"), QString(), QString(), 0}};
}

void addLine(Table& t, const QString& nom, double qte, double protA) {
    t.append();
    t.setString(QStringLiteral("NOM"), nom);
    t.setFloat(QStringLiteral("QTE"), qte);
    t.setFloat(QStringLiteral("PROT_A"), protA);
    t.setFloat(QStringLiteral("VIT_D"), protA / 1000);
    t.post();
}
}   // namespace

class TestTableModel : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataDir> dir;

private slots:
    void init() {
        dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(dir->path());
    }
    void cleanup() { dir.reset(); }

    // The model stays consistent through everything a handle can do.
    void modelTester() {
        Table t(dir->run(), choiceSchema());
        TableModel model(&t, columns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);   // closed
        t.open();
        addLine(t, QStringLiteral("Pomme"), 150, 0.45);
        addLine(t, QStringLiteral("Pain"), 50, 4.5);
        QCOMPARE(model.rowCount(), 2);
        t.first();
        t.setFloat(QStringLiteral("QTE"), 75);   // the pending buffer shows at once
        QCOMPARE(model.text(0, 1), QStringLiteral("75"));
        t.post();
        t.append();   // the new record shows as an extra row
        QCOMPARE(model.rowCount(), 3);
        t.cancel();
        QCOMPARE(model.rowCount(), 2);
        t.last();
        t.deleteRecord();
        QCOMPARE(model.rowCount(), 1);
        t.setFilterValue(QStringLiteral("NOM"), QStringLiteral("Absent"));
        t.setFiltered(true);
        QCOMPARE(model.rowCount(), 0);
        t.setFiltered(false);
        QCOMPARE(model.rowCount(), 1);
        t.close();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.data(model.index(0, 0)).isValid());
    }

    void formats_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("protA");
        QTest::addColumn<QString>("vitD");
        QTest::addColumn<QString>("qte");
        QTest::newRow("point") << "C"
                               << "4.500"
                               << "0.0045"
                               << "50";
        QTest::newRow("comma") << "fr_FR"
                               << "4,500"
                               << "0,0045"
                               << "50";
    }
    void formats() {
        QFETCH(QString, locale);
        QFETCH(QString, protA);
        QFETCH(QString, vitD);
        QFETCH(QString, qte);
        Table t(dir->run(), choiceSchema());
        t.open();
        addLine(t, QStringLiteral("Pain"), 50, 4.5);
        TableModel model(&t, columns());
        model.setLocale(QLocale(locale));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("Pain"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), qte);
        QCOMPARE(model.data(model.index(0, 2)).toString(), protA);
        QCOMPARE(model.data(model.index(0, 3)).toString(), vitD);
        QCOMPARE(model.data(model.index(0, 4)).toString(), QStringLiteral("0"));
        QCOMPARE(model.data(model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
                 Qt::AlignRight);
        QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft,
                 Qt::AlignLeft);
        // Titles; a column without one shows the bare field name.
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Prot. An."));
        QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("FIBRES"));
        // Outside the model: nothing, never a crash.
        QVERIFY(!model.data(model.index(1, 0)).isValid());
        QVERIFY(model.text(5, 0).isEmpty());
        QVERIFY(model.text(0, 9).isEmpty());
        QVERIFY(model.text(-1, 0).isEmpty());
        QVERIFY(!model.headerData(9, Qt::Horizontal).isValid());
        QCOMPARE(model.columnOf(QStringLiteral("vit_d")), 3);
        QCOMPARE(model.columnOf(QStringLiteral("CA")), -1);
    }

    void gridFollowsTheCursorBothWays() {
        Table t(dir->run(), foodSchema());
        t.open();
        TableModel model(&t, {{QStringLiteral("NOM"), QString(), QString(), 30}});
        DataGrid grid;
        grid.setTableModel(&model);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.currentIndex().row(), 0);
        QVERIFY(t.locate(QStringLiteral("NOM"), QStringLiteral("Pomme")));
        QCOMPARE(grid.currentIndex().row(), t.currentRow());
        // The user moves in the grid: the cursor follows.
        grid.setCurrentIndex(model.index(2, 0));
        QCOMPARE(t.currentRow(), 2);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(t.currentRow(), 3);
        // A filter resets the view; the grid lands where the cursor is.
        t.setFilterValue(QStringLiteral("CATEGORIE"), categories()[0]);
        t.setFiltered(true);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(grid.currentIndex().row(), 0);
        {
            // A paused grid catches up when the pause ends.
            const DataGrid::Pause pause(&grid);
            t.last();
            QCOMPARE(grid.currentIndex().row(), 0);
        }
        QCOMPARE(grid.currentIndex().row(), 2);
        int activated = 0;
        connect(&grid, &DataGrid::activatedByKey, this, [&] { ++activated; });
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(activated, 1);
    }

    void fieldBoxShowsTheCurrentRecord() {
        Table t(dir->run(), foodSchema());
        t.open();
        FieldBox nom, prot;
        nom.bind(&t, QStringLiteral("NOM"));
        prot.bind(&t, QStringLiteral("PROT_A"));
        nom.show();
        prot.show();
        QVERIFY(t.locate(QStringLiteral("NOM"), QStringLiteral("Pain blanc")));
        QCOMPARE(nom.text(), QStringLiteral("Pain blanc"));
        QCOMPARE(prot.text(), QStringLiteral("0"));
        QVERIFY(t.locate(QStringLiteral("NOM"), QStringLiteral("Boeuf, steak grillé")));
        QCOMPARE(prot.text(), QStringLiteral("26"));
        t.setFilterValue(QStringLiteral("CATEGORIE"), categories()[3]);   // no food
        t.setFiltered(true);
        QVERIFY(nom.text().isEmpty() && prot.text().isEmpty());
        t.close();
        QVERIFY(nom.text().isEmpty());
    }
};

QTEST_MAIN(TestTableModel)
#include "tst_tablemodel.moc"
