#include "Startup.h"
#include "WebAddresses.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QList>
#include <QObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

// Takes the place of the browser: records every page the program asks to open.
class PageRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> pages;

public slots:
    void record(const QUrl &url) { pages.append(url); }
};

namespace {

// Half an hour off a whole-hour zone, so that local days and UTC days part at an odd moment.
const QDateTime Now(QDate(2024, 6, 15), QTime(12, 0), QTimeZone(5 * 3600 + 1800));
const QString NowStored = u"2024-06-15T12:00:00+05:30"_s;
const QDateTime FirstStamp(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc());

// Kept for the whole run; the folder is removed when the program ends.
QCoreApplication *application = nullptr;
PageRecorder *browser = nullptr;
std::unique_ptr<QTemporaryDir> folder;
qint64 stamps = 0;
bool nextAnswer = true;

void require(bool holds, const char *property, const QDateTime &before, const QDateTime &after)
{
    if (holds)
        return;
    std::fprintf(stderr, "Update reminder check failed: %s\nbefore: %s\nafter: %s\n", property,
        qUtf8Printable(before.toString(Qt::ISODateWithMs)),
        qUtf8Printable(after.toString(Qt::ISODateWithMs)));
    std::abort();
}

// QSettings keeps every file it has read in a cache and reads it again only when its size or
// time stamp has changed, which two inputs written within a millisecond can share; each file
// written here gets a time stamp of its own.
void writeSettingsFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush()
        && file.setFileTime(FirstStamp.addSecs(++stamps), QFileDevice::FileModificationTime))
        return;
    std::fprintf(stderr, "Cannot write %s\n", qUtf8Printable(path));
    std::abort();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll();
    std::fprintf(stderr, "Cannot read %s\n", qUtf8Printable(path));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Nothing here needs a display; should anything ask for one, it gets none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_reminder_settings";
    static char *argv[] = { name, nullptr };
    // A core application has no platform that could start a real browser, even if the
    // recorder below were bypassed.
    application = new QCoreApplication(argc, argv);
    browser = new PageRecorder;
    QDesktopServices::setUrlHandler(u"http"_s, browser, "record");
    QDesktopServices::setUrlHandler(u"https"_s, browser, "record");
    folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        std::fprintf(stderr, "Cannot create a temporary folder\n");
        std::abort();
    }
    std::atexit([] { folder.reset(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = folder->filePath(u"settings.ini"_s);
    const QString reopened = folder->filePath(u"reopened.ini"_s);
    writeSettingsFile(path, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    browser->pages.clear();
    int questions = 0;
    bool answer = false;
    QDateTime before;
    QDateTime after;
    QString stored;
    {
        QSettings settings(path, QSettings::IniFormat);
        before = Startup::readLastReminder(settings);
        Startup::UpdateReminder(
            settings, [] { return Now; },
            [&](const QString &question) {
                require(question == Startup::ReminderQuestion, "the reminder's question is asked",
                    before, after);
                ++questions;
                answer = nextAnswer;
                nextAnswer = !nextAnswer;
                return answer;
            });
        settings.sync();
        after = Startup::readLastReminder(settings);
        stored = settings.value(Startup::ReminderKey).toString();
    }

    // A moment stored with its offset counts by its calendar day here; a time without one is a
    // local time already.
    const QDate lastDay = before.timeSpec() == Qt::LocalTime
        ? before.date()
        : before.toTimeZone(Now.timeZone()).date();
    const bool due = before.isValid() && qAbs(Now.date().daysTo(lastDay)) > 14;
    require(questions == (due ? 1 : 0),
        "asked once exactly when the last offer is over 14 days away", before, after);
    require(after.isValid(), "a valid date is stored", before, after);
    if (before.isValid() && !due)
        require(after == before, "a recent offer is kept", before, after);
    else
        require(stored == NowStored, "today is stored with its offset", before, after);

    const bool opens = due && answer;
    require(
        browser->pages.size() == (opens ? 1 : 0), "Yes opens one page and No none", before, after);
    if (opens)
        require(browser->pages.first().toString() == WebAddresses::Download,
            "Yes opens the download page", before, after);

    // The next start reads the file afresh.
    writeSettingsFile(reopened, readFile(path));
    {
        const QSettings settings(reopened, QSettings::IniFormat);
        require(Startup::readLastReminder(settings) == after,
            "the stored date reads back the same from the file", before, after);
    }
    return 0;
}

#include "fuzz_reminder_settings.moc"
