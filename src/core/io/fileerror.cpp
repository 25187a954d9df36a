#include "core/io/fileerror.h"

#include "core/io/fileseam.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace FileError {

namespace {

// Whether this process may read (or write) path, by the system's answer or,
// for a user the system lets through anyway (the administrator), by the
// file's own permission bits, which say what its owner meant.
bool permits(const QString& path, int mode) {
    struct stat st;
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0) return true;
    const mode_t bits = mode == W_OK ? 0222 : 0444;
    return ::access(native.constData(), mode) == 0 && (st.st_mode & bits) != 0;
}

// The refusal of an access to path, named after what refuses it.
QString refusal(const QString& path, Access access) {
    if (path.isEmpty()) return QStringLiteral("accès refusé");
    const QFileInfo info(path);
    if (info.isDir())
        return access == Access::Write && !permits(path, W_OK) ? QStringLiteral("répertoire en lecture seule")
                                                               : QStringLiteral("accès refusé");
    if (info.exists() && !permits(path, R_OK)) return QStringLiteral("lecture du fichier interdite");
    if (access == Access::Read) return QStringLiteral("accès refusé");
    if (info.exists() && !permits(path, W_OK)) return QStringLiteral("fichier en lecture seule");
    // A file that may be written, or none yet: its directory refuses to
    // create or replace it.
    if (!permits(info.absolutePath(), W_OK)) return QStringLiteral("répertoire en lecture seule");
    return QStringLiteral("accès refusé");
}

}   // namespace

QString fromErrno(int err, const QString& path, Access access) {
    switch (err) {
    case FileSeam::ReadOnlyRun:
        return QStringLiteral(
            "Nutrimo est ouvert en lecture seule, faute d'avoir pu verrouiller "
            "le répertoire des données");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("disque plein");
    case EROFS:
        return QStringLiteral("disque en lecture seule");
    case EACCES:
    case EPERM:
        return refusal(path, access);
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("fichier introuvable");
    case EIO:
        return QStringLiteral("erreur d'entrée-sortie du disque");
    case ELOOP:
        return QStringLiteral("c'est un lien symbolique, le programme n'écrit pas à travers un lien");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    default:
        break;
    }
    return QStringLiteral("erreur système (%1)").arg(QString::fromLocal8Bit(std::strerror(err)));
}

QString shownName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

}   // namespace FileError
