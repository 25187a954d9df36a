#include "core/io/datalock.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "core/io/dataerror.h"
#include "core/io/runcontext.h"
#include "core/io/wholefile.h"

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

QString lockPath(const QString& dir) { return QDir(dir).filePath(DataLock::fileName()); }

// Who the lock file says holds the lock.
struct Owner {
    qint64 pid = 0;
    QString host;
    bool known = false;
};

Owner readOwner(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> lines = f.read(4096).split('\n');
    Owner o;
    bool ok = false;
    o.pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || o.pid <= 0) return {};
    o.host = QString::fromUtf8(lines.value(2).trimmed());
    o.known = true;
    return o;
}

bool thisMachine(const Owner& o) { return o.host.isEmpty() || o.host == QSysInfo::machineHostName(); }

bool alive(qint64 pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

// The process that holds the system's lock on dir, read from the system's
// table of locks (lines such as "1: FLOCK ADVISORY WRITE 4321 08:02:131073 0
// EOF"); 0 when it cannot be told. Serves when the lock file could not be
// written (a full disk, a read-only directory).
qint64 lockHolder(const QString& dir) {
    struct stat st;
    if (::stat(native(dir).constData(), &st) != 0) return 0;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
    const QByteArray device = QStringLiteral("%1:%2:")
                                  .arg(major(st.st_dev), 2, 16, QLatin1Char('0'))
                                  .arg(minor(st.st_dev), 2, 16, QLatin1Char('0'))
                                  .toLatin1();
    const QByteArray inode = QByteArray::number(static_cast<qulonglong>(st.st_ino));
    qint64 sameInode = 0;
    for (QByteArray line = locks.readLine(); !line.isEmpty(); line = locks.readLine()) {
        const QList<QByteArray> f = line.simplified().split(' ');
        // A process waiting for the lock ("1: -> FLOCK ...") does not hold it.
        if (f.size() < 6 || f.value(1) == "->") continue;
        const QByteArray& id = f[5];
        if (!id.endsWith(':' + inode)) continue;
        if (id == device + inode) return f[4].toLongLong();
        // Some file systems show another device number than stat() does.
        sameInode = f[4].toLongLong();
    }
    return sameInode;
}

QByteArray ownerText() {
    return QByteArray::number(static_cast<qint64>(::getpid())) + "\nnutrimo\n" +
           QSysInfo::machineHostName().toUtf8() + "\n";
}

template <class H>
void closeFds(H& h) {
    if (h.fileFd >= 0) ::close(h.fileFd);
    if (h.dirFd >= 0) ::close(h.dirFd);
    h.fileFd = h.dirFd = -1;
}

}   // namespace

DataLock::DataLock(RunContext& run) : m_run(run) {}

DataLock::~DataLock() { closeFds(m_held); }

// Writes who holds the lock into the lock file. Nothing depends on it but
// the message of a refused start, so a failure (a full disk, a read-only
// directory) is not one: the lock holds without it. A stale file that cannot
// be replaced is removed, so that it names no one.
void DataLock::writeOwner(Held& h) {
    if (h.fileFd >= 0) {
        h.ownFile = ::ftruncate(h.fileFd, 0) == 0;
        const QByteArray text = ownerText();
        h.ownFile =
            h.ownFile && m_run.seam().writeAll(h.fileFd, 0, text.constData(), text.size(), h.lockPath) == 0;
        return;
    }
    try {
        WholeFile::replace(m_run.seam(), h.lockPath, ownerText(), fileName());
        h.ownFile = true;
    } catch (const DataError&) {
        m_run.seam().remove(h.lockPath);
    }
}

const QString& DataLock::fileName() {
    static const QString name = QStringLiteral("nutrimo.lck");
    return name;
}

DataLock::Result DataLock::acquire(const QString& dir) {
    if (held(dir)) return Result::Taken;
    release();
    Held h;
    h.lockPath = lockPath(dir);
    struct stat st;
    h.dirFd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (h.dirFd < 0 || ::fstat(h.dirFd, &st) != 0) {
        closeFds(h);
        return Result::Unavailable;
    }
    h.dev = st.st_dev;
    h.ino = st.st_ino;
    int err = m_run.seam().lock(h.dirFd, dir);
    bool created = false;
    if (err && err != EWOULDBLOCK) {
        // A file system that does not lock directories may lock a file: the
        // lock file itself, kept open for the run.
        const QByteArray file = native(h.lockPath);
        h.fileFd = ::open(file.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (h.fileFd < 0 && errno == ENOENT) {
            h.fileFd = ::open(file.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            created = h.fileFd >= 0;
        }
        err = h.fileFd < 0 ? errno : m_run.seam().lock(h.fileFd, h.lockPath);
    }
    if (err) {
        if (created) ::unlink(native(h.lockPath).constData());
        closeFds(h);
        return err == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
    }
    // The system's lock is this process's: whoever the lock file names has
    // gone, unless it is on another machine, which this one cannot see.
    const Owner o = readOwner(h.lockPath);
    if (o.known && !thisMachine(o)) {
        closeFds(h);
        return Result::OtherMachine;
    }
    writeOwner(h);
    m_held = h;
    return Result::Taken;
}

bool DataLock::held(const QString& dir) const {
    const Held& h = m_held;
    struct stat st;
    return h.dirFd >= 0 && ::stat(native(dir).constData(), &st) == 0 && st.st_dev == h.dev &&
           st.st_ino == h.ino;
}

void DataLock::release() {
    Held& h = m_held;
    if (h.ownFile) m_run.seam().remove(h.lockPath);
    closeFds(h);
    h = Held{};
}

QString DataLock::refusal(const QString& dir, Result result) const {
    const Owner o = readOwner(lockPath(dir));
    const QString shownDir = m_run.dataDir().shown(dir);
    if (o.known && !thisMachine(o)) {
        const QString debut = QStringLiteral(
                                  "Nutrimo est déjà ouvert sur le répertoire des données %1, sur "
                                  "l'ordinateur %2 (processus n° %3).\n"
                                  "Deux programmes sur les mêmes tables perdraient des saisies : fermez "
                                  "Nutrimo sur %2 avant de le relancer ici.")
                                  .arg(shownDir, o.host)
                                  .arg(o.pid);
        if (result != Result::OtherMachine) return debut + QStringLiteral(" Rien n'a été modifié.");
        return debut + QStringLiteral(
                           "\nSi Nutrimo n'est plus ouvert sur %1 (cet ordinateur s'est "
                           "arrêté sans le fermer), supprimez le fichier %2 du "
                           "répertoire des données, puis relancez Nutrimo. Rien n'a été "
                           "modifié.")
                           .arg(o.host, fileName());
    }
    // The lock file may be stale (its process gone, the new holder unable to
    // write it): the system then says who holds the lock.
    const qint64 pid = o.known && alive(o.pid) ? o.pid : lockHolder(dir);
    const QString who = pid > 0 ? QStringLiteral(" (processus n° %1)").arg(pid) : QString();
    return QStringLiteral(
               "Nutrimo est déjà ouvert sur le répertoire des données %1%2.\n"
               "Deux programmes sur les mêmes tables perdraient des saisies : "
               "revenez à celui qui est ouvert, ou fermez-le avant de relancer "
               "Nutrimo. Rien n'a été modifié.")
        .arg(shownDir, who);
}

QString DataLock::readOnlyNotice(const QString& dir) const {
    return QStringLiteral(
               "Le répertoire des données %1 ne peut pas être verrouillé : son système "
               "de fichiers n'accepte aucun verrou. Un autre Nutrimo ouvert sur les "
               "mêmes tables ne pourrait pas être détecté, et l'un effacerait les "
               "saisies de l'autre.\n"
               "Nutrimo s'ouvre donc en lecture seule : vous pouvez consulter les "
               "tables et les bilans, mais aucune modification ne sera enregistrée.")
        .arg(m_run.dataDir().shown(dir));
}

bool DataLock::startRun() {
    const QString dir = m_run.dataDir().path();
    const Result result = acquire(dir);
    switch (result) {
    case Result::Taken:
        return true;
    case Result::Unavailable:
        m_run.setReadOnly(true);
        m_run.prompter().message(Prompter::Kind::Warning, readOnlyNotice(dir));
        return true;
    case Result::HeldElsewhere:
    case Result::OtherMachine:
        break;
    }
    m_run.prompter().message(Prompter::Kind::Warning, refusal(dir, result));
    return false;
}
