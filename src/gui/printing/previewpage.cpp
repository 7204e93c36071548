#include "printing/previewpage.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillon {

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent)
{
    // White like a sheet of paper, whatever the widget style.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    setCursor(Qt::PointingHandCursor);
}

void PreviewPage::paintEvent(QPaintEvent*)
{
    if (m_paint)
        m_paint(*this);
    // A thin edge so the sheet stands out from the page area.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PreviewPage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked(event->position().toPoint(), event->modifiers());
    event->accept();
}

} // namespace quillon
