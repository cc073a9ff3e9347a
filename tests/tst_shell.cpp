#include "FindControl.h"
#include "KeyboardLink.h"
#include "LinkLabel.h"
#include "SkipOnFailure.h"
#include "UrlRecorder.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace Qt::StringLiterals;

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void commandsOpenTheirPage_data();
    void commandsOpenTheirPage();
    void eachClickOneRequest();
    void linksByKeyboard_data();
    void linksByKeyboard();
    void linkDrawnAsPlainLabel();
    void aboutIsModal();
    void skippedStepsAreLogged();

private:
    std::unique_ptr<frmMain> m_window;
};

void TestShell::init()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestShell::commandsOpenTheirPage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("address");
    QTest::newRow("Online Help") << u"mnuOnline"_s
                                 << u"http://www.cv-veyloom.com/cv-free-veyloom-help.html"_s;
    QTest::newRow("Visit Us Online") << u"mnuVisit"_s << u"http://www.orravine.com"_s;
    QTest::newRow("Check for Software Update")
        << u"mnuUpdate"_s << u"http://www.cv-veyloom.com/download-cv-free-veyloom.html"_s;
    QTest::newRow("banner") << u"Label14"_s << u"http://www.orravine.com"_s;
    QTest::newRow("co-brand offer")
        << u"lblCobrand"_s << u"http://help.orravine.com/co-brand.html"_s;
    QTest::newRow("fully branded offer")
        << u"lblFullBrand"_s << u"http://help.orravine.com/fully-branded.html"_s;
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
        m_window->bringOfferToFront(label == m_window->lblCobrand);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, label->height() - 5));
    }
    QCOMPARE(browser.addresses(), QStringList { address });
    QVERIFY(m_window->isVisible());
}

// Every click asks again; a press that ends outside the label is no click.
void TestShell::eachClickOneRequest()
{
    UrlRecorder browser;
    QTest::mousePress(m_window->Label14, Qt::LeftButton);
    QTest::mouseRelease(m_window->Label14, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(m_window->Label14, Qt::LeftButton);
    QTest::mouseClick(m_window->Label14, Qt::LeftButton);
    QCOMPARE(browser.urls.size(), 2);
}

void TestShell::linksByKeyboard_data()
{
    // The offer in front; the link that many presses of Tab from the name field reach, the key
    // that follows it (none: a mouse click instead, from the name field), how often the key
    // repeats while it is held, and the page it opens once.
    QTest::addColumn<bool>("coBrandInFront");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<QString>("address");
    QTest::newRow("banner, Enter")
        << true << u"Label14"_s << 9 << Qt::Key_Return << 0 << u"http://www.orravine.com"_s;
    QTest::newRow("co-brand offer, Space") << true << u"lblCobrand"_s << 10 << Qt::Key_Space << 0
                                           << u"http://help.orravine.com/co-brand.html"_s;
    QTest::newRow("fully branded offer, keypad Enter")
        << false << u"lblFullBrand"_s << 10 << Qt::Key_Enter << 0
        << u"http://help.orravine.com/fully-branded.html"_s;
    QTest::newRow("banner, Space held")
        << true << u"Label14"_s << 9 << Qt::Key_Space << 5 << u"http://www.orravine.com"_s;
    QTest::newRow("co-brand offer, clicked") << true << u"lblCobrand"_s << 0 << Qt::Key_unknown << 0
                                             << u"http://help.orravine.com/co-brand.html"_s;
}

void TestShell::linksByKeyboard()
{
    QFETCH(bool, coBrandInFront);
    QFETCH(QString, name);
    QFETCH(int, tabs);
    QFETCH(Qt::Key, key);
    QFETCH(int, repeats);
    QFETCH(QString, address);
    m_window->bringOfferToFront(coBrandInFront);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(QApplication::focusWidget(), m_window->txtName);
    FETCH_CONTROL(QWidget, link, *m_window, name);
    UrlRecorder browser;
    if (key == Qt::Key_unknown) {
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), m_window->txtName);
    } else {
        TAB_TO_AND_FOLLOW(link, tabs, key);
    }
    // A held key sends its press again and again, each marked as a repeat.
    for (int i = 0; i < repeats; ++i) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(link, &release);
        QApplication::sendEvent(link, &press);
    }
    QCOMPARE(browser.addresses(), QStringList { address });
    // Eleven stops make the round: the first screen's nine controls and the two links in view.
    pressTab(11 - tabs);
    QCOMPARE(QApplication::focusWidget(), m_window->txtName);
}

// Until it has the focus, a link looks exactly as a plain label of the same text and style.
void TestShell::linkDrawnAsPlainLabel()
{
    LinkLabel *link = m_window->Label14;
    QLabel plain(link->text(), link->parentWidget());
    plain.setFont(link->font());
    plain.setAlignment(link->alignment());
    plain.setWordWrap(link->wordWrap());
    plain.setGeometry(link->geometry());
    QCOMPARE(link->grab().toImage(), plain.grab().toImage());
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
}

// Silent unless a developer turns the category on; then each skipped step names its place.
void TestShell::skippedStepsAreLogged()
{
    QVERIFY(!lcSkipped().isDebugEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("veyloom.skipped.debug=true"));
    QTest::ignoreMessage(QtDebugMsg,
        QRegularExpression(QStringLiteral("^skipped .*tst_shell\\.cpp:\\d+: no browser$")));
    skipOnFailure([] { throw std::runtime_error("no browser"); });
    QLoggingCategory::setFilterRules(QString());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
