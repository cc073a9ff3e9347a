#include "FocusStyle.h"

#include "Style.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOption>
#include <QTextEdit>

#include <algorithm>

namespace {

// Paints a band of the given width along the inside of the rectangle.
void fillBand(QPainter *painter, const QRect &rect, int width, const QColor &colour)
{
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), colour);
    painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), colour);
    painter->fillRect(
        QRect(rect.left(), rect.top() + width, width, rect.height() - 2 * width), colour);
    painter->fillRect(
        QRect(rect.right() - width + 1, rect.top() + width, width, rect.height() - 2 * width),
        colour);
}

// The colour the control stands on: that of the nearest area behind it that paints its
// background.
QColor areaBehind(const QWidget *widget, const QStyleOption *option)
{
    for (const QWidget *area = widget ? widget->parentWidget() : nullptr; area;
         area = area->parentWidget()) {
        if (area->autoFillBackground() || area->isWindow())
            return area->palette().color(area->backgroundRole());
    }
    return option->palette.color(QPalette::Window);
}

// The mark of a control with a face: the line, then the ring inside it, a pixel wider beside a
// line of the other colour, or as wide as the frame that holds it.
void markFramed(QPainter *painter, const QStyleOption *option, const QWidget *widget,
    const QColor &face, int frame = 0)
{
    constexpr int line = FocusStyle::LineWidth;
    const QColor around = Style::focusMarkOn(areaBehind(widget, option));
    const QColor ring = Style::focusMarkOn(face);
    fillBand(painter, option->rect, line, around);
    fillBand(painter, option->rect.adjusted(line, line, -line, -line),
        std::max(FocusStyle::RingWidth + (ring == around ? 0 : line), frame - line), ring);
}

// The mark of a control drawn on the area behind it.
void markOnArea(
    QPainter *painter, const QRect &rect, const QWidget *widget, const QStyleOption *option)
{
    fillBand(painter, rect, FocusStyle::RingWidth, Style::focusMarkOn(areaBehind(widget, option)));
}

} // namespace

FocusStyle::FocusStyle()
{
    // Windows hides focus marks until the keyboard is used; Qt's Windows styles do the same.
    m_afterKeyboardOnly = baseStyle()->name().startsWith(u"windows", Qt::CaseInsensitive);
}

bool FocusStyle::showsMark(const QStyleOption *option) const
{
    return (option->state & State_HasFocus)
        && (!m_afterKeyboardOnly || (option->state & State_KeyboardFocusChange));
}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
    QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameFocusRect) {
        // A button's mark is drawn with the button, in place of the style's own.
        if (qobject_cast<const QAbstractButton *>(widget))
            return;
        if (showsMark(option)) {
            markOnArea(painter, option->rect, widget, option);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_PanelLineEdit && showsMark(option))
        markFramed(painter, option, widget, option->palette.color(QPalette::Base));
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
    const QWidget *widget) const
{
    const bool textView = element == CE_ShapedFrame && qobject_cast<const QTextEdit *>(widget);
    // The view's frame is wider than the style's own line, to hold the mark; unmarked, the
    // space between the line and the text is the text's background.
    if (textView)
        fillBand(painter, option->rect, pixelMetric(PM_DefaultFrameWidth, option, widget),
            option->palette.color(QPalette::Base));
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!showsMark(option))
        return;
    switch (element) {
    case CE_PushButton:
        markFramed(painter, option, widget, option->palette.color(QPalette::Button));
        break;
    case CE_CheckBox:
    case CE_RadioButton:
        markOnArea(painter, option->rect, widget, option);
        break;
    case CE_ShapedFrame:
        // The view's frame is the style's own with room for the mark, whose ring fills it: the
        // style's lines, dark and light, lie under the ring.
        if (textView)
            markFramed(painter, option, widget, option->palette.color(QPalette::Base),
                pixelMetric(PM_DefaultFrameWidth, option, widget));
        break;
    default:
        break;
    }
}

int FocusStyle::pixelMetric(
    PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int own = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QTextEdit *>(widget))
        return std::max(own, MarkDepth);
    // The caret, in the fields and the reading, as thick as the ring.
    if (metric == PM_TextCursorWidth)
        return std::max(own, RingWidth);
    return own;
}
