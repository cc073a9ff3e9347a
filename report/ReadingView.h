#pragma once

#include <QTextEdit>

// The read-only view that shows the reading. It takes pictures pasted into it, and every change
// of its text and every click or mouse action over it empties the system clipboard, so that
// nothing copied out of a reading lingers there.
class ReadingView : public QTextEdit
{
    Q_OBJECT

public:
    explicit ReadingView(QWidget *parent = nullptr);

    // Read-only still lets the user select and copy with the mouse or the keyboard.
    void setReadOnlyFlag(bool readOnly);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    // Every mouse press, move, release and double click over the text.
    bool viewportEvent(QEvent *event) override;

private:
    int m_pictureCount = 0;
};

// Empties the system clipboard; a clipboard that cannot be reached is left alone.
void EmptyClipboard();
