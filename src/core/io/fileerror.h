#pragma once
// French wording of a file-system failure, for the messages of DataError.
#include <QString>

namespace FileError {
// What the call was doing when it was refused: a refusal to read and a
// refusal to write have different culprits.
enum class Access { Write, Read };
// Why a system call on path failed, in a few French words, from its errno (a file, or the
// directory where a file was being created): "disque plein" (no space, quota
// or file size limit), "disque en lecture seule" (a read-only mount), and for
// a refused access what truly refuses: "fichier en lecture seule", "répertoire
// en lecture seule", "lecture du fichier interdite", else "accès refusé";
// "fichier introuvable", "erreur d'entrée-sortie du disque", "c'est un lien
// symbolique"...
QString fromErrno(int err, const QString& path = QString(), Access access = Access::Write);
// The name shown to the user for a path: its last component.
QString shownName(const QString& path);
}
