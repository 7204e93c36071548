#pragma once

#include "store/settings.h"

class QWidget;

namespace quillon {

// Where the preview window opens: the keys PreviewLeft, PreviewTop,
// PreviewWidth and PreviewHeight, in twips, stored as text. Left and top are
// the window's outer position on the desktop, width and height its inner size.
class PreviewPlacement final {
public:
    static QString prefix() { return QStringLiteral("Preview"); }
    static Placement defaults() { return {10, 10, 10110, 8000}; }

    // Places and sizes the window from the settings. A place no screen shows
    // (a screen since unplugged) falls back to the default place.
    static void restore(QWidget& window, const Settings& settings);
    // Stores the window's place and size.
    static void store(const QWidget& window, Settings& settings);
};

} // namespace quillon
