#include "ReadingView.h"

#include "ImageList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

void EmptyClipboard()
{
    // On X11 each emptying costs round trips to the display server; a reading would empty an
    // already empty clipboard dozens of times, and the mouse does so at every move.
    static QPointer<QClipboard> watched;
    static bool emptiedByUs = false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (watched != clipboard) {
        watched = clipboard;
        emptiedByUs = false;
        QObject::connect(clipboard, &QClipboard::changed, clipboard, [](QClipboard::Mode mode) {
            if (mode == QClipboard::Clipboard)
                emptiedByUs = false;
        });
    }
    if (emptiedByUs)
        return;
    clipboard->clear();
    emptiedByUs = true;
}

ReadingView::ReadingView(QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setAcceptDrops(false);
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

void ReadingView::insertPicture(const QImage &picture)
{
    if (picture.isNull())
        return;
    // Named after the picture's data, so a rune that comes back shares one resource.
    const QString name = QStringLiteral("veyloom-picture:%1").arg(picture.cacheKey());
    document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(picture.width());
    format.setHeight(picture.height());
    const QString description = picture.text(ImageList::DescriptionKey);
    format.setProperty(QTextFormat::ImageAltText, description);
    format.setToolTip(description);
    textCursor().insertImage(format);
}

// Asking what another program's clipboard or drag holds could wait on that program.
bool ReadingView::canInsertFromMimeData(const QMimeData *) const
{
    return false;
}

void ReadingView::insertFromMimeData(const QMimeData *)
{ }

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
