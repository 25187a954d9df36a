#include "core/io/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "core/io/dataerror.h"
#include "core/io/fileerror.h"
#include "core/io/fileseam.h"
#include "core/io/wholefile.h"
#include "core/io/runcontext.h"

namespace FileOps {

void copyFile(RunContext& run, const QString& source, const QString& destination) {
    const QString from = run.dataDir().resolve(source);
    const QString to = run.dataDir().resolve(destination);
    // The source is read whole first: if it cannot be read, the destination
    // is not touched. The copy then replaces the destination in one piece
    // (WholeFile::replace): a copy that fails part-way (disk full, read-only
    // file) leaves the day's choice exactly as it was.
    if (!QFileInfo(from).exists() && !QFileInfo(from).isSymLink())
        throw DataError(QStringLiteral("Impossible d'ouvrir le fichier %1 : fichier introuvable.").arg(source));
    const QByteArray bytes = WholeFile::read(from, source);
    WholeFile::replace(run.seam(), to, bytes, destination);
}

bool sameContent(RunContext& run, const QString& a, const QString& b) {
    try {
        return WholeFile::read(run.dataDir().resolve(a), a) == WholeFile::read(run.dataDir().resolve(b), b);
    } catch (const DataError&) {
        return false;
    }
}

bool isSymLink(RunContext& run, const QString& name) {
    return WholeFile::isSymLink(run.dataDir().resolve(name));
}

void renameFile(RunContext& run, const QString& source, const QString& destination) {
    const QString from = run.dataDir().resolve(source);
    const QString to = run.dataDir().resolve(destination);
    if (const int err = run.seam().rename(from, to))
        throw DataError(QStringLiteral("Impossible de renommer le fichier %1 en %2 : %3.")
                            .arg(source, destination, FileError::fromErrno(err, to)));
    run.seam().flushDirectory(QFileInfo(to).absolutePath());
}

void deleteFile(RunContext& run, const QString& name) {
    const QString path = run.dataDir().resolve(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    if (const int err = run.seam().remove(path))
        throw DataError(QStringLiteral("Impossible de supprimer le fichier %1 : %2.")
                            .arg(name, FileError::fromErrno(err, path)));
}

bool fileExists(RunContext& run, const QString& name) {
    return QFileInfo(run.dataDir().resolve(name)).isFile();
}

void removeLeftoverTemporaries(RunContext& run) {
    const QDir dir(run.dataDir().path());
    for (const QString& e : dir.entryList(QStringList{QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        if (FileSeam::isTemporaryName(e)) run.seam().remove(dir.filePath(e));
}

QStringList listDatFiles(RunContext& run, bool withBrokenLinks) {
    const QDir dir(run.dataDir().path());
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

}   // namespace FileOps
