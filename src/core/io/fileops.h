#pragma once
// Whole-file operations on the Data directory's files (names relative to the
// Data directory, found whatever their letter case).
#include <QString>
#include <QStringList>

class RunContext;

// Each operation works in the run's Data directory, its changes through the
// run's file seam.
namespace FileOps {
// Copies every byte of source to destination. The copy is written to a
// temporary file beside the destination, flushed, checked for its size and
// renamed over it at the end, so a copy that fails part-way leaves the
// destination exactly as it was. A source that cannot be read fails before
// the destination is touched; a destination that is a symbolic link is
// refused. Throws DataError with a French message naming the file and the
// reason ("disque plein", "fichier en lecture seule", "accès refusé"...).
void copyFile(RunContext& run, const QString& source, const QString& destination);
// Gives the file source the name destination, replacing a file of that name,
// in one step that needs no free space; throws DataError naming both.
void renameFile(RunContext& run, const QString& source, const QString& destination);
// Removes a file; throws DataError if it exists and cannot be removed.
void deleteFile(RunContext& run, const QString& name);
bool fileExists(RunContext& run, const QString& name);
// True when both files can be read and hold the same bytes.
bool sameContent(RunContext& run, const QString& a, const QString& b);
// True when the name is a symbolic link in the Data directory.
bool isSymLink(RunContext& run, const QString& name);
// Removes the temporary files that a stopped copy left in the Data directory
// (FileSeam::isTemporaryName, see WholeFile::replace), and no other file.
// Only for the program that holds the Data directory's lock: another one may
// be writing them.
void removeLeftoverTemporaries(RunContext& run);
// Names (without directory) of the Data directory's files matching "*.dat" in
// any letter case, sorted by name. A link whose target is gone is listed only
// when asked, so that it can be reported.
QStringList listDatFiles(RunContext& run, bool withBrokenLinks = false);
}
