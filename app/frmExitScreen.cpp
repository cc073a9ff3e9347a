#include "frmExitScreen.h"

#include "ApplicationNames.h"
#include "Guarded.h"
#include "LinkLabel.h"
#include "MessageBox.h"
#include "Referral.h"
#include "Shutdown.h"
#include "Style.h"
#include "WebAddresses.h"
#include "modHelp.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {
constexpr int NameMaxLength = 100;
// The longest address a mail system accepts.
constexpr int EmailMaxLength = 254;

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The panels are dark blue with white text; fields and buttons inside them keep the desktop's
// own colours rather than inheriting white text on a white field.
void keepDesktopColours(QWidget *widget)
{
    QPalette palette = QApplication::palette(widget);
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            palette.setBrush(g, r, palette.brush(g, r));
        }
    }
    widget->setPalette(palette);
}

QGroupBox *makePanel(
    const QString &name, const QString &caption, const QRect &rect, QWidget *parent)
{
    auto *panel = new QGroupBox(caption, parent);
    panel->setObjectName(name);
    panel->setAccessibleName(caption);
    panel->setGeometry(rect);
    panel->setFont(Style::verdana(9.75, true));
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Style::DarkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    // Styles take a group box's caption colour from its text role.
    palette.setColor(QPalette::Text, Qt::white);
    panel->setPalette(palette);
    return panel;
}

QLineEdit *makeField(
    const QString &name, const QString &text, int maxLength, const QRect &rect, QWidget *parent)
{
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setAccessibleName(text);
    Referral::setCharacterLimit(field, maxLength);
    field->setGeometry(rect);
    field->setFont(Style::verdana());
    keepDesktopColours(field);
    return field;
}
} // namespace

// Topmost from its creation on, so that becoming topmost never moves, resizes or activates it.
frmExitScreen::frmExitScreen(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
            | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"frmExitScreen"_s);
    setWindowTitle(ApplicationNames::Caption);
    setWindowIcon(Style::applicationIcon());
    setFixedSize(Style::px(11115), Style::px(4725));
    setFont(Style::verdana());
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, Qt::white);

    buildWindow();
    buildReferralForm();
    buildDownloadPanel();

    setTabOrder(m_cmdClose, m_check1);
    setTabOrder(m_check1, m_txtName);
    setTabOrder(m_txtName, m_txtEmail);
    setTabOrder(m_txtEmail, m_txtFriendName);
    setTabOrder(m_txtFriendName, m_txtFriendEmail);
    setTabOrder(m_txtFriendEmail, m_cmdSubmit);
    m_cmdClose->setFocus();

    Style::centreOnScreen(*this);
}

QStringList frmExitScreen::appealTexts()
{
    static const QString patterns[] = {
        u"Help us maintain and improve our programs by visiting our discussion forum at %1 "
        "regularly. Join the conversations there and tell us what you would like to see next."_s,
        u"Our programs are kept up to date and developed further with the help of users like "
        "you. Please drop by the online forum at %1 often and take part in the discussions."_s,
        u"Would you like this program to keep getting better? Visit our forum at %1 on a regular "
        "basis and join in the discussions; what you write there guides our work."_s,
        u"You can support the upkeep and development of our programs without spending a penny. "
        "Just visit the discussion forum at %1 regularly and take an active part in it."_s,
    };
    QStringList texts;
    for (const QString &pattern : patterns)
        texts.append(pattern.arg(WebAddresses::MainHost));
    return texts;
}

void frmExitScreen::buildWindow()
{
    m_cmdClose = new QPushButton(u"E&xit"_s, this);
    m_cmdClose->setObjectName(u"cmdClose"_s);
    m_cmdClose->setAccessibleName(u"Exit"_s);
    m_cmdClose->setGeometry(Style::twipsRect(6000, 2760, 1245, 375));
    connect(m_cmdClose, &QPushButton::clicked, this, [] { skipOnFailure(UnloadAllAndEnd); });

    m_picture1 = new QLabel(this);
    m_picture1->setObjectName(u"Picture1"_s);
    m_picture1->setAccessibleName(u"CV Veyloom icon"_s);
    m_picture1->setGeometry(Style::twipsRect(360, 120, 540, 540));
    m_picture1->setPixmap(Style::iconPicture(m_picture1->devicePixelRatio()));
    m_picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_label1 = new QLabel(ApplicationNames::Caption, this);
    m_label1->setObjectName(u"Label1"_s);
    m_label1->setAccessibleName(m_label1->text());
    QFont titleFont(u"MS Sans Serif"_s);
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPointSize(18);
    m_label1->setFont(titleFont);
    m_label1->setGeometry(Style::twipsRect(1080, 240, 3810, 435));
    m_label1->adjustSize();

    const QStringList appeals = appealTexts();
    m_label2 = new QLabel(appeals.at(QRandomGenerator::global()->bounded(appeals.size())), this);
    m_label2->setObjectName(u"Label2"_s);
    m_label2->setAccessibleName(m_label2->text());
    m_label2->setFont(Style::verdana(9.75, true));
    m_label2->setWordWrap(true);
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label2->setGeometry(Style::twipsRect(120, 840, 6975, 1095));

    m_check1 = new QCheckBox(u"Click Here To Visit "_s + WebAddresses::MainHost + u" Now"_s, this);
    m_check1->setObjectName(u"Check1"_s);
    m_check1->setAccessibleName(m_check1->text());
    m_check1->setFont(Style::verdana(9.75, true));
    m_check1->setCursor(Qt::PointingHandCursor);
    setColour(m_check1, QPalette::WindowText, Style::TickBlue);
    m_check1->setGeometry(Style::twipsRect(30, 2040, 7185, 555));
    connect(m_check1, &QCheckBox::toggled, this, &frmExitScreen::check1Toggled);
}

void frmExitScreen::buildReferralForm()
{
    m_frame2 = makePanel(
        u"Frame2"_s, u"Refer A Friend"_s, Style::twipsRect(120, 3240, 7065, 1455), this);

    m_txtName = makeField(u"txtName"_s, Referral::NamePlaceholder, NameMaxLength,
        Style::twipsRect(85, 360, 3375, 285), m_frame2);
    m_txtEmail = makeField(u"txtEmail"_s, Referral::EmailPlaceholder, EmailMaxLength,
        Style::twipsRect(3600, 360, 3375, 285), m_frame2);
    m_txtFriendName = makeField(u"txtFriendName"_s, Referral::FriendNamePlaceholder, NameMaxLength,
        Style::twipsRect(85, 720, 3375, 285), m_frame2);
    m_txtFriendEmail = makeField(u"txtFriendEmail"_s, Referral::FriendEmailPlaceholder,
        EmailMaxLength, Style::twipsRect(3600, 720, 3375, 285), m_frame2);

    m_cmdSubmit = new QPushButton(u"Refer A Friend &Now"_s, m_frame2);
    m_cmdSubmit->setObjectName(u"cmdSubmit"_s);
    m_cmdSubmit->setAccessibleName(u"Refer A Friend Now"_s);
    m_cmdSubmit->setFont(Style::verdana(Style::NormalPointSize, true));
    m_cmdSubmit->setGeometry(Style::twipsRect(1920, 1080, 3375, 285));
    keepDesktopColours(m_cmdSubmit);
    connect(m_cmdSubmit, &QPushButton::clicked, this, &frmExitScreen::cmdSubmitClicked);

    // The message lies below the panel's visible area; it is sent as it stands. Tab passes it
    // by, so no one types into a field they cannot see.
    m_txtMessage = new QPlainTextEdit(m_frame2);
    m_txtMessage->setObjectName(u"txtMessage"_s);
    m_txtMessage->setAccessibleName(u"Your Message"_s);
    m_txtMessage->setFont(Style::verdana());
    m_txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtMessage->setTabChangesFocus(true);
    m_txtMessage->setFocusPolicy(Qt::ClickFocus);
    m_txtMessage->setGeometry(Style::twipsRect(4800, 3600, 1815, 495));
    keepDesktopColours(m_txtMessage);
    setFieldText(m_txtMessage, Referral::InitialMessage);

    const QList<QWidget *> fields
        = { m_txtName, m_txtEmail, m_txtFriendName, m_txtFriendEmail, m_txtMessage };
    for (QWidget *field : fields)
        field->installEventFilter(this);
}

void frmExitScreen::buildDownloadPanel()
{
    m_frame6 = makePanel(
        u"Frame6"_s, u"Download Orravine"_s, Style::twipsRect(7320, 120, 3735, 4575), this);

    m_label3 = new QLabel(u"Enjoyed CV Veyloom? Orravine makes many more programs for the "
                          "curious mind. Cast a birth chart or read the planets with our "
                          "astrology software, try a psychic reading, lay out a tarot spread, "
                          "work out the numbers behind your name with numerology, or explore "
                          "the wider occult arts. Follow the link below to browse the whole "
                          "collection and pick the ones that call to you."_s,
        m_frame6);
    m_label3->setObjectName(u"Label3"_s);
    m_label3->setAccessibleName(m_label3->text());
    m_label3->setFont(Style::verdana(9));
    setColour(m_label3, QPalette::WindowText, Qt::white);
    m_label3->setWordWrap(true);
    m_label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label3->setGeometry(Style::twipsRect(120, 360, 3495, 3855));

    m_lblGoToHome = new LinkLabel(u"Click Here To Visit Orravine"_s, m_frame6);
    m_lblGoToHome->setObjectName(u"lblGoToHome"_s);
    m_lblGoToHome->setAccessibleName(m_lblGoToHome->text());
    m_lblGoToHome->setFont(Style::verdana(Style::NormalPointSize, true));
    setColour(m_lblGoToHome, QPalette::WindowText, Style::Yellow);
    m_lblGoToHome->setGeometry(Style::twipsRect(75, 4250, 3585, 210));
    connect(m_lblGoToHome, &LinkLabel::clicked, this,
        [] { skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::OtherPrograms); }); });
}

QString frmExitScreen::fieldText(QObject *field) const
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        return line->text();
    if (auto *text = qobject_cast<QPlainTextEdit *>(field)) {
        // The editor keeps paragraphs apart with its own separators; the program's line breaks
        // are a carriage return and a line feed.
        QString value = text->document()->toRawText();
        value.replace(QChar::ParagraphSeparator, u"\r\n"_s);
        value.replace(QChar::LineSeparator, u"\r\n"_s);
        return value;
    }
    return {};
}

void frmExitScreen::setFieldText(QObject *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
        plain->setPlainText(text);
}

QString frmExitScreen::placeholderOf(QObject *field) const
{
    if (field == m_txtName)
        return Referral::NamePlaceholder;
    if (field == m_txtEmail)
        return Referral::EmailPlaceholder;
    if (field == m_txtFriendName)
        return Referral::FriendNamePlaceholder;
    if (field == m_txtFriendEmail)
        return Referral::FriendEmailPlaceholder;
    if (field == m_txtMessage)
        return Referral::MessagePlaceholder;
    return {};
}

bool frmExitScreen::refusesSpace(QObject *field) const
{
    return field == m_txtEmail || field == m_txtFriendEmail;
}

bool frmExitScreen::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // A context menu takes the focus only for a moment: putting the placeholder back then
        // would mix it with what the menu pastes.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            break;
        const QString placeholder = placeholderOf(watched);
        if (placeholder.isEmpty())
            break;
        skipOnFailure([&] {
            const QString trimmed = Referral::trimBlanks(fieldText(watched));
            if (event->type() == QEvent::FocusIn && trimmed == placeholder)
                setFieldText(watched, QString());
            else if (event->type() == QEvent::FocusOut && trimmed.isEmpty())
                setFieldText(watched, placeholder);
        });
        break;
    }
    case QEvent::KeyPress:
        if (refusesSpace(watched) && static_cast<QKeyEvent *>(event)->text().contains(u' ')) {
            auto *field = static_cast<QWidget *>(watched);
            skipOnFailure(
                [&] { MessageBox::showError(this, u"Email Address Cannot Contain Space"_s); });
            skipOnFailure([&] {
                field->activateWindow();
                field->setFocus();
            });
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmExitScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    skipOnFailure(UnloadAllAndEnd);
}

void frmExitScreen::check1Toggled(bool checked)
{
    if (!checked)
        return;
    skipOnFailure([this] { m_check1->setChecked(false); });
    skipOnFailure([] { modHelp::OpenWebPage(WebAddresses::HomePage); });
}

void frmExitScreen::cmdSubmitClicked()
{
    Referral::ReferralRecord record;
    skipOnFailure([&] {
        record = Referral::makeRecord(fieldText(m_txtName), fieldText(m_txtEmail),
            fieldText(m_txtMessage), fieldText(m_txtFriendName), fieldText(m_txtFriendEmail));
    });
    bool addressesPass = false;
    skipOnFailure([&] {
        const auto error = Referral::addressError(record);
        addressesPass = !error;
        if (error)
            MessageBox::showError(this, *error);
    });
    if (addressesPass)
        skipOnFailure([&] { Referral::SendReferral(this, record); });
}
