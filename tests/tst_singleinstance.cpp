#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void lockNamingThisProcessIsStale();
};

// A copy that ended without removing its lock, whose process number the system has since given
// to the copy now starting (Windows and Wine hand out low numbers again soon), left a lock that
// names the starting copy itself. Only a running copy's lock refuses a start.
void TestSingleInstance::lockNamingThisProcessIsStale()
{
    // Without a runtime folder the lock is in the cache folder on every system; test mode keeps
    // that folder apart from the user's.
    QStandardPaths::setTestModeEnabled(true);
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + u"/tst_singleinstance.lock"_s;

    // A lock file written by QLockFile for this process, left behind without its holder.
    QByteArray left;
    {
        QLockFile holder(path);
        QVERIFY(holder.tryLock(0));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        left = written.readAll();
    }
    QVERIFY(left.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    QFile leftBehind(path);
    QVERIFY(leftBehind.open(QIODevice::WriteOnly));
    QCOMPARE(leftBehind.write(left), left.size());
    leftBehind.close();

    QVERIFY(!SingleInstance::anotherCopyRuns());
    QFile::remove(path);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
