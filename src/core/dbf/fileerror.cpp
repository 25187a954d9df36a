#include "core/dbf/fileerror.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <QFile>

namespace FileError {

QString reason(const QFileDevice& file) {
    switch (file.error()) {
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(file.fileName())) return QStringLiteral("fichier introuvable");
        if (QFileInfo(file.fileName()).isDir()) return QStringLiteral("c'est un dossier");
        return QStringLiteral("accès refusé");
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::ReadError:
        return QStringLiteral("erreur de lecture");
    case QFileDevice::WriteError:
        // Qt only says "write error"; errno still tells a full disk apart.
        if (errno == ENOSPC || errno == EDQUOT) return QStringLiteral("disque plein");
        return QStringLiteral("erreur d'écriture");
    case QFileDevice::ResourceError:
        return QStringLiteral("disque plein ou ressources insuffisantes");
    case QFileDevice::RenameError:
        return QStringLiteral("le fichier ne peut pas être remplacé");
    case QFileDevice::RemoveError:
        return QStringLiteral("le fichier ne peut pas être supprimé");
    case QFileDevice::PositionError:
        return QStringLiteral("erreur de positionnement dans le fichier");
    case QFileDevice::ResizeError:
        return QStringLiteral("le fichier ne peut pas être redimensionné");
    case QFileDevice::CopyError:
        return QStringLiteral("la copie a échoué");
    case QFileDevice::TimeOutError:
        return QStringLiteral("délai dépassé");
    case QFileDevice::AbortError:
        return QStringLiteral("opération interrompue");
    case QFileDevice::NoError:
    case QFileDevice::FatalError:
    case QFileDevice::UnspecifiedError:
        break;
    }
    if (!QFileInfo::exists(file.fileName())) return QStringLiteral("fichier introuvable");
    return QStringLiteral("erreur d'accès au fichier");
}

QString fromErrno(int err, const QString& path) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("disque plein");
    case EROFS:
        return QStringLiteral("fichier en lecture seule");
    case EACCES:
    case EPERM:
        // A file whose own permissions forbid writing is read-only; otherwise
        // it is its directory (or the system) that refuses.
        if (!path.isEmpty() && QFileInfo::exists(path) &&
            ::access(QFile::encodeName(path).constData(), W_OK) != 0 &&
            !(QFileInfo(path).permissions() & QFileDevice::WriteUser))
            return QStringLiteral("fichier en lecture seule");
        return QStringLiteral("accès refusé");
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

}  // namespace FileError
