// The composite save and deletion as one unit: a program killed at any write
// of a save, of a deletion in composite mode or of a deletion from the
// editing window leaves, after the next start-up, either the tables as they
// were before or as they are after, and the start-up says which. A composite
// food without lines, as older versions could leave, is named at start-up.
// The test binary runs itself as the program with "--child MODE N DIR": it
// saves or deletes a composite and kills itself (SIGKILL) just before the
// N-th file call. With "--limited BYTES DIR" it goes through composite mode
// with its file size limited (RLIMIT_FSIZE), as on a disk with little space
// left.
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

#include "core/compose/compositefood.h"
#include "core/compose/compositejournal.h"
#include "core/compose/dailytotals.h"
#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/dbf/dbf.h"
#include "core/io/fileseam.h"
#include "core/foodtable/foodeditor.h"
#include "core/io/datalock.h"
#include "core/session/reprisedemarrage.h"
#include "core/table/table.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/testsupport.h"

namespace {

const QString kSalade = QStringLiteral("Salade");

void addLine(Table& t, const QString& nom, double qte) {
    t.append();
    t.setString(QStringLiteral("NOM"), nom);
    t.setFloat(QStringLiteral("QTE"), qte);
    t.post();
}

// The program: "save" saves a new composite of two lines in composite mode;
// "delete" deletes the existing one there (saved with an empty list);
// "editor" deletes it from the editing window. Killed at the killAt-th file
// call (0: never; the number of calls is printed at the end).
int childMain(const QString& mode, int killAt, const QString& dir) {
    RunContext run{DataDirectory(dir)};
    if (run.lock().acquire(dir) != DataLock::Result::Taken) return 2;
    run.seam().setDurable(false);
    ScriptedPrompter prompter(run);
    Table talim(run, foodSchema()), tchoix(run, choiceSchema()), talimCompo(run, compositeSchema());
    talim.open();
    tchoix.open();
    talimCompo.open();
    CompositeFood composite(talim, tchoix, talimCompo);
    FoodEditor editor(talim, talimCompo);
    if (mode != QLatin1String("editor")) {
        composite.commence(kSalade);
        composite.metDeCote();
    }
    if (mode == QLatin1String("save")) {
        addLine(tchoix, QStringLiteral("Pomme"), 200);
        addLine(tchoix, QStringLiteral("Pain complet"), 50);
    }
    int calls = 0;
    run.seam().setObserver([&](FileSeam::Op, const QString&) {
        if (++calls == killAt) ::kill(::getpid(), SIGKILL);
    });
    prompter.answer(true);
    DailyTotals totals;
    if (mode == QLatin1String("editor")) {
        if (!CompositeFood::trouveNom(talim, QStringLiteral("NOM"), kSalade)) return 3;
        editor.supprime();
    } else {
        composite.enregistre(totals);
    }
    std::printf("%d\n", calls);
    return 0;
}

// The program with its file size limited (as a disk with little space left):
// composite mode over a day of 22 lines, a line added, and back. Prints the
// message given, or "ok".
int limitedMain(long bytes, const QString& dir) {
    RunContext run{DataDirectory(dir)};
    std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails with EFBIG
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    Table talim(run, foodSchema()), tchoix(run, choiceSchema()), talimCompo(run, compositeSchema());
    talim.open();
    tchoix.open();
    talimCompo.open();
    CompositeFood composite(talim, tchoix, talimCompo);
    composite.commence(kSalade);
    try {
        composite.metDeCote();
        addLine(tchoix, QStringLiteral("Pomme"), 200);
        tchoix.close();
        composite.restaure();
        std::puts("ok");
    } catch (const DataError& e) {
        std::puts(e.message().toUtf8().constData());
    }
    return 0;
}

int runChild(const QString& mode, int killAt, const QString& dir, QByteArray* out = nullptr) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), mode, QString::number(killAt), dir});
    if (!child.waitForFinished(30000)) return -1;
    if (out) *out = child.readAllStandardOutput().trimmed();
    return child.exitStatus() == QProcess::CrashExit ? -SIGKILL : child.exitCode();
}

// The composite's food record and its number of lines, read from disk.
struct Saved {
    bool food = false;
    int lines = 0;
};
Saved savedComposite(const QString& dir) {
    Saved s;
    auto food = DbfFile::open(QDir(dir).filePath("DIETAB.DBF"), true);
    const int nom = food->fieldIndex("NOM");
    for (int r = 0; r < food->recordCount(); ++r)
        s.food = s.food || (!food->isDeleted(r) && food->text(r, nom) == kSalade);
    auto lines = DbfFile::open(QDir(dir).filePath("Alimcomp.DBF"), true);
    const int compo = lines->fieldIndex("NOM_COMPO");
    for (int r = 0; r < lines->recordCount(); ++r)
        s.lines += !lines->isDeleted(r) && lines->text(r, compo) == kSalade;
    return s;
}

}   // namespace

class TestCompositeUnit : public QObject {
    Q_OBJECT
private slots:
    void killedAtEveryCall_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("existed");   // the composite is there before
        QTest::addColumn<QString>("what");   // the operation, as the messages name it
        QTest::newRow("save") << "save" << false << "l'enregistrement";
        QTest::newRow("deletion in composite mode") << "delete" << true << "la suppression";
        QTest::newRow("deletion from the editing window") << "editor" << true << "la suppression";
    }
    void killedAtEveryCall() {
        QFETCH(QString, mode);
        QFETCH(bool, existed);
        QFETCH(QString, what);
        // The Data directory of the start: the composite Salade is there,
        // past the Base foods, with its two lines, when it is to be deleted.
        auto prepare = [existed](const TempDataDir& dir) {
            Fixtures::writeAllTables(dir.path());
            if (!existed) return;
            Fixtures::appendRecords(foodSchema(), dir.file("DIETAB.DBF"),
                                    {{{"NUMERO", 501.0}, {"NOM", kSalade}, {"CATEGORIE", CategorieComposee}}});
            Fixtures::appendRecords(
                compositeSchema(), dir.file("Alimcomp.DBF"),
                {{{"NOM_COMPO", kSalade}, {"NOM", QStringLiteral("Pomme")}, {"QTE", 200.0}},
                 {{"NOM_COMPO", kSalade}, {"NOM", QStringLiteral("Pain complet")}, {"QTE", 50.0}}});
        };
        int total = 0;
        {
            TempDataDir dir;
            prepare(dir);
            QByteArray out;
            QCOMPARE(runChild(mode, 0, dir.path(), &out), 0);
            total = out.toInt();
            QVERIFY(total > 4);
            QCOMPARE(savedComposite(dir.path()).lines, existed ? 0 : 2);
        }
        int before = 0, after = 0;
        for (int n = 1; n <= total; ++n) {
            TempDataDir dir;
            prepare(dir);
            const QByteArray foods = Files::bytesOf(dir.file("DIETAB.DBF"));
            const QByteArray lines = Files::bytesOf(dir.file("Alimcomp.DBF"));
            QCOMPARE(runChild(mode, n, dir.path()), -SIGKILL);
            const bool journal = QFile::exists(dir.file("compose.jnl"));

            ScriptedPrompter p(dir.run());
            QVERIFY(RepriseDemarrage::execute(dir.run()));   // the dead program's lock is taken over
            QStringList said;
            for (const auto& a : p.asked) said << a.text;
            const QString all = said.join('\n');
            const Saved s = savedComposite(dir.path());
            const QString at = QStringLiteral("killed at call %1: ").arg(n);
            const bool whole = s.food && s.lines == 2;
            QVERIFY2(whole || (!s.food && s.lines == 0), qPrintable(at + "a half-written composite"));
            if (whole == existed) {
                ++before;
                QVERIFY2(Files::bytesOf(dir.file("DIETAB.DBF")) == foods &&
                             Files::bytesOf(dir.file("Alimcomp.DBF")) == lines,
                         qPrintable(at + "tables changed"));
                QVERIFY2(!journal || all.contains("d'avant " + what), qPrintable(at + all));
            } else {
                ++after;
                QVERIFY2(!journal || all.contains("d'après " + what), qPrintable(at + all));
            }
            QVERIFY2(!all.contains("aucun élément"), qPrintable(at + all));
            const QStringList left = QDir(dir.path()).entryList({"*.jnl", ".*"}, QDir::Files | QDir::Hidden);
            QVERIFY2(left.isEmpty(), qPrintable(at + left.join(',')));
            dir.run().lock().release();
        }
        QVERIFY(before > 0 && after > 0);
    }

    // Little space left: composite mode sets the day aside and brings it
    // back by renames, so the day comes back whole with no space to spare.
    void littleSpaceLeftKeepsTheDay() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        QVector<QVariantMap> day;
        for (int i = 1; i <= 22; ++i)
            day << QVariantMap{{"NOM", QStringLiteral("Ligne %1").arg(i)}, {"QTE", 10.0 * i}};
        Fixtures::appendRecords(choiceSchema(), dir.file("CHOIX.DBF"), day);
        const QByteArray bytes = Files::bytesOf(dir.file("CHOIX.DBF"));
        QVERIFY(bytes.size() > 8192);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--limited"), QStringLiteral("4096"), dir.path()});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput().trimmed()), QStringLiteral("ok"));
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), bytes);
        QCOMPARE(QDir(dir.path()).entryList({"choix.tmp", ".*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    void orphanNamedAtStartUp() {
        TempDataDir dir;
        Fixtures::writeAllTables(dir.path());
        QVariantMap gratin{
            {"NUMERO", 900.0}, {"NOM", QStringLiteral("Gratin d'été")}, {"CATEGORIE", CategorieComposee}};
        // A Base food made a composite by an older version cannot be deleted:
        // it is not named.
        QVariantMap abricot{
            {"NUMERO", 186.0}, {"NOM", QStringLiteral("Abricot")}, {"CATEGORIE", CategorieComposee}};
        Fixtures::appendRecords(foodSchema(), dir.file("DIETAB.DBF"), {abricot, gratin});
        ScriptedPrompter p(dir.run());
        QVERIFY(RepriseDemarrage::execute(dir.run()));
        QCOMPARE(p.asked.size(), 1);
        QCOMPARE(p.asked[0].kind, Prompter::Kind::Warning);
        QVERIFY2(p.lastText().startsWith("L'aliment composé Gratin d'été n'a aucun élément"),
                 qPrintable(p.lastText()));
        QVERIFY(p.lastText().contains(QStringLiteral("Table > Modifier table")));
        dir.run().lock().release();
    }
};

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--limited") == 0)
        return limitedMain(std::atol(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0)
        return childMain(QString::fromLatin1(argv[2]), std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]));
    QCoreApplication app(argc, argv);
    TestCompositeUnit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_compositeunit.moc"
