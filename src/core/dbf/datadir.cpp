#include "core/dbf/datadir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString g_dir;

// The working directory reached through an open handle, when its name does
// not read back (see workingDirectory()), and the name shown for it.
struct Alias {
    QString path;
    QString shown;
};
Alias& alias() {
    static Alias a;
    return a;
}

QByteArray currentNative() {
    QByteArray buffer(4096, '\0');
    while (!::getcwd(buffer.data(), static_cast<size_t>(buffer.size()))) {
        if (errno != ERANGE) return QByteArray();
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}
}  // namespace

namespace DataDir {

void set(const QString& dir) { g_dir = QDir(dir).absolutePath(); }

QString path() { return g_dir.isEmpty() ? workingDirectory() : g_dir; }

QString workingDirectory() {
    const QByteArray cwd = currentNative();
    const QString decoded = QFile::decodeName(cwd);
    if (cwd.isEmpty() || QFile::encodeName(decoded) == cwd) return decoded;
    // A name whose bytes are not in the file names' encoding (a Latin-1
    // "café" where names are UTF-8) decodes into a name that finds nothing:
    // the directory is reached through a handle held open for the run, whose
    // path is plain ASCII and leads to the same directory whatever its name.
    Alias& a = alias();
    if (a.path.isEmpty()) {
        const int fd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return decoded;
        a.path = QStringLiteral("/proc/self/fd/%1").arg(fd);
        a.shown = decoded;
    }
    return a.path;
}

QString shown(const QString& path) {
    const Alias& a = alias();
    if (a.path.isEmpty() || !path.startsWith(a.path)) return QDir::toNativeSeparators(path);
    return QDir::toNativeSeparators(a.shown + path.mid(a.path.size()));
}

namespace {

// The entries of where that differ from leaf at most by letter case.
QStringList caseVariants(const QDir& where, const QString& leaf) {
    QStringList names;
    for (const QString& e : where.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (e.compare(leaf, Qt::CaseInsensitive) == 0) names << e;
    return names;
}

}  // namespace

QString resolve(const QString& name, const QString& dir) {
    if (QFileInfo(name).isAbsolute()) {
        const QFileInfo fi(name);
        return resolve(fi.fileName(), fi.absolutePath());
    }
    const QDir base(dir.isEmpty() ? path() : dir);
    const QString exact = base.filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    // The program names its files in several letter cases (CHOIX.DBF,
    // choix.dbf, Choix.dbf); on a case-sensitive file system each must find
    // the one file, so look for a name that differs only in case.
    const QDir where(base.filePath(QFileInfo(name).path()));
    const QStringList variants = caseVariants(where, QFileInfo(name).fileName());
    return variants.isEmpty() ? exact : QDir::cleanPath(where.filePath(variants.first()));
}

QStringList sameNameFiles(const QString& name) {
    QStringList names = caseVariants(QDir(path()), name);
    names.sort();
    return names;
}

}  // namespace DataDir
