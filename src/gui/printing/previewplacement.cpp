#include "printing/previewplacement.h"

#include "common/screenplacement.h"

#include <QWidget>

namespace quillon {

void PreviewPlacement::restore(QWidget& window, const Settings& settings)
{
    const QRect pixels = restoredPlacement(settings.placement(prefix(), defaults()), defaults(),
                                           TwipsScale::forWidget(&window));
    window.resize(pixels.size());
    window.move(pixels.topLeft());
}

void PreviewPlacement::store(const QWidget& window, Settings& settings)
{
    settings.setPlacement(prefix(), windowPlacement(window, TwipsScale::forWidget(&window)));
}

} // namespace quillon
