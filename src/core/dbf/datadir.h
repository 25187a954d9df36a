#pragma once
// The Data directory: the process's working directory at start-up, where every
// table and work file lives. Relative names resolve here, and a name finds its
// file whatever the letter case on disk ("CHOIX.DBF" finds "choix.dbf").
#include <QString>
#include <QStringList>

namespace DataDir {
// Records the Data directory (absolute path). Called once by the main window.
void set(const QString& dir);
// The recorded directory; the current working directory until set() is called.
QString path();
// The working directory as the Data directory, for set(): its path, or when
// its name cannot be written back from text (bytes that are not valid in the
// file names' encoding), a path through a handle on it held for the run.
QString workingDirectory();
// A path of the Data directory as the user knows it, for messages.
QString shown(const QString& path);
// Resolves a file name against a directory (the Data directory when dir is
// empty). An absolute name is kept as is. When no file of exactly that name
// exists but one differs only in letter case, that one is returned; otherwise
// the exact name in that directory (the name a new file would get).
QString resolve(const QString& name, const QString& dir = QString());
// The names (without directory) of the files of the Data directory that
// differ from name at most by letter case, sorted.
QStringList sameNameFiles(const QString& name);
}
