#include "Startup.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orravine.CVVeyloom"));
    const std::unique_ptr<frmMain> window = Startup::start();
    if (!window)
        return 0;
    return app.exec();
}
