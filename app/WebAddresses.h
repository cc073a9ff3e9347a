#pragma once

#include <QString>

// Every page the program opens, in one place. The host names also appear in the texts of the
// link labels, so they are spelt here once.
namespace WebAddresses {

inline const QString MainHost = QStringLiteral("www.orravine.com");
inline const QString ProgramHost = QStringLiteral("www.cv-veyloom.com");
inline const QString HelpHost = QStringLiteral("help.orravine.com");

inline const QString HomePage = QStringLiteral("http://") + MainHost;
inline const QString OnlineHelp
    = QStringLiteral("http://") + ProgramHost + QStringLiteral("/cv-free-veyloom-help.html");
inline const QString Download
    = QStringLiteral("http://") + ProgramHost + QStringLiteral("/download-cv-free-veyloom.html");
inline const QString FullyBranded
    = QStringLiteral("http://") + HelpHost + QStringLiteral("/fully-branded.html");
inline const QString CoBrand
    = QStringLiteral("http://") + HelpHost + QStringLiteral("/co-brand.html");
inline const QString OtherPrograms
    = QStringLiteral("http://") + MainHost + QStringLiteral("/software.html");
inline const QString ReferAFriend
    = QStringLiteral("http://") + MainHost + QStringLiteral("/cvsw-refer-a-friend.php");
inline const QString ProgramSite = QStringLiteral("http://") + ProgramHost + QStringLiteral("/");

} // namespace WebAddresses
