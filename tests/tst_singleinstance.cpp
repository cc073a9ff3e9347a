#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT

public:
    // What stands in the lock file's place when a copy starts.
    enum class Found {
        DeadHolder,
        ThisProcessNumber,
        LiveHolder,
        OtherHostName,
        RemovalUnderWay,
        BeingMade,
        ReplacedByOneBeingMade,
        Garbage,
        Folder,
        FullFolder,
        ReadOnlyLeftFile,
        UnwritableFolder,
    };
    Q_ENUM(Found)

private slots:
    void initTestCase();
    void lockInTheWay_data();
    void lockInTheWay();

private:
    // The lock file QLockFile writes for this process, as a copy that ended leaves it.
    QByteArray m_written;
    qint64 m_endedPid = 0;
};

void TestSingleInstance::initTestCase()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"written.lock"_s);
    {
        QLockFile holder(path);
        QVERIFY(holder.tryLock(0));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        m_written = written.readAll();
    }
    QVERIFY(m_written.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));

    // The number of a process that has ended.
    QProcess ended;
    ended.start(QCoreApplication::applicationFilePath(), { u"-functions"_s });
    QVERIFY(ended.waitForStarted());
    m_endedPid = ended.processId();
    QVERIFY(ended.waitForFinished());
}

// Each with the answer, and whether the copy then holds the lock (it runs; a lock could be made).
void TestSingleInstance::lockInTheWay_data()
{
    QTest::addColumn<Found>("found");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("holds");
    QTest::newRow("left by a copy that ended") << Found::DeadHolder << false << true;
    // Windows and Wine hand out low process numbers again soon.
    QTest::newRow("naming this very process") << Found::ThisProcessNumber << false << true;
    QTest::newRow("held by a running copy") << Found::LiveHolder << true << false;
    QTest::newRow("left under another host name") << Found::OtherHostName << false << true;
    QTest::newRow("left, another copy removing it") << Found::RemovalUnderWay << false << true;
    // What stays in the way for the few seconds a copy tries lets it start without a lock.
    QTest::newRow("being made all along") << Found::BeingMade << false << false;
    QTest::newRow("replaced by one being made after the first look")
        << Found::ReplacedByOneBeingMade << false << false;
    QTest::newRow("garbage") << Found::Garbage << false << true;
    QTest::newRow("a folder") << Found::Folder << false << true;
    QTest::newRow("a folder with a file in it") << Found::FullFolder << false << false;
    QTest::newRow("left read-only") << Found::ReadOnlyLeftFile << false << true;
    QTest::newRow("in a folder no one may write in") << Found::UnwritableFolder << false << false;
}

void TestSingleInstance::lockInTheWay()
{
    QFETCH(Found, found);
    QFETCH(bool, refused);
    QFETCH(bool, holds);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"cv.lock"_s);
    const auto writable = qScopeGuard([&folder] {
        QFile::setPermissions(
            folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });

    QByteArray left = m_written;
    std::optional<QLockFile> holder;
    std::optional<QLockFile> remover;
    // How old the file is at each look the copy takes at it, the last age for all later looks; by
    // the system's clock when none is given.
    QList<qint64> ages;
    switch (found) {
    case Found::DeadHolder:
    case Found::RemovalUnderWay:
    case Found::ReadOnlyLeftFile:
        left.replace(0, left.indexOf('\n'), QByteArray::number(m_endedPid));
        break;
    case Found::OtherHostName: {
        const qsizetype host = left.indexOf('\n', left.indexOf('\n') + 1) + 1;
        left.replace(host, left.indexOf('\n', host) - host, "another-host");
        break;
    }
    case Found::BeingMade:
        left.clear();
        ages = { 100 };
        break;
    // Left unwritten long ago, then removed by another copy that is making its own in its place
    // while this copy takes the guard: to this copy only the age tells the two files apart.
    case Found::ReplacedByOneBeingMade:
        left.clear();
        ages = { 3'600'000, 100 };
        break;
    case Found::Garbage:
        left = "not a lock file at all";
        break;
    case Found::LiveHolder:
        holder.emplace(path);
        QVERIFY(holder->tryLock(0));
        break;
    case Found::Folder:
        QVERIFY(QDir().mkdir(path));
        break;
    case Found::FullFolder: {
        QVERIFY(QDir().mkdir(path));
        QFile inside(path + u"/kept"_s);
        QVERIFY(inside.open(QIODevice::WriteOnly));
        break;
    }
    case Found::UnwritableFolder:
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (QFile(path).open(QIODevice::WriteOnly))
            QSKIP("This system lets the test write in a folder no one may write in.");
        break;
    case Found::ThisProcessNumber:
        break;
    }
    const bool leftFile = found != Found::LiveHolder && found != Found::Folder
        && found != Found::FullFolder && found != Found::UnwritableFolder;
    if (leftFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(left), left.size());
    }
    if (found == Found::ReadOnlyLeftFile)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
    // Another copy removing the same file holds its guard a moment, and then finds the file as
    // it was, for no one else removes it meanwhile.
    std::thread removal;
    bool untouched = true;
    if (found == Found::RemovalUnderWay) {
        remover.emplace(path + u".rmlock"_s);
        QVERIFY(remover->tryLock(0));
        removal = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            QFile file(path);
            untouched = file.open(QIODevice::ReadOnly) && file.readAll() == left;
            file.close();
            QFile::remove(path);
            remover->unlock();
        });
    }

    qsizetype looks = 0;
    const auto now = [&] {
        if (ages.isEmpty())
            return QDateTime::currentDateTime();
        const qint64 age = ages.at(qMin(looks++, ages.size() - 1));
        return QFileInfo(path).lastModified().addMSecs(age);
    };
    QLockFile lock(path);
    const bool answer = SingleInstance::anotherCopyRuns(lock, now);
    if (removal.joinable())
        removal.join();
    QVERIFY(untouched);
    QCOMPARE(answer, refused);
    QCOMPARE(lock.isLocked(), holds);
    // The lock that stands is held: another copy cannot take it.
    if (holds || refused) {
        QLockFile another(path);
        QVERIFY(!another.tryLock(0));
    }
    // What the copy could not take stands as it was.
    if (!holds && !refused && found != Found::UnwritableFolder) {
        QFile standing(path);
        QVERIFY(leftFile ? standing.open(QIODevice::ReadOnly) && standing.readAll() == left
                         : QFileInfo(path).isDir());
    }
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
