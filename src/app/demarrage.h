#pragma once
// Start-up of the program, in order: the help file is named, the long-lived
// windows are created on the Session (which holds the Data directory and the
// Daily totals), then the main window that opens them; once the event loop
// runs, a day's choice left aside by an interrupted composite-food session is
// restored and the diagnosis window reads the Needs and Choice tables once,
// so that a missing table is reported at start-up.
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
// Help file, F1 handler, the editing, consultation, composition, open/save,
// chosen-list report and diagnosis windows, then the main window that
// receives them, and the help viewer. The caller owns the returned main
// window (the other windows are its children and go with it); the Session
// must outlive it.
TFdiet* creeFenetres(Session& session);
// Crash recovery of choix.tmp, then the diagnosis window's start-up reading,
// then the check of the whole CIQUAL table (its reason told once when it
// cannot be read); each under the standard error handler.
void lecturesInitiales(TFdiet& diet);
}
