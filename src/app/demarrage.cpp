#include "app/demarrage.h"

#include "app/diet.h"
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "compose/compose.h"
#include "core/schema/schema.h"
#include "core/session/reprisedemarrage.h"
#include "diagnosis/diagnost.h"
#include "ui/errorhandler.h"
#include "ui/help.h"

namespace Demarrage {

TFdiet* creeFenetres(Session& session) {
    Help::setHelpFile(FileNames::aide());
    Help::installF1Handler();

    Fenetres f;
    f.Fcompose = new TFcompose(session);
    f.Fouvrir = new TFouvrir(session);
    f.Fdiagnost = new TFdiagnost(session, *f.Fcompose);
    auto* diet = new TFdiet(session, f);
    HelpViewer::install(diet);
    return diet;
}

void lecturesInitiales(TFdiet& diet) {
    // Before anything reads the tables, under the Data directory's lock: an
    // interrupted composite save, or composite-food session (the day's choice
    // left in choix.tmp and an ingredient list in choix.dbf).
    ErrorHandler::run([] { RepriseDemarrage::execute(); });
    ErrorHandler::run([&] {
        if (TFdiagnost* d = diet.fenetres().Fdiagnost) d->premiereLecture();
    });
}

}  // namespace Demarrage
