// Nutrimo: start-up. The working directory is the Data directory.
//
// The Session records it and holds the Daily totals and mode flags for the
// whole run; the long-lived windows are created here once on it, with the
// main window that opens them from its menus. When the event loop has started
// (the main window on screen), an interrupted composite-food session is
// recovered, the diagnosis window reads its tables once and the whole CIQUAL
// table installed with the program is checked.
//
// Before anything else, the Data directory's lock: a second Nutrimo on the
// same directory says so and stops without touching any file; where no lock
// can be had, the run is read-only.
#include <QTimer>
#include <memory>

#include "app/application.h"
#include "app/demarrage.h"
#include "app/diet.h"
#include "core/dbf/datadir.h"
#include "core/session/datalock.h"
#include "core/session/session.h"

int main(int argc, char** argv) {
    NutrimoApplication app(argc, argv);
    const QString dataDir = DataDir::workingDirectory();
    if (!DataLock::startRun(dataDir)) return 1;
    Session session(dataDir);
    session.setCiqualFile(Demarrage::fichierCiqual(QCoreApplication::applicationDirPath(),
                                                   qEnvironmentVariable("NUTRIMO_CIQUAL")));
    std::unique_ptr<TFdiet> diet(Demarrage::creeFenetres(session));
    diet->show();
    QTimer::singleShot(0, [&] { Demarrage::lecturesInitiales(*diet); });
    const int rc = app.exec();
    diet.reset();
    return rc;
}
