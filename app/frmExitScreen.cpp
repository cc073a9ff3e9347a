#include "frmExitScreen.h"

#include "ApplicationNames.h"
#include "Controls.h"
#include "LinkLabel.h"
#include "MessageBox.h"
#include "Referral.h"
#include "Shutdown.h"
#include "SkipOnFailure.h"
#include "WebAddresses.h"
#include "modHelp.h"

#include <QAccessibleWidget>
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
#include <QScopedValueRollback>

using namespace Qt::StringLiterals;
using Controls::add;
using Style::Font;
namespace Colour = Style::Colour;

namespace {
constexpr int NameMaxLength = 100;
// The longest address a mail system accepts.
constexpr int EmailMaxLength = 254;

QString fieldText(const QWidget *field)
{
    if (auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (auto *text = qobject_cast<const QPlainTextEdit *>(field)) {
        // The editor keeps paragraphs apart with its own separators; the program's line breaks
        // are a carriage return and a line feed.
        QString value = text->document()->toRawText();
        value.replace(QChar::ParagraphSeparator, u"\r\n"_s);
        value.replace(QChar::LineSeparator, u"\r\n"_s);
        return value;
    }
    return {};
}

void setFieldText(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
        plain->setPlainText(text);
}

// While Tab moves the focus, the field it comes to is emptied after the move.
bool emptyingLater = false;

// The rules of one field of the form: its placeholder goes when the field takes the focus and
// comes back when the field is left empty, and an address field refuses the space key.
class FieldRules : public QObject
{
    Q_OBJECT

public:
    FieldRules(QWidget *field, const QString &placeholder, bool refusesSpace)
        : QObject(field)
        , m_placeholder(placeholder)
        , m_refusesSpace(refusesSpace)
    {
        field->installEventFilter(this);
    }

    // Empties the field of its placeholder.
    void emptyPlaceholder()
    {
        auto *field = static_cast<QWidget *>(parent());
        if (Referral::trimBlanks(fieldText(field)) == m_placeholder)
            setFieldText(field, QString());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *field = static_cast<QWidget *>(watched);
        const bool focusIn = event->type() == QEvent::FocusIn;
        // A context menu takes the focus only for a moment: putting the placeholder back then
        // would mix it with what the menu pastes.
        if ((focusIn || event->type() == QEvent::FocusOut)
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            skipOnFailure([&] {
                const QString trimmed = Referral::trimBlanks(fieldText(field));
                if (focusIn && trimmed == m_placeholder) {
                    // Tab empties it after the move (frmExitScreen::focusNextPrevChild).
                    if (!emptyingLater)
                        setFieldText(field, QString());
                } else if (!focusIn && trimmed.isEmpty()) {
                    setFieldText(field, m_placeholder);
                }
            });
        } else if (event->type() == QEvent::KeyPress && m_refusesSpace
            && static_cast<QKeyEvent *>(event)->text().contains(u' ')) {
            skipOnFailure([&] {
                MessageBox::showError(field->window(), u"Email Address Cannot Contain Space"_s);
            });
            skipOnFailure([&] {
                field->activateWindow();
                field->setFocus();
            });
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_placeholder;
    bool m_refusesSpace;
};

// A text field placed where the window never shows it. A screen reader is told neither of it
// nor of its scroll bars; to the program it is a field like any other.
class OutOfSightField : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit OutOfSightField(QWidget *parent)
        : QPlainTextEdit(parent)
    {
        static const bool accessible = [] {
            QAccessible::installFactory(&OutOfSightField::accessible);
            return true;
        }();
        Q_UNUSED(accessible);
    }

private:
    class Accessible : public QAccessibleWidget
    {
    public:
        using QAccessibleWidget::QAccessibleWidget;
        QAccessible::State state() const override
        {
            QAccessible::State state = QAccessibleWidget::state();
            state.invisible = true;
            state.offscreen = true;
            return state;
        }
        int childCount() const override { return 0; }
        QAccessibleInterface *child(int) const override { return nullptr; }
    };

    static QAccessibleInterface *accessible(const QString &className, QObject *object)
    {
        if (className == QLatin1String(staticMetaObject.className()))
            return new Accessible(static_cast<QWidget *>(object), QAccessible::EditableText);
        return nullptr;
    }
};

QGroupBox *addPanel(
    QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
    auto *panel = add<QGroupBox>(parent, { name, caption }, place, Font::Appeal, caption);
    panel->setAutoFillBackground(true);
    // Styles take a group box's caption colour from one text role or the other. The fields and
    // buttons inside keep the desktop's colours, rather than white text on a white field.
    Controls::setColours(panel,
        { { QPalette::Window, Colour::PanelBackground },
            { QPalette::WindowText, Colour::PanelText }, { QPalette::Text, Colour::PanelText } });
    return panel;
}

QLineEdit *addField(QWidget *panel, const QString &name, const QString &placeholder,
    const QRect &place, int maxLength, bool refusesSpace = false)
{
    auto *field = add<QLineEdit>(panel, { name, placeholder }, place, Font::Window, placeholder);
    Referral::setCharacterLimit(field, maxLength);
    Controls::keepDesktopColours(field);
    new FieldRules(field, placeholder, refusesSpace);
    return field;
}
} // namespace

// Topmost from its creation on, so that becoming topmost never moves, resizes or activates it.
frmExitScreen::frmExitScreen(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Controls::FixedFrame
            | Qt::WindowStaysOnTopHint)
{
    Controls::setUpWindow(*this, u"frmExitScreen"_s, *this, 11115, 4725);
    Controls::fixBackground(this, Colour::ExitBackground);

    buildWindow();
    buildReferralForm();
    buildDownloadPanel();

    QWidget *const order[] = { m_cmdClose, m_check1, m_txtName, m_txtEmail, m_txtFriendName,
        m_txtFriendEmail, m_cmdSubmit };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_cmdClose->setFocus();

    Controls::centreOnScreen(*this);
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
    m_cmdClose = add<QPushButton>(
        this, { u"cmdClose"_s, u"Exit"_s }, { 6000, 2760, 1245, 375 }, Font::Window, u"E&xit"_s);
    connectStep(m_cmdClose, &QPushButton::clicked, this, &UnloadAllAndEnd);

    auto *picture1 = add<QLabel>(
        this, { u"Picture1"_s, u"CV Veyloom icon"_s }, { 360, 120, 540, 540 }, Font::Window);
    picture1->setPixmap(Controls::iconPicture(picture1->devicePixelRatio()));
    picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *label1 = add<QLabel>(this, { u"Label1"_s, ApplicationNames::Caption },
        { 1080, 240, 3810, 435 }, Font::ExitTitle, ApplicationNames::Caption);
    label1->adjustSize();

    const QStringList appeals = appealTexts();
    const QString appeal = appeals.at(QRandomGenerator::global()->bounded(appeals.size()));
    Controls::addParagraph(
        this, { u"Label2"_s, appeal }, { 120, 840, 6975, 1095 }, Font::Appeal, appeal);
    // A screen reader says the window's description as the window appears.
    setAccessibleDescription(appeal);

    const QString visit = u"Click Here To Visit "_s + WebAddresses::MainHost + u" Now"_s;
    m_check1 = add<QCheckBox>(
        this, { u"Check1"_s, visit }, { 30, 2040, 7185, 555 }, Font::Appeal, visit);
    m_check1->setCursor(Qt::PointingHandCursor);
    m_check1->setAccessibleDescription(
        u"Opens "_s + WebAddresses::MainHost + u" in your web browser."_s);
    Controls::setTextColour(m_check1, Colour::ForumLink);
    connect(m_check1, &QCheckBox::toggled, this, &frmExitScreen::check1Toggled);
}

void frmExitScreen::buildReferralForm()
{
    auto *frame2 = addPanel(this, u"Frame2"_s, u"Refer A Friend"_s, { 120, 3240, 7065, 1455 });
    m_txtName = addField(
        frame2, u"txtName"_s, Referral::NamePlaceholder, { 85, 360, 3375, 285 }, NameMaxLength);
    m_txtEmail = addField(frame2, u"txtEmail"_s, Referral::EmailPlaceholder,
        { 3600, 360, 3375, 285 }, EmailMaxLength, true);
    m_txtFriendName = addField(frame2, u"txtFriendName"_s, Referral::FriendNamePlaceholder,
        { 85, 720, 3375, 285 }, NameMaxLength);
    m_txtFriendEmail = addField(frame2, u"txtFriendEmail"_s, Referral::FriendEmailPlaceholder,
        { 3600, 720, 3375, 285 }, EmailMaxLength, true);

    m_cmdSubmit = add<QPushButton>(frame2, { u"cmdSubmit"_s, u"Refer A Friend Now"_s },
        { 1920, 1080, 3375, 285 }, Font::Control, u"Refer A Friend &Now"_s);
    Controls::keepDesktopColours(m_cmdSubmit);
    connect(m_cmdSubmit, &QPushButton::clicked, this, &frmExitScreen::cmdSubmitClicked);

    // The message lies below the panel's visible area; it is sent as it stands. Tab passes it
    // by, so no one types into a field they cannot see.
    m_txtMessage = add<OutOfSightField>(frame2, { u"txtMessage"_s, Referral::MessagePlaceholder },
        { 4800, 3600, 1815, 495 }, Font::Window);
    m_txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtMessage->setTabChangesFocus(true);
    m_txtMessage->setFocusPolicy(Qt::ClickFocus);
    Controls::keepDesktopColours(m_txtMessage);
    setFieldText(m_txtMessage, Referral::InitialMessage);
    new FieldRules(m_txtMessage, Referral::MessagePlaceholder, false);
}

void frmExitScreen::buildDownloadPanel()
{
    auto *frame6 = addPanel(this, u"Frame6"_s, u"Download Orravine"_s, { 7320, 120, 3735, 4575 });

    const QString invitation = u"Enjoyed CV Veyloom? Orravine makes many more programs for the "
                               "curious mind. Cast a birth chart or read the planets with our "
                               "astrology software, try a psychic reading, lay out a tarot "
                               "spread, work out the numbers behind your name with numerology, "
                               "or explore the wider occult arts. Follow the link below to "
                               "browse the whole collection and pick the ones that call to you."_s;
    auto *label3 = Controls::addParagraph(
        frame6, { u"Label3"_s, invitation }, { 120, 360, 3495, 3855 }, Font::PanelText, invitation);
    Controls::setTextColour(label3, Colour::PanelText);

    const QString visit = u"Click Here To Visit Orravine"_s;
    auto *lblGoToHome = add<LinkLabel>(
        frame6, { u"lblGoToHome"_s, visit }, { 75, 4250, 3585, 210 }, Font::Control, visit);
    Controls::setTextColour(lblGoToHome, Colour::PanelLink);
    lblGoToHome->makeRoomForFocusMark();
    lblGoToHome->openOnClick(WebAddresses::OtherPrograms);
}

bool frmExitScreen::focusNextPrevChild(bool next)
{
    // Tab empties the field it comes to only once Qt has reported the focus. A screen reader
    // takes a change of the control with the focus, reported first, for the focus itself, and
    // then says nothing when the report of the focus follows.
    const bool moved = [&] {
        const QScopedValueRollback later(emptyingLater, true);
        return QWidget::focusNextPrevChild(next);
    }();
    skipOnFailure([this] {
        if (QWidget *field = focusWidget()) {
            if (auto *rules = field->findChild<FieldRules *>(QString(), Qt::FindDirectChildrenOnly))
                rules->emptyPlaceholder();
        }
    });
    return moved;
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
    skipOnFailure([&] { Referral::SendReferral(this, record); });
}

#include "frmExitScreen.moc"
