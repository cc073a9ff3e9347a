#include "Startup.h"
#include "frmMain.h"

#include <QApplication>

#include <vector>

int main(int argc, char *argv[])
{
    // Qt takes the last -platform it is given, so one the user adds still wins. Options follow
    // the program's name: started without one (argc 0), the program leaves the choice to Qt.
    QByteArray platform = Startup::preferredPlatform();
    char platformOption[] = "-platform";
    std::vector<char *> arguments(argv, argv + argc);
    if (!platform.isEmpty() && !arguments.empty())
        arguments.insert(arguments.begin() + 1, { platformOption, platform.data() });
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orravine.CVVeyloom"));
    const std::unique_ptr<frmMain> window = Startup::start();
    if (!window)
        return 0;
    return app.exec();
}
