#pragma once

class QWidget;

namespace quillon {

// Keeps a window above every other window of the desktop, or stops doing so,
// without moving or resizing it.
void setWindowTopmost(QWidget* window);
void clearWindowTopmost(QWidget* window);

} // namespace quillon
