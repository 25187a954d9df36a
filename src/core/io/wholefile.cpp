#include "core/io/wholefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/fileerror.h"
#include "core/io/fileseam.h"

namespace WholeFile {
namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

[[noreturn]] void refuseWrite(const QString& shown, const QString& why) {
    throw DataError(QStringLiteral("Impossible d'écrire le fichier %1 : %2.").arg(shown, why));
}

}   // namespace

bool isSymLink(const QString& path) {
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QString linkRefusal(const QString& shown) {
    return QStringLiteral(
               "Le fichier %1 est un lien symbolique vers un autre fichier : le "
               "programme n'écrit pas à travers un lien. Remplacez le lien par le "
               "fichier lui-même, ou choisissez un autre nom.")
        .arg(shown);
}

QByteArray read(const QString& path, const QString& shown) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        throw DataError(QStringLiteral("Impossible d'ouvrir le fichier %1 : %2.")
                            .arg(shown, FileError::fromErrno(err, path, FileError::Access::Read)));
    }
    auto fail = [&](int err) {
        ::close(fd);
        throw DataError(QStringLiteral("Impossible de lire le fichier %1 : %2.")
                            .arg(shown, FileError::fromErrno(err, path, FileError::Access::Read)));
    };
    struct stat st;
    if (::fstat(fd, &st) < 0) fail(errno);
    if (S_ISDIR(st.st_mode)) fail(EISDIR);
    if (st.st_size > 0x7FFFFFFF) fail(EFBIG);
    QByteArray bytes(static_cast<int>(st.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < st.st_size) {
        const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(st.st_size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno);
        if (n == 0) break;
        done += n;
    }
    ::close(fd);
    // A file that shrank while being read is not taken for its whole.
    if (done != st.st_size)
        throw DataError(QStringLiteral("Impossible de lire le fichier %1 : il a été raccourci "
                                       "pendant la lecture (%2 octets lus sur %3).")
                            .arg(shown)
                            .arg(done)
                            .arg(static_cast<qint64>(st.st_size)));
    return bytes;
}

namespace {

QString writeBeside(FileSeam& seam, const QString& path, const QByteArray& bytes, const QString& shown,
                    mode_t mode) {
    int fd = -1;
    QString temp;
    if (const int err = seam.createTemporary(path, &fd, &temp))
        refuseWrite(shown, FileError::fromErrno(err, QFileInfo(path).absolutePath()));
    auto fail = [&](const QString& why) {
        ::close(fd);
        ::unlink(native(temp).constData());
        refuseWrite(shown, why);
    };
    ::fchmod(fd, mode);
    if (const int err = seam.writeAll(fd, 0, bytes.constData(), bytes.size(), path))
        fail(FileError::fromErrno(err));
    if (const int err = seam.flush(fd, path)) fail(FileError::fromErrno(err));
    struct stat st;
    if (::fstat(fd, &st) < 0) fail(FileError::fromErrno(errno));
    if (st.st_size != bytes.size())
        fail(QStringLiteral("le fichier écrit est incomplet (%1 octets sur %2)")
                 .arg(static_cast<qint64>(st.st_size))
                 .arg(bytes.size()));
    if (::close(fd) < 0) {
        const int err = errno;
        ::unlink(native(temp).constData());
        refuseWrite(shown, FileError::fromErrno(err));
    }
    return temp;
}

}   // namespace

QString writeTemporary(FileSeam& seam, const QString& path, const QByteArray& bytes, const QString& shown) {
    return writeBeside(seam, path, bytes, shown, 0644);
}

void moveInto(FileSeam& seam, const QString& from, const QString& path, const QString& shown) {
    if (const int err = seam.rename(from, path)) {
        ::unlink(native(from).constData());
        refuseWrite(shown, FileError::fromErrno(err, path));
    }
    // The rename itself reaches the disk with its directory.
    seam.flushDirectory(QFileInfo(path).absolutePath());
}

void replace(FileSeam& seam, const QString& path, const QByteArray& bytes, const QString& shown) {
    struct stat old;
    const bool exists = ::lstat(native(path).constData(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode)) throw DataError(linkRefusal(shown));
    if (exists && S_ISDIR(old.st_mode)) refuseWrite(shown, FileError::fromErrno(EISDIR));
    // Renaming over a file needs only the directory's permission: a file the
    // user made read-only is refused as the system would refuse writing it.
    if (exists && ::access(native(path).constData(), W_OK) != 0)
        refuseWrite(shown, FileError::fromErrno(errno, path));
    // The new file keeps the permissions of the one it replaces.
    moveInto(seam, writeBeside(seam, path, bytes, shown, exists ? (old.st_mode & 07777) : 0644), path, shown);
}

}   // namespace WholeFile
