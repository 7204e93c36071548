#pragma once

#include <QRect>

class QWidget;

namespace quillon {

// Converts the preview's twips (1/1440 inch) to screen pixels and back, from
// the logical resolution of the screen a widget is on. The preview computes
// its whole layout in twips and only turns it into pixels when it places
// its widgets, so rounding never accumulates.
class PreviewUnits final {
public:
    PreviewUnits(double dpiX, double dpiY);
    // The resolution of the screen the widget is on (96 dpi when unknown).
    static PreviewUnits of(const QWidget* widget);

    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    int toTwipsX(double pixels) const;
    int toTwipsY(double pixels) const;
    // Each of left, top, width and height converted on its own, so that two
    // pictures of the same size in twips get the same size in pixels.
    QRect toPixels(const QRect& twips) const;
    QRect toTwips(const QRect& pixels) const;

private:
    double m_dpiX;
    double m_dpiY;
};

} // namespace quillon
