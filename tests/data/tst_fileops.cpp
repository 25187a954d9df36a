// Whole-file operations in the Data directory: copy through a temporary
// file, delete, existence and the listing of saved choices, each finding its
// file whatever the letter case on disk, and whatever bytes the directory's
// name is made of.
#include <QDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileops.h"
#include "core/dbf/fileseam.h"
#include "core/session/datalock.h"
#include "core/table/table.h"
#include "support/dataerrors.h"
#include "support/files.h"
#include "support/testsupport.h"

namespace {

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
        QVERIFY(Files::writeBytes(dir.file(sourceOnDisk), QByteArray("source\0bytes\x1a", 13)));
        QVERIFY(Files::writeBytes(dir.file(destinationOnDisk),
                                  QByteArray("old destination, longer than the source")));
        FileOps::copyFile(source, destination);
        QCOMPARE(Files::bytesOf(dir.file(destinationOnDisk)), QByteArray("source\0bytes\x1a", 13));
        QStringList both{sourceOnDisk, destinationOnDisk};
        both.sort();
        QCOMPARE(entries(dir), both);   // no second file under the other case
    }

    void copyCreatesDestination() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), QByteArray(200000, 'x')));
        FileOps::copyFile("choix.dbf", "Mardi.dat");
        QCOMPARE(Files::bytesOf(dir.file("Mardi.dat")), QByteArray(200000, 'x'));
        QCOMPARE(entries(dir), (QStringList{"CHOIX.DBF", "Mardi.dat"}));
    }

    void missingSourceLeavesDestination() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("CHOIX.DBF"), QByteArray("the day's choice")));
        EXPECT_DATA_ERROR(Equals,
                          QStringLiteral("Impossible d'ouvrir le fichier choix0.dbf : fichier introuvable."),
                          FileOps::copyFile("choix0.dbf", "choix.dbf"));
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
                              FileOps::copyFile("choix.tmp", "choix.dbf"));
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
        QCOMPARE(FileSeam::createTemporary(dir.file("CHOIX.DBF"), &fd, &temporary), 0);
        ::close(fd);
        QVERIFY2(FileSeam::isTemporaryName(QFileInfo(temporary).fileName()), qPrintable(temporary));
        const QStringList users = {".CHOIX.DBF.a1B2c3", ".notes.backup", ".nutrimo-tmp.", "CHOIX.DBF",
                                   "nutrimo-tmp.x.a1B2c3"};   // in name order
        for (const QString& n : users + QStringList{".nutrimo-tmp.Lundi.dat.Zz09aB"})
            QVERIFY(Files::writeBytes(dir.file(n), "x"));
        FileOps::removeLeftoverTemporaries();
        QCOMPARE(entries(dir), users);
    }

    void deleteFile() {
        TempDataDir dir;
        QVERIFY(Files::writeBytes(dir.file("choix.tmp"), "x"));
        FileOps::deleteFile("CHOIX.TMP");
        QVERIFY(entries(dir).isEmpty());
        FileOps::deleteFile("choix.tmp");   // absent: nothing to do
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
        QCOMPARE(FileOps::fileExists(name), exists);
    }

    void listDatFiles() {
        TempDataDir dir;
        for (const char* n : {"mardi.dat", "Lundi.DAT", "CHOIX.DBF", "lundi.dat", "notes.data",
                              "Avril.dat", "x.dat.bak"})
            QVERIFY(Files::writeBytes(dir.file(QString::fromLatin1(n)), "x"));
        QDir(dir.path()).mkdir("dossier.dat");
        QCOMPARE(FileOps::listDatFiles(), (QStringList{"Avril.dat", "Lundi.DAT", "lundi.dat", "mardi.dat"}));
    }

    // A Data directory whose name is not UTF-8 (a Latin-1 "café"): tables,
    // copies, the list of saved days and the lock all reach its files.
    void nameNotInTheFileNamesEncoding() {
        TempDataDir top;
        const QByteArray cafe = QFile::encodeName(top.path()) + "/caf\xe9";
        QCOMPARE(::mkdir(cafe.constData(), 0755), 0);
        const QString before = QDir::currentPath();
        QCOMPARE(::chdir(cafe.constData()), 0);
        const QString dir = DataDir::workingDirectory();
        QVERIFY(QDir::setCurrent(before));
        QVERIFY2(DataDir::shown(dir).endsWith(QStringLiteral("caf\uFFFD")), qPrintable(DataDir::shown(dir)));
        DataDir::set(dir);
        Fixtures::writeAllTables(dir);
        Table choix(choiceSchema());
        choix.open();
        choix.append();
        choix.setString(QStringLiteral("NOM"), QStringLiteral("Pomme"));
        choix.post();
        choix.close();
        FileOps::copyFile(QStringLiteral("CHOIX.DBF"), QStringLiteral("lundi.dat"));
        QCOMPARE(FileOps::listDatFiles(), QStringList{"lundi.dat"});
        QCOMPARE(Files::bytesOf(QFile::decodeName(cafe + "/lundi.dat")).size(),
                 Files::bytesOf(QFile::decodeName(cafe + "/CHOIX.DBF")).size());
        QCOMPARE(Fixtures::liveChoiceNames(dir), QStringList{"Pomme"});
        QCOMPARE(DataLock::acquire(dir), DataLock::Result::Taken);
        QVERIFY(::access((cafe + "/nutrimo.lck").constData(), F_OK) == 0);
        DataLock::release();
        // Emptied here: the temporary directory cannot name it either.
        for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
            QVERIFY(QFile::remove(QDir(dir).filePath(name)));
        QCOMPARE(::rmdir(cafe.constData()), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
