// The program's own start-up, from main() to the main window's first paint: the single-instance
// lock, the update reminder's settings, the main window with its pictures and the offer draw.
// Run by bench/startup.sh beside bench_bare.
#include "FirstPaint.h"
#include "Startup.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::unique_ptr<frmMain> window = Startup::start();
    if (!window)
        return 1;
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    return app.exec();
}
