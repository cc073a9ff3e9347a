#pragma once

#include <QStringList>
#include <QWidget>

class LinkLabel;
class QCheckBox;
class QGroupBox;
class QLabel;
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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildReferralForm();
    void buildDownloadPanel();

    QString fieldText(QObject *field) const;
    void setFieldText(QObject *field, const QString &text);
    QString placeholderOf(QObject *field) const;
    bool refusesSpace(QObject *field) const;

    void check1Toggled(bool checked);
    void cmdSubmitClicked();

    QLabel *m_picture1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtEmail = nullptr;
    QLineEdit *m_txtFriendName = nullptr;
    QLineEdit *m_txtFriendEmail = nullptr;
    QPushButton *m_cmdSubmit = nullptr;
    QPlainTextEdit *m_txtMessage = nullptr;
    QGroupBox *m_frame6 = nullptr;
    QLabel *m_label3 = nullptr;
    LinkLabel *m_lblGoToHome = nullptr;
};
