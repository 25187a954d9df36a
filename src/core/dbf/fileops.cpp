#include "core/dbf/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileerror.h"

namespace FileOps {

void copyFile(const QString& source, const QString& destination) {
    const QString from = DataDir::resolve(source);
    const QString to = DataDir::resolve(destination);

    // The source first: if it cannot be read, the destination is not touched.
    QFile in(from);
    if (!QFileInfo(from).isFile() || !in.open(QIODevice::ReadOnly)) {
        const QString why = QFileInfo::exists(from) ? FileError::reason(in)
                                                    : QStringLiteral("fichier introuvable");
        throw DataError(
            QStringLiteral("Impossible d'ouvrir le fichier %1 : %2.").arg(source, why));
    }

    // The copy goes through a temporary file in the destination's directory,
    // renamed over the destination once complete: a copy that fails part-way
    // (disk full, read error) leaves the day's choice exactly as it was.
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        throw DataError(QStringLiteral("Impossible de créer le fichier %1 : %2.")
                            .arg(destination, FileError::reason(out)));
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            const QString why = FileError::reason(in);
            out.cancelWriting();
            throw DataError(
                QStringLiteral("Impossible de lire le fichier %1 : %2.").arg(source, why));
        }
        if (n == 0) break;
        if (out.write(buffer, n) != n) {
            const QString why = FileError::reason(out);
            out.cancelWriting();
            throw DataError(QStringLiteral("Impossible d'écrire le fichier %1 : %2.")
                                .arg(destination, why));
        }
    }
    in.close();
    if (!out.commit())
        throw DataError(QStringLiteral("Impossible d'écrire le fichier %1 : %2.")
                            .arg(destination, FileError::reason(out)));
}

void deleteFile(const QString& name) {
    const QString path = DataDir::resolve(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return;
    QFile f(path);
    if (!f.remove())
        throw DataError(QStringLiteral("Impossible de supprimer le fichier %1 : %2.")
                            .arg(name, FileError::reason(f)));
}

bool fileExists(const QString& name) {
    return QFileInfo(DataDir::resolve(name)).isFile();
}

QStringList listDatFiles() {
    const QDir dir(DataDir::path());
    QStringList names;
    for (const QString& e : dir.entryList(QDir::Files | QDir::Hidden))
        if (e.size() > 4 && e.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) names << e;
    // By name without regard to case (as the user reads the list), then
    // exactly, so that the order is stable.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

}  // namespace FileOps
