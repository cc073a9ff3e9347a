#include "modHelp.h"

#include <QDesktopServices>
#include <QUrl>

namespace modHelp {

void OpenWebPage(const QString &address)
{
    QDesktopServices::openUrl(QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode));
}

} // namespace modHelp
