#pragma once

#include <QString>

namespace quillon {

// The application title: the settings store's application name and the
// caption of some message boxes.
inline const QString kApplicationTitle = QStringLiteral("Quillon05");

} // namespace quillon
