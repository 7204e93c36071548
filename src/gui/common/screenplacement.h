#pragma once

#include "common/twipsscale.h"
#include "store/settings.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace quillon {

// Where a window whose place was saved in an earlier run opens now. The saved
// rectangle (pixels) is kept when a screen shows enough of its top edge to
// grab it; otherwise (a screen unplugged since, damaged or hand-edited
// settings) it moves to fallbackTopLeft. A size of nothing or one far beyond
// every screen takes fallbackSize. `screens` are the screens' available areas.
QRect reachablePlacement(QRect saved, QPoint fallbackTopLeft, QSize fallbackSize,
                         const QList<QRect>& screens);

// Where a window opens from the place the settings keep for it (twips), in
// pixels of scale: a size of nothing or one far beyond every screen takes the
// default size, a place no screen shows enough of moves to the default place.
QRect restoredPlacement(const Placement& saved, const Placement& defaults, const TwipsScale& scale);
// A rectangle in pixels as the settings keep it: in whole twips.
Placement placementInTwips(const QRect& pixels, const TwipsScale& scale);
// What the settings keep of a window's place: its outer position and inner
// size, the normal ones while it is maximised or minimised.
Placement windowPlacement(const QWidget& window, const TwipsScale& scale);

} // namespace quillon
