#include "ReadingView.h"

#include "ImageList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

void EmptyClipboard()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

ReadingView::ReadingView(QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    viewport()->setMouseTracking(true);
    // A reading is nearly always longer than the view; a scroll bar that is always there keeps
    // the text width fixed, so the text is laid out once rather than again when it appears.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    setReadOnlyFlag(true);
    connect(this, &QTextEdit::textChanged, this, &EmptyClipboard);
}

void ReadingView::setReadOnlyFlag(bool readOnly)
{
    setReadOnly(readOnly);
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool ReadingView::canInsertFromMimeData(const QMimeData *source) const
{
    if (isReadOnly() || !source || source->formats().isEmpty())
        return false;
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void ReadingView::insertFromMimeData(const QMimeData *source)
{
    if (!canInsertFromMimeData(source))
        return;
    if (!source->hasImage()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Take the picture out first: inserting it changes the text, which empties the clipboard
    // that owns the source.
    const QImage picture = qvariant_cast<QImage>(source->imageData());
    if (picture.isNull())
        return;
    const QString name = QStringLiteral("veyloom-picture:%1").arg(++m_pictureCount);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(picture.deviceIndependentSize().width());
    format.setHeight(picture.deviceIndependentSize().height());
    const QString description = picture.text(ImageList::DescriptionKey);
    format.setProperty(QTextFormat::ImageAltText, description);
    format.setToolTip(description);
    textCursor().insertImage(format);
}

bool ReadingView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        EmptyClipboard();
        break;
    default:
        break;
    }
    return QTextEdit::viewportEvent(event);
}
