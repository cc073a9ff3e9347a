#include "LinkLabel.h"
#include "UrlRecorder.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {
frmExitScreen *exitScreen()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *screen = qobject_cast<frmExitScreen *>(window); screen && screen->isVisible())
            return screen;
    }
    return nullptr;
}
} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void commandsOpenTheirPage_data();
    void commandsOpenTheirPage();
    void repeatedClicksOpenRepeatedRequests();
    void hiddenOfferCommandDoesNothing();
    void aboutIsModal();
    void closingShowsExitScreen_data();
    void closingShowsExitScreen();

private:
    std::unique_ptr<frmMain> m_window;
};

void TestShell::init()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestShell::cleanup()
{
    m_window.reset();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmExitScreen *>(window))
            delete window;
    }
}

void TestShell::commandsOpenTheirPage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("address");
    QTest::newRow("Online Help") << QStringLiteral(
        "mnuOnline") << QStringLiteral("http://www.cv-veyloom.com/cv-free-veyloom-help.html");
    QTest::newRow("Visit Us Online")
        << QStringLiteral("mnuVisit") << QStringLiteral("http://www.orravine.com");
    QTest::newRow("Check for Software Update") << QStringLiteral(
        "mnuUpdate") << QStringLiteral("http://www.cv-veyloom.com/download-cv-free-veyloom.html");
    QTest::newRow("banner") << QStringLiteral("Label14")
                            << QStringLiteral("http://www.orravine.com");
    QTest::newRow("co-brand offer")
        << QStringLiteral("lblCobrand") << QStringLiteral("http://help.orravine.com/co-brand.html");
    QTest::newRow("fully branded offer") << QStringLiteral(
        "lblFullBrand") << QStringLiteral("http://help.orravine.com/fully-branded.html");
}

void TestShell::commandsOpenTheirPage()
{
    QFETCH(QString, command);
    QFETCH(QString, address);
    UrlRecorder browser;
    if (auto *action = m_window->findChild<QAction *>(command)) {
        action->trigger();
    } else {
        auto *label = m_window->findChild<LinkLabel *>(command);
        QVERIFY(label);
        label->raise();
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, label->height() - 5));
    }
    QCOMPARE(browser.addresses(), QStringList { address });
    QVERIFY(m_window->isVisible());
}

void TestShell::repeatedClicksOpenRepeatedRequests()
{
    UrlRecorder browser;
    m_window->mnuVisit->trigger();
    m_window->mnuVisit->trigger();
    QTest::mouseClick(m_window->Label14, Qt::LeftButton);
    QCOMPARE(browser.addresses(), QStringList(3, QStringLiteral("http://www.orravine.com")));
    // A press that ends outside the label is no click.
    QTest::mousePress(m_window->Label14, Qt::LeftButton);
    QTest::mouseRelease(m_window->Label14, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(browser.urls.size(), 3);
}

void TestShell::hiddenOfferCommandDoesNothing()
{
    UrlRecorder browser;
    m_window->mnuMakeMoney->trigger();
    QVERIFY(browser.urls.isEmpty());
}

void TestShell::aboutIsModal()
{
    bool sawAbout = false;
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        sawAbout = about && about->isModal() && about->parentWidget() == m_window.get();
        if (about)
            QTest::keyClick(about, Qt::Key_Escape);
    });
    m_window->mnuAbout->trigger();
    QVERIFY(sawAbout);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_window->isVisible());
}

void TestShell::closingShowsExitScreen_data()
{
    QTest::addColumn<bool>("throughMenu");
    QTest::newRow("File, Exit") << true;
    QTest::newRow("close box") << false;
}

void TestShell::closingShowsExitScreen()
{
    QFETCH(bool, throughMenu);
    QVERIFY(!exitScreen());
    if (throughMenu)
        m_window->mnuExit->trigger();
    else
        m_window->close();
    QVERIFY(!m_window->isVisible());
    frmExitScreen *screen = exitScreen();
    QVERIFY(screen);
    QVERIFY(screen->windowFlags() & Qt::WindowStaysOnTopHint);
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
