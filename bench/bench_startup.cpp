// The program's own start-up, from main() to the main window's first paint: the single-instance
// lock, the update reminder's settings, the main window with its pictures and the offer draw.
// Run by bench/startup.sh beside bench_bare.
//   bench_startup            starts as the program does, and reports at the first paint
//   bench_startup --texts    prints the window's size and every text its first screen shows,
//                            with place and font, for bench_bare to show as plain labels
#include "FirstPaint.h"
#include "LinkLabel.h"
#include "Startup.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

// One line per text as it is shown:
// "left top width height points bold underline alignment wrap text".
void printText(
    const QRect &place, const QFont &font, Qt::Alignment alignment, bool wrap, const QString &text)
{
    std::printf("%d %d %d %d %g %d %d %d %d %s\n", place.x(), place.y(), place.width(),
        place.height(), font.pointSizeF(), font.bold(), font.underline(), int(alignment), wrap,
        qPrintable(text));
}

// A control that a visible sibling above it covers whole cannot be seen.
bool covered(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (!parent)
        return false;
    const QObjectList &siblings = parent->children();
    for (qsizetype i = siblings.indexOf(widget) + 1; i < siblings.size(); ++i) {
        const auto *above = qobject_cast<const QWidget *>(siblings[i]);
        if (above && above->isVisible() && above->geometry().contains(widget->geometry()))
            return true;
    }
    return false;
}

void printFirstScreen(const frmMain &window)
{
    std::printf("%d %d\n", window.width(), window.height());
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisible() || covered(widget))
            continue;
        const QRect place(widget->mapTo(&window, QPoint()), widget->size());
        const QFont &font = widget->font();
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            if (!label->text().isEmpty())
                printText(place, font, label->alignment(), label->wordWrap(), label->text());
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            const bool push = qobject_cast<const QPushButton *>(button);
            printText(place, font, push ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter, false,
                LinkLabel::displayText(button->text()));
        } else if (const auto *box = qobject_cast<const QGroupBox *>(widget)) {
            printText(QRect(place.topLeft(), QSize(place.width(), box->fontMetrics().height())),
                font, Qt::AlignLeft | Qt::AlignTop, false, box->title());
        } else if (const auto *bar = qobject_cast<const QMenuBar *>(widget)) {
            for (QAction *action : bar->actions()) {
                if (action->isVisible())
                    printText(bar->actionGeometry(action).translated(place.topLeft()), font,
                        Qt::AlignCenter, false, LinkLabel::displayText(action->text()));
            }
        }
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::unique_ptr<frmMain> window = Startup::start();
    if (!window)
        return 1;
    if (QCoreApplication::arguments().contains(QStringLiteral("--texts"))) {
        QTimer::singleShot(0, [&window] { printFirstScreen(*window); });
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return app.exec();
    }
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    return app.exec();
}
