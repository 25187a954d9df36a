// The Debian package made by cpack, as `make deb` makes it, judged as a
// Debian maintainer would: lintian finds no error and no warning, the
// binaries are hardened, the AppStream metainfo validates, dependencies name
// Debian packages installed on this very machine, every table the build
// writes is inside, and the web page and contact configured for the build are
// the ones the package, the metainfo and the About box carry.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(300000);
    if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// A value of the build's CMake cache.
QString cached(const QString& name) {
    const QRegularExpression line(QStringLiteral("^%1:[A-Z]+=(.*)$").arg(name),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(contents(NUTRIMO_BINARY_DIR "/CMakeCache.txt"))).captured(1);
}
}   // namespace

class TestPackage : public QObject {
    Q_OBJECT
    QTemporaryDir m_out;
    QString m_deb;
    QString m_root;   // the package's files, unpacked
    QString field(const char* name) { return run("dpkg-deb", {"-f", m_deb, name}).trimmed(); }

private slots:
    void initTestCase() {
        if (cached(QStringLiteral("NUTRIMO_SANITIZE")) == QLatin1String("ON"))
            QSKIP("a sanitizer build is neither hardened nor shipped");
        QVERIFY(m_out.isValid());
        int rc = 0;
        const QString said =
            run(QStringLiteral("cpack"),
                {"-G", "DEB", "-B", m_out.path(), "--config", NUTRIMO_BINARY_DIR "/CPackConfig.cmake"}, &rc);
        QVERIFY2(rc == 0, qPrintable(said));
        const QStringList debs = QDir(m_out.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(m_out.path()).filePath(debs.first());
        m_root = m_out.filePath(QStringLiteral("racine"));
        QCOMPARE(run("dpkg-deb", {"-x", m_deb, m_root}, &rc), QString());
    }

    void files() {
        QCOMPARE(field("Package"), QStringLiteral("nutrimo"));
        QCOMPARE(field("Version"), QStringLiteral("5.3"));
        QStringList expected = {"bin/nutrimo",
                                "libexec/nutrimo/nutrimo",
                                "libexec/nutrimo/nutrimo-message",
                                "share/nutrimo/help/DIETAIDE.HLP",
                                "share/nutrimo/efsa-drv.csv",
                                "share/applications/nutrimo.desktop",
                                "share/icons/hicolor/scalable/apps/nutrimo.svg",
                                "share/man/man1/nutrimo.1.gz",
                                "share/doc/nutrimo/copyright",
                                "share/doc/nutrimo/changelog.gz"};
        for (const QString& t : QDir(NUTRIMO_TABLES_DIR).entryList(QDir::Files))
            expected << (t == QLatin1String("CIQUAL.DBF") ? QStringLiteral("share/nutrimo/")
                                                          : QStringLiteral("share/nutrimo/tables/")) +
                            t;
        for (const QString& path : expected)
            QVERIFY2(QFileInfo(m_root + QStringLiteral("/usr/") + path).isFile(), qPrintable(path));
    }

    // lintian as a maintainer runs it; information tags are printed for
    // whoever reads the log, errors and warnings fail.
    void lintianAcceptsThePackage() {
        int rc = 0;
        const QString said = run("lintian", {"--fail-on", "error,warning", "--display-info", m_deb}, &rc);
        qInfo().noquote() << (said.isEmpty() ? QStringLiteral("lintian: rien à signaler") : said);
        QVERIFY2(rc == 0, qPrintable(said));
    }

    // Stack protector, fortified calls, full RELRO, immediate binding, PIE.
    // Not control-flow marking: Debian 12's C start files carry none, so no
    // program linked there can have it.
    void binariesAreHardened() {
        for (const char* binary : {"nutrimo", "nutrimo-message"}) {
            int rc = 0;
            const QString said =
                run("hardening-check",
                    {"--nocfprotection", m_root + QStringLiteral("/usr/libexec/nutrimo/") + binary}, &rc);
            QVERIFY2(rc == 0, qPrintable(said));
        }
    }

    void metainfoValidates() {
        const QStringList found = QDir(m_root + QStringLiteral("/usr/share/metainfo")).entryList(QDir::Files);
        QCOMPARE(found.size(), 1);
        int rc = 0;
        const QString said = run("appstreamcli",
                                 {"validate", "--no-net", "--pedantic",
                                  m_root + QStringLiteral("/usr/share/metainfo/") + found.first()},
                                 &rc);
        QVERIFY2(rc == 0, qPrintable(said));
    }

    // Every dependency is a Debian package that this machine, which built
    // and ran the program, has installed; the Qt libraries come from the
    // binaries (shlibdeps), GLPK among them.
    void dependencies() {
        const QString depends = field("Depends");
        QStringList names;
        for (const QString& d : depends.split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << d.trimmed().section(QLatin1Char(' '), 0, 0);
        for (const char* prefix :
             {"libc6", "libstdc\\+\\+6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6",
              "libqt6svg6", "qt6-qpa-plugins", "qt6-translations-l10n", "libglpk"})
            QVERIFY2(!names.filter(QRegularExpression(QStringLiteral("^") + prefix)).isEmpty(),
                     qPrintable(depends));
        for (const QString& n : names) {
            int rc = 0;
            const QString status = run("dpkg-query", {"-W", "-f=${Status}", n}, &rc);
            QVERIFY2(rc == 0 && status.contains(QStringLiteral("install ok installed")), qPrintable(n));
        }
    }

    // The web page and contact given to the build reach the package, the
    // metainfo, the manual page and the About box (compiled into the
    // program), and the placeholder domain is written down in one place.
    void addressesComeFromTheBuild() {
        const QString homepage = cached(QStringLiteral("NUTRIMO_HOMEPAGE"));
        const QString contact = cached(QStringLiteral("NUTRIMO_CONTACT"));
        QCOMPARE(field("Homepage"), homepage);
        QVERIFY2(field("Maintainer").endsWith(QStringLiteral(" <%1>").arg(contact)),
                 qPrintable(field("Maintainer")));
        const QDir metainfo(m_root + QStringLiteral("/usr/share/metainfo"));
        const QString xml =
            QString::fromUtf8(contents(metainfo.filePath(metainfo.entryList(QDir::Files).value(0))));
        QVERIFY(xml.contains(QStringLiteral("<url type=\"homepage\">%1</url>").arg(homepage)) &&
                xml.contains(contact));
        QVERIFY(run("zcat", {m_root + QStringLiteral("/usr/share/man/man1/nutrimo.1.gz")}).contains(contact));
        const QByteArray program = contents(m_root + QStringLiteral("/usr/libexec/nutrimo/nutrimo"));
        QVERIFY(program.contains(homepage.toUtf8() + '\0') && program.contains(contact.toUtf8() + '\0'));

        QStringList mentions;
        for (QDirIterator it(NUTRIMO_SOURCE_DIR, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = QDir(NUTRIMO_SOURCE_DIR).relativeFilePath(it.next());
            if (!path.startsWith(QLatin1String("build")) && !path.startsWith(QLatin1String(".git")) &&
                contents(it.filePath()).contains(QUrl(homepage).host().toUtf8()))
                mentions << path;
        }
        mentions.sort();
        QCOMPARE(mentions, QStringList({"README.md", "cmake/NutrimoAddresses.cmake"}));
    }
};

QTEST_APPLESS_MAIN(TestPackage)
#include "tst_package.moc"
