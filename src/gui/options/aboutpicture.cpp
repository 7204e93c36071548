#include "options/aboutpicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quillon {

QPixmap AboutPicture::render(const QSize& size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    const qreal w = size.width();
    const qreal h = size.height();

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x1b, 0x26, 0x3b));
    sky.setColorAt(1, QColor(0x41, 0x5a, 0x77));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // The stave: five lines across the lower half.
    const qreal staffTop = h * 0.55;
    const qreal gap = h * 0.05;
    p.setPen(QPen(QColor(0xe0, 0xe1, 0xdd), qMax<qreal>(1.0, h / 150)));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(w * 0.06, staffTop + i * gap), QPointF(w * 0.94, staffTop + i * gap));

    // A few notes on it.
    p.setBrush(QColor(0xe0, 0xe1, 0xdd));
    const qreal noteW = gap * 1.3;
    const qreal notes[][2] = {{0.22, 3.0}, {0.34, 2.0}, {0.46, 2.5}, {0.58, 1.0}};
    for (const auto& n : notes) {
        const QPointF centre(w * n[0], staffTop + n[1] * gap);
        p.drawEllipse(centre, noteW / 2, gap / 2);
        p.drawLine(centre + QPointF(noteW / 2, 0), centre + QPointF(noteW / 2, -3.2 * gap));
    }

    // The quill: a curved vane with its shaft ending in a nib on the stave.
    const QPointF nib(w * 0.72, staffTop + 2 * gap);
    const QPointF top(w * 0.93, h * 0.08);
    QPainterPath vane;
    vane.moveTo(nib);
    vane.cubicTo(QPointF(w * 0.70, h * 0.35), QPointF(w * 0.80, h * 0.12), top);
    vane.cubicTo(QPointF(w * 0.96, h * 0.25), QPointF(w * 0.86, h * 0.42), nib);
    QLinearGradient feather(nib, top);
    feather.setColorAt(0, QColor(0xf4, 0xe9, 0xcd));
    feather.setColorAt(1, QColor(0xc9, 0xad, 0x6f));
    p.setBrush(feather);
    p.setPen(QPen(QColor(0x77, 0x5a, 0x2b), qMax<qreal>(1.0, h / 200)));
    p.drawPath(vane);
    p.drawLine(nib, QPointF(w * 0.90, h * 0.12));

    // The name.
    QFont font("Serif");
    font.setItalic(true);
    font.setBold(true);
    font.setPixelSize(qMax(8, int(h * 0.2)));
    p.setFont(font);
    p.setPen(QColor(0xf4, 0xe9, 0xcd));
    p.drawText(QRectF(w * 0.06, h * 0.08, w * 0.7, h * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
               "Quillon");
    return pixmap;
}

} // namespace quillon
