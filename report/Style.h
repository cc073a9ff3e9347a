#pragma once

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <cmath>

// The look shared by the windows and the reading: colours, the typeface, and window positions,
// which are laid out in twips, 15 to a logical pixel; Qt scales logical pixels on
// high-density screens, so the windows keep their proportions at any scaling.
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

inline const QColor LightGrey(192, 192, 192);
inline const QColor DarkGreen(0, 128, 0);
inline const QColor DarkRed(128, 0, 0);
inline const QColor LinkBlue(0, 0, 255);
inline const QColor TickBlue(0, 0, 192);
inline const QColor DarkBlue(0, 0, 128);
inline const QColor Yellow(255, 255, 0);

inline constexpr qreal NormalPointSize = 8.25;

// The family that shows Verdana on this system: Verdana itself where it is installed, elsewhere
// the sans-serif face the system offers in its place. Found once; every font then asks for it
// by name, which spares each of them the search for a substitute and draws the same glyphs.
inline QString typeface()
{
    static const QString family = [] {
        QFont wanted(QStringLiteral("Verdana"));
        wanted.setStyleHint(QFont::SansSerif);
        wanted.setPointSizeF(NormalPointSize);
        return QFontInfo(wanted).family();
    }();
    return family;
}

inline QFont verdana(qreal pointSize = NormalPointSize, bool bold = false, bool underline = false)
{
    QFont font(typeface());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// The application icon at the sizes the main window shows it, 16 and 32. Each picture is read
// as the PNG it is, without probing every image format for it; the larger ones, installed for
// the desktop, are not read at all.
inline QIcon applicationIcon()
{
    QIcon icon;
    for (int size : { 16, 32 }) {
        QImageReader reader(QStringLiteral(":/icon/veyloom-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImageReader(&reader));
    }
    return icon;
}

// Every picture the program shows comes with its drawing at twice the size, "<name>@2x.<ext>".
// On a screen of more than one device pixel per logical pixel this gives that drawing, which
// carries the ratio 2 and so keeps the picture's logical size; elsewhere the picture itself.
inline QImage sharpPicture(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1)
        return QImage(path);
    QImage larger(QString(path).insert(path.lastIndexOf(u'.'), QStringLiteral("@2x")));
    larger.setDevicePixelRatio(2);
    return larger;
}

// The application icon as the windows show it in a picture box: its 32 x 32 image.
inline QPixmap iconPicture(qreal devicePixelRatio)
{
    return QPixmap::fromImage(
        sharpPicture(QStringLiteral(":/icon/veyloom-32.png"), devicePixelRatio));
}

// Places a window in the middle of its screen's free area.
inline void centreOnScreen(QWidget &window)
{
    QWidget *parent = window.parentWidget();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area(QPoint(), window.size());
    area.moveCenter(screen->availableGeometry().center());
    window.move(area.topLeft());
}

} // namespace Style
