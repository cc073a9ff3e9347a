#include "LinkLabel.h"
#include "Startup.h"
#include "UrlRecorder.h"
#include "frmMain.h"

#include <QFile>
#include <QFrame>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {
// An hour east of UTC, so that days here and days in UTC part at 23:00 UTC.
const QDateTime Today(QDate(2026, 12, 7), QTime(9, 30), QTimeZone(3600));
// Where start takes the single-instance lock, which is held until the program ends: test mode
// leaves the runtime folder as it is. Made before the lock, the folder is removed after it.
QTemporaryDir runtime;
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reminder_data();
    void reminder();
    void brokenSettingsStore_data();
    void brokenSettingsStore();
    void offerLabelsDrawnEvenly();
    void startDrawsOfferLabel();
    void preferredPlatform_data();
    void preferredPlatform();
    void chosenPlatformStands_data();
    void chosenPlatformStands();

private:
    QTemporaryDir m_config;
};

void TestStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_config.isValid() && runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
}

void TestStartup::reminder_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("writes");

    auto daysAgo = [](int days, QTime time = QTime(12, 0)) {
        return QDateTime(Today.date().addDays(-days), time).toString(Qt::ISODate);
    };
    QTest::newRow("first run") << QString() << false << true;
    QTest::newRow("yesterday evening") << daysAgo(1, QTime(22, 0)) << false << false;
    QTest::newRow("14 days ago") << daysAgo(14, QTime(0, 0)) << false << false;
    QTest::newRow("15 days ago") << daysAgo(15, QTime(23, 59)) << true << true;
    QTest::newRow("14 days ahead") << daysAgo(-14) << false << false;
    QTest::newRow("15 days ahead") << daysAgo(-15) << true << true;
    // A moment stored with its offset counts by its calendar day here.
    QTest::newRow("14 days ago here, 15 in UTC")
        << u"2026-11-22T23:30:00+00:00"_s << false << false;
    QTest::newRow("15 days ago here, 14 where stored")
        << u"2026-11-23T00:30:00+02:00"_s << true << true;
}

void TestStartup::reminder()
{
    QFETCH(QString, stored);
    QFETCH(bool, asks);
    QFETCH(bool, writes);
    QSettings settings(m_config.filePath(QStringLiteral("reminder.conf")), QSettings::IniFormat);
    for (bool answer : { false, true }) {
        if (!stored.isNull())
            settings.setValue(Startup::ReminderKey, stored);
        else
            settings.remove(Startup::ReminderKey);
        UrlRecorder browser;
        QStringList questions;
        Startup::UpdateReminder(
            settings, [] { return Today; },
            [&](const QString &question) {
                questions << question;
                return answer;
            });
        QCOMPARE(questions.size(), asks ? 1 : 0);
        if (asks)
            QCOMPARE(questions.front(),
                u"There maybe an update to this software available\n"
                "Do you want to check for an update?"_s);
        QCOMPARE(settings.value(Startup::ReminderKey).toString(),
            writes ? u"2026-12-07T09:30:00+01:00"_s : stored);
        QCOMPARE(browser.addresses().join(u' '),
            asks && answer ? u"http://www.cv-veyloom.com/download-cv-free-veyloom.html"_s
                           : QString());
    }
}

void TestStartup::brokenSettingsStore_data()
{
    // What is put at the settings file's path plus `at`: these bytes, or a folder when null.
    QTest::addColumn<QString>("at");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("folder at the file") << QString() << QByteArray();
    // The lock that guards a write: a folder is never removed, garbage only once it is old.
    QTest::newRow("folder at its lock") << u".lock"_s << QByteArray();
    QTest::newRow("garbage at its lock") << u".lock"_s << QByteArray("garbage");
    QTest::newRow("binary garbage")
        << QString() << QByteArray("\x00\xff\xfe[\x01Settings\n\x80=\xc3", 14);
    QTest::newRow("a list") << QString()
                            << QByteArray("[Settings]\nLastUpdateReminder=2026-11-01, 2026-11-02");
    QTest::newRow("a foreign variant")
        << QString() << QByteArray("[Settings]\nLastUpdateReminder=@Variant(\\0\\0)");
}

void TestStartup::brokenSettingsStore()
{
    QFETCH(QString, at);
    QFETCH(QByteArray, content);
    const QString path = m_config.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QFile blocker(path + at);
    if (content.isNull()) {
        QVERIFY(QDir().mkpath(blocker.fileName()));
    } else {
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QCOMPARE(blocker.write(content), content.size());
        blocker.close();
    }
    QSettings settings(path, QSettings::IniFormat);
    bool asked = false;
    Startup::UpdateReminder(
        settings, [] { return Today; },
        [&](const QString &) {
            asked = true;
            return false;
        });
    QVERIFY(!asked);
    // A damaged file counts as no date and today is stored; a blocked one is left alone.
    if (at.isEmpty() && !content.isNull())
        QCOMPARE(Startup::readLastReminder(settings), Today);
    else
        QVERIFY(!QFileInfo(path).isFile());
}

void TestStartup::offerLabelsDrawnEvenly()
{
    frmMain window;
    QRandomGenerator random(20261207);
    const int draws = 2000;
    int coBrandInFront = 0;
    for (int i = 0; i < draws; ++i) {
        Startup::CoBrand_Randomize(window, random);
        const QObjectList stack = window.fraFullBrand->children();
        coBrandInFront += stack.indexOf(window.lblCobrand) > stack.indexOf(window.lblFullBrand);
    }
    // Within five standard deviations of an even split.
    QVERIFY2(
        qAbs(coBrandInFront - draws / 2) < 5 * 23, qPrintable(QString::number(coBrandInFront)));
}

void TestStartup::startDrawsOfferLabel()
{
    // A cover laid over both labels as the window first shows; the draw must raise one of them.
    struct Cover : QObject {
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (auto *window = qobject_cast<frmMain *>(watched);
                window && event->type() == QEvent::Show)
                (new QWidget(window->fraFullBrand))->raise();
            return false;
        }
    } cover;
    Startup::openSettings()->remove(Startup::ReminderKey);
    qApp->installEventFilter(&cover);
    const std::unique_ptr<frmMain> window = Startup::start();
    qApp->removeEventFilter(&cover);
    QVERIFY(window);
#ifdef Q_OS_WIN
    // Windows has no runtime folder: the lock is in the cache folder, which test mode keeps apart.
    const QString lockFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#else
    const QString lockFolder = runtime.path();
#endif
    QVERIFY(QFile::exists(lockFolder + u"/tst_startup.lock"_s));
    QObject *front = window->fraFullBrand->children().constLast();
    QVERIFY(front == window->lblCobrand || front == window->lblFullBrand);
}

void TestStartup::preferredPlatform_data()
{
    // WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, QT_QPA_PLATFORM; the -platform asked for.
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("asked");
    QTest::newRow("X11 desktop") << QByteArray() << "x11"_ba
                                 << ":0"_ba << QByteArray() << QByteArray();
    QTest::newRow("Wayland desktop with an X server")
        << "wayland-0"_ba
        << "wayland"_ba
        << ":0"_ba << QByteArray() << "xcb;wayland"_ba;
    QTest::newRow("Wayland display alone names the desktop")
        << "wayland-1"_ba << QByteArray() << ":1"_ba << QByteArray() << "xcb;wayland"_ba;
    QTest::newRow("Wayland session alone names the desktop")
        << QByteArray() << "wayland"_ba
        << ":0"_ba << QByteArray() << "xcb;wayland"_ba;
    QTest::newRow("Wayland desktop without an X server")
        << "wayland-0"_ba
        << "wayland"_ba << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("the user chose Wayland") << "wayland-0"_ba
                                            << "wayland"_ba
                                            << ":0"_ba
                                            << "wayland"_ba << QByteArray();
    QTest::newRow("the user chose X11") << "wayland-0"_ba
                                        << "wayland"_ba
                                        << ":0"_ba
                                        << "xcb"_ba << QByteArray();
    QTest::newRow("no desktop") << QByteArray() << "tty"_ba << QByteArray() << QByteArray()
                                << QByteArray();
}

void TestStartup::preferredPlatform()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, asked);
    QCOMPARE(Startup::preferredPlatform({ waylandDisplay, sessionType, display, platform }), asked);
}

void TestStartup::chosenPlatformStands_data()
{
    // On a Wayland desktop with an X server: QT_QPA_PLATFORM, the command line the program is
    // started with, and the one Qt is started with, which takes the last -platform it finds.
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArrayList>("started");
    QTest::addColumn<QByteArrayList>("handed");
    QTest::newRow("nothing chosen")
        << QByteArray() << QByteArrayList { "cv-veyloom", "-style", "fusion" }
        << QByteArrayList { "cv-veyloom", "-platform", "xcb;wayland", "-style", "fusion" };
    QTest::newRow("-platform chosen")
        << QByteArray() << QByteArrayList { "cv-veyloom", "-platform", "wayland" }
        << QByteArrayList { "cv-veyloom", "-platform", "xcb;wayland", "-platform", "wayland" };
    // A -platform would win over the variable.
    QTest::newRow("QT_QPA_PLATFORM chosen")
        << "wayland"_ba << QByteArrayList { "cv-veyloom" } << QByteArrayList { "cv-veyloom" };
    QTest::newRow("both chosen") << "xcb"_ba
                                 << QByteArrayList { "cv-veyloom", "-platform", "wayland" }
                                 << QByteArrayList { "cv-veyloom", "-platform", "wayland" };
    QTest::newRow("started without a name") << QByteArray() << QByteArrayList() << QByteArrayList();
}

void TestStartup::chosenPlatformStands()
{
    QFETCH(QByteArray, variable);
    QFETCH(QByteArrayList, started);
    QFETCH(QByteArrayList, handed);
    QByteArray platform
        = Startup::preferredPlatform({ "wayland-0"_ba, "wayland"_ba, ":0"_ba, variable });
    std::vector<char *> arguments;
    for (QByteArray &argument : started)
        arguments.push_back(argument.data());
    QByteArrayList qt;
    for (const char *argument : Startup::qtArguments(arguments, platform))
        qt << argument;
    QCOMPARE(qt, handed);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
