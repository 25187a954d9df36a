#pragma once
// The Data directory: the process's working directory at start-up, where every
// table and work file lives. Relative names resolve here, and a name finds its
// file whatever the letter case on disk ("CHOIX.DBF" finds "choix.dbf").
// The run's RunContext holds it; tests make one on a temporary directory.
#include <QString>
#include <QStringList>
#include <memory>

class DataDirectory {
public:
    // The directory at dir (made absolute).
    explicit DataDirectory(const QString& dir);
    // The working directory: its path, or when its name cannot be written
    // back from text (bytes that are not valid in the file names' encoding),
    // a path through a handle on it held as long as this object lives.
    static DataDirectory working();

    QString path() const { return m_path; }
    // A path of the Data directory as the user knows it, for messages.
    QString shown(const QString& path) const;
    // Resolves a file name in the Data directory (see resolveIn).
    QString resolve(const QString& name) const { return resolveIn(m_path, name); }
    // The names (without directory) of the files of the Data directory that
    // differ from name at most by letter case, sorted.
    QStringList sameNameFiles(const QString& name) const;

    // Resolves a file name against a directory. An absolute name is kept as
    // is. When no file of exactly that name exists but one differs only in
    // letter case, that one is returned; otherwise the exact name in that
    // directory (the name a new file would get).
    static QString resolveIn(const QString& dir, const QString& name);

private:
    struct Handle;
    QString m_path;
    QString m_shown;                    // the name the user knows, when m_path is a handle's
    std::shared_ptr<Handle> m_handle;   // keeps the directory's handle open
};
