#include "common/twipsscale.h"

#include "common/twips.h"

#include <cmath>
#include <QScreen>
#include <QWidget>

namespace quillon {

namespace {
double usableDpi(double dpi)
{
    return dpi > 0 && std::isfinite(dpi) ? dpi : 96.0;
}
} // namespace

TwipsScale::TwipsScale(double logicalDpi) : TwipsScale(logicalDpi, logicalDpi) {}

TwipsScale::TwipsScale(double dpiX, double dpiY) : m_dpiX(usableDpi(dpiX)), m_dpiY(usableDpi(dpiY))
{
}

TwipsScale TwipsScale::forWidget(const QWidget* widget)
{
    if (widget && widget->screen())
        return TwipsScale(widget->screen()->logicalDotsPerInchX(),
                          widget->screen()->logicalDotsPerInchY());
    return TwipsScale();
}

int TwipsScale::toPixels(double twips) const
{
    return toPixelsX(twips);
}

double TwipsScale::toTwips(int pixels) const
{
    return pixelsToTwips(pixels, m_dpiX);
}

int TwipsScale::toPixelsX(double twips) const
{
    return twipsToPixels(twips, m_dpiX);
}

int TwipsScale::toPixelsY(double twips) const
{
    return twipsToPixels(twips, m_dpiY);
}

int TwipsScale::toTwipsX(double pixels) const
{
    return int(std::lround(pixelsToTwips(pixels, m_dpiX)));
}

int TwipsScale::toTwipsY(double pixels) const
{
    return int(std::lround(pixelsToTwips(pixels, m_dpiY)));
}

QRect TwipsScale::toPixels(const QRectF& r) const
{
    const int left = toPixels(r.left());
    const int top = toPixels(r.top());
    const int right = toPixels(r.left() + r.width());
    const int bottom = toPixels(r.top() + r.height());
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

QRectF TwipsScale::toTwips(const QRect& r) const
{
    return QRectF(toTwips(r.x()), toTwips(r.y()), toTwips(r.width()), toTwips(r.height()));
}

QSize TwipsScale::toPixels(const QSizeF& s) const
{
    return QSize(toPixels(s.width()), toPixels(s.height()));
}

QRect TwipsScale::toPixelsKeepingSizes(const QRect& twips) const
{
    return {toPixelsX(twips.left()), toPixelsY(twips.top()), toPixelsX(twips.width()),
            toPixelsY(twips.height())};
}

} // namespace quillon
