#include "media/mediaicons.h"

#include "media/mediatypes.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

// Every picture is drawn on a 32 x 32 grid and scaled.
void drawReel(QPainter& p, QPointF c, double r, const QColor& body)
{
    p.setBrush(body);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.3, r * 0.3);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 120);
        p.drawRect(QRectF(-1, -r * 0.85, 2, r * 0.4));
        p.restore();
    }
}

void drawHarddisk(QPainter& p)
{
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(3, 6, 26, 20), 3, 3);
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QPointF(13, 16), 8, 8);
    p.setBrush(QColor(80, 80, 90));
    p.drawEllipse(QPointF(13, 16), 2, 2);
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.drawLine(QPointF(25, 9), QPointF(16, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 80));
    p.drawEllipse(QPointF(25, 23), 1.5, 1.5);
}

void drawTape(QPainter& p, const QColor& body, const QString& mark)
{
    drawReel(p, {16, 14}, 12, body);
    p.setBrush(QColor(90, 60, 30));
    p.drawRect(QRectF(4, 26, 24, 3));
    if (!mark.isEmpty()) {
        p.setPen(Qt::white);
        QFont f;
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 18, 32, 10), Qt::AlignCenter, mark);
        p.setPen(Qt::NoPen);
    }
}

void drawDisc(QPainter& p, const QColor& shine)
{
    QRadialGradient g(QPointF(12, 12), 16);
    g.setColorAt(0, Qt::white);
    g.setColorAt(0.5, shine);
    g.setColorAt(1, QColor(170, 170, 190));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14, 14);
    p.setBrush(QColor(240, 240, 245));
    p.drawEllipse(QPointF(16, 16), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 2, 2);
}

void drawCassette(QPainter& p, const QColor& body, const QString& mark, double width)
{
    const double left = (32 - width) / 2;
    p.setBrush(body);
    p.drawRoundedRect(QRectF(left, 8, width, 17), 2, 2);
    p.setBrush(QColor(245, 240, 220));
    p.drawRect(QRectF(left + 3, 10, width - 6, 8));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(11, 14), 2.2, 2.2);
    p.drawEllipse(QPointF(21, 14), 2.2, 2.2);
    if (!mark.isEmpty()) {
        p.setPen(Qt::white);
        QFont f;
        f.setPixelSize(6);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(left, 18, width, 7), Qt::AlignCenter, mark);
        p.setPen(Qt::NoPen);
    }
}

void drawMinidisk(QPainter& p)
{
    p.setBrush(QColor(60, 110, 190));
    p.drawRoundedRect(QRectF(5, 5, 22, 23), 2, 2);
    p.setBrush(QColor(190, 200, 215));
    p.drawRect(QRectF(9, 5, 14, 8));
    p.setBrush(QColor(230, 235, 245));
    p.drawEllipse(QPointF(16, 20), 5, 5);
}

void drawDatadisk(QPainter& p)
{
    p.setBrush(QColor(45, 45, 55));
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(25, 4);
    body.lineTo(28, 7);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(190, 195, 205));
    p.drawRect(QRectF(10, 4, 12, 9));
    p.setBrush(QColor(45, 45, 55));
    p.drawRect(QRectF(17, 5, 3, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void drawVideotape(QPainter& p)
{
    p.setBrush(QColor(35, 35, 40));
    p.drawRoundedRect(QRectF(2, 9, 28, 15), 1.5, 1.5);
    p.setBrush(QColor(110, 110, 120));
    p.drawRect(QRectF(8, 12, 16, 6));
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QPointF(12, 15), 2, 2);
    p.drawEllipse(QPointF(20, 15), 2, 2);
    p.setBrush(QColor(230, 220, 180));
    p.drawRect(QRectF(5, 20, 22, 2));
}

void drawOther(QPainter& p)
{
    p.setBrush(QColor(210, 170, 80));
    p.drawRoundedRect(QRectF(4, 6, 24, 21), 3, 3);
    p.setPen(Qt::white);
    QFont f;
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(4, 6, 24, 21), Qt::AlignCenter, QStringLiteral("?"));
    p.setPen(Qt::NoPen);
}

void drawRoot(QPainter& p)
{
    // A shelf holding a tape, a disc and a disk.
    p.setBrush(QColor(150, 105, 60));
    p.drawRect(QRectF(1, 26, 30, 4));
    p.save();
    p.translate(-4, 6);
    p.scale(0.6, 0.6);
    drawReel(p, {16, 16}, 13, QColor(170, 90, 40));
    p.restore();
    p.save();
    p.translate(11, 9);
    p.scale(0.55, 0.55);
    drawDisc(p, QColor(180, 200, 255));
    p.restore();
    p.save();
    p.translate(17, 10);
    p.scale(0.5, 0.5);
    drawHarddisk(p);
    p.restore();
}

void drawType(QPainter& p, int type)
{
    switch (type) {
    case 1:
        drawHarddisk(p);
        break;
    case 2:
        drawTape(p, QColor(170, 90, 40), {});
        break;
    case 3:
        drawTape(p, QColor(40, 110, 170), QStringLiteral("D"));
        break;
    case 4:
        drawDisc(p, QColor(180, 200, 255));
        break;
    case 5:
        drawCassette(p, QColor(50, 50, 60), QStringLiteral("DAT"), 22);
        break;
    case 6:
        drawMinidisk(p);
        break;
    case 7:
        drawDatadisk(p);
        break;
    case 8:
        drawCassette(p, QColor(200, 60, 50), {}, 28);
        break;
    case 9:
        drawVideotape(p);
        break;
    default:
        drawOther(p);
        break;
    }
}

QPixmap paint(int number, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(30, 30, 30, 160), 0.8));
    if (number == media::kRootIcon) {
        drawRoot(p);
        return pixmap;
    }
    const bool separated = number > media::kSeparatedOffset;
    const int type = separated ? number - media::kSeparatedOffset : number;
    if (separated)
        p.setOpacity(0.45);
    drawType(p, type);
    if (separated) {
        p.setOpacity(1.0);
        p.setPen(QPen(QColor(200, 20, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(26, 26));
        p.drawLine(QPointF(26, 6), QPointF(6, 26));
    }
    return pixmap;
}

} // namespace

QPixmap MediaIcons::picture(int number, int size)
{
    if (number < 1 || number > kCount)
        number = media::kOtherType;
    return paint(number, size);
}

QIcon MediaIcons::icon(int number)
{
    QIcon icon;
    icon.addPixmap(picture(number, 16));
    icon.addPixmap(picture(number, 32));
    return icon;
}

} // namespace quillon
