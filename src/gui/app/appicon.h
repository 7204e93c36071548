#pragma once

#include <QIcon>

namespace quillon {

// The program's own icon, in every size the windows, the tray and high-DPI
// screens need (the desktop's menu takes the installed copy by its id).
QIcon appIcon();

} // namespace quillon
