#include "devices/selectorpictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quillon {

QPixmap SelectorPictures::picture(int index, qreal devicePixelRatio)
{
    if (index < 1 || index > kCount)
        return {};
    return draw(slotOfIndex(index), isLitIndex(index), devicePixelRatio);
}

QPixmap SelectorPictures::lit(int slot, qreal devicePixelRatio)
{
    return picture(slot, devicePixelRatio);
}

QPixmap SelectorPictures::unlit(int slot, qreal devicePixelRatio)
{
    return slot >= 1 && slot <= kSlots ? picture(kSlots + slot, devicePixelRatio) : QPixmap();
}

QPixmap SelectorPictures::draw(int slot, bool lit, qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize logical = size();
    QPixmap pixmap(logical * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The key: a dark rounded body, a little lighter at the top.
    const QRectF body(0.5, 0.5, logical.width() - 1.0, logical.height() - 1.0);
    QLinearGradient face(body.topLeft(), body.bottomLeft());
    face.setColorAt(0, lit ? QColor(0x4a, 0x4f, 0x55) : QColor(0x5c, 0x60, 0x66));
    face.setColorAt(1, lit ? QColor(0x23, 0x26, 0x2a) : QColor(0x35, 0x38, 0x3c));
    p.setPen(QPen(QColor(0x18, 0x1a, 0x1d), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(body, 4, 4);

    // The LED: bright green with a halo when lit, a dull dark lens when not.
    const QPointF centre(10.5, logical.height() / 2.0);
    const qreal radius = 5.0;
    if (lit) {
        QRadialGradient halo(centre, radius * 1.9);
        halo.setColorAt(0, QColor(120, 255, 120, 170));
        halo.setColorAt(1, QColor(120, 255, 120, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(centre, radius * 1.9, radius * 1.9);
    }
    QRadialGradient lens(centre - QPointF(1.5, 1.5), radius * 1.4);
    lens.setColorAt(0, lit ? QColor(0xe8, 0xff, 0xe0) : QColor(0x5a, 0x6a, 0x5a));
    lens.setColorAt(0.45, lit ? QColor(0x3c, 0xe0, 0x3c) : QColor(0x2a, 0x40, 0x2a));
    lens.setColorAt(1, lit ? QColor(0x10, 0x90, 0x10) : QColor(0x14, 0x1e, 0x14));
    p.setPen(QPen(QColor(0x0c, 0x0c, 0x0c), 1.0));
    p.setBrush(lens);
    p.drawEllipse(centre, radius, radius);

    // The slot number, so the keys can be told apart at a glance.
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(lit ? QColor(0xf2, 0xf2, 0xf2) : QColor(0xa8, 0xac, 0xb0));
    const QRectF numberBox(18, 0, logical.width() - 20, logical.height());
    p.drawText(numberBox, Qt::AlignCenter, QString::number(slot));
    p.end();
    return pixmap;
}

} // namespace quillon
