#pragma once
// One Nutrimo per Data directory. Two programs working on the same tables
// would each hold them in memory and overwrite each other's work, and one
// would run the crash recovery on the other's live files; so the program
// holds the lock file nutrimo.lck in the Data directory for its whole run.
//
// The lock file names the process that holds it. A lock left by a process
// that no longer runs (a crash, a power cut) is stale and taken over; a
// lock held by a running process is never taken, however old.
//
// The lock belongs to the process (one per run), hence these free functions.
#include <QString>

namespace DataLock {

const QString& fileName();   // "nutrimo.lck"

enum class Result {
    Taken,         // this process now holds the lock (or already did)
    HeldElsewhere, // another running program holds it: refusal() says which
    Unavailable    // no lock can be made (a read-only directory)
};
// Takes the lock of dir (releasing one this process held on another directory).
Result acquire(const QString& dir);
// True when this process holds the lock of dir.
bool held(const QString& dir);
void release();
// The French message for a start refused on dir: the directory, the process
// that holds it, and what to do.
QString refusal(const QString& dir);

}  // namespace DataLock
