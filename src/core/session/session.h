#pragma once
// Session: the state of one run of the program. main() creates it once and
// hands it to the windows that use it; no window finds another through it.
//
// It owns the run's context (RunContext: the Data directory, where every
// table and work file lives, with its lock, the file seam, the files already
// checked, the Prompter and the help file), the Daily totals (refilled from
// the Choice table by the composition and diagnosis windows and kept for the
// whole run), the mode flags the main window sets before showing a shared
// window, and the First-paint flag, which keeps the diagnosis window from
// appearing during start-up's first reading of the tables.
#include <QString>

#include "core/compose/dailytotals.h"
#include "core/io/runcontext.h"

class Session {
public:
    // A run on the Data directory, asking the user through the prompter
    // (kept by the caller; none: nothing is asked, see LogPrompter).
    explicit Session(DataDirectory dataDir, Prompter* prompter = nullptr);
    explicit Session(const QString& dataDir, Prompter* prompter = nullptr);

    RunContext& run() { return m_run; }
    QString dataDir() const { return m_run.dataDir().path(); }
    Prompter& prompter() { return m_run.prompter(); }
    // The whole CIQUAL table installed with the program (CIQUAL.DBF), read
    // where it is; set by start-up, which finds it beside the program.
    QString ciqualFile() const { return m_ciqualFile; }
    void setCiqualFile(const QString& path) { m_ciqualFile = path; }
    DailyTotals& totals() { return m_totals; }
    const DailyTotals& totals() const { return m_totals; }

    bool ModeCompose = false;       // composition window: composite mode when true
    bool ModeEnregistrer = false;   // open/save dialog: saving when true
    bool FirstPaint = false;        // set by the main window at start-up, cleared by the
                                    // diagnosis window's first reading

private:
    RunContext m_run;
    QString m_ciqualFile;
    DailyTotals m_totals;
};
