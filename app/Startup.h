#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class frmMain;
class QRandomGenerator;
class QSettings;

namespace Startup {

// The current moment in the time zone whose calendar counts the days: the local one, outside
// tests.
using Clock = std::function<QDateTime()>;
// Asks the user a yes/no question; true for Yes.
using YesNoQuestion = std::function<bool(const QString &question)>;

inline const QString ReminderKey = QStringLiteral("Settings/LastUpdateReminder");
inline const QString ReminderQuestion
    // Qt breaks message lines at a line feed, so the two sentences are joined by one.
    = QStringLiteral("There maybe an update to this software available\n"
                     "Do you want to check for an update?");
inline const QString AlreadyRunningMessage = QStringLiteral("Application is already running");

// The per-user store of the one value the program keeps between runs.
std::unique_ptr<QSettings> openSettings();

// When the update reminder last ran: an invalid date when nothing readable is stored. A value
// stored with its offset from UTC reads back as that moment; one without, as a local time.
QDateTime readLastReminder(const QSettings &settings);

// Offers to look for an update when fifteen or more calendar days of the clock's time zone lie
// between today and the last offer, in either direction; Yes opens the download page. Records
// every offer, and the first run, in the settings, with the offset from UTC. A store whose lock
// cannot be had within a second is left as it is.
void UpdateReminder(QSettings &settings, const Clock &now, const YesNoQuestion &ask);

// Brings one of the two offer labels to the front, each with an even chance.
void CoBrand_Randomize(frmMain &window, QRandomGenerator &random);

// The environment variables the choice of windowing system reads: WAYLAND_DISPLAY,
// XDG_SESSION_TYPE, DISPLAY and QT_QPA_PLATFORM.
struct DesktopEnvironment {
    QByteArray waylandDisplay;
    QByteArray sessionType;
    QByteArray display;
    QByteArray platform;
};

// The windowing system to ask Qt for before the application exists, as the value of its -platform
// option; empty for Qt's own choice. On a Wayland desktop that runs an X server beside it, X11
// first: Qt 6.4 on Wayland can neither keep the exit screen above the other windows nor open a
// window in the middle of the screen, and where Qt draws the frames itself they offer a maximise
// button on every window. A platform the user chose (QT_QPA_PLATFORM) stands.
QByteArray preferredPlatform(const DesktopEnvironment &environment);
// The same for this process's environment, on the systems where Qt offers X11.
QByteArray preferredPlatform();

// The command line to start Qt with: the program's own, with `-platform <platform>` put right
// after the program's name when a platform is preferred. Qt takes the last -platform it is given,
// so one the user adds still wins. Started without even a name, the program leaves the choice to
// Qt. The values point into `arguments` and `platform`.
std::vector<char *> qtArguments(std::vector<char *> arguments, QByteArray &platform);

// Everything the program does before its event loop runs: null when another copy is running.
std::unique_ptr<frmMain> start();

} // namespace Startup
