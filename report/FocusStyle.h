#pragma once

#include <QProxyStyle>

// The desktop's style, with one focus mark for every control that takes the focus: a band along
// the inside of the control's edge, in black or white, whichever stands out more from what it
// lies on (Style::focusMarkOn). A control drawn on the area behind it (a check box, an option
// button, a link label) gets a ring that stands out from that area; a control with a face of its
// own (a button, a field, the reading) gets a line that stands out from the area around it, then
// a ring that stands out from its face, a pixel wider where the line is of the other colour, as
// such a line hardly differs from the frame it covers. The text caret is as thick as the ring.
//
// Where the desktop's style is Windows' own, the mark follows Windows: it shows once the window
// has been used from the keyboard, as Windows' own focus rectangles do.
class FocusStyle : public QProxyStyle
{
public:
    // The ring's thickness and the line's, in logical pixels, and the most the mark takes from
    // a control's edge: the line, and the ring with its pixel more.
    static constexpr int RingWidth = 2;
    static constexpr int LineWidth = 1;
    static constexpr int MarkDepth = RingWidth + 2 * LineWidth;

    FocusStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;

private:
    bool showsMark(const QStyleOption *option) const;

    bool m_afterKeyboardOnly = false;
};
