#pragma once

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;

// The About window: the program's name, what it does, the offer of a fully branded copy and a
// link to the publisher's site. Opened modally, one new window each time.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

private:
    QLabel *m_picIcon = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label1 = nullptr;
    LinkLabel *m_lblHomePage = nullptr;
    QLabel *m_label3 = nullptr;
    LinkLabel *m_lblCoBrand = nullptr;
    QFrame *m_line2 = nullptr;
    QPushButton *m_cmdOK = nullptr;
};
