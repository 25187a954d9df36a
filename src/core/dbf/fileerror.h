#pragma once
// French wording of a file-system failure, for the messages of DataError.
#include <QFileDevice>
#include <QString>

namespace FileError {
// Why an operation on the file failed, in a few French words
// ("fichier introuvable", "accès refusé", "disque plein"...).
QString reason(const QFileDevice& file);
// The name shown to the user for a path: its last component.
QString shownName(const QString& path);
}
