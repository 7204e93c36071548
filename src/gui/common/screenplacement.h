#pragma once

#include "store/settings.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace quillon {

// Where a window whose place was saved in an earlier run opens now. The saved
// rectangle (pixels) is kept when a screen shows enough of its top edge to
// grab it; otherwise (a screen unplugged since, damaged or hand-edited
// settings) it moves to fallbackTopLeft. A size of nothing or one far beyond
// every screen takes fallbackSize. `screens` are the screens' available areas.
QRect reachablePlacement(QRect saved, QPoint fallbackTopLeft, QSize fallbackSize,
                         const QList<QRect>& screens);
// The same against the screens of the running program.
QRect reachablePlacement(const QRect& saved, const QPoint& fallbackTopLeft,
                         const QSize& fallbackSize);

// A window's position and size in pixels as the settings keep them: in twips
// at the given resolution.
Placement placementInTwips(const QRect& pixels, double dpi);

} // namespace quillon
