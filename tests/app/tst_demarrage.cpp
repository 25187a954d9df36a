// Start-up: the recovery of a day's choice left aside in choix.tmp by an
// interrupted composite-food session, and the start-up reading that reports a
// missing table while the diagnosis window stays off screen.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "core/compose/choixfichiers.h"
#include "app/demarrage.h"
#include "app/diet.h"
#include "core/schema/schema.h"
#include "diagnosis/diagnost.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "core/session/session.h"
#include "support/scriptedprompter.h"

namespace {
QVariantMap line(const QString& nom, double qte) {
    QVariantMap m;
    m["NOM"] = nom;
    m["QTE"] = qte;
    m["CALORIES"] = qte * 2;
    return m;
}
}  // namespace

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
        ScriptedPrompter p;
        QVERIFY(FichierChoix::restaureChoixInterrompu());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
        QVERIFY(!QFile::exists(file("choix.tmp")));
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked.first().kind, Prompter::Kind::Information);
        QVERIFY(p.lastText().contains(QStringLiteral("Votre choix du jour a été restauré.")));
    }

    void nothingToRestore() {
        const QByteArray day = Files::bytesOf(file("CHOIX.DBF"));
        ScriptedPrompter p;
        QVERIFY(!FichierChoix::restaureChoixInterrompu());
        QVERIFY(p.asked.isEmpty());
        QCOMPARE(Files::bytesOf(file("CHOIX.DBF")), day);
    }

    void damagedBackupLeftAlone() {
        QVERIFY(Files::writeBytes(file("choix.tmp"), Files::bytesOf(file("CHOIX.DBF")).left(20)));
        const QByteArray day = Files::bytesOf(file("CHOIX.DBF"));
        ScriptedPrompter p;
        QVERIFY(!FichierChoix::restaureChoixInterrompu());
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
        Session session(QDir::currentPath());
        // The whole CIQUAL table is read where it is installed; missing, it
        // is told once, as a warning that names it.
        session.setCiqualFile(missing == "CIQUAL.DBF" ? file(missing) : Fixtures::ciqualTable());
        std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session));
        diet->show();
        QVERIFY(session.FirstPaint);
        ScriptedPrompter p;
        Demarrage::lecturesInitiales(*diet);
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
        QVERIFY(!diet->fenetres().Fdiagnost->isVisible());
        QVERIFY(!session.FirstPaint);
        QVERIFY(diet->isVisible());
        diet.reset();
    }
};

QTEST_MAIN(TestDemarrage)
#include "tst_demarrage.moc"
