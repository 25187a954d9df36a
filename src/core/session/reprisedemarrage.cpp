#include "core/session/reprisedemarrage.h"

#include <functional>

#include "core/compose/choixfichiers.h"
#include "core/compose/compositejournal.h"
#include "core/dbf/dataerror.h"
#include "core/dbf/datadir.h"
#include "core/dbf/fileops.h"
#include "core/interfaces/prompter.h"
#include "core/session/datalock.h"

namespace RepriseDemarrage {
namespace {

void etape(const std::function<void()>& f) {
    try {
        f();
    } catch (const DataError& e) {
        prompter().message(Prompter::Kind::Error, e.message());
    }
}

}  // namespace

bool execute() {
    if (DataLock::acquire(DataDir::path()) != DataLock::Result::Taken) return false;
    FileOps::removeLeftoverTemporaries();
    etape([] {
        const QString message = CompositeJournal::reprise();
        if (!message.isEmpty()) prompter().message(Prompter::Kind::Information, message);
    });
    etape([] { FichierChoix::restaureChoixInterrompu(); });
    etape([] {
        for (const QString& nom : CompositeJournal::orphelins())
            prompter().message(
                Prompter::Kind::Warning,
                QStringLiteral("L'aliment composé %1 n'a aucun élément dans la table des "
                               "aliments composés : il a sans doute été laissé par un "
                               "enregistrement interrompu. Son nom reste pris tant que "
                               "l'aliment n'est pas supprimé de la table des aliments.\n"
                               "Pour le supprimer : Table > Modifier table, allez sur %1 "
                               "(bouton Chercher), puis cliquez sur « Supprimer l'aliment ».")
                    .arg(nom));
    });
    return true;
}

}  // namespace RepriseDemarrage
