#pragma once
// Files whose records passed the door checks, as they were then: device,
// inode, size, modification and change times. Any write (ours or another
// program's) sets the change time, which no program can set back, so a file
// found here is byte for byte one already checked: a window that reopens the
// Food table does not check 3 million numbers again each time. The system
// keeps file times with a coarse clock, so a write within the same tick as
// the last one may leave them as they were: only a file unchanged for a few
// seconds is remembered. One run remembers its own (RunContext).
#include <QByteArray>
#include <QMutex>
#include <QSet>
#include <sys/stat.h>

class CheckedFiles {
public:
    // What identifies a file as it is now: device, inode, size, both times.
    static QByteArray identityOf(const struct stat& st);
    // Whether a file of that status is settled enough to be remembered.
    static bool settled(const struct stat& st);
    bool contains(const QByteArray& id) const;
    void insert(const QByteArray& id);

private:
    mutable QMutex m_mutex;   // tables may be opened from a worker thread
    QSet<QByteArray> m_ids;
};
