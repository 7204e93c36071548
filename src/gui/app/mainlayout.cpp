#include "app/mainlayout.h"

namespace quillon {

MainLayout computeMainLayout(const MainLayoutInput& in)
{
    MainLayout out;
    double width = in.windowWidth;
    double height = in.windowHeight;
    double inner = in.innerHeight;

    // A window smaller than the minimum snaps to just above it; the client
    // area grows by the same amount.
    if (height < MainLayout::kMinHeight) {
        inner += 7701 - height;
        height = 7701;
        out.snapped = true;
    }
    if (width < MainLayout::kMinWidth) {
        width = 11001;
        out.snapped = true;
    }
    out.windowSize = QSizeF(width, height);

    const double sb = in.statusBarHeight;
    if (in.coverVisible) {
        out.cover = QRectF(5, 5, width, inner - sb);
        out.welcome =
            QRectF((width - in.welcomeSize.width()) / 2, (height - in.welcomeSize.height()) / 2,
                   in.welcomeSize.width(), in.welcomeSize.height());
    }
    if (in.maximized)
        out.devicesBarTop = 6600;

    out.dividerRight = width;
    const double exitLeft = width - in.exitButtonWidth - 290;
    out.standbyButton = QRectF(exitLeft, 30, in.exitButtonWidth, MainLayout::kButtonHeight);
    out.exitButton = QRectF(exitLeft, 30 + MainLayout::kButtonHeight + 15, in.exitButtonWidth,
                            MainLayout::kButtonHeight);

    out.devicePanel =
        QRectF(45, inner - in.devicePanelHeight - sb - 15, width - 200, in.devicePanelHeight);

    const double s = in.sidebarVisible ? in.sidebarWidth : 0;
    const double d = in.devicePanelVisible ? in.devicePanelHeight : 0;
    out.boxWidth = (width - 150 - s) / 3 - 390;
    out.boxHeight = (height - d - 1250) / 8 - 130;
    const double listWidth = width - s - 290;
    const double listHeight = inner - sb - d - 890;

    const double w = out.boxWidth;
    const double h = out.boxHeight;
    const double columnLeft[3] = {MainLayout::kBox1Left, w + 640, 2 * (w + 500)};
    for (int i = 0; i < MainLayout::kBoxes; ++i) {
        const int column = i / 8;
        const int row = i % 8;
        const double top = MainLayout::kBox1Top + row * (h + 30);
        out.boxes[i] = QRectF(columnLeft[column], top, w, h);
        out.numberLabels[i] =
            QRectF(columnLeft[column] - 240, top, MainLayout::kNumberLabelWidth, h);
    }
    out.trackList =
        QRectF(MainLayout::kBox1Left - 240, MainLayout::kBox1Top, listWidth, listHeight);

    out.detachLeft = out.devicePanel.width() - 220;
    const double cellWidth = width / 5 - 145;
    for (int i = 1; i <= MainLayout::kCells; ++i) {
        const int k = (i - 1) % 5;
        const int row = (i - 1) / 5;
        out.cells[i - 1] = QRectF(k * (cellWidth + 45) + i + 35, MainLayout::kCellRowTop[row],
                                  cellWidth, MainLayout::kCellHeight);
        out.cellLabelWidth[i - 1] = cellWidth - MainLayout::kCellLabelLeft - 75;
    }

    const double sidebarHeight = 8 * h + 190;
    const double sidebarLeft =
        in.sidebarVisible ? width - in.sidebarWidth - 240 : out.boxes[16].left() + w + 250;
    out.sidebar = QRectF(sidebarLeft, MainLayout::kBox1Top, in.sidebarWidth, sidebarHeight);
    out.sidebarToggle =
        QRectF(width - 270, MainLayout::kBox1Top, MainLayout::kToggleWidth, sidebarHeight);
    out.hideButtonTop = sidebarHeight - 480;
    return out;
}

BarPlacement floatingBarPlacement(double screenHeight, double barHeight, double windowLeft,
                                  double windowTop, double windowHeight, double innerHeight)
{
    BarPlacement place;
    if (screenHeight - barHeight >= windowTop + windowHeight) {
        place.top = windowTop + innerHeight + 800;
        place.left = windowLeft;
    }
    return place;
}

} // namespace quillon
