// The diagnosis window's reading of the day's choice writes nothing, so it
// opens the Choice table read-only when the composition window has not opened
// it: with every opening for writing refused (a read-only Data directory), the
// start-up reading still sums the day, and no error is shown.
#include <QtTest>

#include "compose/compose.h"
#include "core/compose/dailytotals.h"
#include "core/io/fileseam.h"
#include "core/session/session.h"
#include "core/table/table.h"
#include "diagnosis/diagnost.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"
#include "support/testsupport.h"

class TestReadOnlyReading : public QObject {
    Q_OBJECT
private slots:
    void startUpReadingOpensNothingForWriting() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        Fixtures::appendRecords(choiceSchema(), dir.file("CHOIX.DBF"),
                                {{{"NOM", QStringLiteral("Pomme")}, {"QTE", 150.0}},
                                 {{"NOM", QStringLiteral("Riz")}, {"QTE", 80.0}}});
        Session& session = dir.session();
        ScriptedDesktop desktop(dir.run());
        TFcompose compose(session, desktop);
        TFdiagnost w(session, desktop);
        ScriptedPrompter p(dir.run());
        dir.run().seam().reset();
        dir.run().seam().failAt(FileSeam::Op::Open, 1, FileSeam::Fault::ReadOnly, true);
        w.premiereLecture();
        QVERIFY2(p.asked.isEmpty(), qPrintable(p.lastText()));
        QCOMPARE(dir.run().seam().calls(FileSeam::Op::Open), 0);
        QCOMPARE(session.totals()[DailyTotals::QTE], 230.0);
        QVERIFY(!compose.Tchoix().isOpen());
    }
};

QTEST_MAIN(TestReadOnlyReading)
#include "tst_readonlyreading.moc"
