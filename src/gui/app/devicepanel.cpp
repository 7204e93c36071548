#include "app/devicepanel.h"

#include "app/mainlayout.h"
#include "common/twipsscale.h"

#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace quillon {

namespace {
QPixmap lamp(const QColor& colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(colour);
    p.drawEllipse(1, 1, 12, 12);
    return pixmap;
}
} // namespace

QString DevicePanel::mimeType()
{
    return QStringLiteral("application/x-quillon-device-panel");
}

DevicePanel::DevicePanel(QWidget* parent) : QFrame(parent)
{
    setObjectName("picDevices");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // Over the panel itself the open hand says "this can be dragged".
    setCursor(Qt::OpenHandCursor);

    const QPixmap lit = lamp(QColor(40, 200, 60));
    const QPixmap unlit = lamp(QColor(90, 90, 90));
    for (int i = 1; i <= kSlots; ++i) {
        auto* cell = new QFrame(this);
        cell->setObjectName(QString("RecMaPanel_%1").arg(i));
        cell->setFrameShape(QFrame::Panel);
        cell->setFrameShadow(QFrame::Sunken);
        m_cells[i - 1] = cell;
        for (int index : {i, i + kSlots}) {
            auto* selector = new QLabel(cell);
            selector->setObjectName(QString("Picture1_%1").arg(index));
            selector->setPixmap(index <= kSlots ? lit : unlit);
            selector->setCursor(Qt::PointingHandCursor);
            selector->installEventFilter(this);
            m_selectors[index - 1] = selector;
        }
        auto* label = new QLabel(cell);
        label->setObjectName(QString("lblRecMaPanel_%1").arg(i));
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        m_labels[i - 1] = label;
    }
    m_detach = new QLabel(QStringLiteral("⇱"), this);
    m_detach->setObjectName("Picture5");
    m_detach->setToolTip("Show Recording Devices Bar");
    m_detach->setCursor(Qt::PointingHandCursor);
    m_detach->installEventFilter(this);
    selectSlot(1);
}

void DevicePanel::setDeviceNames(const QStringList& names)
{
    for (int i = 1; i <= kSlots; ++i)
        setDeviceName(i, i <= names.size() ? names.at(i - 1) : QString());
}

void DevicePanel::setDeviceName(int slot, const QString& name, int chars)
{
    if (slot < 1 || slot > kSlots)
        return;
    m_labels[slot - 1]->setText(name.left(chars));
    m_labels[slot - 1]->setToolTip(name);
}

QString DevicePanel::labelText(int slot) const
{
    return slot >= 1 && slot <= kSlots ? m_labels[slot - 1]->text() : QString();
}

void DevicePanel::selectSlot(int slot)
{
    for (int i = 1; i <= kSlots; ++i) {
        m_selectors[i - 1]->setVisible(false);
        m_selectors[i - 1 + kSlots]->setVisible(true);
    }
    if (slot < 1 || slot > kSlots)
        return;
    m_selectors[slot - 1]->setVisible(true);
    m_selectors[slot - 1 + kSlots]->setVisible(false);
}

int DevicePanel::litSlot() const
{
    for (int i = 1; i <= kSlots; ++i)
        if (!m_selectors[i - 1]->isHidden())
            return i;
    return 0;
}

void DevicePanel::arrange(const TwipsScale& scale, const MainLayout& layout)
{
    m_detach->setGeometry(scale.toPixels(QRectF(layout.detachLeft, 45, 180, 240)));
    for (int i = 0; i < kSlots; ++i) {
        const QRectF cell = layout.cells[i];
        m_cells[i]->setGeometry(scale.toPixels(cell));
        const QRect lampRect = scale.toPixels(QRectF(60, 60, 210, 210));
        m_selectors[i]->setGeometry(lampRect);
        m_selectors[i + kSlots]->setGeometry(lampRect);
        m_labels[i]->setGeometry(
            scale.toPixels(QRectF(MainLayout::kCellLabelLeft, 30,
                                  std::max(0.0, layout.cellLabelWidth[i]), cell.height() - 60)));
    }
}

bool DevicePanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (watched == m_detach && click) {
        emit detachClicked();
        return true;
    }
    for (int i = 0; i < 2 * kSlots; ++i) {
        if (watched == m_selectors[i] && click) {
            emit selectorClicked(i + 1);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < kSlots; ++i) {
            if (watched == m_labels[i]) {
                emit labelDoubleClicked(i + 1);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void DevicePanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    // Presses on a label, a selector or the detach image belong to them.
    QWidget* hit = childAt(event->position().toPoint());
    if (hit && hit->cursor().shape() == Qt::PointingHandCursor) {
        QFrame::mousePressEvent(event);
        return;
    }
    startDrag();
}

void DevicePanel::startDrag()
{
    setCursor(Qt::ClosedHandCursor);
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(mimeType(), QByteArray("picDevices"));
    drag->setMimeData(mime);
    drag->setPixmap(grab().scaledToWidth(std::min(width(), 240)));
    drag->setDragCursor(QCursor(Qt::ClosedHandCursor).pixmap(), Qt::MoveAction);
    drag->exec(Qt::MoveAction);
    setCursor(Qt::OpenHandCursor);
}

} // namespace quillon
