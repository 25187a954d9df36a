#include "app/demarrage.h"

#include "core/compose/choixfichiers.h"
#include "app/diet.h"
#include "app/helpviewer.h"
#include "app/ouvrir.h"
#include "compose/compose.h"
#include "compose/voir.h"
#include "diagnosis/diagnost.h"
#include "ui/appstate.h"
#include "ui/errorhandler.h"
#include "ui/help.h"

namespace Demarrage {

TFdiet* CreeFenetres() {
    Help::setHelpFile(QStringLiteral("DIETAIDE.HLP"));
    Help::installF1Handler();
    HelpViewer::install();

    auto* diet = new TFdiet;
    AppState& s = appState();
    s.Fdiet = diet;
    // The composition and diagnosis windows take the Data directory that the
    // main window has just recorded.
    s.Fcompose = new TFcompose(diet);
    s.Fvoir = new TFvoir(diet);
    s.Fouvrir = new TFouvrir(diet);
    s.Fdiagnost = new TFdiagnost(diet);
    return diet;
}

void LecturesInitiales() {
    // Before anything reads choix.dbf: an interrupted composite-food session
    // left the day's choice in choix.tmp and an ingredient list in choix.dbf.
    ErrorHandler::run([] { FichierChoix::RestaureChoixInterrompu(); });
    ErrorHandler::run([] {
        if (appState().Fdiagnost) appState().Fdiagnost->PremiereLecture();
    });
}

void Termine() {
    AppState& s = appState();
    s.Fdiet = nullptr;
    s.Fcompose = nullptr;
    s.Fvoir = nullptr;
    s.Fouvrir = nullptr;
    s.Fdiagnost = nullptr;
}

}  // namespace Demarrage
