#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

class QWidget;

namespace quillon {

// The main window is laid out in twips (1/1440 inch) so that its formulas read
// in the unit they were designed in. One scale turns them into pixels of the
// screen the window is on, from the screen's logical DPI.
class TwipsScale final {
public:
    static constexpr double kTwipsPerInch = 1440.0;

    explicit TwipsScale(double logicalDpi = 96.0);
    // The scale of the screen a widget is on (96 DPI when it has none).
    static TwipsScale forWidget(const QWidget* widget);

    double dpi() const { return m_dpi; }
    int toPixels(double twips) const;
    double toTwips(int pixels) const;
    // Rounds the edges, not the sizes, so that rectangles that do not overlap
    // in twips do not overlap in pixels either.
    QRect toPixels(const QRectF& twips) const;
    QRectF toTwips(const QRect& pixels) const;
    QSize toPixels(const QSizeF& twips) const;

private:
    double m_dpi;
};

} // namespace quillon
