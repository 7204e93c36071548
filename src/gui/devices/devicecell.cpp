#include "devices/devicecell.h"

#include "devices/selectorpictures.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedLayout>

namespace quillon {

namespace {
QLabel* pictureLabel(const QPixmap& pixmap, int index, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Picture1_%1").arg(index));
    label->setPixmap(pixmap);
    label->setFixedSize(SelectorPictures::size());
    label->setCursor(Qt::PointingHandCursor);
    return label;
}
} // namespace

DeviceCell::DeviceCell(int slot, QWidget* parent) : QFrame(parent), m_slot(slot)
{
    setObjectName(QStringLiteral("RecMaPanel_%1").arg(slot));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);

    const qreal dpr = devicePixelRatioF();
    auto* pictureHolder = new QWidget(this);
    pictureHolder->setFixedSize(SelectorPictures::size());
    m_lit = pictureLabel(SelectorPictures::lit(slot, dpr), slot, pictureHolder);
    m_unlit = pictureLabel(SelectorPictures::unlit(slot, dpr), SelectorPictures::kSlots + slot,
                           pictureHolder);
    m_lit->setToolTip(tr("Current device"));
    m_unlit->setToolTip(tr("Choose this device"));
    m_pictures = new QStackedLayout(pictureHolder);
    m_pictures->setContentsMargins(0, 0, 0, 0);
    m_pictures->addWidget(m_unlit);
    m_pictures->addWidget(m_lit);
    m_pictures->setCurrentWidget(m_unlit);

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lblRecMaPanel_%1").arg(slot));
    m_name->setTextFormat(Qt::PlainText);
    m_name->setCursor(Qt::PointingHandCursor);
    m_name->setToolTip(tr("Double-click to edit the recording device"));
    // Room for the longest name the bar shows (20 characters).
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 20);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 3, 6, 3);
    layout->setSpacing(6);
    layout->addWidget(pictureHolder);
    layout->addWidget(m_name, 1);

    m_unlit->installEventFilter(this);
    m_name->installEventFilter(this);
}

bool DeviceCell::isLit() const
{
    return m_pictures->currentWidget() == m_lit;
}

void DeviceCell::setLit(bool lit)
{
    m_pictures->setCurrentWidget(lit ? m_lit : m_unlit);
}

QString DeviceCell::shownName() const
{
    return m_name->text();
}

void DeviceCell::setShownName(const QString& text)
{
    m_name->setText(text);
}

bool DeviceCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_unlit && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT selectRequested(m_slot);
        return true;
    }
    if (watched == m_name && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT editRequested(m_slot);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace quillon
