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
// Where no lock of any kind can be had, the run is read-only
// (RunContext::setReadOnly), and says so.
//
// The run's RunContext holds its one DataLock; the system releases the lock
// when the process ends, or when the lock is released or destroyed.
#include <QString>
#include <sys/types.h>

class RunContext;

class DataLock {
public:
    explicit DataLock(RunContext& run);
    ~DataLock();   // lets the lock go, as the end of the process does
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

    static const QString& fileName();   // "nutrimo.lck"

    enum class Result {
        Taken,           // this run now holds the lock (or already did)
        HeldElsewhere,   // another running program holds it: refusal() says which
        OtherMachine,    // the lock file names a program on another machine
        Unavailable      // no lock of any kind can be had here
    };
    // Takes the lock of dir (releasing one this run held on another directory).
    Result acquire(const QString& dir);
    // True when this run holds the lock of dir.
    bool held(const QString& dir) const;
    // Lets the lock go and removes the lock file this run wrote.
    void release();
    // The French message for a start refused on dir (HeldElsewhere or
    // OtherMachine): the directory, the program that holds it, what to do.
    QString refusal(const QString& dir, Result result = Result::HeldElsewhere) const;
    // The French message for a run made read-only because dir cannot be locked.
    QString readOnlyNotice(const QString& dir) const;
    // Start-up: takes the lock of the run's Data directory. Where no lock can
    // be had the run is made read-only and the user told; false, the user
    // told why, when another program holds it (the program then stops without
    // touching any file).
    bool startRun();

private:
    struct Held {
        int dirFd = -1;    // the Data directory, whose lock this run holds
        int fileFd = -1;   // the lock file, when it is the lock file that is locked
        dev_t dev = 0;
        ino_t ino = 0;
        QString lockPath;
        bool ownFile = false;   // the lock file is the one this run wrote
    };
    void writeOwner(Held& h);

    RunContext& m_run;
    Held m_held;
};
