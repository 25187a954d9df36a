#include "core/io/fileseam.h"

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

namespace {

// The start of every temporary file's name: hidden, and ours alone.
const QString kTemporaire = QStringLiteral(".nutrimo-tmp.");

using Fault = FileSeam::Fault;
using Op = FileSeam::Op;

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

QByteArray native(const QString& path) { return QFile::encodeName(path); }

}   // namespace

int FileSeam::planned(Op op, const QString& path, Fault* fault) {
    const int i = static_cast<int>(op);
    const int n = ++m_calls[i];
    if (m_observer) m_observer(op, path);
    if (m_readOnlyRun && op != Op::Flush && op != Op::Lock) return ReadOnlyRun;
    const Plan& p = m_plans[i];
    if (p.nth == 0 || n < p.nth || (n > p.nth && !p.persistent)) return GoAhead;
    *fault = p.fault;
    return errnoOf(p.fault);
}

void FileSeam::failAt(Op op, int nth, Fault fault, bool persistent) {
    const int i = static_cast<int>(op);
    m_plans[i] = Plan{m_calls[i] + nth, fault, persistent};
}

void FileSeam::reset() {
    for (int i = 0; i < kOps; ++i) {
        m_calls[i] = 0;
        m_plans[i] = Plan{};
    }
    m_observer = nullptr;
}

void FileSeam::setDurable(bool durable) { m_durable = durable; }

void FileSeam::setReadOnlyRun(bool readOnly) { m_readOnlyRun = readOnly; }

int FileSeam::calls(Op op) const { return m_calls[static_cast<int>(op)]; }

void FileSeam::setObserver(std::function<void(Op, const QString&)> observer) {
    m_observer = std::move(observer);
}

int FileSeam::openForWriting(const QString& path, int* fd) {
    Fault fault{};
    if (const int err = planned(Op::Open, path, &fault); err != GoAhead) return err;
    *fd = ::open(native(path).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    return *fd < 0 ? errno : 0;
}

bool FileSeam::isTemporaryName(const QString& fileName) {
    static const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(kTemporaire) +
                                         QStringLiteral(".+\\.[A-Za-z0-9]{6}$"));
    return ours.match(fileName).hasMatch();
}

int FileSeam::createTemporary(const QString& path, int* fd, QString* tempPath) {
    Fault fault{};
    if (const int err = planned(Op::Open, path, &fault); err != GoAhead) return err;
    const QFileInfo info(path);
    QByteArray name = native(info.absolutePath() + QLatin1Char('/') + kTemporaire + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    *fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (*fd < 0) return errno;
    *tempPath = QFile::decodeName(name);
    return 0;
}

int FileSeam::writeAll(int fd, qint64 pos, const char* data, qint64 length, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Write, path, &fault); err != GoAhead) {
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
        const ssize_t n =
            pos < 0 ? ::write(fd, data + done, chunk) : ::pwrite(fd, data + done, chunk, pos + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        done += n;
    }
    return 0;
}

int FileSeam::flush(int fd, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Flush, path, &fault); err != GoAhead) return err;
    if (!m_durable) return 0;
    return ::fsync(fd) < 0 ? errno : 0;
}

void FileSeam::flushDirectory(const QString& dir) {
    if (!m_durable) return;
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int FileSeam::rename(const QString& from, const QString& to) {
    Fault fault{};
    if (const int err = planned(Op::Rename, to, &fault); err != GoAhead) return err;
    return std::rename(native(from).constData(), native(to).constData()) < 0 ? errno : 0;
}

int FileSeam::remove(const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Remove, path, &fault); err != GoAhead) return err;
    return ::unlink(native(path).constData()) < 0 ? errno : 0;
}

int FileSeam::lock(int fd, const QString& path) {
    Fault fault{};
    if (const int err = planned(Op::Lock, path, &fault); err != GoAhead) return err;
    while (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
        if (errno == EINTR) continue;
        return errno == EAGAIN ? EWOULDBLOCK : errno;
    }
    return 0;
}
