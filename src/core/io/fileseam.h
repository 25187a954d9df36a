#pragma once
// The file seam: every system call through which the program changes a file
// (opening for writing, writing, flushing to the disk, renaming, removing),
// and the lock of the Data directory, goes through one FileSeam. Each returns
// 0 or the errno value of the failure, so that every caller checks every call
// the same way and can tell the user the true reason (FileError::fromErrno).
//
// The run's seam belongs to its RunContext and is handed to each file handle,
// as shapelib hands its hooks to each handle; a handle given none makes a
// default one of its own, which only makes the system calls.
//
// Tests make the n-th call of a kind fail, as a disk that fills up, a
// read-only or forbidden file or a failing disk would: a short write really
// writes part of the bytes before failing. An observer sees every call before
// it is made, so that a test can stop a process at any write.
#include <QString>
#include <functional>

class FileSeam {
public:
    enum class Op { Open, Write, Flush, Rename, Remove, Lock };
    enum class Fault { ShortWrite, DiskFull, Permission, ReadOnly, IoError };

    // The nth call of op from now (1-based) fails with the fault; when
    // persistent, every later call of op fails too (a disk that stays full).
    void failAt(Op op, int nth, Fault fault, bool persistent = false);
    // No fault planned, counters to zero, no observer.
    void reset();
    // Calls of op since the last reset.
    int calls(Op op) const;
    // Whether flush() really waits for the disk (the default). Tests and the
    // fuzzer that write thousands of throw-away files turn it off; flush() is
    // still counted and can still be made to fail.
    void setDurable(bool durable);
    bool durable() const { return m_durable; }
    // Called before each call with its kind and the file's path.
    void setObserver(std::function<void(Op, const QString&)> observer);

    // A run without the Data directory's lock changes no file: every call
    // that would fails with ReadOnlyRun (FileError says why), and tables open
    // for reading only.
    static constexpr int ReadOnlyRun = -1;
    void setReadOnlyRun(bool readOnly);
    bool readOnlyRun() const { return m_readOnlyRun; }

    // Opens an existing file for reading and writing without following a
    // symbolic link (ELOOP on a link).
    int openForWriting(const QString& path, int* fd);
    // Creates a new temporary file beside path (".nutrimo-tmp.name.XXXXXX");
    // its path is returned in tempPath.
    int createTemporary(const QString& path, int* fd, QString* tempPath);
    // A file name (without directory) that only createTemporary writes: the
    // Data directory may be any folder of the user's, whose own hidden files
    // (".notes.backup") are never taken for ours.
    static bool isTemporaryName(const QString& fileName);
    // Writes every byte at pos (pos < 0: at the current position), retrying
    // short writes; a write that makes no progress is a failure.
    int writeAll(int fd, qint64 pos, const char* data, qint64 length, const QString& path);
    // Flushes the file's data to the disk.
    int flush(int fd, const QString& path);
    int rename(const QString& from, const QString& to);
    // Flushes a directory's entries (after a rename), when durable; not counted.
    void flushDirectory(const QString& dir);
    int remove(const QString& path);
    // Takes the advisory lock of fd (a directory or a file, open for reading
    // is enough) for this process, without waiting: 0, EWOULDBLOCK when
    // another process holds it, or the errno of a file system that has no
    // such lock.
    int lock(int fd, const QString& path);

private:
    static constexpr int kOps = 6;
    struct Plan {
        int nth = 0;   // 0: nothing planned
        Fault fault = Fault::DiskFull;
        bool persistent = false;
    };
    // Counts the call, tells the observer, and returns the planned fault's
    // number, ReadOnlyRun for a change in a read-only run, or GoAhead.
    static constexpr int GoAhead = -2;
    int planned(Op op, const QString& path, Fault* fault);

    int m_calls[kOps] = {};
    Plan m_plans[kOps];
    std::function<void(Op, const QString&)> m_observer;
    bool m_durable = true;
    bool m_readOnlyRun = false;
};
