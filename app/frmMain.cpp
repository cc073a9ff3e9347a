#include "frmMain.h"

#include "ApplicationNames.h"
#include "ComposeReading.h"
#include "Guarded.h"
#include "LinkLabel.h"
#include "MessageBox.h"
#include "ReadingView.h"
#include "Style.h"
#include "WebAddresses.h"
#include "WholeAreaButton.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "modHelp.h"
#include "modVeyloom.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

using Style::twipsRect;

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString bannerText()
{
    return QStringLiteral("The Most Popular Online Mystic Discussion Forum. Click Here To Visit ")
        + WebAddresses::MainHost + QStringLiteral(" Now.");
}

const QString CoBrandText = QStringLiteral(
    "Co-brand this software for your site.  Increase loyalty and traffic to your site. Put your "
    "site's name &&  link here. See \"Help\" for details. Click Here for more info on co-branding.");
const QString FullBrandText = QStringLiteral(
    "Home Business Opportunity. Start your own Internet business and make money online. Get this "
    "software fully branded for your website. Click here for more details.");

// Bottom edges of the chakra symbols line up; the first two are smaller than the rest.
constexpr std::array<QRect, 7> SymbolPlaces = {
    twipsRect(930, 3840, 600, 450),
    twipsRect(1770, 3765, 600, 525),
    twipsRect(2610, 3690, 600, 600),
    twipsRect(3450, 3690, 600, 600),
    twipsRect(4290, 3690, 600, 600),
    twipsRect(5130, 3690, 600, 600),
    twipsRect(5970, 3690, 600, 600),
};

QGroupBox *makeScreen(const QString &caption, const QFont &captionFont)
{
    auto *screen = new QGroupBox(caption);
    screen->setFont(captionFont);
    screen->setAutoFillBackground(true);
    QPalette palette = screen->palette();
    palette.setColor(QPalette::Window, Style::LightGrey);
    screen->setPalette(palette);
    return screen;
}

template <typename Control, typename... Args>
Control *place(QWidget *parent, const QRect &geometry, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setFont(Style::verdana(Style::NormalPointSize, true));
    control->setGeometry(geometry);
    return control;
}

LinkLabel *makeLinkLabel(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new LinkLabel(text, parent);
    label->setFont(Style::verdana(Style::NormalPointSize, true, true));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setGeometry(geometry);
    return label;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(ApplicationNames::Caption);
    setWindowIcon(Style::applicationIcon());
    setFont(Style::verdana());

    auto *client = new QWidget;
    client->setFixedSize(Style::px(7500), Style::px(5850));
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    client->setPalette(palette);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    createMenus();

    Label14 = makeLinkLabel(bannerText(), client, twipsRect(1275, 0, 4950, 435));
    connect(Label14, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::HomePage); }); });

    screens = new QStackedWidget(client);
    screens->setGeometry(twipsRect(0, 480, 7500, 4500));
    fraStep[0] = makeScreen(QStringLiteral("Personal Details"), Style::verdana(9, true));
    fraStep[1] = makeScreen(
        QStringLiteral("Veyloom Question"), Style::verdana(Style::NormalPointSize, true));
    fraStep[2] = makeScreen(
        QStringLiteral("Veyloom Result"), Style::verdana(Style::NormalPointSize, true));
    for (QGroupBox *screen : fraStep)
        screens->addWidget(screen);
    createPersonalDetailsScreen(fraStep[0]);
    createQuestionScreen(fraStep[1]);
    createResultScreen(fraStep[2]);
    createOfferPanel(client);

    nameControls();
    describeControls();

    bringScreenToFront(Screen::PersonalDetails);
}

void frmMain::describeControls()
{
    // What a screen reader says for the controls that carry no caption of their own.
    mnuFile->setAccessibleName(QStringLiteral("File"));
    mnuHelp->setAccessibleName(QStringLiteral("Help"));
    screens->setAccessibleName(QStringLiteral("Chakra test"));
    fraFullBrand->setAccessibleName(QStringLiteral("Offers"));
    txtName->setAccessibleName(QStringLiteral("Name"));
    RTB->setAccessibleName(QStringLiteral("Reading"));
    const char *symbols[] = {
        "Rainbow fan of petals",
        "Indigo symbol with two petals",
        "Violet symbol of many petals",
        "Green six-pointed star in a circle of petals",
        "Blue triangle in a circle of petals",
        "Orange symbol of petals",
        "Yellow circle of petals with a triangle",
    };
    for (std::size_t i = 0; i < picDisp.size(); ++i)
        picDisp[i]->setAccessibleName(QLatin1String(symbols[i]));
    // Enter presses the focused button, as Space does.
    for (QPushButton *button : { cmdProceed, cmdNext, cmdMain })
        button->setAutoDefault(true);
}

void frmMain::nameControls()
{
    const std::pair<QObject *, const char *> controls[] = {
        { Label14, "Label14" },
        { screens, "screens" },
        { fraFullBrand, "fraFullBrand" },
        { lblCobrand, "lblCobrand" },
        { lblFullBrand, "lblFullBrand" },
        { txtName, "txtName" },
        { cmdProceed, "cmdProceed" },
        { lblQNo, "lblQNo" },
        { lblQuestion, "lblQuestion" },
        { cmdNext, "cmdNext" },
        { RTB, "RTB" },
        { cmdMain, "cmdMain" },
        { mnuFile, "mnuFile" },
        { mnuHelp, "mnuHelp" },
        { mnuExit, "mnuExit" },
        { mnuOnline, "mnuOnline" },
        { mnuVisit, "mnuVisit" },
        { mnuUpdate, "mnuUpdate" },
        { mnuAbout, "mnuAbout" },
        { mnuMakeMoney, "mnuMakeMoney" },
    };
    for (const auto &[control, name] : controls)
        control->setObjectName(QLatin1String(name));
    auto nameArray = [](const auto &array, const char *name) {
        for (std::size_t i = 0; i < array.size(); ++i)
            array[i]->setObjectName(QLatin1String(name) + QString::number(i));
    };
    nameArray(fraStep, "fraStep");
    nameArray(lblLabel, "lblLabel");
    nameArray(chkOption, "chkOption");
    nameArray(picDisp, "picDisp");
    nameArray(optAnswer, "optAnswer");
}

frmMain::~frmMain() = default;

void frmMain::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"));
    connect(mnuExit, &QAction::triggered, this, [this] { skipOnFailure([this] { close(); }); });

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    auto addLink = [this](const QString &caption, const QString &address) {
        QAction *action = mnuHelp->addAction(caption);
        connect(action, &QAction::triggered, this,
            [address] { skipOnFailure([&] { modHelp::OpenWebPage(address); }); });
        return action;
    };
    mnuOnline = addLink(QStringLiteral("&Online Help"), WebAddresses::OnlineHelp);
    mnuVisit = addLink(QStringLiteral("&Visit Us Online"), WebAddresses::HomePage);
    mnuHelp->addSeparator();
    mnuUpdate = addLink(QStringLiteral("Check for Software &Update"), WebAddresses::Download);
    mnuHelp->addSeparator();
    mnuAbout = mnuHelp->addAction(QStringLiteral("&About Software"));
    connect(
        mnuAbout, &QAction::triggered, this, [this] { skipOnFailure([this] { showAbout(); }); });

    // Kept for builds that carry the offer in the menu bar; never shown in this one.
    mnuMakeMoney = menuBar()->addAction(QStringLiteral("Make Money &Online"));
    mnuMakeMoney->setVisible(false);
    mnuMakeMoney->setEnabled(false);
    connect(mnuMakeMoney, &QAction::triggered, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::FullyBranded); }); });
}

void frmMain::createPersonalDetailsScreen(QGroupBox *screen)
{
    lblLabel[1] = place<QLabel>(screen, twipsRect(240, 480, 3255, 495),
        QStringLiteral("Choose one of the following options."));
    lblLabel[1]->setWordWrap(true);
    lblLabel[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (int i = 0; i < modVeyloom::ChakraCount; ++i) {
        chkOption[i] = place<WholeAreaButton<QCheckBox>>(screen,
            twipsRect(240, 960 + 360 * i, 3500, 300), fromUtf8(modVeyloom::kChakraNames[i]));
    }

    for (int i = 0; i < modVeyloom::ChakraCount; ++i) {
        picDisp[i] = place<QLabel>(screen, SymbolPlaces[i]);
        picDisp[i]->setPixmap(QPixmap::fromImage(Style::sharpPicture(
            QStringLiteral(":/chakras/chakra%1.jpg").arg(i), picDisp[i]->devicePixelRatio())));
    }

    lblLabel[2] = place<QLabel>(screen, twipsRect(4080, 480, 3255, 1215),
        QStringLiteral("Take the Chakras Test to know which Chakras are open or closed. Know more "
                       "about the relation between the Chakras and the Rune Stones with this "
                       "software."));
    lblLabel[2]->setWordWrap(true);
    lblLabel[2]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblLabel[0] = place<QLabel>(screen, twipsRect(4080, 1920, 0, 0), QStringLiteral("Name"));
    QPalette black = lblLabel[0]->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblLabel[0]->setPalette(black);
    lblLabel[0]->adjustSize();

    txtName = place<QLineEdit>(screen, twipsRect(4080, 2160, 3255, 350));
    cmdProceed = place<QPushButton>(
        screen, twipsRect(4080, 2895, 3255, 400), QStringLiteral("&Get Veyloom Reading"));
    connect(cmdProceed, &QPushButton::clicked, this,
        [this] { skipOnFailure([this] { StartTest(m_run, *this); }); });

    QWidget::setTabOrder(txtName, cmdProceed);
    QWidget *previous = cmdProceed;
    for (QCheckBox *box : chkOption) {
        QWidget::setTabOrder(previous, box);
        previous = box;
    }
}

void frmMain::createQuestionScreen(QGroupBox *screen)
{
    lblQNo = place<QLabel>(screen, twipsRect(5625, 600, 0, 0), QStringLiteral("Question No"));
    lblQNo->adjustSize();

    lblQuestion = place<QLabel>(screen, twipsRect(705, 1080, 6090, 450));
    lblQuestion->setFont(Style::verdana(9, true));
    lblQuestion->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblQuestion->setWordWrap(true);

    auto *group = new QButtonGroup(screen);
    const QString captions[]
        = { QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("May Be") };
    for (int i = 0; i < 3; ++i) {
        optAnswer[i] = place<WholeAreaButton<QRadioButton>>(
            screen, twipsRect(750, 1920 + 360 * i, 6000, 250), captions[i]);
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

    cmdNext = place<QPushButton>(screen, twipsRect(5760, 3360, 1200, 400), QStringLiteral("&Next"));
    connect(cmdNext, &QPushButton::clicked, this,
        [this] { skipOnFailure([this] { NextQuestion(m_run, *this); }); });
}

void frmMain::createResultScreen(QGroupBox *screen)
{
    RTB = new ReadingView(screen);
    RTB->setGeometry(twipsRect(120, 360, 7245, 3375));
    RTB->setFont(Style::verdana());
    cmdMain = place<QPushButton>(
        screen, twipsRect(5745, 3900, 1500, 400), QStringLiteral("Back To &Main"));
    connect(cmdMain, &QPushButton::clicked, this,
        [this] { skipOnFailure([this] { ReturnToMain(m_run, *this); }); });
}

void frmMain::createOfferPanel(QWidget *client)
{
    fraFullBrand = new QFrame(client);
    fraFullBrand->setGeometry(twipsRect(0, 4980, 7500, 850));
    lblCobrand = makeLinkLabel(
        LinkLabel::displayText(CoBrandText), fraFullBrand, twipsRect(120, 165, 7245, 645));
    lblFullBrand = makeLinkLabel(FullBrandText, fraFullBrand, twipsRect(120, 165, 7245, 645));
    // Opaque, so that the label in front hides the one behind it.
    for (QLabel *label : { lblCobrand, lblFullBrand })
        label->setAutoFillBackground(true);
    connect(lblCobrand, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::CoBrand); }); });
    connect(lblFullBrand, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::FullyBranded); }); });
}

void frmMain::bringOfferToFront(bool coBrand)
{
    // Both labels lie on the same spot; only the one in front can be seen and clicked.
    (coBrand ? lblCobrand : lblFullBrand)->raise();
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
    lblQuestion->setText(fromUtf8(text));
}

void frmMain::bringScreenToFront(Screen screen)
{
    screens->setCurrentIndex(static_cast<int>(screen));
    // The keyboard follows: to the name, to the chosen answer, or into the reading.
    switch (screen) {
    case Screen::PersonalDetails:
        txtName->setFocus();
        break;
    case Screen::Question:
        for (QRadioButton *answer : optAnswer) {
            if (answer->isChecked())
                answer->setFocus();
        }
        break;
    case Screen::Result:
        RTB->setFocus();
        break;
    }
}

void frmMain::showInputError(std::string_view text)
{
    MessageBox::showError(this, fromUtf8(text));
}

void frmMain::focusName()
{
    txtName->setFocus();
}

void frmMain::composeReading()
{
    skipOnFailure([this] { bringScreenToFront(Screen::Result); });
    skipOnFailure([this] { ComposeReading(*RTB, IMG, m_run); });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    skipOnFailure([] {
        auto *exitScreen = new frmExitScreen;
        exitScreen->setAttribute(Qt::WA_DeleteOnClose);
        exitScreen->show();
    });
    event->accept();
}
