#pragma once

#include <QLabel>

// A label that acts as a link: pointing-hand cursor, and a click anywhere on it runs its command.
// Tab reaches it and Enter or Space follows it; a screen reader meets it as a link whose action
// follows it.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    // Captions mark access keys with "&" and write a literal ampersand as "&&"; a link label
    // has no access key, so it shows the caption with the markers resolved.
    static QString displayText(const QString &caption);

    // Each click opens the page in the browser, in the skip-on-failure mode.
    void openOnClick(const QString &address);

    // Follows the link as a click on it does.
    void click();

    // Grows the label on every side by the focus mark and a pixel of air, its text staying where
    // it was, so that the mark along its edge leaves the text whole.
    void makeRoomForFocusMark();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};
