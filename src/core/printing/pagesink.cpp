#include "printing/pagesink.h"

namespace quillon {

PageSink::~PageSink() = default;

QFont PageSink::twipsFont(const QFont& font)
{
    QFont f(font);
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    // One point is twenty twips.
    f.setPixelSize(qMax(1, qRound(points * 20.0)));
    return f;
}

void PageSink::drawText(double x, double y, const QString& text, const QFont& font)
{
    QPainter* p = painter();
    if (!p)
        return;
    p->setFont(twipsFont(font));
    p->drawText(QPointF(x, y), text);
}

void PageSink::applyTwipsTransform(QPainter& painter, double deviceDpiX, double deviceDpiY)
{
    painter.resetTransform();
    painter.scale(deviceDpiX / 1440.0, deviceDpiY / 1440.0);
}

} // namespace quillon
