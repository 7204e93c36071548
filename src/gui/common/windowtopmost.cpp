#include "common/windowtopmost.h"

#include <QWidget>

namespace quillon {

void setWindowTopmost(QWidget* window, bool on)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing a flag re-creates the native window and hides it; put it back
    // where it was.
    const QPoint place = window->pos();
    const QSize size = window->size();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window->resize(size);
    window->move(place);
    if (visible)
        window->show();
}

} // namespace quillon
