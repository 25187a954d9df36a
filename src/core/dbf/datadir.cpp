#include "core/dbf/datadir.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString g_dir;
}

namespace DataDir {

void set(const QString& dir) { g_dir = QDir(dir).absolutePath(); }

QString path() { return g_dir.isEmpty() ? QDir::currentPath() : g_dir; }

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
    const QString dirPart = QFileInfo(name).path();
    const QDir where(base.filePath(dirPart));
    const QString leaf = QFileInfo(name).fileName();
    const QStringList entries = where.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& e : entries)
        if (e.compare(leaf, Qt::CaseInsensitive) == 0) return QDir::cleanPath(where.filePath(e));
    return exact;
}

}  // namespace DataDir
