#include "Style.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace Style {

namespace {
// The family that shows Verdana on this system: Verdana itself where it is installed, elsewhere
// the sans-serif face the system offers in its place. Found once; every font then asks for it
// by name, which spares each of them the search for a substitute and draws the same glyphs.
QString verdana()
{
    static const QString family = [] {
        QFont wanted(QStringLiteral("Verdana"));
        wanted.setStyleHint(QFont::SansSerif);
        wanted.setPointSizeF(8.25);
        return QFontInfo(wanted).family();
    }();
    return family;
}

QFont face(
    qreal pointSize, bool bold = false, bool underline = false, const QString &family = verdana())
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

double contrast(const QColor &one, const QColor &other)
{
    const auto [darker, lighter] = std::minmax({ luminance(one), luminance(other) });
    return (lighter + 0.05) / (darker + 0.05);
}

// Easy to read: a contrast of 4.5 : 1 or more in relative luminance.
bool readable(const QColor &text, const QColor &background)
{
    return contrast(text, background) >= 4.5;
}
} // namespace

QFont font(Font role)
{
    switch (role) {
    case Font::Window:
        return face(8.25);
    case Font::Control:
        return face(8.25, true);
    case Font::FirstScreenCaption:
    case Font::Question:
        return face(9, true);
    case Font::Link:
        return face(8.25, true, true);
    case Font::AboutLink:
        return face(8.25, false, true);
    case Font::AboutTitle:
        return face(14.25, true);
    case Font::ExitTitle:
        return face(18, false, false, QStringLiteral("MS Sans Serif"));
    case Font::Appeal:
        return face(9.75, true);
    case Font::PanelText:
        return face(9);
    }
    return face(8.25);
}

QImage sharpPicture(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1)
        return QImage(path);
    QImage larger(QString(path).insert(path.lastIndexOf(u'.'), QStringLiteral("@2x")));
    larger.setDevicePixelRatio(2);
    return larger;
}

QColor textOn(const QColor &background)
{
    const QColor text = QGuiApplication::palette().color(QPalette::WindowText);
    return readable(text, background) ? text : QColor(Qt::black);
}

QColor focusMarkOn(const QColor &colour)
{
    return contrast(Colour::FocusMarkDark, colour) >= contrast(Colour::FocusMarkLight, colour)
        ? Colour::FocusMarkDark
        : Colour::FocusMarkLight;
}

QColor readingBackground()
{
    const QColor base = QGuiApplication::palette().color(QPalette::Base);
    return readable(Colour::ReadingText, base) ? base : QColor(Qt::white);
}

} // namespace Style
