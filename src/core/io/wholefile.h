#pragma once
// Whole files read and replaced in one piece, every system call checked;
// every change goes through the given file seam.
//
// replace() writes the new bytes to a temporary file beside the destination,
// flushes it to the disk, checks its size, and only then renames it over the
// destination: whatever fails (disk full, read-only file, refused access, a
// failing disk), the destination is exactly as it was and no temporary file
// stays behind. A destination that is a symbolic link is refused: the program
// never writes through a link to a file elsewhere.
#include <QByteArray>
#include <QString>

class FileSeam;

namespace WholeFile {
// Every byte of the file at path; throws DataError ("Impossible d'ouvrir /
// de lire le fichier <shown> : <reason>.").
QByteArray read(const QString& path, const QString& shown);
// Replaces (or creates) the file at path with bytes; throws DataError
// ("Impossible d'écrire le fichier <shown> : <reason>.").
void replace(FileSeam& seam, const QString& path, const QByteArray& bytes, const QString& shown);
// The first half of replace(): the bytes in a new temporary file beside path,
// flushed and checked for their size, whose path is returned; path itself is
// not touched. The caller renames it into place (moveInto) or removes it.
QString writeTemporary(FileSeam& seam, const QString& path, const QByteArray& bytes, const QString& shown);
// Renames the file at from over path and flushes the directory; a rename
// needs no free space. On failure from is removed (it was a temporary file)
// and DataError says why path could not be written.
void moveInto(FileSeam& seam, const QString& from, const QString& path, const QString& shown);
// True when path itself is a symbolic link.
bool isSymLink(const QString& path);
// The refusal of a write through the link at path.
QString linkRefusal(const QString& shown);
}
