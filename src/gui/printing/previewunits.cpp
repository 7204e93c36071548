#include "printing/previewunits.h"

#include <cmath>
#include <QWidget>

namespace quillon {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

double usableDpi(double dpi)
{
    return dpi > 0 && std::isfinite(dpi) ? dpi : kFallbackDpi;
}

int rounded(double value)
{
    return int(std::lround(value));
}
} // namespace

PreviewUnits::PreviewUnits(double dpiX, double dpiY)
    : m_dpiX(usableDpi(dpiX)), m_dpiY(usableDpi(dpiY))
{
}

PreviewUnits PreviewUnits::of(const QWidget* widget)
{
    if (!widget)
        return {kFallbackDpi, kFallbackDpi};
    return {double(widget->logicalDpiX()), double(widget->logicalDpiY())};
}

int PreviewUnits::toPixelsX(double twips) const
{
    return rounded(twips * m_dpiX / kTwipsPerInch);
}

int PreviewUnits::toPixelsY(double twips) const
{
    return rounded(twips * m_dpiY / kTwipsPerInch);
}

int PreviewUnits::toTwipsX(double pixels) const
{
    return rounded(pixels * kTwipsPerInch / m_dpiX);
}

int PreviewUnits::toTwipsY(double pixels) const
{
    return rounded(pixels * kTwipsPerInch / m_dpiY);
}

QRect PreviewUnits::toPixels(const QRect& twips) const
{
    return {toPixelsX(twips.left()), toPixelsY(twips.top()), toPixelsX(twips.width()),
            toPixelsY(twips.height())};
}

QRect PreviewUnits::toTwips(const QRect& pixels) const
{
    return {toTwipsX(pixels.left()), toTwipsY(pixels.top()), toTwipsX(pixels.width()),
            toTwipsY(pixels.height())};
}

} // namespace quillon
