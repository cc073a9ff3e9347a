#include "Startup.h"

#include "MessageBox.h"
#include "Shutdown.h"
#include "SingleInstance.h"
#include "SkipOnFailure.h"
#include "Style.h"
#include "WebAddresses.h"
#include "frmMain.h"
#include "modHelp.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTimeZone>

namespace Startup {

namespace {

// QSettings waits for the lock beside its file as long as it takes, for ever when something it
// cannot remove stands there; start-up waits this long at most.
constexpr int SettingsLockWait = 1000;

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

QByteArray preferredPlatform(const DesktopEnvironment &environment)
{
    const bool wayland
        = !environment.waylandDisplay.isEmpty() || environment.sessionType == "wayland";
    if (wayland && !environment.display.isEmpty() && environment.platform.isEmpty())
        return QByteArrayLiteral("xcb;wayland");
    return {};
}

QByteArray preferredPlatform()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return preferredPlatform({ qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"),
        qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM") });
#else
    return {};
#endif
}

std::vector<char *> qtArguments(std::vector<char *> arguments, QByteArray &platform)
{
    static char platformOption[] = "-platform";
    if (!platform.isEmpty() && !arguments.empty())
        arguments.insert(arguments.begin() + 1, { platformOption, platform.data() });
    return arguments;
}

std::unique_ptr<frmMain> start()
{
    bool refused = false;
    skipOnFailure([&] { refused = SingleInstance::anotherCopyRuns(); });
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
