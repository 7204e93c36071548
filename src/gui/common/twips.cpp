#include "common/twips.h"

#include <cmath>
#include <QScreen>
#include <QWidget>

namespace quillon {

TwipsScale::TwipsScale(double logicalDpi) : m_dpi(logicalDpi > 0 ? logicalDpi : 96.0) {}

TwipsScale TwipsScale::forWidget(const QWidget* widget)
{
    if (widget && widget->screen())
        return TwipsScale(widget->screen()->logicalDotsPerInchX());
    return TwipsScale();
}

int TwipsScale::toPixels(double twips) const
{
    return int(std::lround(twips * m_dpi / kTwipsPerInch));
}

double TwipsScale::toTwips(int pixels) const
{
    return pixels * kTwipsPerInch / m_dpi;
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

} // namespace quillon
