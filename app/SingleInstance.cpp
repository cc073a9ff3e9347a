// One copy at a time, by a lock file:
// - A copy runs while it holds the lock file: it made it, keeps it open and locked, and the
//   system lets go of it when the copy ends, however it ends.
// - A lock file that is held refuses the start: a running copy of this user holds it.
// - Any other thing in the lock file's place is removed and the lock taken: a file left by a copy
//   that ended (whatever process number and host name it names), one that cannot be read, a
//   read-only one, an empty folder. A file still unwritten and younger than half a second is
//   left alone: a copy starting at the same moment is making it.
// - A removal looks again under the guard `<lock file>.rmlock`, as Qt's own removal of a dead
//   copy's file does, so of several copies started together one takes the lock and the others
//   find it held.
// - A copy starts without a lock where none can be made (no folder it may write in), or when
//   what stands in the lock file's place cannot be removed within a few seconds.
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace SingleInstance {

namespace {

// A copy makes its lock file before it locks and writes it.
constexpr int UnwrittenLockAge = 500;
// How long a copy tries to remove what stands in the lock file's place.
constexpr int TakeOverTime = 3000;
constexpr int RetryPause = 10;

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

// Whether a copy holds the file as QLockFile holds it. Only the lock tells: a process number
// can be given to another process, a host name can change, and on Windows a file may resist
// deletion because it is read-only or another program reads it.
bool heldOpen(const QString &path)
{
#ifdef Q_OS_WIN
    // The holder opened it for writing and shares it only for reading.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ,
        FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
#else
    // The holder keeps an exclusive flock() on it.
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool held = ::flock(file, LOCK_SH | LOCK_NB) == -1 && errno == EWOULDBLOCK;
    ::close(file);
    return held;
#endif
}

enum class Standing { Held, Left, BeingMade };

Standing standing(const QLockFile &lock, const Clock &now)
{
    // A file not yet written is not probed: on Unix a probe while its maker is between making
    // and locking it would keep the maker from locking it.
    const QDateTime changed = QFileInfo(lock.fileName()).lastModified();
    if (!lock.getLockInfo(nullptr, nullptr, nullptr)
        && qAbs(changed.msecsTo(now())) < UnwrittenLockAge)
        return Standing::BeingMade;
    return heldOpen(lock.fileName()) ? Standing::Held : Standing::Left;
}

// Removes what stands in the lock file's place, when it is still left under the guard: another
// copy may have replaced it since it was looked at.
void removeLeft(const QLockFile &lock, const Clock &now)
{
    const QString path = lock.fileName();
    QLockFile guard(path + QStringLiteral(".rmlock"));
    // One older than that that no copy holds was left by a copy that ended while removing: Qt
    // then removes it.
    guard.setStaleLockTime(UnwrittenLockAge);
    if (!guard.tryLock(0) || standing(lock, now) != Standing::Left)
        return;
    // Windows deletes a read-only file only once it may be written.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    if (!QFile::remove(path))
        QDir().rmdir(path);
}

} // namespace

bool anotherCopyRuns(QLockFile &lock, const Clock &now)
{
    // A copy that runs for hours keeps its lock: only one that no copy holds is stale.
    lock.setStaleLockTime(0);
    QDir().mkpath(QFileInfo(lock.fileName()).absolutePath());
    const QDeadlineTimer takeOver(TakeOverTime);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        const Standing found = standing(lock, now);
        if (found == Standing::Held)
            return true;
        if (takeOver.hasExpired())
            return false;
        if (found == Standing::Left)
            removeLeft(lock, now);
        QThread::msleep(RetryPause);
    }
    return false;
}

bool anotherCopyRuns()
{
    static QLockFile lock(lockPath());
    return anotherCopyRuns(lock);
}

} // namespace SingleInstance
