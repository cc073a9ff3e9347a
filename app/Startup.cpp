#include "Startup.h"

#include "MessageBox.h"
#include "Shutdown.h"
#include "SkipOnFailure.h"
#include "Style.h"
#include "WebAddresses.h"
#include "frmMain.h"
#include "modHelp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimeZone>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace Startup {

namespace {

// QSettings waits for the lock beside its file as long as it takes, for ever when something it
// cannot remove stands there; start-up waits this long at most.
constexpr int SettingsLockWait = 1000;
// A copy starting at the same moment may have made its lock file without having written it yet.
constexpr int UnwrittenLockWait = 500;

QDateTime systemClock()
{
    return QDateTime::currentDateTime();
}

// Lends the application a font for as long as it lives. Qt lays out a new line edit's and text
// view's empty text in the application font before they take their own; with the window's font
// lent while the window is built, the system font, which nothing on it shows, is not loaded.
class ApplicationFontLoan
{
public:
    explicit ApplicationFontLoan(const QFont &font)
        : m_own(QGuiApplication::font())
    {
        QGuiApplication::setFont(font);
    }
    ~ApplicationFontLoan() { QGuiApplication::setFont(m_own); }
    ApplicationFontLoan(const ApplicationFontLoan &) = delete;
    ApplicationFontLoan &operator=(const ApplicationFontLoan &) = delete;

private:
    QFont m_own;
};

// Whether the process named in a lock file is one of this user's on this machine.
bool runsHereForThisUser(qint64 pid, const QString &host)
{
#ifdef Q_OS_UNIX
    // Signal 0 only asks whether the process exists and may be signalled by this user.
    return host == QSysInfo::machineHostName() && pid > 0 && pid_t(pid) == pid
        && ::kill(pid_t(pid), 0) == 0;
#else
    // Elsewhere a lock file cannot be removed while its owner runs, so QLockFile's own check of
    // the owner stands.
    Q_UNUSED(pid);
    Q_UNUSED(host);
    return true;
#endif
}

// Whether QSettings will get the lock for a write without waiting, found out by taking the same
// lock, stale ones removed as QSettings removes them. A lock that cannot be made at all makes
// QSettings give up at once. The registry and macOS preferences keep no lock file.
bool settingsLockFree(const QSettings &settings)
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    if (settings.format() == QSettings::NativeFormat)
        return true;
#endif
    QLockFile lock(settings.fileName() + QStringLiteral(".lock"));
    return lock.tryLock(SettingsLockWait) || lock.error() != QLockFile::LockFailedError;
}

// A store that cannot be locked in time counts as one that cannot be written: the date is lost.
void storeReminder(QSettings &settings, const QDateTime &moment)
{
    if (!settingsLockFree(settings))
        return;
    // With its offset from UTC, so that it means the same moment after a change of time zone.
    const QDateTime withOffset = moment.toTimeZone(QTimeZone(moment.offsetFromUtc()));
    settings.setValue(ReminderKey, withOffset.toString(Qt::ISODate));
    settings.sync();
}

} // namespace

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Orravine"), QCoreApplication::applicationName());
}

QDateTime readLastReminder(const QSettings &settings)
{
    const QVariant stored = settings.value(ReminderKey);
    if (stored.typeId() != QMetaType::QString)
        return {};
    return QDateTime::fromString(stored.toString(), Qt::ISODate);
}

void UpdateReminder(QSettings &settings, const Clock &now, const YesNoQuestion &ask)
{
    const QDateTime current = now();
    const QDateTime last = readLastReminder(settings);
    // A value that does not read as a date counts as none, so it cannot silence the reminder.
    if (!last.isValid()) {
        storeReminder(settings, current);
        return;
    }
    // A value without an offset is a local time already; one with an offset is a moment, whose
    // calendar day here is what counts.
    const QDate lastDay = last.timeSpec() == Qt::LocalTime
        ? last.date()
        : last.toTimeZone(current.timeZone()).date();
    const qint64 days = current.date().daysTo(lastDay);
    if (days >= -14 && days <= 14)
        return;
    const bool yes = ask(ReminderQuestion);
    storeReminder(settings, current);
    if (yes)
        modHelp::OpenWebPage(WebAddresses::Download);
}

void CoBrand_Randomize(frmMain &window, QRandomGenerator &random)
{
    const int intCoBrandRandomNumber = random.bounded(1, 7);
    window.bringOfferToFront(intCoBrandRandomNumber % 2 == 1);
}

QString instanceLockPath()
{
    // The runtime folder belongs to this user alone. Without one Qt would offer a folder in the
    // temporary folder all users share, where another user could take the name first.
    QString folder;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        return {};
    return folder + QLatin1Char('/') + QCoreApplication::applicationName()
        + QStringLiteral(".lock");
}

bool anotherCopyRuns(QLockFile &lock)
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
            return runsHereForThisUser(pid, host);
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

std::unique_ptr<frmMain> start()
{
    static QLockFile instanceLock(instanceLockPath());
    bool refused = false;
    skipOnFailure([&] { refused = anotherCopyRuns(instanceLock); });
    if (refused) {
        skipOnFailure([] { MessageBox::showNotice(nullptr, AlreadyRunningMessage); });
        UnloadAllAndEnd();
        return nullptr;
    }

    QRandomGenerator random { quint32(QDateTime::currentMSecsSinceEpoch()) };
    skipOnFailure([] {
        const std::unique_ptr<QSettings> settings = openSettings();
        UpdateReminder(*settings, systemClock,
            [](const QString &question) { return MessageBox::askYesNo(nullptr, question); });
    });

    auto window = [] {
        const ApplicationFontLoan loan(Style::font(Style::Font::Window));
        return std::make_unique<frmMain>();
    }();
    skipOnFailure([&] { window->show(); });
    skipOnFailure([&] { CoBrand_Randomize(*window, random); });
    return window;
}

} // namespace Startup
