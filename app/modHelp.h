#pragma once

#include <QString>

namespace modHelp {

// Hands the address to the desktop's default browser and returns at once; whether a browser
// could be started is not looked at.
void OpenWebPage(const QString &address);

} // namespace modHelp
