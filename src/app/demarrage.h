#pragma once
// Start-up of the program, in order: the help file is named, the main window
// is created (it records the Data directory and allocates the Daily totals),
// then the long-lived windows; once the event loop runs, a day's choice left
// aside by an interrupted composite-food session is restored and the
// diagnosis window reads the Needs and Choice tables once, so that a missing
// table is reported at start-up.
class TFdiet;

namespace Demarrage {
// Help file, F1 handler, help viewer, then TFdiet and the long-lived windows,
// stored in appState(). The caller owns the returned main window (the other
// windows are its children and go with it).
TFdiet* CreeFenetres();
// Crash recovery of choix.tmp, then the diagnosis window's start-up reading;
// each under the standard error handler.
void LecturesInitiales();
// Forgets the windows of appState() (after the main window is destroyed).
void Termine();
}
