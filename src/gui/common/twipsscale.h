#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

class QWidget;

namespace quillon {

// The screen scale of a window laid out in twips (1/1440 inch): one per
// screen, from its logical resolution, so that every window turns the same
// twips into the same pixels.
class TwipsScale final {
public:
    explicit TwipsScale(double logicalDpi = 96.0);
    TwipsScale(double dpiX, double dpiY);
    // The scale of the screen a widget is on (96 DPI when it has none).
    static TwipsScale forWidget(const QWidget* widget);

    // Along the horizontal resolution, for layouts designed square.
    int toPixels(double twips) const;
    double toTwips(int pixels) const;
    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    // Whole twips, as layouts that count in whole twips keep them.
    int toTwipsX(double pixels) const;
    int toTwipsY(double pixels) const;
    // Rounds the edges, not the sizes, so that rectangles that do not overlap
    // in twips do not overlap in pixels either.
    QRect toPixels(const QRectF& twips) const;
    QRectF toTwips(const QRect& pixels) const;
    QSize toPixels(const QSizeF& twips) const;
    // Each of left, top, width and height on its own, so that two pictures of
    // the same size in twips get the same size in pixels wherever they lie.
    QRect toPixelsKeepingSizes(const QRect& twips) const;

private:
    double m_dpiX;
    double m_dpiY;
};

} // namespace quillon
