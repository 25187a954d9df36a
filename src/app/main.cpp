// Nutrimo: start-up. The working directory is the Data directory.
//
// The main window records it, allocates the Daily totals and opens every
// other window from its menus; those windows are created here once, in the
// order the main window relies on, and live for the whole run. When the event
// loop has started (the main window on screen), an interrupted composite-food
// session is recovered and the diagnosis window reads its tables once.
#include <QTimer>
#include <memory>

#include "app/application.h"
#include "app/demarrage.h"
#include "app/diet.h"

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    std::unique_ptr<TFdiet> diet(Demarrage::CreeFenetres());
    diet->show();
    QTimer::singleShot(0, [] { Demarrage::LecturesInitiales(); });
    const int rc = app.exec();
    diet.reset();
    Demarrage::Termine();
    return rc;
}
