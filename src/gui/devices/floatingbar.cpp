#include "devices/floatingbar.h"

#include "common/appstate.h"
#include "common/windowtopmost.h"
#include "devices/devicecell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace quillon {

namespace {
const QStringList& trackGroups()
{
    static const QStringList groups{"1-24", "25-48", "49-72", "73-96"};
    return groups;
}

QToolButton* pictureButton(const char* objectName, const QString& text, QStyle::StandardPixmap icon,
                           const QString& tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setToolTip(tip);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}
} // namespace

FloatingBar::FloatingBar(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(QStringLiteral("frmFloating"));
    buildUi();
    setSongTitle(m_state.currentSong);
    setDeviceNames(m_state.deviceNames);
    setSelectedSlot(m_state.currentDeviceIndex);
    setBank(m_state.currentTrackBank);
    QApplication::restoreOverrideCursor();
    setWindowTitle(tr("Quillon - Devices Bar"));
}

void FloatingBar::buildUi()
{
    m_songTitle = new QLabel(this);
    m_songTitle->setObjectName(QStringLiteral("lblSongtitle"));
    m_songTitle->setTextFormat(Qt::PlainText);
    QFont titleFont = m_songTitle->font();
    titleFont.setBold(true);
    m_songTitle->setFont(titleFont);

    m_devices = new QWidget(this);
    m_devices->setObjectName(QStringLiteral("picDevices"));
    m_devices->setCursor(Qt::OpenHandCursor);
    auto* grid = new QGridLayout(m_devices);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    for (int k = 1; k <= kSlots; ++k) {
        auto* cell = new DeviceCell(k, m_devices);
        cell->setCursor(Qt::ArrowCursor);
        grid->addWidget(cell, (k - 1) / 5, (k - 1) % 5);
        connect(cell, &DeviceCell::selectRequested, this, &FloatingBar::chooseSlot);
        connect(cell, &DeviceCell::editRequested, this, &FloatingBar::editDevice);
        m_cells << cell;
    }

    m_tracks = pictureButton("cmdTracks", tr("Tracks"), QStyle::SP_FileDialogListView,
                             tr("Choose the tracks to show"), this);
    m_showMain = pictureButton("cmdShowQuillon", tr("Quillon"), QStyle::SP_TitleBarNormalButton,
                               tr("Show the main window"), this);
    m_dock = pictureButton("cmdHide", tr("Dock"), QStyle::SP_ArrowDown,
                           tr("Dock the devices bar into the main window"), this);
    m_onTopButton = new QPushButton(tr("On"), this);
    m_onTopButton->setObjectName(QStringLiteral("cmdOnTop"));
    m_onTopButton->setToolTip(tr("Keep the devices bar above other windows"));
    // Checked is the pressed look the button keeps while the bar is on top.
    m_onTopButton->setCheckable(true);
    m_onTopButton->setAutoDefault(false);

    connect(m_tracks, &QToolButton::clicked, this, &FloatingBar::toggleTrackList);
    connect(m_showMain, &QToolButton::clicked, this, &FloatingBar::showMain);
    connect(m_dock, &QToolButton::clicked, this, &FloatingBar::dock);
    connect(m_onTopButton, &QPushButton::clicked, this, &FloatingBar::toggleOnTop);

    // The track group list opens beside the buttons; the bar widens to hold it.
    m_trackList = new QListWidget(this);
    m_trackList->setObjectName(QStringLiteral("List1"));
    m_trackList->addItems(trackGroups());
    m_trackList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_trackList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_trackList->setFixedHeight(m_trackList->sizeHintForRow(0) * int(trackGroups().size()) +
                                2 * m_trackList->frameWidth());
    m_trackList->setFixedWidth(
        m_trackList->fontMetrics().horizontalAdvance(QStringLiteral("00-000")) +
        4 * m_trackList->frameWidth() + 12);
    m_trackList->hide();
    connect(m_trackList, &QListWidget::itemClicked, this, &FloatingBar::chooseBank);
    connect(m_trackList, &QListWidget::itemActivated, this, &FloatingBar::chooseBank);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_tracks, 0, 0);
    buttons->addWidget(m_showMain, 0, 1);
    buttons->addWidget(m_onTopButton, 1, 0);
    buttons->addWidget(m_dock, 1, 1);
    buttons->setRowStretch(2, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(m_devices, 1);
    body->addSpacing(6);
    body->addLayout(buttons);
    body->addWidget(m_trackList, 0, Qt::AlignTop);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 6, 8, 8);
    main->setSpacing(6);
    main->addWidget(m_songTitle);
    main->addLayout(body);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void FloatingBar::setOwner(QWidget* owner)
{
    m_owner = owner;
    // Window managers keep only tool windows above their owner; a tool window
    // would also be minimised along with it, so without an owner the bar is
    // an ordinary window again.
    const Qt::WindowType type = owner ? Qt::Tool : Qt::Window;
    if (windowType() != type) {
        // The type goes with the native window, which is re-created hidden.
        const bool wasVisible = isVisible();
        const QPoint place = pos();
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | type);
        if (wasVisible) {
            move(place);
            show();
        }
    }
    applyOwner();
}

void FloatingBar::applyOwner()
{
    QWindow* window = windowHandle();
    if (!window)
        return; // not created yet: showEvent applies it
    QWindow* owner = m_owner ? m_owner->window()->windowHandle() : nullptr;
    if (window->transientParent() != owner)
        window->setTransientParent(owner);
}

void FloatingBar::showEvent(QShowEvent* event)
{
    // The native window may be new (first showing, or re-created when the
    // on-top flag changed); it learns its owner before it is mapped.
    applyOwner();
    QWidget::showEvent(event);
}

DeviceCell* FloatingBar::cell(int slot) const
{
    return slot >= 1 && slot <= m_cells.size() ? m_cells.at(slot - 1) : nullptr;
}

QString FloatingBar::deviceLabelText(int slot) const
{
    const DeviceCell* c = cell(slot);
    return c ? c->shownName() : QString();
}

QString FloatingBar::songTitleText() const
{
    return m_songTitle->text();
}

void FloatingBar::setSelectedSlot(int slot)
{
    if (!cell(slot))
        return;
    m_selected = slot;
    for (DeviceCell* c : m_cells)
        c->setLit(c->slot() == slot);
}

void FloatingBar::setBank(int bank)
{
    if (bank < 1 || bank > trackGroups().size())
        return;
    m_bank = bank;
    m_trackList->setCurrentRow(bank - 1);
}

void FloatingBar::setDeviceNames(const QStringList& names)
{
    for (int k = 1; k <= kSlots; ++k)
        setDeviceName(k, k <= names.size() ? names.at(k - 1) : QString(), kLoadNameLength);
}

void FloatingBar::setDeviceName(int slot, const QString& name, int maxChars)
{
    if (DeviceCell* c = cell(slot))
        c->setShownName(name.left(maxChars));
}

void FloatingBar::setSongTitle(const QString& title)
{
    m_songTitle->setText(title + QStringLiteral("  "));
}

void FloatingBar::chooseSlot(int slot)
{
    if (!cell(slot) || slot == m_selected)
        return;
    setSelectedSlot(slot);
    m_state.currentDeviceIndex = slot;
    Q_EMIT slotSelected(slot);
}

void FloatingBar::chooseBank(QListWidgetItem* item)
{
    const int row = m_trackList->row(item);
    if (row < 0)
        return;
    m_bank = row + 1;
    m_state.currentTrackBank = m_bank;
    m_trackList->hide();
    Q_EMIT bankSelected(m_bank);
}

void FloatingBar::toggleTrackList()
{
    const bool show = m_trackList->isHidden();
    m_trackList->setVisible(show);
    if (show)
        m_trackList->setFocus();
}

void FloatingBar::editDevice(int slot)
{
    // A slot without a row in the register has no device to edit.
    if (!cell(slot) || slot > m_state.deviceNames.size())
        return;
    m_state.currentDeviceName = m_state.deviceName(slot);
    {
        RecDevWindow form(m_state, this, slot);
        form.setShowPreview(m_showPreview);
        form.exec();
    }
    m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
    setDeviceName(slot, m_state.currentDeviceName, kEditedNameLength);
    Q_EMIT deviceRenamed(slot);
}

void FloatingBar::toggleOnTop()
{
    m_onTop = !m_onTop;
    m_onTopButton->setText(m_onTop ? tr("Off") : tr("On"));
    m_onTopButton->setChecked(m_onTop);
    setWindowTopmost(this, m_onTop);
}

void FloatingBar::dock()
{
    m_trackList->hide();
    hide();
    m_state.floatingBarOn = false;
    Q_EMIT dockRequested();
}

void FloatingBar::showMain()
{
    Q_EMIT showMainRequested();
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void FloatingBar::closeEvent(QCloseEvent* event)
{
    // Closing the bar from its title bar would otherwise leave the device
    // panel in neither window: put it back into the main window instead.
    if (event->spontaneous() && m_state.floatingBarOn) {
        event->ignore();
        dock();
        return;
    }
    QWidget::closeEvent(event);
}

void FloatingBar::setShowMainEnabled(bool on)
{
    m_showMain->setEnabled(on);
}

} // namespace quillon
