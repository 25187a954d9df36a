#pragma once
// French wording of a file-system failure, for the messages of DataError.
#include <QFileDevice>
#include <QString>

namespace FileError {
// Why an operation on the file failed, in a few French words
// ("fichier introuvable", "accès refusé", "disque plein"...).
QString reason(const QFileDevice& file);
// The same for an errno value of a system call on path: "disque plein" (no
// space, quota or file size limit), "fichier en lecture seule" (read-only
// file or disk), "accès refusé", "fichier introuvable", "erreur
// d'entrée-sortie du disque", "c'est un lien symbolique"...
QString fromErrno(int err, const QString& path = QString());
// The name shown to the user for a path: its last component.
QString shownName(const QString& path);
}
