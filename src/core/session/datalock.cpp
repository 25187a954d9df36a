#include "core/session/datalock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <memory>

namespace DataLock {
namespace {

struct Held {
    QString dir;
    std::unique_ptr<QLockFile> lock;
};

Held& current() {
    static Held h;
    return h;
}

QString canonical(const QString& dir) {
    const QString c = QFileInfo(dir).canonicalFilePath();
    return c.isEmpty() ? QFileInfo(dir).absoluteFilePath() : c;
}

QString lockPath(const QString& dir) { return QDir(canonical(dir)).filePath(fileName()); }

}  // namespace

const QString& fileName() {
    static const QString name = QStringLiteral("nutrimo.lck");
    return name;
}

Result acquire(const QString& dir) {
    if (held(dir)) return Result::Taken;
    release();
    auto lock = std::make_unique<QLockFile>(lockPath(dir));
    // Never stale by age: only a lock whose process has gone is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        current() = Held{canonical(dir), std::move(lock)};
        return Result::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? Result::HeldElsewhere
                                                       : Result::Unavailable;
}

bool held(const QString& dir) {
    const Held& h = current();
    return h.lock && h.lock->isLocked() && h.dir == canonical(dir);
}

void release() {
    Held& h = current();
    if (h.lock) h.lock->unlock();
    h = Held{};
}

QString refusal(const QString& dir) {
    QLockFile probe(lockPath(dir));
    qint64 pid = 0;
    QString host, app;
    const bool known = probe.getLockInfo(&pid, &host, &app);
    const QString who = known ? QStringLiteral(" (processus n° %1)").arg(pid) : QString();
    return QStringLiteral("Nutrimo est déjà ouvert sur le répertoire des données %1%2.\n"
                          "Deux programmes sur les mêmes tables perdraient des saisies : "
                          "revenez à celui qui est ouvert, ou fermez-le avant de relancer "
                          "Nutrimo. Rien n'a été modifié.")
        .arg(QDir::toNativeSeparators(canonical(dir)), who);
}

}  // namespace DataLock
