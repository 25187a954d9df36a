// One Nutrimo per Data directory, by the system's lock on the directory,
// which needs no writing. The test binary runs itself as the first program
// with "--hold DIR [BYTES]": it takes the lock (its file size limited to
// BYTES, as on a full disk) and waits to be killed. A second start on DIR is
// refused with the holder named and touches nothing (no crash recovery on
// the first program's live files); once the first is killed, the lock is
// taken over and the recovery runs. A lock file left by a dead process is
// stale whatever the disk; one written on another machine is not taken over
// without the user; where no lock can be had, the run is read-only.
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/io/fileops.h"
#include "core/io/fileseam.h"
#include "core/io/datalock.h"
#include "core/session/reprisedemarrage.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {

int holdMain(const QString& dir, long bytes) {
    if (bytes >= 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    }
    RunContext run{DataDirectory(dir)};
    if (run.lock().acquire(dir) != DataLock::Result::Taken) return 2;
    std::puts("held");
    std::fflush(stdout);
    for (;;) ::pause();
}

bool startHolder(QProcess& first, const QString& dir, const QString& bytes = QString()) {
    QStringList args{QStringLiteral("--hold"), dir};
    if (!bytes.isEmpty()) args << bytes;
    first.start(QCoreApplication::applicationFilePath(), args);
    return first.waitForReadyRead(20000) && first.readLine().trimmed() == "held";
}

}   // namespace

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
        QVERIFY(startHolder(first, dir.path()));

        QCOMPARE(dir.run().lock().acquire(dir.path()), DataLock::Result::HeldElsewhere);
        const QString refusal = dir.run().lock().refusal(dir.path());
        QVERIFY2(refusal.startsWith(QStringLiteral("Nutrimo est déjà ouvert sur le répertoire des données")),
                 qPrintable(refusal));
        QVERIFY2(refusal.contains(QStringLiteral("processus n° %1").arg(first.processId())),
                 qPrintable(refusal));
        {
            ScriptedPrompter p(dir.run());
            QVERIFY(!RepriseDemarrage::execute(dir.run()));
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
        QCOMPARE(dir.run().lock().acquire(dir.path()), DataLock::Result::HeldElsewhere);

        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(10000));
        {
            ScriptedPrompter p(dir.run());
            QVERIFY(RepriseDemarrage::execute(dir.run()));
            QVERIFY(dir.run().lock().held(dir.path()));
            QCOMPARE(p.asked.size(), 1);   // the day's choice restored
        }
        QVERIFY(!QFile::exists(dir.file("choix.tmp")));
        dir.run().lock().release();
        QVERIFY(!QFile::exists(dir.file("nutrimo.lck")));
    }

    // On a full disk the first program cannot write its lock file: it holds
    // the lock all the same, and the refusal names it from the system.
    void lockHeldWithoutItsFile() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        QProcess first;
        QVERIFY(startHolder(first, dir.path(), QStringLiteral("0")));
        QVERIFY(!QFile::exists(dir.file("nutrimo.lck")));
        QCOMPARE(dir.run().lock().acquire(dir.path()), DataLock::Result::HeldElsewhere);
        const QString refusal = dir.run().lock().refusal(dir.path());
        QVERIFY2(refusal.contains(QStringLiteral("(processus n° %1)").arg(first.processId())),
                 qPrintable(refusal));
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(dir.run().lock().acquire(dir.path()), DataLock::Result::Taken);
        dir.run().lock().release();
    }

    // A lock file left behind: by a process that has gone (stale, even on a
    // full disk where no new one can be written), or by a program on
    // another machine (named, with how to take the lock over).
    void lockFileLeftBehind_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("dead process, full disk")
            << QSysInfo::machineHostName() << int(DataLock::Result::Taken) << QString();
        QTest::newRow("another machine")
            << "autre-poste" << int(DataLock::Result::OtherMachine)
            << "sur l'ordinateur autre-poste (processus n° %1).\nDeux programmes sur les mêmes "
               "tables perdraient des saisies : fermez Nutrimo sur autre-poste avant de le relancer "
               "ici.\nSi Nutrimo n'est plus ouvert sur autre-poste (cet ordinateur s'est arrêté "
               "sans le fermer), supprimez le fichier nutrimo.lck du répertoire des données, puis "
               "relancez Nutrimo.";
    }
    void lockFileLeftBehind() {
        QFETCH(QString, host);
        QFETCH(int, result);
        QFETCH(QString, message);
        TempDataDir dir;
        QProcess gone;   // a process that has ended: its number names no one
        gone.start(QStringLiteral("true"), {});
        QVERIFY(gone.waitForFinished(10000));
        const qint64 pid = gone.processId() > 0 ? gone.processId() : 999999;
        QVERIFY(Files::writeBytes(dir.file("nutrimo.lck"),
                                  QByteArray::number(pid) + "\nnutrimo\n" + host.toUtf8() + "\n"));
        {
            FileSizeLimit full(0);
            QCOMPARE(int(dir.run().lock().acquire(dir.path())), result);
        }
        if (result == int(DataLock::Result::Taken)) {
            QVERIFY(dir.run().lock().held(dir.path()));
            QVERIFY(!Files::bytesOf(dir.file("nutrimo.lck")).startsWith(QByteArray::number(pid) + "\n"));
            dir.run().lock().release();
            return;
        }
        const QString refusal = dir.run().lock().refusal(dir.path(), DataLock::Result(result));
        QVERIFY2(refusal.contains(message.arg(pid)), qPrintable(refusal));
        QVERIFY(QFile::remove(dir.file("nutrimo.lck")));   // the user takes the lock over
        QCOMPARE(dir.run().lock().acquire(dir.path()), DataLock::Result::Taken);
        dir.run().lock().release();
    }

    // No lock of any kind: the run says so and changes no file.
    void noLockRunsReadOnly() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        QVERIFY(Files::writeBytes(dir.file("choix.tmp"), Files::bytesOf(dir.file("choix0.dbf"))));
        const QByteArray day = Files::bytesOf(dir.file("CHOIX.DBF"));
        dir.run().seam().failAt(FileSeam::Op::Lock, 1, FileSeam::Fault::IoError, true);
        {
            ScriptedPrompter p(dir.run());
            QVERIFY(dir.run().lock().startRun());
            QCOMPARE(p.asked.size(), 1);
            QVERIFY2(p.lastText().contains(QStringLiteral("Nutrimo s'ouvre donc en lecture seule")),
                     qPrintable(p.lastText()));
            QVERIFY(!RepriseDemarrage::execute(dir.run()));   // no recovery without the lock
        }
        Table tchoix(dir.run(), choiceSchema());
        tchoix.open();
        tchoix.append();
        tchoix.setString(QStringLiteral("NOM"), QStringLiteral("Pomme"));
        EXPECT_DATA_ERROR(Contains, QStringLiteral("Nutrimo est ouvert en lecture seule"), tchoix.post());
        EXPECT_DATA_ERROR(
            Contains, QStringLiteral("Nutrimo est ouvert en lecture seule"),
            FileOps::copyFile(dir.run(), QStringLiteral("CHOIX.DBF"), QStringLiteral("lundi.dat")));
        tchoix.close();
        dir.run().seam().setReadOnlyRun(false);
        dir.run().seam().reset();
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), day);
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        QCOMPARE(files, (QStringList{"Alimcomp.DBF", "BESOINS.DBF", "CHOIX.DBF", "DIETAB.DBF", "choix.tmp",
                                     "choix0.dbf"}));
    }
};

int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--hold") == 0)
        return holdMain(QString::fromLocal8Bit(argv[2]), argc == 4 ? std::atol(argv[3]) : -1);
    QCoreApplication app(argc, argv);
    TestLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lock.moc"
