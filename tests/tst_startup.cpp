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

namespace {
const QDateTime Today(QDate(2026, 12, 7), QTime(9, 30));

// Runs the reminder today, answering No; how many times it asked.
int remindToday(QSettings &settings)
{
    int asked = 0;
    Startup::UpdateReminder(
        settings, [] { return Today; },
        [&](const QString &) {
            ++asked;
            return false;
        });
    return asked;
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reminder_data();
    void reminder();
    void reminderAnsweredYesOpensDownloadPage();
    void unwritableSettingsDoNotStopStartUp();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void offerLabelsDrawnEvenly();
    void startDrawsOfferLabel();

private:
    QTemporaryDir m_config;
};

void TestStartup::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_config.isValid());
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
    QTest::newRow("empty value") << QStringLiteral("") << false << true;
    QTest::newRow("unreadable value") << QStringLiteral("not a date") << false << true;
    QTest::newRow("same day, earlier") << daysAgo(0, QTime(0, 1)) << false << false;
    QTest::newRow("same day, later") << daysAgo(0, QTime(23, 59)) << false << false;
    QTest::newRow("yesterday evening") << daysAgo(1, QTime(22, 0)) << false << false;
    QTest::newRow("14 days ago") << daysAgo(14, QTime(0, 0)) << false << false;
    QTest::newRow("15 days ago") << daysAgo(15, QTime(23, 59)) << true << true;
    QTest::newRow("a year ago") << daysAgo(365) << true << true;
    QTest::newRow("14 days ahead") << daysAgo(-14) << false << false;
    QTest::newRow("15 days ahead") << daysAgo(-15) << true << true;
}

void TestStartup::reminder()
{
    QFETCH(QString, stored);
    QFETCH(bool, asks);
    QFETCH(bool, writes);
    QSettings settings(m_config.filePath(QStringLiteral("reminder.conf")), QSettings::IniFormat);
    settings.clear();
    if (!stored.isNull())
        settings.setValue(Startup::ReminderKey, stored);

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
        if (asks) {
            QCOMPARE(questions.front().split(QLatin1Char('\n')),
                (QStringList { QStringLiteral("There maybe an update to this software available"),
                    QStringLiteral("Do you want to check for an update?") }));
        }
        const QString now = settings.value(Startup::ReminderKey).toString();
        QCOMPARE(now, writes ? Today.toString(Qt::ISODate) : stored);
        QCOMPARE(browser.addresses(),
            asks && answer ? QStringList { QStringLiteral(
                "http://www.cv-veyloom.com/download-cv-free-veyloom.html") }
                           : QStringList {});
    }
}

void TestStartup::reminderAnsweredYesOpensDownloadPage()
{
    QSettings settings(m_config.filePath(QStringLiteral("yes.conf")), QSettings::IniFormat);
    settings.setValue(Startup::ReminderKey, Today.addDays(-20).toString(Qt::ISODate));
    UrlRecorder browser;
    Startup::UpdateReminder(
        settings, [] { return Today; }, [](const QString &) { return true; });
    QCOMPARE(browser.addresses(),
        QStringList { QStringLiteral("http://www.cv-veyloom.com/download-cv-free-veyloom.html") });

    // The next offer comes fifteen days after this one, not after the one before.
    int asked = 0;
    auto count = [&](const QString &) { return bool(++asked) && false; };
    Startup::UpdateReminder(
        settings, [] { return Today.addDays(14); }, count);
    QCOMPARE(asked, 0);
    Startup::UpdateReminder(
        settings, [] { return Today.addDays(15); }, count);
    QCOMPARE(asked, 1);
}

void TestStartup::unwritableSettingsDoNotStopStartUp()
{
    // A folder where the settings file should be: nothing can be stored.
    const QString path = m_config.filePath(QStringLiteral("folder.conf"));
    QVERIFY(QDir().mkpath(path));
    QSettings settings(path, QSettings::IniFormat);
    QCOMPARE(remindToday(settings), 0);
    settings.sync();
    QVERIFY(settings.status() != QSettings::NoError);
}

void TestStartup::damagedSettingsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01Settings\n\x80=\xc3", 14);
    QTest::newRow("cut inside the key") << QByteArray("[Settings]\nLastUpdateRemi");
    QTest::newRow("cut inside the date") << QByteArray("[Settings]\nLastUpdateReminder=2026-1");
    QTest::newRow("a list") << QByteArray("[Settings]\nLastUpdateReminder=2026-11-01, 2026-11-02");
    QTest::newRow("a foreign variant")
        << QByteArray("[Settings]\nLastUpdateReminder=@Variant(\\0\\0)");
    QTest::newRow("huge") << QByteArray("[Settings]\nLastUpdateReminder=")
            + QByteArray(8 << 20, 'x') + QByteArray("\n");
}

void TestStartup::damagedSettingsFile()
{
    QFETCH(QByteArray, content);
    const QString path = m_config.filePath(QStringLiteral("damaged.conf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();

    QSettings settings(path, QSettings::IniFormat);
    // Whatever was there counts as no date: nothing is asked and today is stored.
    QCOMPARE(remindToday(settings), 0);
    QCOMPARE(Startup::readLastReminder(settings), Today);
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
    QVERIFY(coBrandInFront > 0 && coBrandInFront < draws);
}

void TestStartup::startDrawsOfferLabel()
{
    // Lays a cover over both offer labels as the window first shows; the draw that follows
    // must bring one of them in front of it.
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
    QObject *front = window->fraFullBrand->children().constLast();
    QVERIFY(front == window->lblCobrand || front == window->lblFullBrand);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
