#pragma once

#include <QDialog>

// The About window: the program's name, what it does, the offer of a fully branded copy and a
// link to the publisher's site. Opened modally, one new window each time.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);
};
