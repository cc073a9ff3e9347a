#pragma once

#include "ImageList.h"
#include "TestRun.h"

#include <QMainWindow>

#include <array>

class LinkLabel;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class ReadingView;

// The program's working window: a link banner, the three screens of a test (personal details,
// questions, reading) stacked on one spot, and a panel with two offer labels on one spot.
class frmMain : public QMainWindow, public TestScreens
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);

    const TestRun &testRun() const { return m_run; }
    const ImageList &imageList() const { return IMG; }

    // Chooses which of the two offer labels lies in front.
    void bringOfferToFront(bool coBrand);

    // TestScreens
    bool isChakraTicked(int chakra) const override;
    void untickChakra(int chakra) override;
    Answer selectedAnswer() const override;
    void selectAnswer(Answer answer) override;
    void setQuestionCounter(const std::string &text) override;
    void setQuestionText(std::string_view text) override;
    void bringScreenToFront(Screen screen) override;
    void showInputError(std::string_view text) override;
    void focusName() override;
    void composeReading() override;

    // The controls, by the names the program's users and tests know them by.
    QMenu *mnuFile = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuOnline = nullptr;
    QAction *mnuVisit = nullptr;
    QAction *mnuUpdate = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuMakeMoney = nullptr;

    LinkLabel *Label14 = nullptr;
    QStackedWidget *screens = nullptr;
    std::array<QGroupBox *, 3> fraStep {};
    QFrame *fraFullBrand = nullptr;
    LinkLabel *lblCobrand = nullptr;
    LinkLabel *lblFullBrand = nullptr;

    std::array<QLabel *, 3> lblLabel {};
    std::array<QCheckBox *, 7> chkOption {};
    std::array<QLabel *, 7> picDisp {};
    QLineEdit *txtName = nullptr;
    QPushButton *cmdProceed = nullptr;

    QLabel *lblQNo = nullptr;
    QLabel *lblQuestion = nullptr;
    std::array<QRadioButton *, 3> optAnswer {};
    QPushButton *cmdNext = nullptr;

    ReadingView *RTB = nullptr;
    QPushButton *cmdMain = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createPersonalDetailsScreen(QGroupBox *screen);
    void createQuestionScreen(QGroupBox *screen);
    void createResultScreen(QGroupBox *screen);
    void createOfferPanel(QWidget *client);
    void showAbout();
    std::array<QWidget *, 3> answerWidgets() const;

    TestRun m_run;
    ImageList IMG;
};
