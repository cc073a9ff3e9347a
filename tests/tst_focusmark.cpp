#include "FocusStyle.h"
#include "MessageBox.h"
#include "ReadingView.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "frmMain.h"
#include "modVeyloom.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// WCAG 2.2: a focus mark needs a contrast of 3 : 1 between the same pixels focused and unfocused
// (2.4.13, as 1.4.11 asks of the colours next to it), over at least the area of a band two CSS
// pixels thick along the outline of the control as it is seen: its frame and face, or what it
// draws on the area behind it (a label's text, a check box's box and caption). A control paints
// only inside its own rectangle, so the band is counted inside that outline.
constexpr double RequiredContrast = 3.0;
constexpr int BandWidth = 2;
// A colour pair counts as the mark's only over this many pixels, more than a stray one.
constexpr int LeastPixels = 12;
// The controls' surroundings grabbed with them, in logical pixels.
constexpr int Margin = 4;

double luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double contrast(QRgb one, QRgb other)
{
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The dark colour scheme the README's pictures are taken under.
QPalette darkScheme()
{
    QPalette dark(QColor(58, 60, 65), QColor(46, 47, 51));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(role, QColor(228, 228, 226));
    dark.setColor(QPalette::Base, QColor(30, 31, 34));
    dark.setColor(QPalette::Highlight, QColor(44, 112, 186));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

struct Mark {
    double contrast = 1; // of the strongest pair unfocused -> focused over LeastPixels or more
    qsizetype changed = 0; // device pixels that change
    qsizetype strong = 0; // of those, the ones that change by RequiredContrast or more
    qsizetype required = 0; // the band's area, in device pixels

    QString describe() const
    {
        return u"contrast %1 : 1, changed %2 px (%3 by 3 : 1 or more), band %4 px"_s
            .arg(contrast, 0, 'f', 2)
            .arg(changed)
            .arg(strong)
            .arg(required);
    }
};

// The control as it is seen in the picture: the bounding box of what it draws that differs from
// the area around it, or its whole rectangle where the picture shows nothing around it.
QRect seenControl(const QImage &picture, const QRect &control)
{
    QHash<QRgb, int> around;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!control.contains(x, y))
                ++around[picture.pixel(x, y)];
        }
    }
    if (around.isEmpty())
        return control;
    const QRgb background = std::max_element(around.cbegin(), around.cend()).key();
    QRect seen;
    for (int y = control.top(); y <= control.bottom(); ++y) {
        for (int x = control.left(); x <= control.right(); ++x) {
            if (picture.pixel(x, y) != background)
                seen |= QRect(x, y, 1, 1);
        }
    }
    return seen.isEmpty() ? control : seen;
}

// The mark: the pixels of the two pictures that differ, but for those of the caret. The
// rectangles and the band's width are in the pictures' pixels.
Mark compare(const QImage &unfocused, const QImage &focused, const QRect &control, int band,
    const QRect &caret = {})
{
    Mark mark;
    QHash<std::pair<QRgb, QRgb>, int> pairs;
    for (int y = 0; y < unfocused.height(); ++y) {
        for (int x = 0; x < unfocused.width(); ++x) {
            if (caret.contains(x, y))
                continue;
            const QRgb before = unfocused.pixel(x, y);
            const QRgb after = focused.pixel(x, y);
            if (before == after)
                continue;
            ++mark.changed;
            ++pairs[{ before, after }];
            if (contrast(before, after) >= RequiredContrast)
                ++mark.strong;
        }
    }
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it) {
        if (it.value() >= LeastPixels)
            mark.contrast = std::max(mark.contrast, contrast(it.key().first, it.key().second));
    }
    const QRect seen = seenControl(unfocused, control);
    mark.required = qsizetype(seen.width()) * seen.height()
        - qsizetype(std::max(0, seen.width() - 2 * band)) * std::max(0, seen.height() - 2 * band);
    return mark;
}

bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Whether the desktop's style is one of Windows' own, which mark the focus only once the
// keyboard has been used.
bool windowsStyle()
{
    const auto *proxy = qobject_cast<const QProxyStyle *>(QApplication::style());
    const QStyle *style = proxy ? proxy->baseStyle() : QApplication::style();
    return style->name().startsWith(u"windows"_s, Qt::CaseInsensitive);
}

// The stop's surroundings in its window, grabbed with the focus nowhere and then with the
// focus brought to it by Tab from the stop before it. Empty when Tab does not reach it.
std::optional<Mark> grabStop(QWidget *window, QWidget *stop)
{
    stop->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QWidget *before = QApplication::focusWidget();
    if (before)
        before->clearFocus();
    const QRect area = QRect(stop->mapTo(window, QPoint()), stop->size())
                           .adjusted(-Margin, -Margin, Margin, Margin)
        & window->rect();
    const QPixmap unfocused = window->grab(area);
    if (before && before != stop) {
        before->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
    } else {
        QTest::keyClick(window, Qt::Key_Tab);
    }
    if (QApplication::focusWidget() != stop)
        return std::nullopt;
    const QPixmap focused = window->grab(area);
    // For a look at the marks: VEYLOOM_FOCUS_PICTURES=<folder> keeps both pictures of each.
    if (const QString folder = qEnvironmentVariable("VEYLOOM_FOCUS_PICTURES"); !folder.isEmpty()) {
        const QString name = folder + u'/' + QString::fromUtf8(QTest::currentDataTag());
        unfocused.save(name + u" unfocused.png"_s);
        focused.save(name + u" focused.png"_s);
    }
    const qreal ratio = unfocused.devicePixelRatio();
    // A rectangle of a widget, in the pictures' pixels.
    const auto inPictures = [&](const QWidget *widget, const QRect &rect) {
        const QRect place(widget->mapTo(window, rect.topLeft()) - area.topLeft(), rect.size());
        return QRect(qRound(place.x() * ratio), qRound(place.y() * ratio),
            qRound(place.width() * ratio), qRound(place.height() * ratio));
    };
    // The caret is no part of the mark; a text view places it in its page.
    QRect caret;
    if (qobject_cast<QLineEdit *>(stop) || qobject_cast<QTextEdit *>(stop)) {
        const auto *view = qobject_cast<QTextEdit *>(stop);
        caret = inPictures(view ? view->viewport() : stop,
            stop->inputMethodQuery(Qt::ImCursorRectangle).toRect().adjusted(-2, -2, 2, 2));
    }
    return compare(unfocused.toImage().convertToFormat(QImage::Format_RGB32),
        focused.toImage().convertToFormat(QImage::Format_RGB32), inPictures(stop, stop->rect()),
        qRound(BandWidth * ratio), caret);
}

} // namespace

class TestFocusMark : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyStop_data();
    void everyStop();
    void messageBoxes_data();
    void messageBoxes();
    void markFollowsTheDesktop();
    void readingShowsItsCaret();

private:
    void check(const QString &row, const std::optional<Mark> &mark);
};

void TestFocusMark::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setStyle(new FocusStyle);
    // The caret stays on, so that it cannot blink between the two pictures.
    QApplication::setCursorFlashTime(0);
    modVeyloom::LoadCatalogue();
}

void TestFocusMark::check(const QString &row, const std::optional<Mark> &mark)
{
    QVERIFY2(mark, "Tab does not reach the control");
    const QString text = row + u": "_s + mark->describe();
    if (qEnvironmentVariableIsSet("VEYLOOM_FOCUS_TABLE"))
        qInfo("%s", qPrintable(text));
    QVERIFY2(mark->contrast >= RequiredContrast, qPrintable(text));
    QVERIFY2(mark->strong >= mark->required, qPrintable(text));
}

void TestFocusMark::everyStop_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("stop");
    const std::pair<const char *, QStringList> stops[] = {
        { "first screen",
            { u"txtName"_s, u"cmdProceed"_s, u"chkOption0"_s, u"chkOption1"_s, u"chkOption2"_s,
                u"chkOption3"_s, u"chkOption4"_s, u"chkOption5"_s, u"chkOption6"_s, u"Label14"_s,
                u"lblFullBrand"_s, u"lblCobrand"_s } },
        { "question screen", { u"optAnswer0"_s, u"optAnswer1"_s, u"optAnswer2"_s, u"cmdNext"_s } },
        { "reading screen", { u"RTB"_s, u"cmdMain"_s } },
        { "exit screen",
            { u"cmdClose"_s, u"Check1"_s, u"txtName"_s, u"txtEmail"_s, u"txtFriendName"_s,
                u"txtFriendEmail"_s, u"cmdSubmit"_s, u"lblGoToHome"_s } },
        { "About", { u"lblHomePage"_s, u"lblCoBrand"_s, u"cmdOK"_s } },
    };
    for (bool dark : { false, true }) {
        for (const auto &[window, names] : stops) {
            for (const QString &name : names) {
                QTest::addRow("%s, %s, %s", dark ? "dark" : "light", window, qPrintable(name))
                    << dark << QString::fromLatin1(window) << name;
            }
        }
    }
}

void TestFocusMark::everyStop()
{
    QFETCH(bool, dark);
    QFETCH(QString, window);
    QFETCH(QString, stop);
    const auto restore
        = qScopeGuard([old = QApplication::palette()] { QApplication::setPalette(old); });
    if (dark)
        QApplication::setPalette(darkScheme());

    std::unique_ptr<QWidget> shown;
    if (window == u"exit screen") {
        shown = std::make_unique<frmExitScreen>();
        // Text of the user's own, so that the placeholders, which go when a field takes the
        // focus, do not count as its mark.
        for (QLineEdit *field : shown->findChildren<QLineEdit *>())
            field->setText(u"Ada"_s);
    } else if (window == u"About") {
        shown = std::make_unique<frmAbout>();
    } else {
        auto main = std::make_unique<frmMain>();
        if (window != u"first screen") {
            main->chkOption[0]->setChecked(true);
            main->cmdProceed->click();
        }
        if (window == u"reading screen") {
            while (main->screens->currentWidget() == main->fraStep[1])
                main->cmdNext->click();
        }
        // One of the two offers is shown at a time.
        main->bringOfferToFront(stop == u"lblCobrand");
        shown = std::move(main);
    }
    QVERIFY(showActive(*shown));
    auto *control = shown->findChild<QWidget *>(stop);
    QVERIFY(control && control->isVisible());
    // Tab reaches the chosen answer; the arrow keys choose another.
    if (auto *answer = qobject_cast<QRadioButton *>(control))
        answer->setChecked(true);
    check(QString::fromUtf8(QTest::currentDataTag()), grabStop(shown.get(), control));
}

void TestFocusMark::messageBoxes_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("question");
    QTest::addColumn<QMessageBox::StandardButton>("button");
    for (bool dark : { false, true }) {
        const char *scheme = dark ? "dark" : "light";
        QTest::addRow("%s, error, OK", scheme) << dark << false << QMessageBox::Ok;
        QTest::addRow("%s, question, Yes", scheme) << dark << true << QMessageBox::Yes;
        QTest::addRow("%s, question, No", scheme) << dark << true << QMessageBox::No;
    }
}

void TestFocusMark::messageBoxes()
{
    QFETCH(bool, dark);
    QFETCH(bool, question);
    QFETCH(QMessageBox::StandardButton, button);
    const auto restore
        = qScopeGuard([old = QApplication::palette()] { QApplication::setPalette(old); });
    if (dark)
        QApplication::setPalette(darkScheme());

    // The box as the program makes it, shown without a loop of its own.
    std::optional<Mark> mark;
    bool shown = false;
    MessageBox::setNextAnswer([&](const QMessageBox &made) {
        auto &box = const_cast<QMessageBox &>(made);
        shown = showActive(box);
        if (shown)
            mark = grabStop(&box, box.button(button));
        return button;
    });
    if (question)
        MessageBox::askYesNo(nullptr, u"Is it?"_s);
    else
        MessageBox::showError(nullptr, u"Please choose a chakra."_s);
    QVERIFY(shown);
    check(QString::fromUtf8(QTest::currentDataTag()), mark);
}

void TestFocusMark::markFollowsTheDesktop()
{
    // About's OK has the focus as the window opens, before any key is pressed: Windows shows
    // no mark then, other desktops do.
    frmAbout about;
    QVERIFY(showActive(about));
    auto *ok = about.findChild<QPushButton *>(u"cmdOK"_s);
    QVERIFY(ok);
    QTRY_COMPARE(QApplication::focusWidget(), ok);
    const QImage focused = ok->grab().toImage();
    ok->clearFocus();
    const QImage unfocused = ok->grab().toImage();
    const Mark mark = compare(unfocused.convertToFormat(QImage::Format_RGB32),
        focused.convertToFormat(QImage::Format_RGB32), unfocused.rect(),
        qRound(BandWidth * focused.devicePixelRatio()));
    if (windowsStyle())
        QVERIFY2(mark.strong < mark.required, qPrintable(mark.describe()));
    else
        QVERIFY2(mark.strong >= mark.required, qPrintable(mark.describe()));
}

void TestFocusMark::readingShowsItsCaret()
{
    // The reading takes the focus before it is written, and is read from its top.
    frmMain main;
    QVERIFY(showActive(main));
    main.chkOption[0]->setChecked(true);
    main.cmdProceed->click();
    while (main.screens->currentWidget() == main.fraStep[1])
        main.cmdNext->click();
    QCOMPARE(QApplication::focusWidget(), main.RTB);
    QWidget *page = main.RTB->viewport();
    const QImage withCaret = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    main.RTB->clearFocus();
    const QImage without = page->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The caret: a bar two pixels wide or more and half a line high or more, which inverts what
    // it covers and so stands out from the page by 3 : 1 or more.
    const qreal ratio = withCaret.devicePixelRatio();
    const int barHeight = qRound(main.RTB->fontMetrics().height() / 2.0 * ratio);
    int columns = 0;
    int strong = 0;
    for (int x = 0; x < withCaret.width(); ++x) {
        int changed = 0;
        for (int y = 0; y < withCaret.height(); ++y) {
            if (withCaret.pixel(x, y) == without.pixel(x, y))
                continue;
            ++changed;
            if (contrast(withCaret.pixel(x, y), without.pixel(x, y)) >= RequiredContrast)
                ++strong;
        }
        if (changed >= barHeight)
            ++columns;
    }
    QVERIFY2(columns >= qRound(BandWidth * ratio) && strong >= barHeight,
        qPrintable(u"%1 device pixels wide, %2 changed by 3 : 1"_s.arg(columns).arg(strong)));
}

QTEST_MAIN(TestFocusMark)
#include "tst_focusmark.moc"
