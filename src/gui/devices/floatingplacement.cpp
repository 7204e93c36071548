#include "devices/floatingplacement.h"

#include <cmath>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillon {

FloatingPlacement floatingBarPlacement(const FloatingPlacementInput& in)
{
    FloatingPlacement p;
    p.left = in.currentLeft;
    p.top = kFloatingBarFallbackTop;
    // A maximised main window fills the screen: "below" it would be off screen
    // even where a tall task bar makes the room check below come out true.
    if (in.mainMaximized)
        return p;
    if (in.screenHeight - in.barHeight >= in.mainTop + in.mainHeight) {
        p.belowMain = true;
        p.left = in.mainLeft;
        p.top = in.mainTop + in.mainInnerHeight + kFloatingBarGap;
    }
    return p;
}

double twipsPerPixel(const QWidget* widget)
{
    const QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

namespace {
int toTwips(int pixels, double tpp)
{
    return int(std::lround(pixels * tpp));
}
int toPixels(int twips, double tpp)
{
    return int(std::lround(twips / tpp));
}
QRect screenRect(const QWidget* widget)
{
    const QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

FloatingPlacementInput measurePlacement(const QWidget* bar, const QWidget* mainWindow)
{
    const double tpp = twipsPerPixel(mainWindow);
    const QRect screen = screenRect(mainWindow);
    FloatingPlacementInput in;
    in.screenHeight = toTwips(screen.height(), tpp);
    const QRect barFrame = bar->frameGeometry();
    const int barHeight =
        bar->isVisible() ? barFrame.height() : qMax(bar->height(), bar->sizeHint().height());
    in.barHeight = toTwips(barHeight, tpp);
    in.currentLeft = toTwips(barFrame.left() - screen.left(), tpp);
    if (mainWindow) {
        const QRect frame = mainWindow->frameGeometry();
        in.mainLeft = toTwips(frame.left() - screen.left(), tpp);
        in.mainTop = toTwips(frame.top() - screen.top(), tpp);
        in.mainHeight = toTwips(frame.height(), tpp);
        in.mainInnerHeight = toTwips(mainWindow->height(), tpp);
        in.mainMaximized = mainWindow->isMaximized();
    }
    return in;
}

void placeFloatingBar(QWidget* bar, const QWidget* mainWindow)
{
    const FloatingPlacement p = floatingBarPlacement(measurePlacement(bar, mainWindow));
    const double tpp = twipsPerPixel(mainWindow);
    const QRect screen = screenRect(mainWindow);
    bar->move(screen.left() + toPixels(p.left, tpp), screen.top() + toPixels(p.top, tpp));
}

} // namespace quillon
