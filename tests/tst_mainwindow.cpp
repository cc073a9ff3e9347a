#include "LinkLabel.h"
#include "ModalAnswerer.h"
#include "ReadingView.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "frmMain.h"
#include "modVeyloom.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>

using namespace modVeyloom;

Q_DECLARE_METATYPE(std::vector<int>)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void freshWindow();
    void geometry_data();
    void geometry();
    void menus();
    void takeTestWithMouse_data();
    void takeTestWithMouse();
    void backToMain();
    void refusesWithNothingTicked();
    void keyboardAlone();
    void everyControlIsNamed();
    void readableOnFixedBackgrounds_data();
    void readableOnFixedBackgrounds();

private:
    QWidget *current() const { return m_window->screens->currentWidget(); }
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<frmMain> m_window;
};

void TestMainWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    LoadCatalogue();
}

void TestMainWindow::init()
{
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestMainWindow::cleanup()
{
    // Closing would open the exit screen; the window is simply destroyed instead.
    m_window.reset();
}

void TestMainWindow::freshWindow()
{
    frmMain &w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("CV Veyloom v1.0"));
    QCOMPARE(w.centralWidget()->size(), QSize(500, 390));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
        Qt::WindowMinimizeButtonHint);
    QCOMPARE(current(), w.fraStep[0]);
    QCOMPARE(w.fraStep[0]->title() + u'|' + w.fraStep[1]->title() + u'|' + w.fraStep[2]->title(),
        QStringLiteral("Personal Details|Veyloom Question|Veyloom Result"));
    QString captions;
    for (QCheckBox *box : w.chkOption)
        captions
            += box->text() + (box->isChecked() ? QStringLiteral(" ticked|") : QStringLiteral("|"));
    QCOMPARE(captions,
        QStringLiteral("Root Chakra (Muladhara)|Sacral Chakra (Swadhisthanna)|Navel Chakra "
                       "(Manipura)|Heart Chakra (Anahata)|Throat Chakra (Vishuddha)|Third Eye "
                       "Chakra (Ajna)|Crown Chakra (Sahasrara)|"));
    QVERIFY(w.txtName->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), w.txtName);
    QCOMPARE(w.lblQNo->text(), QStringLiteral("Question No"));
    QCOMPARE(w.cmdProceed->text(), QStringLiteral("&Get Veyloom Reading"));
    QVERIFY(w.RTB->isReadOnly());
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setStyleHint(QFont::SansSerif);
    QCOMPARE(w.font().family(), QFontInfo(verdana).family());
    QCOMPARE(w.windowIcon().availableSizes(), QList<QSize>({ QSize(16, 16), QSize(32, 32) }));
    QCOMPARE(w.font().pointSizeF(), 8.25);
    QVERIFY(w.lblCobrand->text().contains(QStringLiteral("name &  link here. See \"Help\"")));
    QCOMPARE(w.Label14->text(),
        QStringLiteral("The Most Popular Online Mystic Discussion Forum. Click Here To Visit "
                       "www.orravine.com Now."));
    for (QLabel *symbol : w.picDisp)
        QCOMPARE(symbol->pixmap().size(), symbol->size());
    QCOMPARE(w.fraStep[0]->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void TestMainWindow::geometry_data()
{
    QTest::addColumn<QRect>("expected"); // of the control the row names
    QTest::newRow("Label14") << QRect(85, 0, 330, 29);
    QTest::newRow("screens") << QRect(0, 32, 500, 300);
    QTest::newRow("fraFullBrand") << QRect(0, 332, 500, 57);
    QTest::newRow("lblCobrand") << QRect(8, 11, 483, 43);
    QTest::newRow("chkOption6") << QRect(16, 208, 233, 20);
    QTest::newRow("picDisp0") << QRect(62, 256, 40, 30);
    QTest::newRow("picDisp6") << QRect(398, 246, 40, 40);
    QTest::newRow("txtName") << QRect(272, 144, 217, 23);
    QTest::newRow("cmdProceed") << QRect(272, 193, 217, 27);
    QTest::newRow("lblQuestion") << QRect(47, 72, 406, 30);
    QTest::newRow("optAnswer2") << QRect(50, 176, 400, 17);
    QTest::newRow("cmdNext") << QRect(384, 224, 80, 27);
    QTest::newRow("RTB") << QRect(8, 24, 483, 225);
    QTest::newRow("cmdMain") << QRect(383, 260, 100, 27);
}

void TestMainWindow::geometry()
{
    QFETCH(QRect, expected);
    auto *widget = m_window->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), expected);
}

void TestMainWindow::menus()
{
    QStringList captions;
    for (QAction *action : m_window->menuBar()->actions()) {
        if (action->isVisible())
            captions << action->text();
    }
    QCOMPARE(captions, (QStringList { QStringLiteral("&File"), QStringLiteral("&Help") }));
    QVERIFY(!m_window->mnuMakeMoney->isVisible() && !m_window->mnuMakeMoney->isEnabled());
    QCOMPARE(m_window->mnuMakeMoney->text(), QStringLiteral("Make Money &Online"));

    QStringList help;
    for (QAction *action : m_window->mnuHelp->actions()) {
        help << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(help,
        (QStringList { QStringLiteral("&Online Help"), QStringLiteral("&Visit Us Online"),
            QStringLiteral("-"), QStringLiteral("Check for Software &Update"), QStringLiteral("-"),
            QStringLiteral("&About Software") }));
    QCOMPARE(m_window->mnuFile->actions(), QList<QAction *> { m_window->mnuExit });
    QCOMPARE(m_window->mnuExit->text(), QStringLiteral("E&xit"));
}

void TestMainWindow::takeTestWithMouse_data()
{
    QTest::addColumn<std::vector<int>>("tickOrder");
    QTest::newRow("heart, then root") << std::vector<int> { 3, 0 };
    QTest::newRow("all seven") << std::vector<int> { 4, 2, 6, 0, 1, 5, 3 };
}

void TestMainWindow::takeTestWithMouse()
{
    QFETCH(std::vector<int>, tickOrder);
    frmMain &w = *m_window;
    for (int c : tickOrder)
        click(w.chkOption[c]);
    click(w.cmdProceed);
    QCOMPARE(current(), w.fraStep[1]);
    // Yes, No, May Be, then Yes again: each question starts at "Yes" whatever came before.
    const int total = 8 * int(tickOrder.size());
    QSet<QString> asked;
    for (int n = 1; n <= total; ++n) {
        QCOMPARE(w.lblQNo->text(), QStringLiteral("Question %1 of %2").arg(n).arg(total));
        asked << w.lblQuestion->text();
        QVERIFY(w.optAnswer[0]->isChecked());
        if (n % 4 == 2 || n % 4 == 3)
            click(w.optAnswer[n % 4 - 1]);
        QCOMPARE(w.optAnswer[0]->isChecked(), n % 4 < 2);
        click(w.cmdNext);
    }
    QCOMPARE(asked.size(), total);
    QCOMPARE(current(), w.fraStep[2]);
    QCOMPARE(QString::fromStdString(w.testRun().AnswerTrail),
        QStringLiteral("Yes/No/May Be/Yes/").repeated(total / 4));
    QVERIFY(!w.RTB->toPlainText().isEmpty());
}

void TestMainWindow::backToMain()
{
    frmMain &w = *m_window;
    QTest::keyClicks(w.txtName, QStringLiteral("Ravi"));
    click(w.chkOption[1]);
    click(w.chkOption[4]);
    click(w.cmdProceed);
    while (current() == w.fraStep[1]) {
        click(w.optAnswer[1]);
        click(w.cmdNext);
    }
    const QString reading = w.RTB->toPlainText();
    QVERIFY(reading.contains(QStringLiteral("Sacral Chakra (Swadhisthanna) is")));
    QVERIFY(!reading.contains(QStringLiteral("Ravi")));

    QTest::keyClick(&w, Qt::Key_M, Qt::AltModifier);
    QTRY_COMPARE(current(), w.fraStep[0]);
    for (QCheckBox *box : w.chkOption)
        QVERIFY(!box->isChecked());
    QCOMPARE(w.txtName->text(), QStringLiteral("Ravi"));
    QVERIFY(w.testRun().QuestionList.empty() && w.testRun().AnswerTrail.empty());
    QCOMPARE(w.testRun().CurrentQuestion, 16);
    QCOMPARE(w.RTB->toPlainText(), reading);
}

void TestMainWindow::refusesWithNothingTicked()
{
    frmMain &w = *m_window;
    QTest::keyClicks(w.txtName, QStringLiteral("Noor"));
    ModalAnswerer answerer;
    answerer.answerNext();
    click(w.cmdProceed);
    QTRY_COMPARE(answerer.seen, 1);
    QCOMPARE(answerer.text, QStringLiteral("You have to select at least One option"));
    QCOMPARE(answerer.icon, QMessageBox::Critical);
    QCOMPARE(answerer.title, QStringLiteral("CV Veyloom"));
    QCOMPARE(current(), w.fraStep[0]);
    QCOMPARE(w.txtName->text(), QStringLiteral("Noor"));
    QCOMPARE(w.testRun().QuestionList, (std::vector<std::int16_t> { 0, 0 }));
}

void TestMainWindow::keyboardAlone()
{
    frmMain &w = *m_window;
    auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    // The buttons that access keys press. An access key puts its button down and signals the
    // press at once; the click follows after a short press animation.
    auto pressedBy = [&](std::initializer_list<Qt::Key> keys) {
        QObject listener;
        QStringList pressed;
        const auto buttons = w.screens->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons)
            connect(button, &QAbstractButton::pressed, &listener,
                [&pressed, button] { pressed << button->objectName(); });
        for (Qt::Key key : keys)
            QTest::keyClick(&w, key, Qt::AltModifier);
        for (QAbstractButton *button : buttons) {
            if (button->isDown())
                pressed << button->objectName();
        }
        return pressed.join(u' ');
    };
    QCOMPARE(QApplication::focusWidget(), w.txtName);
    // Those of the screens behind the one in front do nothing.
    QCOMPARE(pressedBy({ Qt::Key_N, Qt::Key_M }), QString());
    QCOMPARE(current(), w.fraStep[0]);
    QVERIFY(w.testRun().AnswerTrail.empty());
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.chkOption[1]);
    press(Qt::Key_Space);
    QVERIFY(w.chkOption[1]->isChecked());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.cmdProceed);
    press(Qt::Key_Return);
    QCOMPARE(current(), w.fraStep[1]);

    // Arrow keys move the choice within the answers; Tab and Enter go on.
    QCOMPARE(QApplication::focusWidget(), w.optAnswer[0]);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.cmdNext);
    press(Qt::Key_Enter);
    // Each new question comes with the focus on its selected answer.
    QCOMPARE(QApplication::focusWidget(), w.optAnswer[0]);
    press(Qt::Key_Down);
    press(Qt::Key_Tab);
    QCOMPARE(pressedBy({ Qt::Key_G, Qt::Key_M }), QString());
    QCOMPARE(current(), w.fraStep[1]);
    QCOMPARE(w.lblQNo->text(), QStringLiteral("Question 2 of 8"));
    press(Qt::Key_Return);
    press(Qt::Key_Tab);
    press(Qt::Key_Return);
    // Tab stays within the screen in front and the links in view.
    for (int i = 0; i < 10; ++i) {
        press(Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(w.fraStep[1]->isAncestorOf(focus) || focus == w.Label14 || focus == w.lblFullBrand);
    }
    for (int answered = 4; answered <= 8; ++answered) {
        QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(QString::fromStdString(w.testRun().AnswerTrail).count(u'/'), answered);
        if (answered < 8)
            QCOMPARE(QApplication::focusWidget(), w.optAnswer[0]);
    }
    QCOMPARE(current(), w.fraStep[2]);
    QCOMPARE(QString::fromStdString(w.testRun().AnswerTrail),
        QStringLiteral("May Be/No/") + QStringLiteral("Yes/").repeated(6));
    QCOMPARE(QApplication::focusWidget(), w.RTB);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.cmdMain);
    press(Qt::Key_Return);
    QCOMPARE(current(), w.fraStep[0]);
    QCOMPARE(QApplication::focusWidget(), w.txtName);
}

void TestMainWindow::everyControlIsNamed()
{
    frmAbout about;
    frmExitScreen exitScreen;
    for (QWidget *window :
        std::initializer_list<QWidget *> { m_window.get(), &about, &exitScreen }) {
        for (QWidget *control : window->findChildren<QWidget *>()) {
            // Qt names the parts it adds to a control, such as a view's scroll bars.
            QWidget *part = control;
            while (part != window && !part->objectName().startsWith(u"qt_"))
                part = part->parentWidget();
            if (part != window)
                continue;
            QVERIFY2(!control->objectName().isEmpty(), control->metaObject()->className());
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(),
                qPrintable(control->objectName()));
        }
    }
}

void TestMainWindow::readableOnFixedBackgrounds_data()
{
    // Text on the screens' light grey and the exit screen's white keeps the scheme's colour
    // where it reaches 4.5 : 1 with both (navy: 9.9 and 18), else turns black (white: 1.8 and
    // 1). The reading's dark green needs the same contrast with the view's base.
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("windowText");
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("readingBase");
    QTest::newRow("dark scheme") << QColor(34, 32, 32) << QColor(Qt::white) << QColor(Qt::black)
                                 << QColor(30, 30, 30) << QColor(Qt::white);
    QTest::newRow("light scheme, navy text")
        << QColor(239, 239, 239) << QColor(0, 0, 96) << QColor(0, 0, 96) << QColor(255, 255, 240)
        << QColor(255, 255, 240);
}

void TestMainWindow::readableOnFixedBackgrounds()
{
    QFETCH(QColor, window);
    QFETCH(QColor, windowText);
    QFETCH(QColor, expected);
    QFETCH(QColor, base);
    QFETCH(QColor, readingBase);
    const auto restore
        = qScopeGuard([old = QApplication::palette()] { QApplication::setPalette(old); });
    QPalette scheme(window, window);
    scheme.setColor(QPalette::WindowText, windowText);
    scheme.setColor(QPalette::Base, base);
    QApplication::setPalette(scheme);

    frmMain main;
    frmExitScreen exitScreen;
    QList<QWidget *> texts = { exitScreen.findChild<QWidget *>(QStringLiteral("Label1")),
        exitScreen.findChild<QWidget *>(QStringLiteral("Label2")) };
    for (QGroupBox *screen : main.fraStep)
        texts << screen << screen->findChildren<QWidget *>();
    for (const QWidget *text : texts) {
        QVERIFY(text);
        if (text != main.lblLabel[0]
            && (qobject_cast<const QLabel *>(text) || qobject_cast<const QGroupBox *>(text)
                || qobject_cast<const QCheckBox *>(text)
                || qobject_cast<const QRadioButton *>(text)))
            QCOMPARE(text->palette().color(QPalette::WindowText), expected);
    }
    QCOMPARE(main.RTB->palette().color(QPalette::Base), readingBase);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
