#pragma once

class QWidget;

namespace quillon {

// Keeps a window above every other window of the desktop (on), or stops doing
// so, without moving, resizing or hiding it.
void setWindowTopmost(QWidget* window, bool on);

} // namespace quillon
