#pragma once

#include "SpokenText.h"

#include <QHash>
#include <QPixmap>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextImageFormat>
#include <QUrl>

#include <functional>

class QImage;

// The read-only view that shows the reading. Pictures go into its document directly; nothing
// from the clipboard or from a drag and drop can enter it. Every change of its text and every
// click or mouse action over it empties the system clipboard, so that nothing copied out of a
// reading lingers there.
class ReadingView : public QTextEdit
{
    Q_OBJECT

public:
    explicit ReadingView(QWidget *parent = nullptr);

    // Read-only still lets the user select and copy with the mouse or the keyboard.
    void setReadOnlyFlag(bool readOnly);
    // Writes a text in place of the view's: `write` writes it at the insertion point it is
    // given, into a document of its own that the view then takes whole, its caret at the top.
    // A screen reader is told of the change once, in the offsets of the spoken text.
    void rewrite(const std::function<void(QTextCursor &)> &write);
    // Inserts the picture at the insertion point, which moves behind it; the picture's
    // description becomes its alternative text. While a text is rewritten, that is the
    // rewriting's insertion point. A null picture inserts nothing.
    void insertPicture(const QImage &picture);
    // What a screen reader hears of the reading: its text with each picture read as its
    // description. Its offsets are those of the view's accessible text interface.
    const SpokenText &spokenText() const;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    // Every mouse press, move, release and double click over the text.
    bool viewportEvent(QEvent *event) override;

private:
    void followDocument();

    struct Picture {
        QUrl url;
        QPixmap pixmap;
        QTextImageFormat format;
    };
    QHash<qint64, Picture> m_pictures;
    // The insertion point of a text being rewritten; null otherwise.
    QTextCursor m_rewriting;
    // Made again when first asked for after the text changed.
    mutable SpokenText m_spokenText;
    mutable bool m_spokenTextStale = false;
};

// Empties the system clipboard; a clipboard that cannot be reached is left alone. It never asks
// another program for anything, and once this program has emptied the clipboard it does
// nothing more until the clipboard reports a change.
void EmptyClipboard();
