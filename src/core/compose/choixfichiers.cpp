#include "core/compose/choixfichiers.h"

#include "core/dbf/dataerror.h"
#include "core/dbf/fileops.h"
#include "core/dbf/wholefile.h"
#include "core/schema/schema.h"
#include "core/table/table.h"
#include "core/interfaces/prompter.h"

namespace FichierChoix {

QString nomCoupe(const QString& text) { return text.left(LongueurNom); }

bool extensionDat(const QString& name) {
    return name.right(3).toUpper() == QLatin1String("DAT");
}

QString refusChemin(const QString& text) {
    const QString name = nomCoupe(text);
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".") || name == QLatin1String("..")) {
        return QStringLiteral("Nom de fichier refusé : « %1 ».\n"
                              "Donnez un simple nom de fichier, sans dossier ni chemin : "
                              "les choix enregistrés restent dans le répertoire des données.")
            .arg(text);
    }
    return QString();
}

QString refusNomInvalide(const QString& name) {
    static const QString forbidden = QStringLiteral("*?<>:\"|");
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20) {
            return QStringLiteral("Nom de fichier refusé : « %1 ».\n"
                                  "Un nom de fichier ne peut pas contenir les caractères "
                                  "* ? < > : \" |.")
                .arg(name);
        }
    }
    const QString base = name.left(name.size() - 3).trimmed();
    if (base.isEmpty() || base == QLatin1String(".")) {
        return QStringLiteral("Nom de fichier refusé : « %1 ».\n"
                              "Donnez un nom avant l'extension, par exemple lundi.dat.")
            .arg(name);
    }
    return QString();
}

void verifieTableChoix(const QString& name) {
    // The same check as the composition window's opening: the codec validates
    // the file against its own header, the handle checks the Choice fields.
    Table t(choiceSchema());
    t.setFileName(name);
    t.setReadOnly(true);
    t.open();
    t.close();
}

Suite enregistrer(const QString& text) {
    const QString refus = refusChemin(text);
    if (!refus.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, refus);
        return Suite::Reste;
    }
    const QString name = nomCoupe(text);
    if (!extensionDat(name)) {
        prompter().message(Prompter::Kind::Warning, QStringLiteral("Extension DAT exigée"));
        return Suite::Reste;
    }
    const QString refusNom = refusNomInvalide(name);
    if (!refusNom.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, refusNom);
        return Suite::Reste;
    }
    // A link to a file elsewhere is never written through: refused before
    // the question, which would name a file that is not the one replaced.
    if (FileOps::isSymLink(name)) {
        prompter().message(Prompter::Kind::Warning, WholeFile::linkRefusal(name));
        return Suite::Reste;
    }
    if (FileOps::fileExists(name) &&
        !prompter().ask(Prompter::Kind::Information,
                        QStringLiteral("Voulez vous écraser ") + name + QStringLiteral("?"),
                        Prompter::Default::No)) {
        return Suite::Reste;
    }
    FileOps::copyFile(FileNames::choix(), name);
    return Suite::Ferme;
}

Suite ouvrir(const QString& text) {
    const QString refus = refusChemin(text);
    if (!refus.isEmpty()) {
        prompter().message(Prompter::Kind::Warning, refus);
        return Suite::Reste;
    }
    const QString name = nomCoupe(text);
    // The mask still in the box, or a name without the extension: no file
    // was picked, nothing happens.
    if (!extensionDat(name) || name.startsWith(QLatin1Char('*'))) return Suite::Reste;
    if (!FileOps::fileExists(name)) {
        prompter().message(Prompter::Kind::Warning,
                           QStringLiteral("Le fichier « %1 » n'existe pas dans le répertoire "
                                          "des données.").arg(name));
        return Suite::Reste;
    }
    // The current day is never replaced by a file the program cannot read.
    try {
        verifieTableChoix(name);
    } catch (const DataError& e) {
        prompter().message(Prompter::Kind::Warning,
                           QStringLiteral("Le fichier « %1 » n'est pas un choix du jour "
                                          "enregistré : il ne peut pas être ouvert.\n%2\n"
                                          "Le choix en cours n'a pas été modifié.")
                               .arg(name, e.message()));
        return Suite::Reste;
    }
    FileOps::copyFile(name, FileNames::choix());
    return Suite::Ferme;
}

bool nouveauChoix() {
    bool desLignes = false;
    if (FileOps::fileExists(FileNames::choix())) {
        try {
            Table tchoix(choiceSchema());
            tchoix.setReadOnly(true);
            tchoix.open();
            desLignes = tchoix.recordCount() > 0;
        } catch (const DataError&) {
            desLignes = true;   // what cannot be read is not known to be empty
        }
    }
    if (desLignes && !prompter().confirm(Prompter::Kind::Confirmation,
                                         QStringLiteral("Effacer le choix en cours ?"), Prompter::Default::No))
        return false;
    FileOps::copyFile(FileNames::choixVide(), FileNames::choix());
    return true;
}

bool restaureChoixInterrompu() {
    if (!FileOps::fileExists(FileNames::sauvegardeChoix())) return false;
    try {
        verifieTableChoix(FileNames::sauvegardeChoix());
    } catch (const DataError& e) {
        prompter().message(Prompter::Kind::Warning,
                           QStringLiteral("Le programme s'est arrêté pendant la création ou la "
                                          "modification d'un aliment composé, mais la copie du "
                                          "choix du jour (choix.tmp) ne peut pas être relue :\n"
                                          "%1\nElle est laissée telle quelle et le choix en "
                                          "cours n'a pas été modifié.")
                               .arg(e.message()));
        return false;
    }
    FileOps::copyFile(FileNames::sauvegardeChoix(), FileNames::choix());
    FileOps::deleteFile(FileNames::sauvegardeChoix());
    prompter().message(Prompter::Kind::Information,
                       QStringLiteral("Le programme s'est arrêté pendant la création ou la "
                                      "modification d'un aliment composé.\n"
                                      "Votre choix du jour a été restauré."));
    return true;
}

}  // namespace FichierChoix
