#include "printing/previewplacement.h"

#include "common/screenplacement.h"
#include "printing/previewunits.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

void PreviewPlacement::restore(QWidget& window, const Settings& settings)
{
    const Placement fallback = defaults();
    Placement p = settings.placement(prefix(), fallback);
    // A size of nothing (a damaged value) would leave a window no one can use.
    if (p.width <= 0 || p.height <= 0) {
        p.width = fallback.width;
        p.height = fallback.height;
    }
    const PreviewUnits units = PreviewUnits::of(&window);
    QRect pixels(units.toPixelsX(p.left), units.toPixelsY(p.top), units.toPixelsX(p.width),
                 units.toPixelsY(p.height));
    pixels = reachablePlacement(
        pixels, QPoint(units.toPixelsX(fallback.left), units.toPixelsY(fallback.top)),
        pixels.size());
    window.resize(pixels.size());
    window.move(pixels.topLeft());
}

void PreviewPlacement::store(const QWidget& window, Settings& settings)
{
    const PreviewUnits units = PreviewUnits::of(&window);
    settings.setPlacement(prefix(),
                          {double(units.toTwipsX(window.x())), double(units.toTwipsY(window.y())),
                           double(units.toTwipsX(window.width())),
                           double(units.toTwipsY(window.height()))});
}

} // namespace quillon
