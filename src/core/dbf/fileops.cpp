#include "core/dbf/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileerror.h"
#include "core/dbf/fileseam.h"
#include "core/dbf/wholefile.h"

namespace FileOps {

void copyFile(const QString& source, const QString& destination) {
    const QString from = DataDir::resolve(source);
    const QString to = DataDir::resolve(destination);
    // The source is read whole first: if it cannot be read, the destination
    // is not touched. The copy then replaces the destination in one piece
    // (WholeFile::replace): a copy that fails part-way (disk full, read-only
    // file) leaves the day's choice exactly as it was.
    if (!QFileInfo(from).exists() && !QFileInfo(from).isSymLink())
        throw DataError(
            QStringLiteral("Impossible d'ouvrir le fichier %1 : fichier introuvable.").arg(source));
    const QByteArray bytes = WholeFile::read(from, source);
    WholeFile::replace(to, bytes, destination);
}

bool sameContent(const QString& a, const QString& b) {
    try {
        return WholeFile::read(DataDir::resolve(a), a) == WholeFile::read(DataDir::resolve(b), b);
    } catch (const DataError&) {
        return false;
    }
}

bool isSymLink(const QString& name) { return WholeFile::isSymLink(DataDir::resolve(name)); }

void renameFile(const QString& source, const QString& destination) {
    const QString from = DataDir::resolve(source);
    const QString to = DataDir::resolve(destination);
    if (const int err = FileSeam::rename(from, to))
        throw DataError(QStringLiteral("Impossible de renommer le fichier %1 en %2 : %3.")
                            .arg(source, destination, FileError::fromErrno(err, to)));
    FileSeam::flushDirectory(QFileInfo(to).absolutePath());
}

void deleteFile(const QString& name) {
    const QString path = DataDir::resolve(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    if (const int err = FileSeam::remove(path))
        throw DataError(QStringLiteral("Impossible de supprimer le fichier %1 : %2.")
                            .arg(name, FileError::fromErrno(err, path)));
}

bool fileExists(const QString& name) {
    return QFileInfo(DataDir::resolve(name)).isFile();
}

void removeLeftoverTemporaries() {
    const QDir dir(DataDir::path());
    for (const QString& e : dir.entryList(QStringList{QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        if (FileSeam::isTemporaryName(e)) FileSeam::remove(dir.filePath(e));
}

QStringList listDatFiles(const QString& directory, bool withBrokenLinks) {
    const QDir dir(directory.isEmpty() ? DataDir::path() : directory);
    // A link to nothing is neither a file nor a directory: QDir lists it
    // among the "system" entries, with pipes and devices, which are left out.
    QDir::Filters filters = QDir::Files | QDir::Hidden;
    if (withBrokenLinks) filters |= QDir::System;
    QStringList names;
    for (const QFileInfo& e : dir.entryInfoList(filters)) {
        if (!e.isFile() && !(e.isSymLink() && !e.exists())) continue;
        const QString name = e.fileName();
        if (name.size() > 4 && name.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) names << name;
    }
    // By name without regard to case (as the user reads the list), then
    // exactly, so that the order is stable.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

}  // namespace FileOps
