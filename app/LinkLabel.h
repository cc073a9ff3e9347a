#pragma once

#include <QLabel>

// A label that acts as a link: pointing-hand cursor, and a click anywhere on it runs its command.
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

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
