#pragma once
// EFSA's dietary reference values as the program finds them: the file
// efsa-drv.csv installed with it under share/nutrimo (beside the supplied
// tables), read the first time it is needed and kept for the run.
#include <QString>
#include <memory>

class EfsaTable;

class EfsaReference {
public:
    // An empty path stands for a file that could not be found.
    explicit EfsaReference(const QString& path);
    ~EfsaReference();

    // "efsa-drv.csv"
    static const QString& fileName();
    // The installed file seen from the program's folder: share/nutrimo in
    // that folder or in one of the two above it (installed, the program is
    // in libexec/nutrimo; in the build tree, at its top or one folder down).
    // Empty when none holds it.
    static QString locate(const QString& programDir);

    const QString& path() const { return m_path; }
    // The values, read at the first call; a file absent or unreadable throws
    // DataError naming it (and is tried again at the next call).
    const EfsaTable& table() const;

private:
    QString m_path;
    mutable std::unique_ptr<EfsaTable> m_table;
};
