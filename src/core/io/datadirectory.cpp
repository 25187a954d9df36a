#include "core/io/datadirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray currentNative() {
    QByteArray buffer(4096, '\0');
    while (!::getcwd(buffer.data(), static_cast<size_t>(buffer.size()))) {
        if (errno != ERANGE) return QByteArray();
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}
}   // namespace

struct DataDirectory::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0) ::close(fd);
    }
};

DataDirectory::DataDirectory(const QString& dir) : m_path(QDir(dir).absolutePath()) {}

DataDirectory DataDirectory::working() {
    const QByteArray cwd = currentNative();
    const QString decoded = QFile::decodeName(cwd);
    if (cwd.isEmpty() || QFile::encodeName(decoded) == cwd) return DataDirectory(decoded);
    // A name whose bytes are not in the file names' encoding (a Latin-1
    // "café" where names are UTF-8) decodes into a name that finds nothing:
    // the directory is reached through a handle held open for the run, whose
    // path is plain ASCII and leads to the same directory whatever its name.
    auto handle = std::make_shared<Handle>();
    handle->fd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (handle->fd < 0) return DataDirectory(decoded);
    DataDirectory dir(QStringLiteral("/proc/self/fd/%1").arg(handle->fd));
    dir.m_shown = decoded;
    dir.m_handle = std::move(handle);
    return dir;
}

QString DataDirectory::shown(const QString& path) const {
    if (m_shown.isEmpty() || !path.startsWith(m_path)) return QDir::toNativeSeparators(path);
    return QDir::toNativeSeparators(m_shown + path.mid(m_path.size()));
}

namespace {

// The entries of where that differ from leaf at most by letter case.
QStringList caseVariants(const QDir& where, const QString& leaf) {
    QStringList names;
    for (const QString& e : where.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (e.compare(leaf, Qt::CaseInsensitive) == 0) names << e;
    return names;
}

}   // namespace

QString DataDirectory::resolveIn(const QString& dir, const QString& name) {
    if (QFileInfo(name).isAbsolute()) {
        const QFileInfo fi(name);
        return resolveIn(fi.absolutePath(), fi.fileName());
    }
    const QDir base(dir);
    const QString exact = base.filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    // The program names its files in several letter cases (CHOIX.DBF,
    // choix.dbf, Choix.dbf); on a case-sensitive file system each must find
    // the one file, so look for a name that differs only in case.
    const QDir where(base.filePath(QFileInfo(name).path()));
    const QStringList variants = caseVariants(where, QFileInfo(name).fileName());
    return variants.isEmpty() ? exact : QDir::cleanPath(where.filePath(variants.first()));
}

QStringList DataDirectory::sameNameFiles(const QString& name) const {
    QStringList names = caseVariants(QDir(m_path), name);
    names.sort();
    return names;
}
