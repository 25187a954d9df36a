// Nutrimo: start-up. The working directory is the Data directory.
//
// The application makes the Qt prompter, through which the whole run asks
// the user; the Session holds the run's context (the Data directory and its
// lock, the file seam, the prompter) and the Daily totals and mode flags for
// the whole run; the Desktop shows the windows and the help. The main window
// is made on them, with the windows it opens as its children. When the event
// loop has started (the main window on screen), an interrupted composite-food
// session is recovered, the diagnosis window reads its tables once and the
// whole CIQUAL table installed with the program is checked.
//
// Before anything else, the Data directory's lock: a second Nutrimo on the
// same directory says so and stops without touching any file; where no lock
// can be had, the run is read-only.
#include <QTimer>
#include <memory>

#include "app/application.h"
#include "app/demarrage.h"
#include "app/diet.h"
#include "core/session/session.h"
#include "ui/desktop.h"
#include "core/io/runcontext.h"

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    Session session(DataDirectory::working(), &app.prompter());
    app.setErrorPrompter(&session.prompter());
    if (!session.run().lock().startRun()) return 1;
    session.setCiqualFile(Demarrage::fichierCiqual(QCoreApplication::applicationDirPath(),
                                                   qEnvironmentVariable("NUTRIMO_CIQUAL")));
    Desktop desktop(session.run());
    std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session, desktop));
    diet->show();
    QTimer::singleShot(0, [&] { Demarrage::lecturesInitiales(session, *diet); });
    const int rc = app.exec();
    diet.reset();
    return rc;
}
