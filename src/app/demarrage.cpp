#include "app/demarrage.h"

#include "app/diet.h"
#include "app/helpviewer.h"
#include "core/session/reprisedemarrage.h"
#include "core/session/session.h"
#include "diagnosis/diagnost.h"
#include "ui/desktop.h"
#include "ui/errorhandler.h"

namespace Demarrage {

TFdiet* creeFenetres(Session& session, Desktop& desktop) {
    desktop.installF1Handler();
    auto* diet = new TFdiet(session, desktop);
    HelpViewer::install(desktop, diet);
    return diet;
}

void lecturesInitiales(Session& session, TFdiet& diet) {
    // Before anything reads the tables, under the Data directory's lock: an
    // interrupted composite save, or composite-food session (the day's choice
    // left in choix.tmp and an ingredient list in choix.dbf).
    ErrorHandler::run(session.prompter(), [&] { RepriseDemarrage::execute(session.run()); });
    ErrorHandler::run(session.prompter(), [&] { diet.Fdiagnost->premiereLecture(); });
}

}  // namespace Demarrage
