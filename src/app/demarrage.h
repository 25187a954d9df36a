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

#include <QString>

namespace Demarrage {
// Where the whole CIQUAL table is: the path the launcher gives (named), else
// the installed one beside the program (share/nutrimo beside
// libexec/nutrimo), else the build's own (tables/ beside the program). The
// first that exists; the first candidate when none does, so that the reason
// names where it was looked for.
QString fichierCiqual(const QString& programDir, const QString& named);
// The main window, its windows and the help. The caller owns the returned
// main window; the Session and the Desktop must outlive it.
TFdiet* creeFenetres(Session& session, Desktop& desktop);
// Crash recovery (RepriseDemarrage), then the diagnosis window's start-up
// reading, then the check of the whole CIQUAL table (its reason told once
// when it cannot be read); each under the standard error handler.
void lecturesInitiales(Session& session, TFdiet& diet);
}
