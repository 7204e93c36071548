#pragma once

#include <QPoint>

class QWidget;

namespace quillon {

// What decides where the devices bar opens, all in twips (1/1440 inch),
// measured from the top left corner of the main window's screen.
struct FloatingPlacementInput {
    int screenHeight = 0;
    int barHeight = 0;       // the bar's outer height
    int mainLeft = 0;        // the main window's outer left edge
    int mainTop = 0;         // the main window's outer top edge
    int mainHeight = 0;      // the main window's outer height
    int mainInnerHeight = 0; // the height of its client area
    bool mainMaximized = false;
    int currentLeft = 0; // the bar's left edge now, kept when it goes to top 6000
};

struct FloatingPlacement {
    bool belowMain = false;
    int left = 0;
    int top = 0;
};

// Below the main window (800 twips under its client area, at its left edge)
// when the screen has room for the bar there; otherwise at top 6000 twips.
FloatingPlacement floatingBarPlacement(const FloatingPlacementInput& in);

inline constexpr int kFloatingBarGap = 800;
inline constexpr int kFloatingBarFallbackTop = 6000;

// Twips per device-independent pixel on the screen of widget (15 at 96 dpi).
double twipsPerPixel(const QWidget* widget);

// The input above measured from real windows.
FloatingPlacementInput measurePlacement(const QWidget* bar, const QWidget* mainWindow);
// Moves bar to where floatingBarPlacement puts it next to mainWindow.
void placeFloatingBar(QWidget* bar, const QWidget* mainWindow);

} // namespace quillon
