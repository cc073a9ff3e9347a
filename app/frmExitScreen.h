#pragma once

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The last window of a run: an appeal to join the publisher's forum, links to its site and its
// other programs, and the "Refer A Friend" form. It stays above every other window, and
// closing it ends the program.
class frmExitScreen : public QWidget
{
    Q_OBJECT

public:
    explicit frmExitScreen(QWidget *parent = nullptr);

    // The appeals Label2 draws from, one at random each time the window is created.
    static QStringList appealTexts();

protected:
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildReferralForm();
    void buildDownloadPanel();

    void check1Toggled(bool checked);
    void cmdSubmitClicked();

    QCheckBox *m_check1 = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtEmail = nullptr;
    QLineEdit *m_txtFriendName = nullptr;
    QLineEdit *m_txtFriendEmail = nullptr;
    QPushButton *m_cmdSubmit = nullptr;
    QPlainTextEdit *m_txtMessage = nullptr;
};
