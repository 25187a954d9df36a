#pragma once
// Start-up of the program, in order: the main window is made on the Session
// (which holds the run's context and the Daily totals) and the Desktop (which
// shows windows and help), with the long-lived windows it opens as its
// children; F1 and the help viewer are given to the Desktop. Once the event
// loop runs, what an interrupted program left is put in order and the
// diagnosis window reads the Needs and Choice tables once, so that a missing
// table is reported at start-up.
class Desktop;
class Session;
class TFdiet;

namespace Demarrage {
// The main window, its windows and the help. The caller owns the returned
// main window; the Session and the Desktop must outlive it.
TFdiet* creeFenetres(Session& session, Desktop& desktop);
// Crash recovery (RepriseDemarrage), then the diagnosis window's start-up
// reading; each under the standard error handler.
void lecturesInitiales(Session& session, TFdiet& diet);
}
