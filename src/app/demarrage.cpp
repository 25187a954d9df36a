#include "app/demarrage.h"

#include "app/diet.h"
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "compose/compose.h"
#include "core/compose/choixfichiers.h"
#include "core/schema/schema.h"
#include "diagnosis/diagnost.h"
#include "foodtable/consult.h"
#include "foodtable/modif.h"
#include "ui/errorhandler.h"
#include "ui/help.h"

namespace Demarrage {

TFdiet* creeFenetres(Session& session) {
    Help::setHelpFile(FileNames::aide());
    Help::installF1Handler();

    Fenetres f;
    f.Fmodif = new TFmodif(session);
    f.Fconsult = new TFconsult(session);
    f.Fcompose = new TFcompose(session);
    f.Fouvrir = new TFouvrir(session);
    f.Fdiagnost = new TFdiagnost(session, *f.Fcompose);
    auto* diet = new TFdiet(session, f);
    HelpViewer::install(diet);
    return diet;
}

void lecturesInitiales(TFdiet& diet) {
    // Before anything reads choix.dbf: an interrupted composite-food session
    // left the day's choice in choix.tmp and an ingredient list in choix.dbf.
    ErrorHandler::run([] { FichierChoix::restaureChoixInterrompu(); });
    ErrorHandler::run([&] {
        if (TFdiagnost* d = diet.fenetres().Fdiagnost) d->premiereLecture();
    });
}

}  // namespace Demarrage
