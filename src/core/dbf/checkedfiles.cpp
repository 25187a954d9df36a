#include "core/dbf/checkedfiles.h"

#include <QMutex>
#include <QSet>

namespace {
QMutex g_mutex;
QSet<QByteArray> g_ids;
}  // namespace

QByteArray CheckedFiles::identityOf(const struct stat& st) {
    const qint64 parts[] = {static_cast<qint64>(st.st_dev),  static_cast<qint64>(st.st_ino),
                            static_cast<qint64>(st.st_size), static_cast<qint64>(st.st_mtim.tv_sec),
                            static_cast<qint64>(st.st_mtim.tv_nsec), static_cast<qint64>(st.st_ctim.tv_sec),
                            static_cast<qint64>(st.st_ctim.tv_nsec)};
    return QByteArray(reinterpret_cast<const char*>(parts), sizeof parts);
}

bool CheckedFiles::contains(const QByteArray& id) {
    QMutexLocker lock(&g_mutex);
    return g_ids.contains(id);
}

void CheckedFiles::insert(const QByteArray& id) {
    QMutexLocker lock(&g_mutex);
    if (g_ids.size() >= 64) g_ids.clear();   // a handful of tables: never large
    g_ids.insert(id);
}
