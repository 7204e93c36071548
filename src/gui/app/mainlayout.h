#pragma once

#include <array>
#include <optional>
#include <QRectF>
#include <QSizeF>

namespace quillon {

// What the layout of the main window depends on; every measure in twips.
// The window size is the outer size; the inner height is the client area
// below the menu bar, status bar included.
struct MainLayoutInput {
    double windowWidth = 11100;
    double windowHeight = 7680;
    double innerHeight = 6900;
    double statusBarHeight = 300;
    bool maximized = false;
    bool coverVisible = false;
    QSizeF welcomeSize{5400, 3600};
    bool sidebarVisible = true;
    double sidebarWidth = 900;
    bool devicePanelVisible = true;
    double devicePanelHeight = 780;
    double exitButtonWidth = 450;
};

// Where everything goes, in the window's client coordinates (twips).
struct MainLayout {
    static constexpr int kBoxes = 24;
    static constexpr int kCells = 10;
    // Design-time places that no formula gives.
    static constexpr double kBox1Left = 360;
    static constexpr double kBox1Top = 720;
    static constexpr double kNumberLabelWidth = 225;
    static constexpr double kCellHeight = 330;
    static constexpr double kCellRowTop[2] = {45, 405};
    static constexpr double kCellLabelLeft = 300;
    static constexpr double kToggleWidth = 150;
    static constexpr double kButtonHeight = 330;
    static constexpr double kMinWidth = 11000;
    static constexpr double kMinHeight = 7700;

    // The window size after the minimum-size snap (unchanged when large enough).
    QSizeF windowSize;
    bool snapped = false;
    std::optional<double> devicesBarTop; // set when the window is maximised

    QRectF cover;
    QRectF welcome;
    double dividerRight = 0;
    QRectF exitButton;
    QRectF standbyButton;
    QRectF devicePanel;
    double detachLeft = 0;              // Picture5, inside the device panel
    std::array<QRectF, kCells> cells{}; // inside the device panel
    std::array<double, kCells> cellLabelWidth{};
    double boxWidth = 0;
    double boxHeight = 0;
    std::array<QRectF, kBoxes> boxes{};
    std::array<QRectF, kBoxes> numberLabels{};
    QRectF trackList;
    QRectF sidebar;
    QRectF sidebarToggle;
    double hideButtonTop = 0; // cmdHide, inside the sidebar
};

// Where ShowFloating opens the devices bar, in screen twips: just below the
// main window when the screen has room for it there, else at top 6000. The
// left edge is set only in the first case; otherwise the bar keeps its own.
struct BarPlacement {
    double top = 6000;
    std::optional<double> left;
};
BarPlacement floatingBarPlacement(double screenHeight, double barHeight, double windowLeft,
                                  double windowTop, double windowHeight, double innerHeight);

// The main window's layout for a window of the given size: three columns of
// eight track boxes, the track list over them, the device panel in two rows
// of five cells, the sidebar shown at the right edge or parked behind the grid.
MainLayout computeMainLayout(const MainLayoutInput& in);

} // namespace quillon
