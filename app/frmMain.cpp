#include "frmMain.h"

#include "ApplicationNames.h"
#include "ComposeReading.h"
#include "Controls.h"
#include "LinkLabel.h"
#include "MessageBox.h"
#include "ReadingView.h"
#include "ScreenReader.h"
#include "SkipOnFailure.h"
#include "WebAddresses.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "modHelp.h"
#include "modVeyloom.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>

using namespace Qt::StringLiterals;
using Controls::add;
using Style::Font;

namespace {

const QString CoBrandText = u"Co-brand this software for your site.  Increase loyalty and traffic "
                            "to your site. Put your site's name &&  link here. See \"Help\" for "
                            "details. Click Here for more info on co-branding."_s;
const QString FullBrandText = u"Home Business Opportunity. Start your own Internet business and "
                              "make money online. Get this software fully branded for your "
                              "website. Click here for more details."_s;

// The chakra symbols, with what a screen reader says for each. Their bottom edges line up; the
// first two are smaller than the rest.
const std::pair<QRect, const char *> Symbols[] = {
    { { 930, 3840, 600, 450 }, "Rainbow fan of petals" },
    { { 1770, 3765, 600, 525 }, "Indigo symbol with two petals" },
    { { 2610, 3690, 600, 600 }, "Violet symbol of many petals" },
    { { 3450, 3690, 600, 600 }, "Green six-pointed star in a circle of petals" },
    { { 4290, 3690, 600, 600 }, "Blue triangle in a circle of petals" },
    { { 5130, 3690, 600, 600 }, "Orange symbol of petals" },
    { { 5970, 3690, 600, 600 }, "Yellow circle of petals with a triangle" },
};

// The stack of screens shows one screen at a time, which is all a user meets of it: to a screen
// reader it is a plain container of the screens, which carry the names, rather than Qt's layered
// pane, which readers announce with a count of its items.
QAccessibleInterface *screenStackAccessible(const QString &className, QObject *object)
{
    if (className != u"QStackedWidget")
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Client);
}

LinkLabel *addLinkLabel(QWidget *parent, const QString &name, const QRect &place,
    const QString &text, const QString &address)
{
    auto *label = add<LinkLabel>(parent, name, place, Font::Link, text);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->openOnClick(address);
    return label;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Controls::FixedFrame | Qt::WindowMinimizeButtonHint)
{
    auto *client = add<QWidget>(
        this, { u"client"_s, ApplicationNames::Title }, { 0, 0, 7500, 5850 }, Font::Window);
    // The window's own background is the desktop's colour for a window's content.
    client->setAutoFillBackground(true);
    Controls::setColours(client, { { QPalette::Window, client->palette().color(QPalette::Base) } });
    setCentralWidget(client);
    Controls::setUpWindow(*this, u"frmMain"_s, *client, 7500, 5850);

    createMenus();

    Label14 = addLinkLabel(client, u"Label14"_s, { 1275, 0, 4950, 435 },
        u"The Most Popular Online Mystic Discussion Forum. Click Here To Visit "_s
            + WebAddresses::MainHost + u" Now."_s,
        WebAddresses::HomePage);

    [[maybe_unused]] static const bool installed
        = (QAccessible::installFactory(screenStackAccessible), true);
    screens = add<QStackedWidget>(
        client, { u"screens"_s, u"Chakra test"_s }, { 0, 480, 7500, 4500 }, Font::Window);
    const QString captions[]
        = { u"Personal Details"_s, u"Veyloom Question"_s, u"Veyloom Result"_s };
    for (int i = 0; i < 3; ++i) {
        fraStep[i] = add<QGroupBox>(screens, u"fraStep%1"_s.arg(i), { 0, 0, 7500, 4500 },
            i == 0 ? Font::FirstScreenCaption : Font::Control, captions[i]);
        Controls::fixBackground(fraStep[i], Style::Colour::ScreenBackground);
        screens->addWidget(fraStep[i]);
    }
    createPersonalDetailsScreen(fraStep[0]);
    createQuestionScreen(fraStep[1]);
    createResultScreen(fraStep[2]);
    createOfferPanel(client);
    // Enter presses the focused button, as Space does.
    for (QPushButton *button : { cmdProceed, cmdNext, cmdMain })
        button->setAutoDefault(true);
    // Tab comes to the links after the screen's own controls, before it goes round to them
    // again: the banner, then the offer.
    QWidget::setTabOrder(Label14, lblCobrand);
    QWidget::setTabOrder(lblCobrand, lblFullBrand);

    bringScreenToFront(Screen::PersonalDetails);
}

void frmMain::createMenus()
{
    const auto named = [](auto *entry, const QString &name) {
        entry->setObjectName(name);
        return entry;
    };
    named(menuBar(), u"menuBar"_s)->setAccessibleName(u"Menu bar"_s);
    mnuFile = named(menuBar()->addMenu(u"&File"_s), u"mnuFile"_s);
    mnuFile->setAccessibleName(u"File"_s);
    mnuExit = named(mnuFile->addAction(u"E&xit"_s), u"mnuExit"_s);
    connectStep(mnuExit, &QAction::triggered, this, [this] { close(); });

    mnuHelp = named(menuBar()->addMenu(u"&Help"_s), u"mnuHelp"_s);
    mnuHelp->setAccessibleName(u"Help"_s);
    auto addLink = [&](const QString &name, const QString &caption, const QString &address) {
        QAction *action = named(mnuHelp->addAction(caption), name);
        connectStep(
            action, &QAction::triggered, this, [address] { modHelp::OpenWebPage(address); });
        return action;
    };
    mnuOnline = addLink(u"mnuOnline"_s, u"&Online Help"_s, WebAddresses::OnlineHelp);
    mnuVisit = addLink(u"mnuVisit"_s, u"&Visit Us Online"_s, WebAddresses::HomePage);
    mnuHelp->addSeparator();
    mnuUpdate = addLink(u"mnuUpdate"_s, u"Check for Software &Update"_s, WebAddresses::Download);
    mnuHelp->addSeparator();
    mnuAbout = named(mnuHelp->addAction(u"&About Software"_s), u"mnuAbout"_s);
    connectStep(mnuAbout, &QAction::triggered, this, [this] { showAbout(); });

    // Kept for builds that carry the offer in the menu bar; never shown in this one.
    mnuMakeMoney = named(menuBar()->addAction(u"Make Money &Online"_s), u"mnuMakeMoney"_s);
    mnuMakeMoney->setVisible(false);
    mnuMakeMoney->setEnabled(false);
    connectStep(mnuMakeMoney, &QAction::triggered, this,
        [] { modHelp::OpenWebPage(WebAddresses::FullyBranded); });
}

void frmMain::createPersonalDetailsScreen(QGroupBox *screen)
{
    lblLabel[1] = Controls::addParagraph(screen, u"lblLabel1"_s, { 240, 480, 3255, 495 },
        Font::Control, u"Choose one of the following options."_s);
    for (int i = 0; i < modVeyloom::ChakraCount; ++i) {
        chkOption[i]
            = add<QCheckBox>(screen, u"chkOption%1"_s.arg(i), { 240, 960 + 360 * i, 3500, 300 },
                Font::Control, QString::fromUtf8(modVeyloom::kChakraNames[i]));
    }
    for (int i = 0; i < modVeyloom::ChakraCount; ++i) {
        const auto &[place, description] = Symbols[i];
        picDisp[i] = add<QLabel>(
            screen, { u"picDisp%1"_s.arg(i), QLatin1String(description) }, place, Font::Control);
        picDisp[i]->setPixmap(QPixmap::fromImage(Style::sharpPicture(
            u":/chakras/chakra%1.jpg"_s.arg(i), picDisp[i]->devicePixelRatio())));
    }
    lblLabel[2]
        = Controls::addParagraph(screen, u"lblLabel2"_s, { 4080, 480, 3255, 1215 }, Font::Control,
            u"Take the Chakras Test to know which Chakras are open or closed. Know more about the "
            "relation between the Chakras and the Rune Stones with this software."_s);
    // Read with the screen when it appears; UI Automation readers take it from its description.
    screen->setAccessibleDescription(lblLabel[1]->text() + u' ' + lblLabel[2]->text());
    lblLabel[0]
        = add<QLabel>(screen, u"lblLabel0"_s, { 4080, 1920, 0, 0 }, Font::Control, u"Name"_s);
    Controls::setTextColour(lblLabel[0], Style::Colour::FixedText);
    lblLabel[0]->adjustSize();

    txtName = add<QLineEdit>(
        screen, { u"txtName"_s, u"Name"_s }, { 4080, 2160, 3255, 350 }, Font::Control);
    cmdProceed = add<QPushButton>(screen, u"cmdProceed"_s, { 4080, 2895, 3255, 400 }, Font::Control,
        u"&Get Veyloom Reading"_s);
    connectStep(cmdProceed, &QPushButton::clicked, this, [this] { StartTest(m_run, *this); });

    QWidget::setTabOrder(txtName, cmdProceed);
    QWidget *previous = cmdProceed;
    for (QCheckBox *box : chkOption) {
        QWidget::setTabOrder(previous, box);
        previous = box;
    }
}

void frmMain::createQuestionScreen(QGroupBox *screen)
{
    lblQNo = add<QLabel>(screen, u"lblQNo"_s, { 5625, 600, 0, 0 }, Font::Control, u"Question No"_s);
    lblQNo->adjustSize();

    lblQuestion = add<QLabel>(screen, u"lblQuestion"_s, { 705, 1080, 6090, 450 }, Font::Question);
    lblQuestion->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblQuestion->setWordWrap(true);

    auto *group = new QButtonGroup(screen);
    const QString captions[] = { u"Yes"_s, u"No"_s, u"May Be"_s };
    for (int i = 0; i < 3; ++i) {
        optAnswer[i] = add<QRadioButton>(screen, u"optAnswer%1"_s.arg(i),
            { 750, 1920 + 360 * i, 6000, 250 }, Font::Control, captions[i]);
        group->addButton(optAnswer[i], i);
        // Tab enters the answers at the chosen one; the arrow keys move between them.
        connect(
            optAnswer[i], &QRadioButton::toggled, optAnswer[i], [button = optAnswer[i]](bool on) {
                button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
            });
    }
    optAnswer[0]->setChecked(true);
    optAnswer[1]->setFocusPolicy(Qt::ClickFocus);
    optAnswer[2]->setFocusPolicy(Qt::ClickFocus);

    cmdNext = add<QPushButton>(
        screen, u"cmdNext"_s, { 5760, 3360, 1200, 400 }, Font::Control, u"&Next"_s);
    // Its access key gives it the focus as a click does, so that the answer of the next question
    // takes the focus from it: a screen reader says a question as its answer takes the focus,
    // and would say nothing of a question that came while the focus stayed on "Yes".
    connect(cmdNext, &QPushButton::pressed, cmdNext, [button = cmdNext] {
        if (!button->hasFocus())
            button->setFocus(Qt::ShortcutFocusReason);
    });
    connectStep(cmdNext, &QPushButton::clicked, this, [this] { NextQuestion(m_run, *this); });
}

void frmMain::createResultScreen(QGroupBox *screen)
{
    RTB = add<ReadingView>(
        screen, { u"RTB"_s, u"Reading"_s }, { 120, 360, 7245, 3375 }, Font::Window);
    // Screen readers that walk the view meet the parts of its scroll area too, which Qt leaves
    // unnamed.
    RTB->viewport()->setAccessibleName(RTB->accessibleName());
    for (QScrollBar *bar : { RTB->verticalScrollBar(), RTB->horizontalScrollBar() }) {
        const QString name = bar->orientation() == Qt::Vertical ? u"Vertical scroll bar"_s
                                                                : u"Horizontal scroll bar"_s;
        bar->setAccessibleName(name);
        bar->parentWidget()->setAccessibleName(name);
    }
    cmdMain = add<QPushButton>(
        screen, u"cmdMain"_s, { 5745, 3900, 1500, 400 }, Font::Control, u"Back To &Main"_s);
    connectStep(cmdMain, &QPushButton::clicked, this, [this] { ReturnToMain(m_run, *this); });
}

void frmMain::createOfferPanel(QWidget *client)
{
    fraFullBrand = add<QFrame>(
        client, { u"fraFullBrand"_s, u"Offers"_s }, { 0, 4980, 7500, 850 }, Font::Window);
    lblCobrand = addLinkLabel(fraFullBrand, u"lblCobrand"_s, { 120, 165, 7245, 645 },
        LinkLabel::displayText(CoBrandText), WebAddresses::CoBrand);
    lblFullBrand = addLinkLabel(fraFullBrand, u"lblFullBrand"_s, { 120, 165, 7245, 645 },
        FullBrandText, WebAddresses::FullyBranded);
    // The label made last lies in front.
    lblCobrand->hide();
}

void frmMain::bringOfferToFront(bool coBrand)
{
    // Both labels lie on one spot. Only the one in front is shown, so the one behind it can be
    // reached neither by Tab nor by a screen reader.
    LinkLabel *front = coBrand ? lblCobrand : lblFullBrand;
    (coBrand ? lblFullBrand : lblCobrand)->hide();
    front->show();
    front->raise();
}

void frmMain::showAbout()
{
    frmAbout about(this);
    about.exec();
}

bool frmMain::isChakraTicked(int chakra) const
{
    return chkOption.at(chakra)->isChecked();
}

void frmMain::untickChakra(int chakra)
{
    chkOption.at(chakra)->setChecked(false);
}

Answer frmMain::selectedAnswer() const
{
    if (optAnswer[0]->isChecked())
        return Answer::Yes;
    if (optAnswer[1]->isChecked())
        return Answer::No;
    return Answer::MayBe;
}

void frmMain::selectAnswer(Answer answer)
{
    optAnswer.at(static_cast<int>(answer))->setChecked(true);
}

void frmMain::setQuestionCounter(const std::string &text)
{
    lblQNo->setText(QString::fromStdString(text));
    lblQNo->adjustSize();
}

void frmMain::setQuestionText(std::string_view text)
{
    lblQuestion->setText(QString::fromUtf8(text));
    QRadioButton *selected = optAnswer.at(static_cast<int>(selectedAnswer()));
    const QString spoken = lblQNo->text() + u". "_s + lblQuestion->text();
    ScreenReader::setQuestion(lblQuestion, answerWidgets(), selected, spoken);
    // On the screen in front the selected answer takes the focus, where it has not got it.
    if (screens->currentWidget() == fraStep[1])
        selected->setFocus(Qt::OtherFocusReason);
    ScreenReader::announceQuestion(selected, spoken);
}

void frmMain::bringScreenToFront(Screen screen)
{
    // The keyboard follows: to the name, to the chosen answer, or into the reading.
    QWidget *target = RTB;
    switch (screen) {
    case Screen::PersonalDetails:
        target = txtName;
        break;
    case Screen::Question:
        target = optAnswer.at(static_cast<int>(selectedAnswer()));
        break;
    case Screen::Result:
        break;
    }
    // The focus goes straight to the new screen, shown over the old one first: a screen hidden
    // with the focus inside would pass it on to the next control in the tab order, the banner,
    // which a screen reader would announce.
    QWidget *front = fraStep.at(static_cast<int>(screen));
    front->raise();
    front->show();
    target->setFocus();
    screens->setCurrentWidget(front);
}

void frmMain::showInputError(std::string_view text)
{
    MessageBox::showError(this, QString::fromUtf8(text));
}

void frmMain::focusName()
{
    txtName->setFocus();
}

void frmMain::composeReading()
{
    // The view has the focus before the reading comes: a screen reader told of a new text in the
    // control with the focus before it is told of the focus takes the one for the other, and
    // says neither. It reads the reading from its top, where the view puts the caret.
    skipOnFailure([this] { bringScreenToFront(Screen::Result); });
    skipOnFailure([this] { ComposeReading(*RTB, IMG, m_run); });
}

std::array<QWidget *, 3> frmMain::answerWidgets() const
{
    return { optAnswer[0], optAnswer[1], optAnswer[2] };
}

void frmMain::closeEvent(QCloseEvent *event)
{
    skipOnFailure([] {
        auto *exitScreen = new frmExitScreen;
        exitScreen->setAttribute(Qt::WA_DeleteOnClose);
        exitScreen->show();
        // It takes the keyboard, and a screen reader with it, whatever the window manager
        // makes of a window that opens as another closes.
        exitScreen->raise();
        exitScreen->activateWindow();
    });
    event->accept();
}
