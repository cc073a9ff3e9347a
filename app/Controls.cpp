#include "Controls.h"

#include "ApplicationNames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QScreen>

namespace Controls {

namespace {

// A paragraph of text of its own, which labels no control.
class Paragraph : public QLabel
{
public:
    using QLabel::QLabel;
};

// Qt takes every label inside a captioned panel for one the panel labels, and a screen reader
// leaves such a label unsaid when it presents the panel. A paragraph stands by itself, so that
// it is read with its panel or window.
class ParagraphAccessible : public QAccessibleWidget
{
public:
    explicit ParagraphAccessible(QLabel *paragraph)
        : QAccessibleWidget(paragraph, QAccessible::StaticText)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override
    {
        return QAccessibleWidget::relations(QAccessible::Relation(match & ~QAccessible::Label));
    }
};

QAccessibleInterface *paragraphAccessible(const QString &className, QObject *object)
{
    if (className != u"QLabel")
        return nullptr;
    if (auto *paragraph = dynamic_cast<Paragraph *>(object))
        return new ParagraphAccessible(paragraph);
    return nullptr;
}

} // namespace

QLabel *addParagraph(
    QWidget *parent, const Name &name, const QRect &twips, Style::Font font, const QString &text)
{
    [[maybe_unused]] static const bool installed
        = (QAccessible::installFactory(paragraphAccessible), true);
    // Given its text once built: a label reports a new text, and the accessible interface made
    // for the report while the paragraph was being built would take it for a label.
    auto *label = add<Paragraph>(parent, name, twips, font);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

namespace {

// A plain line of one pixel, drawn as such from its construction on, so that any accessible
// interface made for it already sees a line.
class Line : public QFrame
{
public:
    explicit Line(QWidget *parent)
        : QFrame(parent)
    {
        setFrameShape(QFrame::HLine);
        setFrameShadow(QFrame::Plain);
        setLineWidth(1);
    }
};

// Qt takes every frame for a border, which reaches a screen reader as a bare element (UI
// Automation's "Custom"): a frame drawn as a line is a separator.
QAccessibleInterface *lineAccessible(const QString &className, QObject *object)
{
    auto *frame = qobject_cast<QFrame *>(object);
    if (className != u"QFrame" || !frame
        || (frame->frameShape() != QFrame::HLine && frame->frameShape() != QFrame::VLine))
        return nullptr;
    return new QAccessibleWidget(frame, QAccessible::Separator);
}

} // namespace

QFrame *addLine(QWidget *parent, const Name &name, const QRect &twips)
{
    [[maybe_unused]] static const bool installed
        = (QAccessible::installFactory(lineAccessible), true);
    return add<Line>(parent, name, twips, Style::Font::Window);
}

void setColours(
    QWidget *control, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours)
{
    QPalette palette = control->palette();
    for (const auto &[role, colour] : colours)
        palette.setColor(role, colour);
    control->setPalette(palette);
}

void setTextColour(QWidget *control, const QColor &colour)
{
    setColours(control, { { QPalette::WindowText, colour } });
}

void keepDesktopColours(QWidget *control)
{
    QPalette palette = QApplication::palette(control);
    palette.setResolveMask(~QPalette::ResolveMask(0));
    control->setPalette(palette);
}

void fixBackground(QWidget *area, const QColor &background)
{
    area->setAutoFillBackground(true);
    setColours(area,
        { { QPalette::Window, background }, { QPalette::WindowText, Style::textOn(background) } });
}

void setUpWindow(QWidget &window, const QString &name, QWidget &client, int width, int height)
{
    window.setObjectName(name);
    window.setWindowTitle(ApplicationNames::Caption);
    window.setWindowIcon(applicationIcon());
    window.setFont(Style::font(Style::Font::Window));
    client.setFixedSize(Style::px(width), Style::px(height));
    if (QLayout *layout = window.layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : { 16, 32 }) {
        QImageReader reader(QStringLiteral(":/icon/veyloom-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImageReader(&reader));
    }
    return icon;
}

QPixmap iconPicture(qreal devicePixelRatio)
{
    return QPixmap::fromImage(
        Style::sharpPicture(QStringLiteral(":/icon/veyloom-32.png"), devicePixelRatio));
}

void centreOnScreen(QWidget &window)
{
    QWidget *parent = window.parentWidget();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area(QPoint(), window.size());
    area.moveCenter(screen->availableGeometry().center());
    window.move(area.topLeft());
}

} // namespace Controls
