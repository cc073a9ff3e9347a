#include "Startup.h"

#include "Guarded.h"
#include "MessageBox.h"
#include "Shutdown.h"
#include "Style.h"
#include "WebAddresses.h"
#include "frmMain.h"
#include "modHelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Startup {

namespace {

QString currentUserId()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return QString::fromLocal8Bit(qgetenv("USERNAME"));
#endif
}

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
    const QDateTime last = readLastReminder(settings);
    // A value that does not read as a date counts as none, so it cannot silence the reminder.
    if (!last.isValid()) {
        settings.setValue(ReminderKey, now().toString(Qt::ISODate));
        return;
    }
    const qint64 days = now().date().daysTo(last.date());
    if (days >= -14 && days <= 14)
        return;
    const bool yes = ask(ReminderQuestion);
    settings.setValue(ReminderKey, now().toString(Qt::ISODate));
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
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + QCoreApplication::applicationName() + QLatin1Char('-')
        + currentUserId() + QStringLiteral(".lock");
}

bool lockSingleInstance(QLockFile &lock)
{
    // A copy that runs for hours keeps its lock; only a lock whose owner is gone is stale.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return true;
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.error() == QLockFile::LockFailedError
        && !lock.getLockInfo(&pid, &host, &application)) {
        lock.removeStaleLockFile();
        return lock.tryLock(0);
    }
    return false;
}

std::unique_ptr<frmMain> start()
{
    static QLockFile instanceLock(instanceLockPath());
    bool alone = true;
    skipOnFailure([&] { alone = lockSingleInstance(instanceLock); });
    if (!alone) {
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
        const ApplicationFontLoan loan(Style::verdana());
        return std::make_unique<frmMain>();
    }();
    skipOnFailure([&] { window->show(); });
    skipOnFailure([&] { CoBrand_Randomize(*window, random); });
    return window;
}

} // namespace Startup
