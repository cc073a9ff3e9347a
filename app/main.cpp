#include "FocusStyle.h"
#include "Startup.h"
#include "frmMain.h"

#include <QApplication>

#include <vector>

int main(int argc, char *argv[])
{
    QByteArray platform = Startup::preferredPlatform();
    std::vector<char *> arguments = Startup::qtArguments({ argv, argv + argc }, platform);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    QApplication::setStyle(new FocusStyle);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orravine.CVVeyloom"));
    const std::unique_ptr<frmMain> window = Startup::start();
    if (!window)
        return 0;
    return app.exec();
}
