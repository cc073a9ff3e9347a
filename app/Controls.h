#pragma once

#include "Style.h"
#include "TextFieldAccessible.h"

#include <QWidget>

#include <initializer_list>
#include <type_traits>
#include <utility>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

// How the windows are put together: every control made in one call, coloured through one
// helper, and each window given the look the three share and its place on the screen.
namespace Controls {

// A control's names: the one the program and its tests know it by, and what a screen reader
// says for it when its caption does not say it already.
struct Name {
    Name(const QString &object, const QString &spoken = {})
        : object(object)
        , spoken(spoken)
    { }
    QString object;
    QString spoken;
};

// A check box or option button that reacts to a click anywhere in its area, not only on its
// indicator and caption.
template <typename Button> class WholeAreaButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }
};

// A new control inside parent with its names, its place in twips and its font; the arguments
// after the font go to its constructor, before the parent.
template <typename Control, typename... Args>
Control *add(
    QWidget *parent, const Name &name, const QRect &twips, Style::Font font, Args &&...args)
{
    Control *control = nullptr;
    if constexpr (std::is_same_v<Control, QLineEdit>)
        installTextFieldAccessibility();
    if constexpr (std::is_same_v<Control, QCheckBox> || std::is_same_v<Control, QRadioButton>)
        control = new WholeAreaButton<Control>(std::forward<Args>(args)..., parent);
    else
        control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(name.object);
    if (!name.spoken.isEmpty())
        control->setAccessibleName(name.spoken);
    control->setGeometry(
        Style::twipsRect(twips.left(), twips.top(), twips.width(), twips.height()));
    control->setFont(Style::font(font));
    return control;
}

// A label of text wrapped within its place and set from its top left.
QLabel *addParagraph(
    QWidget *parent, const Name &name, const QRect &twips, Style::Font font, const QString &text);

// A plain horizontal line of one pixel, which a screen reader announces as a separator.
QFrame *addLine(QWidget *parent, const Name &name, const QRect &twips);

// Gives the control these colours, in every state.
void setColours(
    QWidget *control, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours);
// Gives the control's text this colour, in every state.
void setTextColour(QWidget *control, const QColor &colour);
// Gives the control the desktop's own colours, whatever the area around it has.
void keepDesktopColours(QWidget *control);

// Lays a background the program fixes under the area, and gives the text on it a colour that
// stands out from it (Style::textOn).
void fixBackground(QWidget *area, const QColor &background);

// The frame of a window that cannot be resized: caption, system menu and close box, and no
// maximise button. Each window adds what else its frame offers.
inline constexpr Qt::WindowFlags FixedFrame = Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// What the three windows share: the caption, the application icon and the window font; and the
// client area's fixed size, in twips.
void setUpWindow(QWidget &window, const QString &name, QWidget &client, int width, int height);

// The application icon at the sizes the main window shows it, 16 and 32. Each picture is read
// as the PNG it is, without probing every image format for it; the larger ones, installed for
// the desktop, are not read at all.
QIcon applicationIcon();
// The application icon as the windows show it in a picture box: its 32 x 32 image.
QPixmap iconPicture(qreal devicePixelRatio);

// Places a window in the middle of its screen's free area.
void centreOnScreen(QWidget &window);

} // namespace Controls
