#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

// The look of the windows and the reading, in one place: positions in twips, 15 to a logical
// pixel (Qt scales logical pixels on high-density screens, so the windows keep their
// proportions at any scaling), and the fonts and colours by the part they play.
namespace Style {

inline constexpr int TwipsPerPixel = 15;

constexpr int px(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

enum class Font {
    Window, // each window's own font: its fields, buttons and plain text, and the reading
    Control, // labels and controls set in bold
    FirstScreenCaption, // the caption of the first screen
    Question, // the question on the question screen
    Link, // the main window's link labels
    AboutLink, // the About window's link labels
    AboutTitle, // the program's name in the About window
    ExitTitle, // the program's name on the exit screen
    Appeal, // the exit screen's appeal, its link to the forum and its panels' captions
    PanelText, // the text inside the exit screen's download panel
};

QFont font(Font role);

namespace Colour {
// Backgrounds the program fixes, whatever the desktop's colours.
inline const QColor ScreenBackground(192, 192, 192); // the three screens and the About window
inline const QColor ExitBackground(255, 255, 255);
inline const QColor PanelBackground(0, 0, 128); // the exit screen's two panels

inline const QColor FixedText(0, 0, 0); // "Name", the About window's title and its line
inline const QColor ReadingText(0, 128, 0);
inline const QColor Description(128, 0, 0); // what the About window says of the program
inline const QColor Offer(0, 128, 0); // the About window's offer of a branded copy
inline const QColor AboutLink(0, 0, 255);
inline const QColor ForumLink(0, 0, 192); // the exit screen's box that opens the forum
inline const QColor PanelText(255, 255, 255);
inline const QColor PanelLink(255, 255, 0);

// The two colours of the focus mark; each part of it takes the one that stands out more from
// what it lies on (focusMarkOn).
inline const QColor FocusMarkDark(0, 0, 0);
inline const QColor FocusMarkLight(255, 255, 255);
} // namespace Colour

// The colour of text on a background the program fixes: the desktop's window text colour where
// it stands out from the background enough to be read with ease (a contrast of 4.5 : 1 or more
// in relative luminance), black where it does not.
QColor textOn(const QColor &background);

// The colour of the focus mark on a colour: of its two colours, the one with the higher contrast
// in relative luminance, which is at least 4.5 : 1 whatever the colour.
QColor focusMarkOn(const QColor &colour);

// The reading's background: the desktop's own where the reading's fixed text colour can be read
// on it, white where it cannot (a dark colour scheme).
QColor readingBackground();

// Every picture the program shows comes with its drawing at twice the size, "<name>@2x.<ext>".
// On a screen of more than one device pixel per logical pixel this gives that drawing, which
// carries the ratio 2 and so keeps the picture's logical size; elsewhere the picture itself.
QImage sharpPicture(const QString &path, qreal devicePixelRatio);

} // namespace Style
