#include "documents/documentruler.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

// 96 dpi document units in a centimetre.
constexpr double kUnitsPerCm = 96.0 / 2.54;

} // namespace

DocumentRuler::DocumentRuler(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ruler"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize DocumentRuler::sizeHint() const
{
    return {200, fontMetrics().height() + 10};
}

void DocumentRuler::setTextArea(int textLeft, double textWidth)
{
    m_textLeft = textLeft;
    m_textWidth = textWidth;
    update();
}

void DocumentRuler::setIndents(double left, double firstLine, double right)
{
    m_left = left;
    m_first = firstLine;
    m_right = right;
    update();
}

void DocumentRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const int h = height();
    p.fillRect(QRectF(m_textLeft, 2, m_textWidth, h - 4), palette().base());
    p.setPen(palette().text().color());
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    p.setFont(small);
    // Tick every quarter centimetre, a number every centimetre.
    for (int q = 0; q * kUnitsPerCm / 4 <= m_textWidth; ++q) {
        const double x = m_textLeft + q * kUnitsPerCm / 4;
        if (q % 4 == 0 && q > 0)
            p.drawText(QRectF(x - 10, 0, 20, h), Qt::AlignCenter, QString::number(q / 4));
        else
            p.drawLine(QPointF(x, h - (q % 2 == 0 ? 8 : 5)), QPointF(x, h - 3));
    }
    // Indent marks: triangles below (left), above (first line) and the right.
    const auto triangle = [&p, h](double x, bool down) {
        QPainterPath path;
        const double y = down ? 1 : h - 1;
        const double d = down ? 5 : -5;
        path.moveTo(x - 4, y);
        path.lineTo(x + 4, y);
        path.lineTo(x, y + d);
        path.closeSubpath();
        p.fillPath(path, QColor(60, 60, 60));
    };
    triangle(m_textLeft + m_left + m_first, true);
    triangle(m_textLeft + m_left, false);
    triangle(m_textLeft + m_textWidth - m_right, false);
}

} // namespace quillon
