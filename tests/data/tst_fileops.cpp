// Whole-file operations in the Data directory: copy through a temporary
// file, delete, existence and the listing of saved choices, each finding its
// file whatever the letter case on disk.
#include <QDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileops.h"
#include "support/testsupport.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

QStringList entries(const TempDataDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

class TestFileOps : public QObject {
    Q_OBJECT
private slots:
    // The names the program uses in several letter cases reach the one file
    // on disk: the copy overwrites it rather than creating a second file.
    void copyResolvesCase_data() {
        QTest::addColumn<QString>("sourceOnDisk");
        QTest::addColumn<QString>("destinationOnDisk");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::newRow("New") << "choix0.dbf" << "CHOIX.DBF" << "Choix0.dbf" << "Choix.dbf";
        QTest::newRow("empty the choice") << "choix0.dbf" << "CHOIX.DBF" << "choix0.dbf" << "choix.dbf";
        QTest::newRow("backup") << "CHOIX.DBF" << "choix.tmp" << "choix.dbf" << "choix.tmp";
        QTest::newRow("save") << "CHOIX.DBF" << "Lundi.dat" << "choix.dbf" << "LUNDI.DAT";
    }
    void copyResolvesCase() {
        QFETCH(QString, sourceOnDisk);
        QFETCH(QString, destinationOnDisk);
        QFETCH(QString, source);
        QFETCH(QString, destination);
        TempDataDir dir;
        writeFile(dir.file(sourceOnDisk), QByteArray("source\0bytes\x1a", 13));
        writeFile(dir.file(destinationOnDisk), QByteArray("old destination, longer than the source"));
        FileOps::CopyFile(source, destination);
        QCOMPARE(readFile(dir.file(destinationOnDisk)), QByteArray("source\0bytes\x1a", 13));
        QStringList both{sourceOnDisk, destinationOnDisk};
        both.sort();
        QCOMPARE(entries(dir), both);   // no second file under the other case
    }

    void copyCreatesDestination() {
        TempDataDir dir;
        writeFile(dir.file("CHOIX.DBF"), QByteArray(200000, 'x'));
        FileOps::CopyFile("choix.dbf", "Mardi.dat");
        QCOMPARE(readFile(dir.file("Mardi.dat")), QByteArray(200000, 'x'));
        QCOMPARE(entries(dir), (QStringList{"CHOIX.DBF", "Mardi.dat"}));
    }

    void missingSourceLeavesDestination() {
        TempDataDir dir;
        writeFile(dir.file("CHOIX.DBF"), QByteArray("the day's choice"));
        try {
            FileOps::CopyFile("choix0.dbf", "choix.dbf");
            QFAIL("copied");
        } catch (const DataError& e) {
            QCOMPARE(e.message(), QStringLiteral("Impossible d'ouvrir le fichier choix0.dbf : fichier introuvable."));
        }
        QCOMPARE(readFile(dir.file("CHOIX.DBF")), QByteArray("the day's choice"));
        QCOMPARE(entries(dir), QStringList{"CHOIX.DBF"});
    }

    // A copy that fails part-way (here the disk "fills" at 64 KiB) leaves the
    // destination exactly as it was, and no temporary file behind.
    void failedCopyLeavesDestination() {
        TempDataDir dir;
        writeFile(dir.file("choix.tmp"), QByteArray(300000, 'n'));
        writeFile(dir.file("CHOIX.DBF"), QByteArray("the composite's lines"));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        bool refused = false;
        try {
            FileOps::CopyFile("choix.tmp", "choix.dbf");
        } catch (const DataError& e) {
            refused = e.message().startsWith(QStringLiteral("Impossible d'écrire le fichier choix.dbf"));
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(refused);
        QCOMPARE(readFile(dir.file("CHOIX.DBF")), QByteArray("the composite's lines"));
        QCOMPARE(entries(dir), (QStringList{"CHOIX.DBF", "choix.tmp"}));
    }

    void deleteFile() {
        TempDataDir dir;
        writeFile(dir.file("choix.tmp"), "x");
        FileOps::DeleteFile("CHOIX.TMP");
        QVERIFY(entries(dir).isEmpty());
        FileOps::DeleteFile("choix.tmp");   // absent: nothing to do
    }

    void fileExists_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("exact") << "Lundi.dat" << true;
        QTest::newRow("other case") << "LUNDI.DAT" << true;
        QTest::newRow("absent") << "Mardi.dat" << false;
        QTest::newRow("a directory is not a file") << "sub" << false;
    }
    void fileExists() {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        TempDataDir dir;
        writeFile(dir.file("Lundi.dat"), "x");
        QDir(dir.path()).mkdir("sub");
        QCOMPARE(FileOps::FileExists(name), exists);
    }

    void listDatFiles() {
        TempDataDir dir;
        for (const char* n : {"mardi.dat", "Lundi.DAT", "CHOIX.DBF", "lundi.dat", "notes.data",
                              "Avril.dat", "x.dat.bak"})
            writeFile(dir.file(QString::fromLatin1(n)), "x");
        QDir(dir.path()).mkdir("dossier.dat");
        QCOMPARE(FileOps::ListDatFiles(), (QStringList{"Avril.dat", "Lundi.DAT", "lundi.dat", "mardi.dat"}));
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
