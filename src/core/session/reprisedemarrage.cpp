#include "core/session/reprisedemarrage.h"

#include <functional>

#include "core/compose/choicefiles.h"
#include "core/compose/compositejournal.h"
#include "core/io/errorreport.h"
#include "core/io/fileops.h"
#include "core/io/runcontext.h"

namespace RepriseDemarrage {
namespace {

// Each step of the recovery is told apart: one that fails is reported and
// the next one still runs.
void etape(RunContext& run, const std::function<void()>& f) { ErrorReport::run(run.prompter(), f); }

}   // namespace

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

}   // namespace RepriseDemarrage
