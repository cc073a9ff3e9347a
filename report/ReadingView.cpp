#include "ReadingView.h"

#include "ImageList.h"
#include "ReadingViewAccessible.h"
#include "Style.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdlib>
#include <utility>

#if defined(VEYLOOM_X11_CLIPBOARD) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace {

#if defined(VEYLOOM_X11_CLIPBOARD) && QT_CONFIG(xcb)
// The display server's connection and the clipboard's name on it; no connection off X11.
std::pair<xcb_connection_t *, xcb_atom_t> x11Clipboard()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return { nullptr, XCB_ATOM_NONE };
    // Looked up once per run; names belong to the display server.
    static const xcb_atom_t atom = [connection] {
        const xcb_intern_atom_cookie_t cookie
            = xcb_intern_atom(connection, false, sizeof("CLIPBOARD") - 1, "CLIPBOARD");
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    }();
    return { atom == XCB_ATOM_NONE ? nullptr : connection, atom };
}

// Gives up the X11 clipboard with a request that needs no answer, so that emptying it waits
// neither on the display server nor on the program that owns it. False off X11.
bool releaseX11Clipboard()
{
    const auto [connection, atom] = x11Clipboard();
    if (!connection)
        return false;
    // The server's current time, as no event stands behind an emptying made by the reading.
    // The request leaves with the next batch, when Qt next flushes the connection.
    xcb_set_selection_owner(connection, XCB_NONE, atom, XCB_CURRENT_TIME);
    return true;
}

// Whether no program owns the X11 clipboard. It asks the display server, never the owner.
// False off X11.
bool x11ClipboardUnowned()
{
    const auto [connection, atom] = x11Clipboard();
    if (!connection)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom), nullptr);
    const bool unowned = reply && reply->owner == XCB_NONE;
    std::free(reply);
    return unowned;
}
#else
bool releaseX11Clipboard()
{
    return false;
}

bool x11ClipboardUnowned()
{
    return false;
}
#endif

} // namespace

void EmptyClipboard()
{
    // Known to be empty once this program has emptied it: a reading would empty it dozens of
    // times and the mouse does so at every move, but once is enough until it reports a change.
    static QPointer<QClipboard> watched;
    static bool knownEmpty = false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (watched != clipboard) {
        watched = clipboard;
        knownEmpty = false;
        // Changes are reported after the fact, this program's own emptying among them.
        QObject::connect(
            clipboard, &QClipboard::changed, clipboard, [clipboard](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard)
                    knownEmpty = !clipboard->ownsClipboard() && x11ClipboardUnowned();
            });
    }
    if (knownEmpty)
        return;
    // Qt drops what this program itself put on the clipboard only when emptied through Qt.
    if (clipboard->ownsClipboard() || !releaseX11Clipboard())
        clipboard->clear();
    knownEmpty = true;
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
    followDocument();
    installReadingViewAccessibility();
    if (const QColor background = Style::readingBackground();
        background != palette().color(QPalette::Base)) {
        QPalette colours = palette();
        colours.setColor(QPalette::Base, background);
        colours.setColor(QPalette::Text, Qt::black);
        setPalette(colours);
    }
}

void ReadingView::setReadOnlyFlag(bool readOnly)
{
    setReadOnly(readOnly);
    if (!readOnly)
        return;
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Qt hides the caret of a view made read-only while it has the focus until the focus comes
    // back; the keyboard moves the caret through the reading, so it is shown again at once.
    if (hasFocus()) {
        QFocusEvent focusBack(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(this, &focusBack);
    }
}

void ReadingView::followDocument()
{
    connect(document(), &QTextDocument::contentsChange, this, [this] { m_spokenTextStale = true; });
    m_spokenTextStale = true;
}

void ReadingView::rewrite(const std::function<void(QTextCursor &)> &write)
{
    // Qt reports each insertion into the view's own document in its positions, where a picture
    // is one character; a document the view takes whole it does not report at all.
    const QTextDocument *shown = document();
    auto *draft = new QTextDocument(this);
    draft->setDefaultFont(shown->defaultFont());
    draft->setDefaultTextOption(shown->defaultTextOption());
    draft->setDocumentMargin(shown->documentMargin());
    draft->setIndentWidth(shown->indentWidth());
    draft->setUseDesignMetrics(shown->useDesignMetrics());
    draft->setUndoRedoEnabled(shown->isUndoRedoEnabled());
    m_rewriting = QTextCursor(draft);
    struct Done {
        QTextCursor &cursor;
        ~Done() { cursor = QTextCursor(); }
    } done { m_rewriting };
    write(m_rewriting);

    const bool told = QAccessible::isActive();
    const QString before = told ? spokenText().text() : QString();
    QTextDocument *previous = shown->parent() == this ? document() : nullptr;
    setDocument(draft);
    delete previous;
    // The caret's width belongs to the document's layout; Qt 6.8 gives a new one Qt's own.
    setCursorWidth(style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    followDocument();
    if (told) {
        QAccessibleTextUpdateEvent changed(this, 0, before, spokenText().text());
        QAccessible::updateAccessibility(&changed);
    }
}

void ReadingView::insertPicture(const QImage &picture)
{
    if (picture.isNull())
        return;
    // Each picture is prepared once, as a pixmap, which laying the text out would otherwise make
    // from the image at every pass.
    auto it = m_pictures.find(picture.cacheKey());
    if (it == m_pictures.end()) {
        Picture entry;
        const QString name = QStringLiteral("picture%1").arg(m_pictures.size());
        entry.url = QUrl(name);
        entry.pixmap = QPixmap::fromImage(picture);
        entry.format.setName(name);
        entry.format.setWidth(picture.deviceIndependentSize().width());
        entry.format.setHeight(picture.deviceIndependentSize().height());
        const QString description = picture.text(ImageList::DescriptionKey);
        entry.format.setProperty(QTextFormat::ImageAltText, description);
        entry.format.setToolTip(description);
        it = m_pictures.insert(picture.cacheKey(), entry);
    }
    QTextCursor insertion = m_rewriting.isNull() ? textCursor() : m_rewriting;
    insertion.document()->addResource(QTextDocument::ImageResource, it->url, it->pixmap);
    insertion.insertImage(it->format);
}

const SpokenText &ReadingView::spokenText() const
{
    if (m_spokenTextStale) {
        m_spokenText = SpokenText(*document());
        m_spokenTextStale = false;
    }
    return m_spokenText;
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
