#pragma once

#include <QString>

namespace ApplicationNames {

// The title of every message box.
inline const QString Title = QStringLiteral("CV Veyloom");
// The caption of every window.
inline const QString Caption = Title + QStringLiteral(" v1.0");

} // namespace ApplicationNames
