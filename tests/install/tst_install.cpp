// Nutrimo installed into a staging directory (DESTDIR) as a Debian package
// installs it: the files in their places, the menu entry accepted by
// desktop-file-validate, and the launcher, which fills the Data directory
// with the supplied tables it lacks, never overwrites the user's, and starts
// the program there. The program itself is replaced by a stub that prints
// where it was started.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QStringList kTables = {"DIETAB.DBF", "BESOINS.DBF", "CHOIX.DBF", "choix0.dbf", "Alimcomp.DBF"};

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
}  // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir m_stage;
    QString usr(const QString& rel) const { return m_stage.filePath(QStringLiteral("usr/") + rel); }

    // Runs the staged launcher with the given environment changes; returns
    // its standard output, or fails the test.
    QString launch(const QMap<QString, QString>& env, const QStringList& unset = {}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const QString& k : unset) e.remove(k);
        for (auto it = env.begin(); it != env.end(); ++it) e.insert(it.key(), it.value());
        p.setProcessEnvironment(e);
        p.start(usr("bin/nutrimo"), {QStringLiteral("--essai")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            qWarning() << p.readAllStandardError();
            return QStringLiteral("launcher failed");
        }
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_stage.isValid());
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("DESTDIR"), m_stage.path());
        p.setProcessEnvironment(e);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("cmake"), {"--install", NUTRIMO_BINARY_DIR, "--prefix", "/usr"});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
    }

    void files_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("launcher") << "bin/nutrimo" << true;
        QTest::newRow("program") << "libexec/nutrimo/nutrimo" << true;
        for (const QString& t : kTables)
            QTest::newRow(qPrintable(t)) << QStringLiteral("share/nutrimo/tables/") + t << false;
        QTest::newRow("help") << "share/nutrimo/help/DIETAIDE.HLP" << false;
        QTest::newRow("EFSA's values") << "share/nutrimo/efsa-drv.csv" << false;
        QTest::newRow("menu entry") << "share/applications/nutrimo.desktop" << false;
        QTest::newRow("icon") << "share/icons/hicolor/scalable/apps/nutrimo.svg" << false;
    }
    void files() {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo f(usr(path));
        QVERIFY2(f.isFile() && f.size() > 0, qPrintable(f.filePath()));
        QCOMPARE(f.isExecutable(), executable);
        if (path.contains(QLatin1String("/tables/")))
            QVERIFY(contents(f.filePath()) == contents(NUTRIMO_BINARY_DIR "/tables/" + f.fileName()));
    }

    void desktopEntry() {
        const QString entry = usr("share/applications/nutrimo.desktop");
        QProcess v;
        v.setProcessChannelMode(QProcess::MergedChannels);
        v.start(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(v.waitForFinished(30000), "desktop-file-validate is missing");
        const QByteArray said = v.readAll();
        QVERIFY2(v.exitCode() == 0 && said.isEmpty(), said.constData());
        const QString text = QString::fromUtf8(contents(entry));
        for (const char* line : {"Name=Nutrimo", "Exec=nutrimo", "Icon=nutrimo", "Type=Application"})
            QVERIFY2(text.split(QLatin1Char('\n')).contains(QLatin1String(line)), line);
        QVERIFY(text.contains(QStringLiteral("Comment=Composer la ration d'une journée")));
    }

    // The launcher, with the program replaced by a stub.
    void launcherPreparesTheDataDirectory_data() {
        QTest::addColumn<bool>("fromHome");
        QTest::addColumn<QString>("subdir");
        QTest::addColumn<bool>("userTables");
        QTest::newRow("new NUTRIMO_DATA") << false << "donnees" << false;
        QTest::newRow("name with blanks") << false << "Mes données/jour 1" << false;
        QTest::newRow("user's tables kept") << false << "donnees" << true;
        QTest::newRow("~/Nutrimo when unset") << true << "Nutrimo" << false;
    }
    void launcherPreparesTheDataDirectory() {
        QFETCH(bool, fromHome);
        QFETCH(QString, subdir);
        QFETCH(bool, userTables);
        const QString program = usr("libexec/nutrimo/nutrimo");
        if (!QFile::exists(program + QStringLiteral(".vrai"))) QVERIFY(QFile::rename(program, program + ".vrai"));
        QFile::remove(program);
        write(program, "#!/bin/sh\necho \"PWD=$(pwd)\"\necho \"ARGS=$*\"\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner | QFile::ExeGroup);

        QTemporaryDir home;
        const QString data = QDir(home.path()).filePath(subdir);
        // The user's own tables, in another letter case: theirs stay as they are.
        if (userTables) {
            write(data + QStringLiteral("/dietab.dbf"), "mes aliments");
            write(data + QStringLiteral("/CHOIX.DBF"), "mon choix");
        }
        const QString out = fromHome ? launch({{"HOME", home.path()}}, {"NUTRIMO_DATA"})
                                     : launch({{"NUTRIMO_DATA", data}});
        QVERIFY2(out.contains(QStringLiteral("PWD=") + QFileInfo(data).canonicalFilePath() + "\n"), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("ARGS=--essai\n")));
        for (const QString& t : kTables) {
            const QByteArray supplied = contents(usr("share/nutrimo/tables/") + t);
            if (userTables && t == QLatin1String("DIETAB.DBF")) {
                QVERIFY(!QFile::exists(data + "/" + t));
                QCOMPARE(contents(data + QStringLiteral("/dietab.dbf")), QByteArray("mes aliments"));
            } else if (userTables && t == QLatin1String("CHOIX.DBF")) {
                QCOMPARE(contents(data + "/" + t), QByteArray("mon choix"));
            } else {
                QVERIFY2(contents(data + "/" + t) == supplied, qPrintable(t));
            }
        }
        // A second start copies nothing: what the user changed stays.
        write(data + QStringLiteral("/choix0.dbf"), "modifié");
        const QString again = fromHome ? launch({{"HOME", home.path()}}, {"NUTRIMO_DATA"})
                                       : launch({{"NUTRIMO_DATA", data}});
        QVERIFY2(!again.contains(QStringLiteral("Table installée")), qPrintable(again));
        QCOMPARE(contents(data + QStringLiteral("/choix0.dbf")), QByteArray("modifié"));
    }
};

QTEST_APPLESS_MAIN(TestInstall)
#include "tst_install.moc"
