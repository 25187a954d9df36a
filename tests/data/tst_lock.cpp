// One Nutrimo per Data directory. The test binary runs itself as the first
// program with "--hold DIR": it takes the lock and waits to be killed. A
// second start on DIR is refused with the holder named and touches nothing
// (no crash recovery on the first program's live files); once the first is
// killed, its stale lock is taken over and the recovery runs.
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "core/dbf/datadir.h"
#include "core/session/datalock.h"
#include "core/session/reprisedemarrage.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {

int holdMain(const QString& dir) {
    if (DataLock::acquire(dir) != DataLock::Result::Taken) return 2;
    std::puts("held");
    std::fflush(stdout);
    for (;;) ::pause();
}

}  // namespace

class TestLock : public QObject {
    Q_OBJECT
private slots:
    void secondStartRefusedThenStaleLockTakenOver() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        // The first program is in composite mode: its day set aside, its
        // ingredient list in CHOIX.DBF.
        QVERIFY(Files::writeBytes(dir.file("choix.tmp"), Files::bytesOf(dir.file("choix0.dbf"))));
        const QByteArray live = Files::bytesOf(dir.file("CHOIX.DBF"));

        QProcess first;
        first.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), dir.path()});
        QVERIFY(first.waitForReadyRead(20000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("held"));

        QCOMPARE(DataLock::acquire(dir.path()), DataLock::Result::HeldElsewhere);
        const QString refusal = DataLock::refusal(dir.path());
        QVERIFY2(refusal.startsWith(QStringLiteral("Nutrimo est déjà ouvert sur le répertoire des données")),
                 qPrintable(refusal));
        QVERIFY2(refusal.contains(QStringLiteral("processus n° %1").arg(first.processId())),
                 qPrintable(refusal));
        {
            ScriptedPrompter p;
            QVERIFY(!RepriseDemarrage::execute());
            QVERIFY(p.asked.isEmpty());
        }
        QVERIFY(QFile::exists(dir.file("choix.tmp")));
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), live);

        // A lock held by a running program is never stale, however old.
        {
            QFile lock(dir.file("nutrimo.lck"));
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        }
        QCOMPARE(DataLock::acquire(dir.path()), DataLock::Result::HeldElsewhere);

        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(10000));
        {
            ScriptedPrompter p;
            QVERIFY(RepriseDemarrage::execute());
            QVERIFY(DataLock::held(dir.path()));
            QCOMPARE(p.asked.size(), 1);   // the day's choice restored
        }
        QVERIFY(!QFile::exists(dir.file("choix.tmp")));
        DataLock::release();
        QVERIFY(!QFile::exists(dir.file("nutrimo.lck")));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return holdMain(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lock.moc"
