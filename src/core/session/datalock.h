#pragma once
// One Nutrimo per Data directory. Two programs working on the same tables
// would each hold them in memory and overwrite each other's work, and one
// would run the crash recovery on the other's live files; so the program
// holds the Data directory's lock for its whole run.
//
// The lock is the operating system's advisory lock on the directory itself
// (or, on a file system without it, on the lock file): it needs no writing,
// so it holds on a full disk, in a read-only directory or on a read-only
// mount, and the system releases it when the process ends, however it ends.
// The lock file nutrimo.lck beside the tables only says who holds the lock
// (process and machine), for the message of a refused start; a lock file
// left by a process that has gone is stale whatever the disk, and is replaced
// or removed.
//
// A lock file written on another machine names a program this machine cannot
// see: the start is refused with that machine's name, and the user takes the
// lock over by removing the file once the program there is closed.
//
// Where no lock of any kind can be had, the program runs read-only
// (FileSeam::setReadOnlyRun), and says so.
//
// The lock belongs to the process (one per run), hence these free functions.
#include <QString>

namespace DataLock {

const QString& fileName();   // "nutrimo.lck"

enum class Result {
    Taken,          // this process now holds the lock (or already did)
    HeldElsewhere,  // another running program holds it: refusal() says which
    OtherMachine,   // the lock file names a program on another machine
    Unavailable     // no lock of any kind can be had here
};
// Takes the lock of dir (releasing one this process held on another directory).
Result acquire(const QString& dir);
// True when this process holds the lock of dir.
bool held(const QString& dir);
void release();
// The French message for a start refused on dir (HeldElsewhere or
// OtherMachine): the directory, the program that holds it, what to do.
QString refusal(const QString& dir, Result result = Result::HeldElsewhere);
// The French message for a run made read-only because dir cannot be locked.
QString readOnlyNotice(const QString& dir);
// Start-up: takes the lock of dir. Where no lock can be had the run is made
// read-only and the user told; false, the user told why, when another program
// holds it (the program then stops without touching any file).
bool startRun(const QString& dir);

}  // namespace DataLock
