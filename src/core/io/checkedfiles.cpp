#include "core/io/checkedfiles.h"

#include <ctime>

QByteArray CheckedFiles::identityOf(const struct stat& st) {
    const qint64 parts[] = {static_cast<qint64>(st.st_dev),          static_cast<qint64>(st.st_ino),
                            static_cast<qint64>(st.st_size),         static_cast<qint64>(st.st_mtim.tv_sec),
                            static_cast<qint64>(st.st_mtim.tv_nsec), static_cast<qint64>(st.st_ctim.tv_sec),
                            static_cast<qint64>(st.st_ctim.tv_nsec)};
    return QByteArray(reinterpret_cast<const char*>(parts), sizeof parts);
}

bool CheckedFiles::settled(const struct stat& st) { return st.st_ctim.tv_sec + 3 < ::time(nullptr); }

bool CheckedFiles::contains(const QByteArray& id) const {
    QMutexLocker lock(&m_mutex);
    return m_ids.contains(id);
}

void CheckedFiles::insert(const QByteArray& id) {
    QMutexLocker lock(&m_mutex);
    if (m_ids.size() >= 64) m_ids.clear();   // a handful of tables: never large
    m_ids.insert(id);
}
