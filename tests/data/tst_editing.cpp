// Table handle: Append/Edit/Post/Cancel/Delete, the auto-post on moves and
// the drop on close, field writes, events and change notifications. Every
// check of what was written reopens the file.
#include <QtTest>

#include "core/io/dataerror.h"
#include "core/dbf/dbf.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {

void addLine(Table& t, const QString& nom, double qte) {
    t.append();
    t.setString(QStringLiteral("NOM"), nom);
    t.setFloat(QStringLiteral("QTE"), qte);
    t.post();
}

}   // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void appendAndPost() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        addLine(t, QStringLiteral("Pomme"), 150);
        addLine(t, QStringLiteral("Épinards, cuits"), 200);
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Épinards, cuits"));
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), (QStringList{"Pomme", "Épinards, cuits"}));
    }

    // Moving the cursor posts a modified pending record and drops an
    // unmodified one; the composite loops rely on the first.
    void autoPostOnMove_data() {
        QTest::addColumn<QString>("move");
        for (const char* m : {"first", "next", "prior", "last", "append", "findKey", "findNearest", "locate",
                              "setIndexName", "moveToRow", "setFiltered"})
            QTest::newRow(m) << QString::fromLatin1(m);
    }
    void autoPostOnMove() {
        QFETCH(QString, move);
        TempDataDir dir;
        Fixtures::createEmpty(compositeSchema(), dir.path());
        Table t(dir.run(), compositeSchema());
        t.open();
        auto doMove = [&] {
            if (move == "first")
                t.first();
            else if (move == "next")
                t.next();
            else if (move == "prior")
                t.prior();
            else if (move == "last")
                t.last();
            else if (move == "append")
                t.append();
            else if (move == "findKey")
                t.findKey(QStringLiteral("x"));
            else if (move == "findNearest")
                t.findNearest(QStringLiteral("x"));
            else if (move == "locate")
                t.locate(QStringLiteral("NOM"), QStringLiteral("x"));
            else if (move == "setIndexName")
                t.setIndexName(QStringLiteral("NOM"));
            else if (move == "moveToRow")
                t.moveToRow(0);
            else if (move == "setFiltered")
                t.setFiltered(true);
        };
        t.append();
        t.setString(QStringLiteral("NOM_COMPO"), QStringLiteral("Gratin"));
        t.setString(QStringLiteral("NOM"), QStringLiteral("Lait"));
        doMove();
        t.cancel();
        t.setFiltered(false);
        t.append();   // left alone: dropped by the next move
        doMove();
        t.cancel();
        t.close();
        t.open();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Lait"));
    }

    void closeDropsPending() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        addLine(t, QStringLiteral("Pomme"), 150);
        t.edit();
        t.setFloat(QStringLiteral("QTE"), 999);
        t.append();   // posts the edit
        t.setString(QStringLiteral("NOM"), QStringLiteral("Poire"));
        t.close();   // drops the insertion
        t.open();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), 999.0);
    }

    void cancel() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        addLine(t, QStringLiteral("Pomme"), 150);
        t.setFloat(QStringLiteral("QTE"), 10);   // begins an edit
        QCOMPARE(t.state(), Table::State::Edit);
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), 10.0);
        t.cancel();
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), 150.0);
        t.append();
        QCOMPARE(t.rowCount(), 2);   // the new record shows as a row
        t.cancel();
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(t.currentRow(), 0);
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), QStringList{"Pomme"});
    }

    // An edited record takes its new place in the order.
    void editMovesInOrder() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        Table t(dir.run(), foodSchema());
        t.open();
        QVERIFY(t.findKey(QStringLiteral("Agneau, gigot")));
        QCOMPARE(t.currentRow(), 0);
        t.edit();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Zébu"));
        t.post();
        QCOMPARE(t.currentRow(), t.rowCount() - 1);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Zébu"));
        QVERIFY(t.findKey(QStringLiteral("Zébu")));
        QVERIFY(!t.findKey(QStringLiteral("Agneau, gigot")));
        t.setIndexName(QStringLiteral("CA"));
        t.first();
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Test énergie"));
    }

    // A record edited out of the filter leaves the view; the cursor goes to
    // the record that followed.
    void editOutOfFilter() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        Table t(dir.run(), foodSchema());
        t.setFilterCaseInsensitive(true);
        t.setFilter(QStringLiteral("CATEGORIE='viandes et volailles'"));
        t.setFiltered(true);
        t.open();
        QCOMPARE(t.recordCount(), 3);
        t.setString(QStringLiteral("CATEGORIE"), QStringLiteral("POISSONS"));
        t.post();
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Boeuf, steak grillé"));
    }

    void deleteUntilEof() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        Table t(dir.run(), foodSchema());
        t.open();
        int deleted = 0;
        for (t.first(); !t.eof(); ++deleted) {
            QVERIFY(deleted < 20);
            t.deleteRecord();
        }
        QCOMPARE(deleted, 11);
        QVERIFY(t.isEmpty());
        t.close();
        t.open();
        QCOMPARE(t.recordCount(), 0);
        auto f = DbfFile::open(dir.file(QStringLiteral("DIETAB.DBF")));
        QCOMPARE(f->recordCount(), 11);   // never compacted
    }

    void deleteMovesToFollowing() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        for (const char* n : {"A", "B", "C"}) addLine(t, QString::fromLatin1(n), 1);
        t.first();
        t.next();
        t.deleteRecord();
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("C"));
        QVERIFY(!t.eof());
        t.deleteRecord();   // the last one: end-of-table on the new last record
        QVERIFY(t.eof());
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("A"));
        QCOMPARE(t.recordCount(), 1);
        QVERIFY(!t.locate(QStringLiteral("NOM"), QStringLiteral("B")));
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), QStringList{"A"});
    }

    void beforeDeleteCancels() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        const QByteArray before = Files::bytesOf(dir.file(QStringLiteral("DIETAB.DBF")));
        Table t(dir.run(), foodSchema());
        QString asked;
        t.beforeDelete = [&](Table& tb) {
            asked = tb.asString(QStringLiteral("NOM"));
            return tb.asFloat(QStringLiteral("NUMERO")) > 233;
        };
        QSignalSpy layout(&t, &Table::layoutReset);
        t.open();
        layout.clear();
        t.deleteRecord();
        QCOMPARE(asked, QStringLiteral("Agneau, gigot"));
        QCOMPARE(t.recordCount(), 11);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Agneau, gigot"));
        QCOMPARE(layout.count(), 0);
        QCOMPARE(Files::bytesOf(dir.file(QStringLiteral("DIETAB.DBF"))), before);
    }

    void beforeInsertAborts() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        Table t(dir.run(), foodSchema());
        t.beforeInsert = [](Table&) { throw DataError(QStringLiteral("Refusé.")); };
        t.open();
        QVERIFY_THROWS_EXCEPTION(DataError, t.append());
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.rowCount(), 11);
    }

    // Defaults set by the new-record event are in the record but do not
    // count as a change: left alone, the record is dropped on a move.
    void newRecordDefaults() {
        TempDataDir dir;
        Fixtures::writeSmallFoodTable(dir.path());
        Table t(dir.run(), foodSchema());
        t.onNewRecord = [](Table& tb) {
            double highest = 0;
            for (int r = 0; r < tb.rowCount(); ++r)
                highest = std::max(highest, tb.valueAt(r, QStringLiteral("NUMERO")).toDouble());
            tb.setFloat(QStringLiteral("NUMERO"), highest + 1);
        };
        t.setIndexName(QStringLiteral("NUMERO"));
        t.open();
        t.append();
        QCOMPARE(t.asFloat(QStringLiteral("NUMERO")), 12.0);
        t.first();
        QCOMPARE(t.recordCount(), 11);
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Kiwi"));
        t.first();
        t.last();
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Kiwi"));
        QCOMPARE(t.asFloat(QStringLiteral("NUMERO")), 12.0);
    }

    void fieldWrites() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        t.append();
        t.setString(QStringLiteral("nom"), QStringLiteral("Une soupe de légumes variés du jardin"));
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Une soupe de légumes variés du"));
        t.setFloat(QStringLiteral("QTE"), 250);
        // Refused values leave the buffer as it was.
        QVERIFY_THROWS_EXCEPTION(DataError, t.setFloat(QStringLiteral("QTE"), 1e12));
        QVERIFY_THROWS_EXCEPTION(DataError, t.setString(QStringLiteral("NOM"), QStringLiteral("Pho 😀")));
        QVERIFY_THROWS_EXCEPTION(DataError, t.setFloat(QStringLiteral("QTEE"), 1));
        QCOMPARE(t.asFloat(QStringLiteral("QTE")), 250.0);
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Une soupe de légumes variés du"));
        t.setString(QStringLiteral("CALORIES"), QStringLiteral("12,5"));
        QCOMPARE(t.asFloat(QStringLiteral("CALORIES")), 12.5);
        QVERIFY_THROWS_EXCEPTION(DataError,
                                 t.setString(QStringLiteral("CALORIES"), QStringLiteral("beaucoup")));
        t.setString(QStringLiteral("NOM"), QStringLiteral("  Bouillon €"));
        t.post();
        t.close();
        t.open();
        QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("  Bouillon €"));
        QCOMPARE(t.asFloat(QStringLiteral("NUMERO")), 0.0);   // blank reads 0
        QCOMPARE(t.asString(QStringLiteral("CATEGORIE")), QString());
        QCOMPARE(t.asFloat(QStringLiteral("CALORIES")), 12.5);
    }

    // A post that fails (disk full) throws and leaves the record pending and
    // the file as it was; it can be posted once the disk has room.
    void postFailureKeepsPending() {
        TempDataDir dir;
        const QString path = Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        addLine(t, QStringLiteral("Pomme"), 150);
        const qint64 size = QFileInfo(path).size();
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Poire"));
        {
            FileSizeLimit limit(static_cast<rlim_t>(size));
            EXPECT_DATA_ERROR(StartsWith, QStringLiteral("Impossible d'écrire dans le fichier CHOIX.DBF"),
                              t.post());
            QCOMPARE(t.state(), Table::State::Insert);
            QCOMPARE(t.asString(QStringLiteral("NOM")), QStringLiteral("Poire"));
            QVERIFY_THROWS_EXCEPTION(DataError, t.next());   // the auto-post fails too
        }
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), QStringList{"Pomme"});
        t.post();
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), (QStringList{"Pomme", "Poire"}));
    }

    void notifications() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        QSignalSpy layout(&t, &Table::layoutReset);
        QSignalSpy row(&t, &Table::rowChanged);
        QSignalSpy current(&t, &Table::currentChanged);
        QSignalSpy state(&t, &Table::stateChanged);
        t.open();
        QCOMPARE(layout.count(), 1);
        QCOMPARE(state.takeLast().at(0).value<Table::State>(), Table::State::Browse);

        t.append();
        QCOMPARE(state.takeLast().at(0).value<Table::State>(), Table::State::Insert);
        QCOMPARE(current.takeLast().at(0).toInt(), 0);
        QCOMPARE(t.rowCount(), 1);
        row.clear();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Pomme"));
        QCOMPARE(row.count(), 1);
        QCOMPARE(row.takeFirst().at(0).toInt(), 0);
        QCOMPARE(t.valueAt(0, QStringLiteral("NOM")).toString(), QStringLiteral("Pomme"));
        layout.clear();
        t.post();
        QCOMPARE(layout.count(), 1);
        QCOMPARE(state.takeLast().at(0).value<Table::State>(), Table::State::Browse);

        layout.clear();
        t.setFloat(QStringLiteral("QTE"), 20);
        t.post();   // same place: only that row changed
        QCOMPARE(layout.count(), 0);
        QCOMPARE(row.takeLast().at(0).toInt(), 0);

        t.close();
        QCOMPARE(state.takeLast().at(0).value<Table::State>(), Table::State::Inactive);
        QCOMPARE(t.rowCount(), 0);
    }

    // An empty table takes an edit as the start of a new record.
    void editOnEmptyAppends() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Table t(dir.run(), choiceSchema());
        t.open();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Pomme"));
        QCOMPARE(t.state(), Table::State::Insert);
        t.post();
        QCOMPARE(t.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestEditing)
#include "tst_editing.moc"
