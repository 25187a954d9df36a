// The Debian package made by cpack: its name and version, its files (all
// under /usr, in the places the installation puts them), and dependencies
// that name Debian packages installed on this very machine.
#include <QDir>
#include <QProcess>
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
}  // namespace

class TestPackage : public QObject {
    Q_OBJECT
    QTemporaryDir m_out;
    QString m_deb;

private slots:
    void initTestCase() {
        QVERIFY(m_out.isValid());
        int rc = 0;
        const QString said = run(QStringLiteral("cpack"),
                                 {"-G", "DEB", "-B", m_out.path(), "--config",
                                  NUTRIMO_BINARY_DIR "/CPackConfig.cmake"}, &rc);
        QVERIFY2(rc == 0, qPrintable(said));
        const QStringList debs = QDir(m_out.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(m_out.path()).filePath(debs.first());
    }

    void files() {
        QCOMPARE(run("dpkg-deb", {"-f", m_deb, "Package"}).trimmed(), QStringLiteral("nutrimo"));
        QCOMPARE(run("dpkg-deb", {"-f", m_deb, "Version"}).trimmed(), QStringLiteral("5.3"));
        const QString list = run("dpkg-deb", {"-c", m_deb});
        QStringList paths;
        for (const QString& line : list.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString path = line.section(QLatin1Char(' '), -1);
            if (!path.endsWith(QLatin1Char('/'))) paths << path;
        }
        for (const char* expected :
             {"./usr/bin/nutrimo", "./usr/libexec/nutrimo/nutrimo", "./usr/share/nutrimo/tables/DIETAB.DBF",
              "./usr/share/nutrimo/tables/BESOINS.DBF", "./usr/share/nutrimo/tables/CHOIX.DBF",
              "./usr/share/nutrimo/tables/choix0.dbf", "./usr/share/nutrimo/tables/Alimcomp.DBF",
              "./usr/share/nutrimo/help/DIETAIDE.HLP", "./usr/share/nutrimo/efsa-drv.csv",
              "./usr/share/applications/nutrimo.desktop",
              "./usr/share/icons/hicolor/scalable/apps/nutrimo.svg"})
            QVERIFY2(paths.contains(QLatin1String(expected)), expected);
        QCOMPARE(paths.size(), 11);
    }

    // Every dependency is a Debian package that this machine, which built
    // and ran the program, has installed: the Qt 6 libraries, the platform
    // plugins, Qt's French texts, the fonts and GLPK.
    void dependencies() {
        const QString depends = run("dpkg-deb", {"-f", m_deb, "Depends"}).trimmed();
        QStringList names;
        for (const QString& d : depends.split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << d.trimmed().section(QLatin1Char(' '), 0, 0);
        for (const char* prefix : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6",
                                   "libqt6svg6", "qt6-qpa-plugins", "qt6-translations-l10n", "libglpk"})
            QVERIFY2(!names.filter(QRegularExpression(QStringLiteral("^") + prefix)).isEmpty(),
                     qPrintable(depends));
        for (const QString& n : names) {
            int rc = 0;
            const QString status = run("dpkg-query", {"-W", "-f=${Status}", n}, &rc);
            QVERIFY2(rc == 0 && status.contains(QStringLiteral("install ok installed")), qPrintable(n));
        }
    }
};

QTEST_APPLESS_MAIN(TestPackage)
#include "tst_package.moc"
