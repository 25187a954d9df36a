#pragma once
// RunContext: what every file operation and command of one run works with,
// handed to each rather than looked up:
//   - the Data directory, where relative names resolve;
//   - the file seam through which every change to a file goes, and with it
//     whether the run is read-only (no lock on the Data directory);
//   - the lock of the Data directory, held for the run;
//   - the files already checked at the door, so that reopening a table that
//     did not change does not check its records again;
//   - the Prompter through which the user is told and asked;
//   - the help file's name.
// The Session owns the run's one context; tests make one per test.
#include <QString>

#include "core/interfaces/prompter.h"
#include "core/io/checkedfiles.h"
#include "core/io/datadirectory.h"
#include "core/io/datalock.h"
#include "core/io/fileseam.h"

class RunContext {
public:
    // A run on dataDir; until a prompter is given, the user is neither told
    // nor asked anything (LogPrompter).
    explicit RunContext(DataDirectory dataDir, Prompter* prompter = nullptr);
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    const DataDirectory& dataDir() const { return m_dataDir; }
    FileSeam& seam() { return m_seam; }
    CheckedFiles& checkedFiles() { return m_checked; }
    DataLock& lock() { return m_lock; }

    Prompter& prompter() { return m_prompter ? *m_prompter : m_log; }
    // The caller keeps ownership; nullptr goes back to the log. Returns the
    // prompter given before (nullptr for the log).
    Prompter* setPrompter(Prompter* prompter) {
        Prompter* before = m_prompter;
        m_prompter = prompter;
        return before;
    }

    // A run without the Data directory's lock: the seam refuses every change.
    bool readOnly() const { return m_seam.readOnlyRun(); }
    void setReadOnly(bool readOnly) { m_seam.setReadOnlyRun(readOnly); }

    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString& name) { m_helpFile = name; }

private:
    DataDirectory m_dataDir;
    FileSeam m_seam;
    CheckedFiles m_checked;
    Prompter* m_prompter = nullptr;
    LogPrompter m_log;
    QString m_helpFile;
    DataLock m_lock{*this};   // last: released before the rest goes
};
