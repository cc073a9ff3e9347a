#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace SingleInstance {

namespace {

// A copy starting at the same moment may have made its lock file without having written it yet.
constexpr int UnwrittenLockWait = 500;

QString lockPath()
{
    QString folder;
#ifdef Q_OS_UNIX
    // The runtime folder belongs to this user alone. Without one Qt would offer a folder in the
    // temporary folder all users share, where another user could take the name first.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    // Windows has none (Qt offers the home folder in its place): the user's local cache folder.
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        return {};
    return folder + QLatin1Char('/') + QCoreApplication::applicationName()
        + QStringLiteral(".lock");
}

// Whether the copy named in a lock file that could not be taken runs: one of this user's on this
// machine. A lock naming this very process was left by a copy whose process number the system
// has since given to this one.
bool runsHereForThisUser(QLockFile &lock, qint64 pid, const QString &host)
{
#if defined(Q_OS_WIN)
    // The holder keeps its lock file open and lets no one delete it, so a file that can be
    // deleted has none, whatever process has the number in it now; its lock is then taken.
    Q_UNUSED(pid);
    Q_UNUSED(host);
    return !(lock.removeStaleLockFile() && lock.tryLock(0));
#elif defined(Q_OS_UNIX)
    Q_UNUSED(lock);
    // Signal 0 only asks whether the process exists and may be signalled by this user.
    return host == QSysInfo::machineHostName() && pid > 0 && pid_t(pid) == pid
        && pid != QCoreApplication::applicationPid() && ::kill(pid_t(pid), 0) == 0;
#else
    // Elsewhere QLockFile's own check of the holder stands.
    Q_UNUSED(lock);
    Q_UNUSED(pid);
    Q_UNUSED(host);
    return true;
#endif
}

bool ownerRuns(QLockFile &lock)
{
    // A copy that runs for hours keeps its lock; only a lock whose owner is gone is stale.
    lock.setStaleLockTime(0);
    QDir().mkpath(QFileInfo(lock.fileName()).absolutePath());
    const QDeadlineTimer unwritten(UnwrittenLockWait);
    bool removalTried = false;
    for (;;) {
        if (lock.tryLock(0) || lock.error() != QLockFile::LockFailedError)
            return false;
        qint64 pid = 0;
        QString host;
        if (lock.getLockInfo(&pid, &host, nullptr))
            return runsHereForThisUser(lock, pid, host);
        // A file that stays unreadable (garbage, or a folder) is no copy's lock: it is replaced
        // where that can be done, and ignored where not.
        if (!unwritten.hasExpired()) {
            QThread::msleep(10);
        } else if (!removalTried) {
            removalTried = true;
            lock.removeStaleLockFile();
        } else {
            return false;
        }
    }
}

} // namespace

bool anotherCopyRuns()
{
    static QLockFile lock(lockPath());
    return ownerRuns(lock);
}

} // namespace SingleInstance
