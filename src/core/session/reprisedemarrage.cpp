#include "core/session/reprisedemarrage.h"

#include <functional>

#include "core/compose/choicefiles.h"
#include "core/compose/compositejournal.h"
#include "core/io/dataerror.h"
#include "core/io/fileops.h"
#include "core/io/runcontext.h"

namespace RepriseDemarrage {
namespace {

void etape(RunContext& run, const std::function<void()>& f) {
    try {
        f();
    } catch (const DataError& e) {
        run.prompter().message(Prompter::Kind::Error, e.message());
    }
}

}  // namespace

bool execute(RunContext& run) {
    if (run.lock().acquire(run.dataDir().path()) != DataLock::Result::Taken) return false;
    FileOps::removeLeftoverTemporaries(run);
    etape(run, [&] {
        const QString message = CompositeJournal::reprise(run);
        if (!message.isEmpty()) run.prompter().message(Prompter::Kind::Information, message);
    });
    etape(run, [&] { ChoiceFiles::restaureChoixInterrompu(run); });
    etape(run, [&] {
        for (const QString& nom : CompositeJournal::orphelins(run))
            run.prompter().message(
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
