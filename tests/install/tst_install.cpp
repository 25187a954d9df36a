// Nutrimo installed into a staging directory (DESTDIR) as a Debian package
// installs it: the files in their places (every table the build writes
// among them), the menu entry accepted by desktop-file-validate, and the
// launcher, which fills the Data directory with the supplied tables it
// lacks, never overwrites the user's, starts the program there, and says in
// French, on stderr and in a window when there is a display, what stops it.
// The program and the message window are replaced by stubs that say how
// they were started.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The whole CIQUAL table: installed beside the supplied tables, read where it
// is, never copied into a Data directory.
const QString kCiqual = QStringLiteral("CIQUAL.DBF");
// Every other table the build writes: the launcher must hand each to the user.
QStringList builtTables() {
    QStringList tables = QDir(NUTRIMO_TABLES_DIR).entryList(QDir::Files, QDir::Name);
    tables.removeAll(kCiqual);
    return tables;
}

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
void writeStub(const QString& path, const QByteArray& script) {
    if (!QFile::exists(path + QStringLiteral(".vrai"))) QVERIFY(QFile::rename(path, path + ".vrai"));
    QFile::remove(path);
    write(path, "#!/bin/sh\n" + script);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup);
}

struct Run {
    int rc = -1;
    QString out, err;
};
}   // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir m_stage;
    QString usr(const QString& rel) const { return m_stage.filePath(QStringLiteral("usr/") + rel); }

    // Runs the staged launcher (through `sh -c wrapper` when given) with the
    // given environment changes; no display unless the test gives one.
    Run launch(const QMap<QString, QString>& env, const QStringList& unset = {}, const QString& wrapper = {}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const QString& k : unset + QStringList{"DISPLAY", "WAYLAND_DISPLAY"}) e.remove(k);
        for (auto it = env.begin(); it != env.end(); ++it) e.insert(it.key(), it.value());
        p.setProcessEnvironment(e);
        if (wrapper.isEmpty())
            p.start(usr("bin/nutrimo"), {QStringLiteral("--essai")});
        else
            p.start(QStringLiteral("sh"),
                    {"-c", wrapper + "; exec \"$0\" \"$@\"", usr("bin/nutrimo"), "--essai"});
        Run r;
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit) r.rc = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_stage.isValid());
        QVERIFY(builtTables().contains(QStringLiteral("NONMESUR.DBF")));
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("DESTDIR"), m_stage.path());
        p.setProcessEnvironment(e);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("cmake"), {"--install", NUTRIMO_BINARY_DIR, "--prefix", "/usr"});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAll().constData());
        writeStub(usr("libexec/nutrimo/nutrimo"),
                  "echo \"PWD=$(pwd)\"\necho \"ARGS=$*\"\necho \"CIQUAL=$NUTRIMO_CIQUAL\"\n");
        writeStub(usr("libexec/nutrimo/nutrimo-message"), "printf '%s' \"$1\" > \"$FENETRE\"\n");
    }

    void files_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("launcher") << "bin/nutrimo" << true;
        QTest::newRow("program") << "libexec/nutrimo/nutrimo.vrai" << true;
        QTest::newRow("message window") << "libexec/nutrimo/nutrimo-message.vrai" << true;
        for (const QString& t : builtTables())
            QTest::newRow(qPrintable(t)) << QStringLiteral("share/nutrimo/tables/") + t << false;
        QTest::newRow("CIQUAL table") << QStringLiteral("share/nutrimo/") + kCiqual << false;
        QTest::newRow("help") << "share/nutrimo/help/DIETAIDE.HLP" << false;
        QTest::newRow("EFSA's values") << "share/nutrimo/efsa-drv.csv" << false;
        QTest::newRow("menu entry") << "share/applications/nutrimo.desktop" << false;
        QTest::newRow("icon") << "share/icons/hicolor/scalable/apps/nutrimo.svg" << false;
        for (int s : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QStringLiteral("icon %1").arg(s)))
                << QStringLiteral("share/icons/hicolor/%1x%1/apps/nutrimo.png").arg(s) << false;
        QTest::newRow("manual") << "share/man/man1/nutrimo.1.gz" << false;
        QTest::newRow("copyright") << "share/doc/nutrimo/copyright" << false;
        QTest::newRow("changelog") << "share/doc/nutrimo/changelog.gz" << false;
    }
    void files() {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo f(usr(path));
        QVERIFY2(f.isFile() && f.size() > 0, qPrintable(f.filePath()));
        QCOMPARE(f.isExecutable(), executable);
        if (path.contains(QLatin1String("/tables/")) || f.fileName() == kCiqual)
            QVERIFY(contents(f.filePath()) == contents(NUTRIMO_TABLES_DIR "/" + f.fileName()));
        QVERIFY(!QFile::exists(usr("share/nutrimo/tables/") + kCiqual));
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
        QTemporaryDir home;
        const QString data = QDir(home.path()).filePath(subdir);
        // The user's own tables, in another letter case: theirs stay as they are.
        if (userTables) {
            write(data + QStringLiteral("/dietab.dbf"), "mes aliments");
            write(data + QStringLiteral("/CHOIX.DBF"), "mon choix");
        }
        const auto start = [&] {
            return fromHome ? launch({{"HOME", home.path()}}, {"NUTRIMO_DATA"})
                            : launch({{"NUTRIMO_DATA", data}});
        };
        const Run r = start();
        QVERIFY2(r.rc == 0 && r.err.isEmpty(), qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("PWD=") + QFileInfo(data).canonicalFilePath() + "\n"),
                 qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("ARGS=--essai\n")));
        // The program is told where the whole CIQUAL table is; it is not copied.
        QVERIFY2(r.out.contains(QStringLiteral("CIQUAL=") + usr("share/nutrimo/") + kCiqual + "\n"),
                 qPrintable(r.out));
        QVERIFY(!QFile::exists(data + "/" + kCiqual));
        for (const QString& t : builtTables()) {
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
        const Run again = start();
        QVERIFY2(again.rc == 0 && !again.out.contains(QStringLiteral("Table installée")),
                 qPrintable(again.out));
        QCOMPARE(contents(data + QStringLiteral("/choix0.dbf")), QByteArray("modifié"));
    }

    // A Data directory that cannot be made stops the start with the reason
    // in French, on stderr, and in a window when there is a display.
    void launcherSaysWhyTheDataDirectoryCannotBeMade_data() {
        QTest::addColumn<QString>("data");   // under a fresh home holding the file "fichier"
        QTest::addColumn<bool>("display");
        QTest::newRow("a file in its place") << "fichier" << false;
        QTest::newRow("a file on its path, display") << "fichier/jour/1" << true;
    }
    void launcherSaysWhyTheDataDirectoryCannotBeMade() {
        QFETCH(QString, data);
        QFETCH(bool, display);
        QTemporaryDir home;
        write(home.filePath("fichier"), "pas un dossier");
        const QString window = home.filePath("fenetre.txt");
        QMap<QString, QString> env{{"NUTRIMO_DATA", home.filePath(data)}, {"FENETRE", window}};
        if (display) env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99"));
        const Run r = launch(env);
        const QString said = QStringLiteral(
                                 "Nutrimo : Le dossier de données « %1 » ne peut pas être créé : "
                                 "« %2 » existe et n'est pas un dossier.\n")
                                 .arg(home.filePath(data), home.filePath("fichier"));
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.startsWith(said), qPrintable(r.err));
        QVERIFY2(!r.out.contains(QStringLiteral("PWD=")), "the program must not start");
        QCOMPARE(QFile::exists(window), display);
        if (display) QVERIFY(r.err.contains(QString::fromUtf8(contents(window))));
    }

    // A table whose copy fails (here: a file size limit, as a full disk
    // would) is named in the message, leaves no half-copied table that the
    // next start would take for the user's, and is copied at the next start.
    void launcherSaysWhichTablesItCannotCopy() {
        QTemporaryDir home;
        const QString data = home.filePath(QStringLiteral("Nutrimo"));
        const Run cut = launch({{"NUTRIMO_DATA", data}}, {}, QStringLiteral("trap '' XFSZ; ulimit -f 64"));
        QVERIFY2(cut.rc == 0 && cut.out.contains(QStringLiteral("PWD=")), qPrintable(cut.out));
        QVERIFY2(cut.err.contains(QStringLiteral("« %1 » :\nDIETAB.DBF : taille de fichier limitée").arg(data)),
                 qPrintable(cut.err));
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("DIETAB")),
                 QStringList());
        QVERIFY(QFile::exists(data + QStringLiteral("/BESOINS.DBF")));
        const Run whole = launch({{"NUTRIMO_DATA", data}});
        QVERIFY2(whole.rc == 0 && whole.err.isEmpty(), qPrintable(whole.err));
        QVERIFY(contents(data + QStringLiteral("/DIETAB.DBF")) == contents(NUTRIMO_TABLES_DIR "/DIETAB.DBF"));
    }
};

QTEST_APPLESS_MAIN(TestInstall)
#include "tst_install.moc"
