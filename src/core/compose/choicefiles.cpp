#include "core/compose/choicefiles.h"

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/io/fileops.h"
#include "core/io/wholefile.h"
#include "core/schema/schema.h"
#include "core/table/table.h"

namespace ChoiceFiles {

QString nomCoupe(const QString& text) { return text.left(LongueurNom); }

bool extensionDat(const QString& name) { return name.right(3).toUpper() == QLatin1String("DAT"); }

QString refusChemin(const QString& text) {
    const QString name = nomCoupe(text);
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) || name == QLatin1String(".") ||
        name == QLatin1String("..")) {
        return QStringLiteral(
                   "Nom de fichier refusé : « %1 ».\n"
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
            return QStringLiteral(
                       "Nom de fichier refusé : « %1 ».\n"
                       "Un nom de fichier ne peut pas contenir les caractères "
                       "* ? < > : \" |.")
                .arg(name);
        }
    }
    const QString base = name.left(name.size() - 3).trimmed();
    if (base.isEmpty() || base == QLatin1String(".")) {
        return QStringLiteral(
                   "Nom de fichier refusé : « %1 ».\n"
                   "Donnez un nom avant l'extension, par exemple lundi.dat.")
            .arg(name);
    }
    return QString();
}

void verifieTableChoix(RunContext& run, const QString& name) {
    // The same check as the composition window's opening: the codec validates
    // the file against its own header, the handle checks the Choice fields.
    Table t(run, choiceSchema());
    t.setFileName(name);
    t.setReadOnly(true);
    t.open();
    t.close();
}

Suite enregistrer(RunContext& run, const QString& text) {
    const QString refus = refusChemin(text);
    if (!refus.isEmpty()) {
        run.prompter().message(Prompter::Kind::Warning, refus);
        return Suite::Reste;
    }
    const QString name = nomCoupe(text);
    if (!extensionDat(name)) {
        run.prompter().message(Prompter::Kind::Warning, QStringLiteral("Extension DAT exigée"));
        return Suite::Reste;
    }
    const QString refusNom = refusNomInvalide(name);
    if (!refusNom.isEmpty()) {
        run.prompter().message(Prompter::Kind::Warning, refusNom);
        return Suite::Reste;
    }
    // A name finds its file whatever the letter case: the question names the
    // file that will be replaced, and a name several files bear in different
    // cases is not guessed.
    const QStringList memes = run.dataDir().sameNameFiles(name);
    QString cible = name;
    if (!memes.contains(name) && memes.size() > 1) {
        run.prompter().message(Prompter::Kind::Warning,
                               QStringLiteral("Plusieurs fichiers portent le nom %1 en majuscules ou "
                                              "en minuscules : %2.\nTapez le nom exact de celui à "
                                              "remplacer, ou un autre nom.")
                                   .arg(name, memes.join(QStringLiteral(", "))));
        return Suite::Reste;
    }
    if (!memes.contains(name) && memes.size() == 1) cible = memes.first();
    // A link to a file elsewhere is never written through: refused before
    // the question, which would name a file that is not the one replaced.
    if (FileOps::isSymLink(run, cible)) {
        run.prompter().message(Prompter::Kind::Warning, WholeFile::linkRefusal(cible));
        return Suite::Reste;
    }
    if (FileOps::fileExists(run, cible) &&
        !run.prompter().ask(Prompter::Kind::Information,
                            QStringLiteral("Voulez vous écraser ") + cible + QStringLiteral("?"),
                            Prompter::Default::No)) {
        return Suite::Reste;
    }
    FileOps::copyFile(run, FileNames::choix(), cible);
    return Suite::Ferme;
}

Suite ouvrir(RunContext& run, const QString& text) {
    const QString refus = refusChemin(text);
    if (!refus.isEmpty()) {
        run.prompter().message(Prompter::Kind::Warning, refus);
        return Suite::Reste;
    }
    const QString name = nomCoupe(text);
    // The mask still in the box, or a name without the extension: no file
    // was picked, nothing happens.
    if (!extensionDat(name) || name.startsWith(QLatin1Char('*'))) return Suite::Reste;
    if (!FileOps::fileExists(run, name)) {
        run.prompter().message(Prompter::Kind::Warning,
                               QStringLiteral("Le fichier « %1 » n'existe pas dans le répertoire "
                                              "des données.")
                                   .arg(name));
        return Suite::Reste;
    }
    // The current day is never replaced by a file the program cannot read.
    try {
        verifieTableChoix(run, name);
    } catch (const DataError& e) {
        run.prompter().message(Prompter::Kind::Warning,
                               QStringLiteral("Le fichier « %1 » n'est pas un choix du jour "
                                              "enregistré : il ne peut pas être ouvert.\n%2\n"
                                              "Le choix en cours n'a pas été modifié.")
                                   .arg(name, e.message()));
        return Suite::Reste;
    }
    FileOps::copyFile(run, name, FileNames::choix());
    return Suite::Ferme;
}

bool nouveauChoix(RunContext& run) {
    bool desLignes = false;
    if (FileOps::fileExists(run, FileNames::choix())) {
        try {
            Table tchoix(run, choiceSchema());
            tchoix.setReadOnly(true);
            tchoix.open();
            desLignes = tchoix.recordCount() > 0;
        } catch (const DataError&) {
            desLignes = true;   // what cannot be read is not known to be empty
        }
    }
    if (desLignes &&
        !run.prompter().confirm(Prompter::Kind::Confirmation, QStringLiteral("Effacer le choix en cours ?"),
                                Prompter::Default::No))
        return false;
    FileOps::copyFile(run, FileNames::choixVide(), FileNames::choix());
    return true;
}

void metJourDeCote(RunContext& run) {
    const QString& choix = FileNames::choix();
    const QString& sauvegarde = FileNames::sauvegardeChoix();
    const QString jour = run.dataDir().resolve(choix);
    // The one write comes first, beside the day: on a full disk it fails
    // and nothing has moved.
    const QString liste = WholeFile::writeTemporary(
        run.seam(), jour,
        WholeFile::read(run.dataDir().resolve(FileNames::choixVide()), FileNames::choixVide()), choix);
    try {
        FileOps::renameFile(run, choix, sauvegarde);
    } catch (const DataError&) {
        run.seam().remove(liste);
        throw;
    }
    try {
        WholeFile::moveInto(run.seam(), liste, jour, choix);
    } catch (const DataError&) {
        // The day goes back under its name; if even that fails it stays in
        // choix.tmp, where remetJourDeCote(run) finds it.
        try {
            FileOps::renameFile(run, sauvegarde, choix);
        } catch (const DataError&) {
        }
        throw;
    }
}

bool remetJourDeCote(RunContext& run) {
    const QString& sauvegarde = FileNames::sauvegardeChoix();
    if (!FileOps::fileExists(run, sauvegarde)) return false;
    const QString garde =
        QStringLiteral(
            "Le choix du jour, mis de côté pendant la création ou la modification d'un aliment "
            "composé, n'a pas pu être remis en place : il est gardé dans le fichier %1 du "
            "répertoire des données.\n%2\n")
            .arg(sauvegarde);
    // Only a day that still reads as a Choice table replaces the list.
    try {
        verifieTableChoix(run, sauvegarde);
    } catch (const DataError& e) {
        throw DataError(garde.arg(e.message()) +
                        QStringLiteral("Le fichier %1 n'est pas modifié : remplacez-le par un choix "
                                       "du jour lisible, ou supprimez-le, pour continuer.")
                            .arg(FileNames::choix()));
    }
    try {
        FileOps::renameFile(run, sauvegarde, FileNames::choix());
    } catch (const DataError& e) {
        throw DataError(garde.arg(e.message()) +
                        QStringLiteral("Le fichier %1 tient encore la liste des éléments de "
                                       "l'aliment composé, qui n'est pas pris pour le choix du "
                                       "jour : Nutrimo réessaiera de remettre le choix du jour en "
                                       "place à la prochaine commande.")
                            .arg(FileNames::choix()));
    }
    return true;
}

bool restaureChoixInterrompu(RunContext& run) {
    try {
        if (!remetJourDeCote(run)) return false;
    } catch (const DataError& e) {
        run.prompter().message(Prompter::Kind::Warning, e.message());
        return false;
    }
    // The program may have stopped, or only failed to rename the file
    // before it was closed: the message says what is true in both cases.
    run.prompter().message(Prompter::Kind::Information,
                           QStringLiteral("Le choix du jour avait été mis de côté pendant la création "
                                          "ou la modification d'un aliment composé, et n'avait pas été "
                                          "remis en place.\n"
                                          "Votre choix du jour a été restauré."));
    return true;
}

}   // namespace ChoiceFiles
