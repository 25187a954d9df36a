// Crash safety: a process killed (SIGKILL, no chance to clean up) right after
// a post leaves the record on disk with the right header count. The test
// binary runs itself as the child with "--child MODE DIR".
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "core/io/runcontext.h"
#include "core/table/table.h"
#include "support/testsupport.h"

namespace {

// The child: works on DIR/CHOIX.DBF, reports each step on stdout, then waits
// to be killed.
int childMain(const QString& mode, const QString& dir) {
    RunContext run{DataDirectory(dir)};
    Table t(run, choiceSchema());
    t.open();
    auto say = [](const QByteArray& what) {
        std::fputs(what.constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    if (mode == QLatin1String("append")) {
        for (int i = 1; i <= 3; ++i) {
            t.append();
            t.setString(QStringLiteral("NOM"), QStringLiteral("Ligne n° %1 — é").arg(i));
            t.setFloat(QStringLiteral("QTE"), 100.0 * i);
            t.post();
        }
        say("posted");
    } else if (mode == QLatin1String("edit")) {
        t.first();
        t.setFloat(QStringLiteral("QTE"), 777);
        t.next();   // the auto-post
        t.deleteRecord();
        say("posted");
    } else if (mode == QLatin1String("pending")) {
        t.append();
        t.setString(QStringLiteral("NOM"), QStringLiteral("Jamais écrit"));
        say("posted");
    } else if (mode == QLatin1String("stream")) {
        for (int i = 1;; ++i) {
            t.append();
            t.setString(QStringLiteral("NOM"), QStringLiteral("Flux %1").arg(i));
            t.setFloat(QStringLiteral("QTE"), i);
            t.post();
            say(QByteArray::number(i));
        }
    }
    for (;;) pause();
}

// Starts the child and kills it once it has printed `lines` lines; returns
// the last line.
QByteArray runAndKill(const QString& mode, const QString& dir, int lines) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, dir});
    if (!child.waitForStarted(10000)) return {};
    QByteArray last;
    int seen = 0;
    while (seen < lines) {
        if (!child.canReadLine() && !child.waitForReadyRead(20000)) break;
        while (child.canReadLine() && seen < lines) {
            last = child.readLine().trimmed();
            ++seen;
        }
    }
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    child.waitForFinished(10000);
    if (child.exitStatus() != QProcess::CrashExit) return {};
    return seen == lines ? last : QByteArray();
}

}   // namespace

class TestCrash : public QObject {
    Q_OBJECT
private slots:
    void killedAfterAppends() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        QCOMPARE(runAndKill(QStringLiteral("append"), dir.path(), 1), QByteArray("posted"));
        QList<double> qte;
        QCOMPARE(Fixtures::liveChoiceNames(dir.path(), &qte),
                 (QStringList{"Ligne n° 1 — é", "Ligne n° 2 — é", "Ligne n° 3 — é"}));
        QCOMPARE(qte, (QList<double>{100, 200, 300}));
        Table t(dir.run(), choiceSchema());
        t.open();
        QCOMPARE(t.recordCount(), 3);
    }

    void killedAfterEditAndDelete() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Fixtures::appendRecords(choiceSchema(), dir.file(QStringLiteral("CHOIX.DBF")),
                                {{{"NOM", "A"}, {"QTE", 1.0}}, {{"NOM", "B"}, {"QTE", 2.0}}});
        QCOMPARE(runAndKill(QStringLiteral("edit"), dir.path(), 1), QByteArray("posted"));
        QList<double> qte;
        QCOMPARE(Fixtures::liveChoiceNames(dir.path(), &qte), QStringList{"A"});
        QCOMPARE(qte, QList<double>{777});
    }

    // What was never posted is not on disk, and the file is sound.
    void killedWithPendingRecord() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        Fixtures::appendRecords(choiceSchema(), dir.file(QStringLiteral("CHOIX.DBF")), {{{"NOM", "A"}}});
        QCOMPARE(runAndKill(QStringLiteral("pending"), dir.path(), 1), QByteArray("posted"));
        QCOMPARE(Fixtures::liveChoiceNames(dir.path()), QStringList{"A"});
    }

    // Killed at an arbitrary point of a stream of posts: the file opens, and
    // holds at least every record reported as posted.
    void killedDuringPosts() {
        TempDataDir dir;
        Fixtures::createEmpty(choiceSchema(), dir.path());
        const QByteArray last = runAndKill(QStringLiteral("stream"), dir.path(), 200);
        QVERIFY(!last.isEmpty());
        const int reported = last.toInt();
        QList<double> qte;
        const QStringList names = Fixtures::liveChoiceNames(dir.path(), &qte);
        QVERIFY2(names.size() >= reported,
                 qPrintable(QStringLiteral("%1 < %2").arg(names.size()).arg(reported)));
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(names[i], QStringLiteral("Flux %1").arg(i + 1));
            QCOMPARE(qte[i], double(i + 1));
        }
    }
};

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return childMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    TestCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crash.moc"
