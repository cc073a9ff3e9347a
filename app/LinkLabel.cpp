#include "LinkLabel.h"

#include "FocusStyle.h"
#include "SkipOnFailure.h"
#include "modHelp.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

// What a screen reader meets: a link named by its text, whose press action follows it.
class AccessibleLinkLabel : public QAccessibleWidget
{
public:
    explicit AccessibleLinkLabel(LinkLabel *label)
        : QAccessibleWidget(label, QAccessible::Link)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const LinkLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<LinkLabel *>(widget())->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *accessibleLinkLabel(const QString &className, QObject *object)
{
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new AccessibleLinkLabel(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(accessibleLinkLabel);
        return true;
    }();
    Q_UNUSED(accessible);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    // Only the keyboard focuses it: a click follows the link and leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

QString LinkLabel::displayText(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

void LinkLabel::openOnClick(const QString &address)
{
    connectStep(this, &LinkLabel::clicked, this, [address] { modHelp::OpenWebPage(address); });
}

void LinkLabel::click()
{
    emit clicked();
}

void LinkLabel::makeRoomForFocusMark()
{
    constexpr int room = FocusStyle::RingWidth + 1;
    setContentsMargins(room, room, room, room);
    setGeometry(geometry().adjusted(-room, -room, room, room));
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool released = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (released)
        click();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // A held key follows the link once.
        if (!event->isAutoRepeat())
            click();
        event->accept();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent *)
{
    // The text is drawn as a label that takes no focus draws it: one that does lays its text out
    // as a document, a pixel lower.
    QPainter painter(this);
    drawFrame(&painter);
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment()) | Qt::TextExpandTabs
        | (wordWrap() ? Qt::TextWordWrap : 0);
    style()->drawItemText(
        &painter, contentsRect(), flags, palette(), isEnabled(), text(), foregroundRole());
    if (!hasFocus())
        return;
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}
