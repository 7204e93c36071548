#include "common/screenplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

namespace {
// The strip under the title bar the user needs to see to move the window.
QRect grabStrip(const QRect& window)
{
    return QRect(window.left(), window.top(), qMin(window.width(), 120), 24);
}

bool reachable(const QRect& window, const QList<QRect>& screens)
{
    const QRect strip = grabStrip(window);
    for (const QRect& s : screens) {
        const QRect seen = s.intersected(strip);
        if (seen.width() >= qMin(strip.width(), 40) && seen.height() >= 8)
            return true;
    }
    return false;
}
// The available areas of the running program's screens.
QList<QRect> availableScreens()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    return screens;
}
} // namespace

QRect reachablePlacement(QRect saved, QPoint fallbackTopLeft, QSize fallbackSize,
                         const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return saved;
    int widest = 0;
    int tallest = 0;
    for (const QRect& s : screens) {
        widest = qMax(widest, s.right() + 1);
        tallest = qMax(tallest, s.bottom() + 1);
    }
    if (saved.width() <= 0 || saved.height() <= 0 || saved.width() > 4 * widest ||
        saved.height() > 4 * tallest)
        saved.setSize(fallbackSize);
    if (!reachable(saved, screens)) {
        saved.moveTopLeft(fallbackTopLeft);
        // The default place itself may lie off every screen (a small screen).
        if (!reachable(saved, screens))
            saved.moveTopLeft(screens.first().topLeft());
    }
    return saved;
}

QRect restoredPlacement(const Placement& saved, const Placement& defaults, const TwipsScale& scale)
{
    const QRect pixels(scale.toPixelsX(saved.left), scale.toPixelsY(saved.top),
                       scale.toPixelsX(saved.width), scale.toPixelsY(saved.height));
    return reachablePlacement(
        pixels, QPoint(scale.toPixelsX(defaults.left), scale.toPixelsY(defaults.top)),
        QSize(scale.toPixelsX(defaults.width), scale.toPixelsY(defaults.height)),
        availableScreens());
}

Placement placementInTwips(const QRect& pixels, const TwipsScale& scale)
{
    return {double(scale.toTwipsX(pixels.x())), double(scale.toTwipsY(pixels.y())),
            double(scale.toTwipsX(pixels.width())), double(scale.toTwipsY(pixels.height()))};
}

Placement windowPlacement(const QWidget& window, const TwipsScale& scale)
{
    const bool normal = !(window.isMaximized() || window.isMinimized());
    const QPoint at = normal ? window.pos() : window.normalGeometry().topLeft();
    const QSize size = normal ? window.size() : window.normalGeometry().size();
    return placementInTwips(QRect(at, size), scale);
}

} // namespace quillon
