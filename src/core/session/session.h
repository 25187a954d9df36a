#pragma once
// Session: the state of one run of the program. Start-up creates it once and
// hands it to the windows that use it; no window finds another through it.
//
// It owns the Data directory (the working directory at start-up, where every
// table and work file lives), the Daily totals (refilled from the Choice table
// by the composition and diagnosis windows and kept for the whole run), the
// mode flags the main window sets before showing a shared window, and the
// First-paint flag, which keeps the diagnosis window from appearing during
// start-up's first reading of the tables.
#include <QString>

#include "core/compose/dailytotals.h"

class Session {
public:
    // Makes dataDir the Data directory of the run.
    explicit Session(const QString& dataDir);

    QString dataDir() const { return m_dataDir; }
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
    QString m_dataDir;
    QString m_ciqualFile;
    DailyTotals m_totals;
};
