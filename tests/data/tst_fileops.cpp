// Whole-file operations in the Data directory: copy through a temporary
// file, delete, existence and the listing of saved choices, each finding its
// file whatever the letter case on disk, and whatever bytes the directory's
// name is made of.
#include <QDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/io/fileops.h"
#include "core/io/fileseam.h"
#include "core/io/datalock.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {

QStringList entries(const TempDataDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}   // namespace

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
        QTest::newRow("New") << "choix0.dbf"
                             << "CHOIX.DBF"
                             << "Choix0.dbf"
                             << "Choix.dbf";
        QTest::newRow("empty the choice") << "choix0.dbf"
                                          << "CHOIX.DBF"
                                          << "choix0.dbf"
                                          << "choix.dbf";
        QTest::newRow("backup") << "CHOIX.DBF"
                                << "choix.tmp"
                                << "choix.dbf"
                                << "choix.tmp";
        QTest::newRow("save") << "CHOIX.DBF"
                              << "Lundi.dat"
                              << "choix.dbf"
                              << "LUNDI.DAT";
    }
    void copyResolvesCase() {
        QFETCH(QString, sourceOnDisk);
        QFETCH(QString, destinationOnDisk);
        QFETCH(QString, source);
        QFETCH(QString, destination);
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file(sourceOnDisk), QByteArray("source\0bytes\x1a", 13)));
        QVERIFY(Files::writeBytes(dir.file(destinationOnDisk),
                                  QByteArray("old destination, longer than the source")));
        FileOps::copyFile(dir.run(), source, destination);
        QCOMPARE(Files::bytesOf(dir.file(destinationOnDisk)), QByteArray("source\0bytes\x1a", 13));
        QStringList both{sourceOnDisk, destinationOnDisk};
        both.sort();
        QCOMPARE(entries(dir), both);   // no second file under the other case
    }

    void copyCreatesDestination() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), QByteArray(200000, 'x')));
        FileOps::copyFile(dir.run(), "choix.dbf", "Mardi.dat");
        QCOMPARE(Files::bytesOf(dir.file("Mardi.dat")), QByteArray(200000, 'x'));
        QCOMPARE(entries(dir), (QStringList{"CHOIX.DBF", "Mardi.dat"}));
    }

    void missingSourceLeavesDestination() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), QByteArray("the day's choice")));
        EXPECT_DATA_ERROR(Equals,
                          QStringLiteral("Impossible d'ouvrir le fichier choix0.dbf : fichier introuvable."),
                          FileOps::copyFile(dir.run(), "choix0.dbf", "choix.dbf"));
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), QByteArray("the day's choice"));
        QCOMPARE(entries(dir), QStringList{"CHOIX.DBF"});
    }

    // A copy that fails part-way (here the disk "fills" at 64 KiB) leaves the
    // destination exactly as it was, and no temporary file behind.
    void failedCopyLeavesDestination() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("choix.tmp"), QByteArray(300000, 'n')));
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), QByteArray("the composite's lines")));
        {
            FileSizeLimit limit(64 * 1024);
            EXPECT_DATA_ERROR(StartsWith, QStringLiteral("Impossible d'écrire le fichier choix.dbf"),
                              FileOps::copyFile(dir.run(), "choix.tmp", "choix.dbf"));
        }
        QCOMPARE(Files::bytesOf(dir.file("CHOIX.DBF")), QByteArray("the composite's lines"));
        QCOMPARE(entries(dir), (QStringList{"CHOIX.DBF", "choix.tmp"}));
    }

    // Start-up removes the temporaries a stopped copy left, which carry a
    // name only the program writes, and never a user's own hidden file.
    void leftoverTemporariesOnlyOurs() {
        TempDataDir dir;
        int fd = -1;
        QString temporary;
        QCOMPARE(dir.run().seam().createTemporary(dir.file("CHOIX.DBF"), &fd, &temporary), 0);
        ::close(fd);
        QVERIFY2(FileSeam::isTemporaryName(QFileInfo(temporary).fileName()), qPrintable(temporary));
        const QStringList users = {".CHOIX.DBF.a1B2c3", ".notes.backup", ".nutrimo-tmp.", "CHOIX.DBF",
                                   "nutrimo-tmp.x.a1B2c3"};   // in name order
        for (const QString& n : users + QStringList{".nutrimo-tmp.Lundi.dat.Zz09aB"})
            QVERIFY(Files::writeBytes(dir.file(n), "x"));
        FileOps::removeLeftoverTemporaries(dir.run());
        QCOMPARE(entries(dir), users);
    }

    void deleteFile() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("choix.tmp"), "x"));
        FileOps::deleteFile(dir.run(), "CHOIX.TMP");
        QVERIFY(entries(dir).isEmpty());
        FileOps::deleteFile(dir.run(), "choix.tmp");   // absent: nothing to do
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
        QVERIFY(Files::writeBytes(dir.file("Lundi.dat"), "x"));
        QDir(dir.path()).mkdir("sub");
        QCOMPARE(FileOps::fileExists(dir.run(), name), exists);
    }

    void listDatFiles() {
        TempDataDir dir;
        for (const char* n :
             {"mardi.dat", "Lundi.DAT", "CHOIX.DBF", "lundi.dat", "notes.data", "Avril.dat", "x.dat.bak"})
            QVERIFY(Files::writeBytes(dir.file(QString::fromLatin1(n)), "x"));
        QDir(dir.path()).mkdir("dossier.dat");
        QCOMPARE(FileOps::listDatFiles(dir.run()),
                 (QStringList{"Avril.dat", "Lundi.DAT", "lundi.dat", "mardi.dat"}));
    }

    // A Data directory whose name is not UTF-8 (a Latin-1 "café"): tables,
    // copies, the list of saved days and the lock all reach its files.
    void nameNotInTheFileNamesEncoding() {
        TempDataDir top;
        const QByteArray cafe = QFile::encodeName(top.path()) + "/caf\xe9";
        QCOMPARE(::mkdir(cafe.constData(), 0755), 0);
        const QString before = QDir::currentPath();
        QCOMPARE(::chdir(cafe.constData()), 0);
        RunContext run{DataDirectory::working()};
        const QString dir = run.dataDir().path();
        QVERIFY(QDir::setCurrent(before));
        QVERIFY2(run.dataDir().shown(dir).endsWith(QStringLiteral("caf\uFFFD")),
                 qPrintable(run.dataDir().shown(dir)));
        Fixtures::writeAllTables(dir);
        Table choix(run, choiceSchema());
        choix.open();
        choix.append();
        choix.setString(QStringLiteral("NOM"), QStringLiteral("Pomme"));
        choix.post();
        choix.close();
        FileOps::copyFile(run, QStringLiteral("CHOIX.DBF"), QStringLiteral("lundi.dat"));
        QCOMPARE(FileOps::listDatFiles(run), QStringList{"lundi.dat"});
        QCOMPARE(Files::bytesOf(QFile::decodeName(cafe + "/lundi.dat")).size(),
                 Files::bytesOf(QFile::decodeName(cafe + "/CHOIX.DBF")).size());
        QCOMPARE(Fixtures::liveChoiceNames(dir), QStringList{"Pomme"});
        QCOMPARE(run.lock().acquire(dir), DataLock::Result::Taken);
        QVERIFY(::access((cafe + "/nutrimo.lck").constData(), F_OK) == 0);
        run.lock().release();
        // Emptied here: the temporary directory cannot name it either.
        for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
            QVERIFY(QFile::remove(QDir(dir).filePath(name)));
        QCOMPARE(::rmdir(cafe.constData()), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
