// Start-up: the recovery of a day's choice left aside in choix.tmp by an
// interrupted composite-food session, and the start-up reading that reports a
// missing table while the diagnosis window stays off screen.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "core/compose/choicefiles.h"
#include "app/demarrage.h"
#include "app/diet.h"
#include "core/schema/schema.h"
#include "diagnosis/diagnost.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/compose/dailytotals.h"
#include "core/io/fileseam.h"
#include "core/session/session.h"
#include "support/scriptedprompter.h"
#include "support/ui/scripteddesktop.h"

namespace {
QVariantMap line(const QString& nom, double qte) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["CALORIES"] = qte * 2;
    return m;
}
}   // namespace

class TestDemarrage : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataDir> m_dir;
    QString m_cwd;
    QString file(const QString& n) const { return m_dir->file(n); }

private slots:
    void init() {
        m_dir = std::make_unique<TempDataDir>();
        Fixtures::writeAllTables(m_dir->path());
        m_cwd = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
    }
    void cleanup() {
        QDir::setCurrent(m_cwd);
        m_dir.reset();
    }

    void restoresTheDay() {
        // The day's choice set aside, an ingredient list in choix.dbf.
        QFile::copy(file("CHOIX.DBF"), file("choix.tmp"));
        Fixtures::appendRecords(choiceSchema(), file("choix.tmp"),
                                {line(QStringLiteral("Pomme"), 150), line(QStringLiteral("Jambon cuit"), 60)});
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {line(QStringLiteral("Beurre"), 20)});
        const QByteArray day = Files::bytesOf(file("choix.tmp"));
        ScriptedPrompter p(m_dir->run());
        QVERIFY(ChoiceFiles::restaureChoixInterrompu(m_dir->run()));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
        QVERIFY(!QFile::exists(file("choix.tmp")));
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Information);
        QVERIFY(p.lastText().contains(QStringLiteral("Votre choix du jour a été restauré.")));
    }

    void nothingToRestore() {
        const QByteArray day = Files::bytesOf(file("CHOIX.DBF"));
        ScriptedPrompter p(m_dir->run());
        QVERIFY(!ChoiceFiles::restaureChoixInterrompu(m_dir->run()));
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
    }

    void damagedBackupLeftAlone() {
        QVERIFY(Files::writeBytes(file("choix.tmp"), Files::bytesOf(file("CHOIX.DBF")).left(20)));
        const QByteArray day = Files::bytesOf(file("CHOIX.DBF"));
        ScriptedPrompter p(m_dir->run());
        QVERIFY(!ChoiceFiles::restaureChoixInterrompu(m_dir->run()));
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Warning);
        QVERIFY(p.lastText().contains(QStringLiteral("choix.tmp")));
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
        QVERIFY(QFile::exists(file("choix.tmp")));
    }

    // The whole start-up sequence, then its reading, in a fresh directory.
    void startupReading_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<bool>("backup");     // a choix.tmp left by a crash
        QTest::addColumn<bool>("reported");   // an error is shown
        QTest::newRow("all tables present") << "" << false << false;
        QTest::newRow("after a crash") << "" << true << false;
        QTest::newRow("Needs table missing") << "BESOINS.DBF" << true << true;
        QTest::newRow("Choice table missing") << "CHOIX.DBF" << false << true;
        QTest::newRow("CIQUAL table missing") << "CIQUAL.DBF" << false << true;
    }
    void startupReading() {
        QFETCH(QString, missing);
        QFETCH(bool, backup);
        QFETCH(bool, reported);
        if (!missing.isEmpty()) QFile::remove(file(missing));
        if (backup) QFile::copy(file("choix0.dbf"), file("choix.tmp"));
        Session& session = m_dir->session();
        // The whole CIQUAL table is read where it is installed; missing, it
        // is told once, as a warning that names it.
        session.setCiqualFile(missing == "CIQUAL.DBF" ? file(missing) : Fixtures::ciqualTable());
        ScriptedDesktop desktop(session.run());
        std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session, desktop));
        diet->show();
        QVERIFY(session.FirstPaint);
        ScriptedPrompter p(m_dir->run());
        Demarrage::lecturesInitiales(session, *diet);
        QCoreApplication::processEvents();
        // choix.tmp is restored first, whatever follows.
        QVERIFY(!QFile::exists(file("choix.tmp")));
        QCOMPARE(p.asked.size(), int(backup) + int(reported));
        if (backup) QCOMPARE(p.asked.first().kind, Prompter::Kind::Information);
        if (reported) {
            QCOMPARE(p.asked.last().kind,
                     missing == "CIQUAL.DBF" ? Prompter::Kind::Warning : Prompter::Kind::Error);
            QVERIFY2(p.lastText().contains(missing, Qt::CaseInsensitive), qPrintable(p.lastText()));
        }
        QVERIFY(!diet->Fdiagnost->isVisible());
        QVERIFY(!session.FirstPaint);
        QVERIFY(diet->isVisible());
        diet.reset();
    }

    // Start-up where nothing can be written: a read-only disk (every change
    // refused), or no lock at all (the run made read-only). The day left
    // aside stays where it is, the user is told why, the start-up reading
    // still sums the day, and no file changes.
    void startupWhereNothingCanBeWritten_data() {
        QTest::addColumn<bool>("noLock");
        QTest::addColumn<QString>("told");
        QTest::newRow("read-only disk") << false << QStringLiteral("disque en lecture seule");
        QTest::newRow("no lock") << true << QStringLiteral("Nutrimo s'ouvre donc en lecture seule");
    }
    void startupWhereNothingCanBeWritten() {
        QFETCH(bool, noLock);
        QFETCH(QString, told);
        Fixtures::appendRecords(choiceSchema(), file("CHOIX.DBF"), {line(QStringLiteral("Beurre"), 20)});
        QFile::copy(file("choix0.dbf"), file("choix.tmp"));
        const QStringList names = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        QHash<QString, QByteArray> before;
        for (const QString& n : names) before[n] = Files::bytesOf(file(n));
        Session& session = m_dir->session();
        session.setCiqualFile(Fixtures::ciqualTable());
        FileSeam& seam = session.run().seam();
        if (noLock) {
            seam.failAt(FileSeam::Op::Lock, 1, FileSeam::Fault::IoError, true);
        } else {
            for (auto op :
                 {FileSeam::Op::Open, FileSeam::Op::Write, FileSeam::Op::Rename, FileSeam::Op::Remove})
                seam.failAt(op, 1, FileSeam::Fault::ReadOnly, true);
        }
        ScriptedPrompter p(session.run());
        QVERIFY(session.run().lock().startRun());
        ScriptedDesktop desktop(session.run());
        std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session, desktop));
        Demarrage::lecturesInitiales(session, *diet);
        QCOMPARE(p.asked.size(), 1);
        QVERIFY2(p.lastText().contains(told), qPrintable(p.lastText()));
        QCOMPARE(session.totals()[DailyTotals::QTE], 20.0);   // the list left in choix.dbf, read only
        diet.reset();
        seam.reset();
        seam.setReadOnlyRun(false);
        const QStringList after = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString& n : names) QCOMPARE(Files::bytesOf(file(n)), before[n]);
        QCOMPARE(after.size() - after.contains(DataLock::fileName()), names.size());
    }
};

QTEST_MAIN(TestDemarrage)
#include "tst_demarrage.moc"
