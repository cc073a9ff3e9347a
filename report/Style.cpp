#include "Style.h"

namespace Style {

namespace {
// Verdana where it is installed; elsewhere the nearest sans-serif face the system offers.
QFont face(qreal pointSize, bool bold = false, bool underline = false,
    const QString &family = QStringLiteral("Verdana"))
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
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

} // namespace Style
