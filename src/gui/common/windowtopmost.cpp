#include "common/windowtopmost.h"

#include <QWidget>

namespace quillon {

namespace {
void setStaysOnTop(QWidget* window, bool on)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing a flag re-creates the native window and hides it; put it back
    // where it was.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->setGeometry(geometry);
    if (visible)
        window->show();
}
} // namespace

void setWindowTopmost(QWidget* window)
{
    setStaysOnTop(window, true);
}

void clearWindowTopmost(QWidget* window)
{
    setStaysOnTop(window, false);
}

} // namespace quillon
