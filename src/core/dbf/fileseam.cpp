#include "core/dbf/fileseam.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSeam {
namespace {

constexpr int kOps = 6;

// The start of every temporary file's name: hidden, and ours alone.
const QString kTemporaire = QStringLiteral(".nutrimo-tmp.");

struct Plan {
    int nth = 0;   // 0: nothing planned
    Fault fault = Fault::DiskFull;
    bool persistent = false;
};

struct State {
    int calls[kOps] = {};
    Plan plans[kOps];
    std::function<void(Op, const QString&)> observer;
    bool durable = true;
    bool readOnlyRun = false;
};

State& state() {
    static State s;
    return s;
}

int errnoOf(Fault fault) {
    switch (fault) {
    case Fault::ShortWrite:
    case Fault::DiskFull:
        return ENOSPC;
    case Fault::Permission:
        return EACCES;
    case Fault::ReadOnly:
        return EROFS;
    case Fault::IoError:
        return EIO;
    }
    return EIO;
}

// Counts the call, tells the observer, and returns the planned fault's
// number, ReadOnlyRun for a change in a read-only run, or a negative number
// below it when the call goes ahead.
constexpr int kGoAhead = -2;

int planned(Op op, const QString& path, Fault* fault) {
    State& s = state();
    const int i = static_cast<int>(op);
    const int n = ++s.calls[i];
    if (s.observer) s.observer(op, path);
    if (s.readOnlyRun && op != Op::Flush && op != Op::Lock) return ReadOnlyRun;
    const Plan& p = s.plans[i];
    if (p.nth == 0 || n < p.nth || (n > p.nth && !p.persistent)) return kGoAhead;
    *fault = p.fault;
    return errnoOf(p.fault);
}

QByteArray native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

void failAt(Op op, int nth, Fault fault, bool persistent) {
    State& s = state();
    const int i = static_cast<int>(op);
    s.plans[i] = Plan{s.calls[i] + nth, fault, persistent};
}

void reset() {
    State& s = state();
    for (int i = 0; i < kOps; ++i) {
        s.calls[i] = 0;
        s.plans[i] = Plan{};
    }
    s.observer = nullptr;
}

void setDurable(bool durable) { state().durable = durable; }

void setReadOnlyRun(bool readOnly) { state().readOnlyRun = readOnly; }

bool readOnlyRun() { return state().readOnlyRun; }

int calls(Op op) { return state().calls[static_cast<int>(op)]; }

void setObserver(std::function<void(Op, const QString&)> observer) {
    state().observer = std::move(observer);
}

int openForWriting(const QString& path, int* fd) {
    Fault fault{};
    if (const int err = planned(Op::Open, path, &fault); err != kGoAhead) return err;
    *fd = ::open(native(path).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    return *fd < 0 ? errno : 0;
}

bool isTemporaryName(const QString& fileName) {
    static const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(kTemporaire) +
                                         QStringLiteral(".+\\.[A-Za-z0-9]{6}$"));
    return ours.match(fileName).hasMatch();
}

int createTemporary(const QString& path, int* fd, QString* tempPath) {
    Fault fault{};
    if (const int err = planned(Op::Open, path, &fault); err != kGoAhead) return err;
    const QFileInfo info(path);
    QByteArray name = native(info.absolutePath() + QLatin1Char('/') + kTemporaire + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    *fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (*fd < 0) return errno;
    *tempPath = QFile::decodeName(name);
    return 0;
}

int writeAll(int fd, qint64 pos, const char* data, qint64 length, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Write, path, &fault); err != kGoAhead) {
        // A short write puts part of the bytes on disk before the failure,
        // as a disk that fills up in the middle of a write does.
        if (err != ReadOnlyRun && fault == Fault::ShortWrite && length > 1) {
            const qint64 part = length / 2;
            const ssize_t n = pos < 0 ? ::write(fd, data, static_cast<size_t>(part))
                                      : ::pwrite(fd, data, static_cast<size_t>(part), pos);
            (void)n;
        }
        return err;
    }
    qint64 done = 0;
    while (done < length) {
        const size_t chunk = static_cast<size_t>(length - done);
        const ssize_t n = pos < 0 ? ::write(fd, data + done, chunk)
                                  : ::pwrite(fd, data + done, chunk, pos + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        done += n;
    }
    return 0;
}

int flush(int fd, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Flush, path, &fault); err != kGoAhead) return err;
    if (!state().durable) return 0;
    return ::fsync(fd) < 0 ? errno : 0;
}

void flushDirectory(const QString& dir) {
    if (!state().durable) return;
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int rename(const QString& from, const QString& to) {
    Fault fault{};
    if (const int err = planned(Op::Rename, to, &fault); err != kGoAhead) return err;
    return std::rename(native(from).constData(), native(to).constData()) < 0 ? errno : 0;
}

int remove(const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Remove, path, &fault); err != kGoAhead) return err;
    return ::unlink(native(path).constData()) < 0 ? errno : 0;
}

int lock(int fd, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Lock, path, &fault); err != kGoAhead) return err;
    while (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
        if (errno == EINTR) continue;
        return errno == EAGAIN ? EWOULDBLOCK : errno;
    }
    return 0;
}

}  // namespace FileSeam
