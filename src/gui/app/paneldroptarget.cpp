#include "app/paneldroptarget.h"

#include "app/devicepanel.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace quillon {

PanelDropTarget::PanelDropTarget(std::function<void()> onDrop, QObject* parent)
    : QObject(parent), m_onDrop(std::move(onDrop))
{
}

void PanelDropTarget::watch(QWidget* widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool PanelDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData() || !drag->mimeData()->hasFormat(DevicePanel::mimeType()))
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData() || !drop->mimeData()->hasFormat(DevicePanel::mimeType()))
            break;
        drop->acceptProposedAction();
        if (m_onDrop)
            m_onDrop();
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
