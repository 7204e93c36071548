#include "app/mainwindow.h"
#include "common/screenplacement.h"

#include "app/cataloguefollower.h"
#include "app/devicepanel.h"
#include "app/menubuilder.h"
#include "app/paneldroptarget.h"
#include "app/searchcommands.h"
#include "app/sidebar.h"
#include "app/songcommands.h"
#include "app/songpanel.h"
#include "app/statuspanels.h"
#include "app/trackgrid.h"
#include "app/traycontroller.h"
#include "app/welcomepanel.h"
#include "app/windowcommands.h"
#include "app/workarea.h"
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/twipsscale.h"
#include "devices/deviceregister.h"
#include "songs/songstore.h"
#include "store/settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>

namespace quillon {

namespace {
// The hourglass for the length of a scope.
class WaitCursor final {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

const QStringList kSongItems{"save",        "preview_ts",     "close",  "delete_song",
                             "songdetails", "sessiondetails", "lyrics", "display_songdetails"};
const Placement kMainDefaults{10, 10, 11100, 7680};
} // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent), m_state(state),
      m_commands(std::make_unique<WindowCommands>(state, *this)),
      m_songCommands(std::make_unique<SongCommands>(state, *this))
{
    setObjectName("frmMain");
    setWindowTitle("QuillonSE");
    m_menus = new MenuBuilder(menuBar(), this);
    m_status = new StatusPanels(statusBar());
    buildWorkArea();
    TrayController::Hooks hooks;
    hooks.showCoverIfNoSong = [this] {
        if (!m_state.songLoaded()) {
            m_cover->show();
            m_cover->raise();
        }
    };
    hooks.openOptions = [this] { m_commands->settings(); };
    hooks.unloadAllForms = [this] { unloadAllForms(); };
    hooks.hideDevicesBar = [this] { m_commands->hideFloatingBar(); };
    hooks.enableShowButton = [this](bool on) { m_commands->barEnableShowButton(on); };
    m_tray = new TrayController(state, this, hooks, this);
    m_search = new SearchCommands(state, *this);
    connectSignals();
    if (state.events)
        m_follower = new CatalogueFollower(state, *this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        const bool mayAsk = manager.allowsInteraction();
        if (!commitSessionData(mayAsk))
            manager.cancel();
        if (mayAsk)
            manager.release();
    });
    formLoad();
}

MainWindow::~MainWindow()
{
    // Widgets going away must not write tracks any more.
    for (int i = 1; i <= TrackGrid::kBoxes; ++i)
        m_grid->box(i)->removeEventFilter(m_grid);
    delete m_splash;
}

void MainWindow::buildWorkArea()
{
    m_area = new WorkArea(m_state, this);
    setCentralWidget(m_area);
    m_grid = m_area->grid();
    m_songPanel = m_area->songPanel();
    m_devices = m_area->devices();
    m_sidebar = m_area->sidebar();
    m_cover = m_area->cover();
    m_sidebarToggle = m_area->sidebarToggle();

    auto* drops = new PanelDropTarget([this] { showFloating(); }, this);
    drops->watch(m_area);
    drops->watch(statusBar());
    drops->watch(m_sidebar);
    for (QWidget* w : m_grid->widgets())
        drops->watch(w);
    for (int i = 1; i <= DevicePanel::kSlots; ++i)
        drops->watch(m_devices->deviceLabel(i));
}

void MainWindow::connectSignals()
{
    connect(m_menus, &MenuBuilder::triggered, this, &MainWindow::menuClicked);
    connect(m_cover, &WelcomePanel::createSongClicked, this, [this] { m_songCommands->newSong(); });
    connect(m_cover, &WelcomePanel::openSongClicked, this, [this] { m_songCommands->openSong(); });
    connect(m_cover, &WelcomePanel::openLastSongClicked, this, &MainWindow::openLastSong);
    connect(m_sidebar, &Sidebar::bankClicked, this, &MainWindow::bankClicked);
    connect(m_sidebar, &Sidebar::trackListClicked, this, &MainWindow::trackListClicked);
    connect(m_sidebar, &Sidebar::devicesBarClicked, this, &MainWindow::toggleDevicesBar);
    connect(m_sidebar, &Sidebar::detailsClicked, this, [this] { m_commands->detailsButton(); });
    connect(m_sidebar, &Sidebar::editDeviceClicked, this, [this] { m_commands->editDevice(); });
    connect(m_sidebar, &Sidebar::hideClicked, this, &MainWindow::toggleSidebar);
    connect(m_sidebarToggle, &QPushButton::clicked, this, &MainWindow::toggleSidebar);
    connect(m_area->standbyButton(), &QPushButton::clicked, this, [this] { m_tray->sendToTray(); });
    connect(m_area->exitButton(), &QPushButton::clicked, this, &QWidget::close);
    connect(m_devices, &DevicePanel::selectorClicked, this, &MainWindow::selectorClicked);
    connect(m_devices, &DevicePanel::labelDoubleClicked, this,
            [this](int slot) { m_commands->deviceLabelDoubleClicked(slot); });
    connect(m_devices, &DevicePanel::detachClicked, this, &MainWindow::showFloating);
}

void MainWindow::formLoad()
{
    WaitCursor wait;
    const QString version = QApplication::applicationVersion().isEmpty()
                                ? QStringLiteral(QUILLON_VERSION)
                                : QApplication::applicationVersion();
    const QString company = QApplication::organizationName().isEmpty()
                                ? QStringLiteral("Quillon")
                                : QApplication::organizationName();
    m_cover->setNotice(kApplicationTitle, version, "This product is licensed to you by " + company);
    m_state.firstActivation = true;

    Placement place = m_state.settings.placement("Main", kMainDefaults);
    // A window saved while minimised comes back on screen.
    if (place.left < 0)
        place.left = 10;
    if (place.top < 10)
        place.top = 10;
    const TwipsScale scale = TwipsScale::forWidget(this);
    // Damaged settings or a screen unplugged since must not hide the window.
    const QRect wanted = restoredPlacement(place, kMainDefaults, scale);
    m_wantedOuterSize = scale.toTwips(wanted).size();
    move(wanted.topLeft());
    resize(wanted.size());
    m_songPanel->arrange(scale);
    m_cover->welcomeBox()->resize(scale.toPixels(QSizeF(5400, 3600)));
    placeCover();
    m_cover->raise();

    m_menus->buildAll();
    m_state.currentTrackBank = 1;
    m_state.currentDeviceIndex = 1;
}

void MainWindow::showSplash()
{
    if (!m_splashFactory)
        return;
    m_splash = m_splashFactory();
    if (!m_splash)
        return;
    m_splash->show();
    m_splash->repaint();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_frameFixed) {
        // The stored size is the outer size; the frame is known only now.
        m_frameFixed = true;
        const QSize frame = frameGeometry().size() - size();
        if (!frame.isEmpty() && frame != QSize(0, 0))
            resize(TwipsScale::forWidget(this).toPixels(m_wantedOuterSize) - frame);
    }
    // Platforms that never activate the window still get the start-up sequence.
    if (m_state.firstActivation)
        QMetaObject::invokeMethod(this, &MainWindow::formActivate, Qt::QueuedConnection);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        formActivate();
    else if (event->type() == QEvent::WindowStateChange && !m_state.firstActivation)
        resizeForm();
}

void MainWindow::formActivate()
{
    if (m_activating || !isVisible())
        return;
    m_activating = true;
    update();
    if (m_state.firstActivation) {
        WaitCursor wait;
        centreWelcomeBox();
        m_cover->show();
        m_cover->raise();
        takeSongCount();
        m_state.settings.showMinimized(); // read, and left without effect
        readRecDevNames();
        m_state.currentSong = kNoSongLoaded;
        if (m_state.settings.openRecentSong())
            m_state.currentSong = m_state.settings.recentSong();
        if (!m_state.songLoaded()) {
            setNoSongLoaded();
        } else {
            loadSong();
            m_state.currentTrackBank = 1;
        }
        delete m_splash;
        m_devices->selectSlot(1);
        m_commands->barSelectSlot(1);
        if (m_state.songLoaded() && m_state.settings.showDeviceBar())
            toggleDevicesBar();
        if (m_state.settings.showSidebar(true))
            toggleSidebar();
        m_state.firstActivation = false;
        if (m_state.songLoaded()) {
            resizeForm();
            m_cover->hide();
        }
    }
    if (!m_state.songLoaded()) {
        m_cover->show();
        m_cover->raise();
        // The settings dialog, for one, rewrites the recent song.
        refreshOpenLastSong();
    }
    m_activating = false;
}

void MainWindow::takeSongCount()
{
    const int count = m_state.songs.count();
    if (count > 0) {
        m_state.songCount = count;
        m_status->showSongCount(count);
    }
}

void MainWindow::forgetSong()
{
    m_songRow = SongRecord();
    m_songPanel->clear();
    m_grid->clear();
}

void MainWindow::setCaption(const QString& song)
{
    setWindowTitle("Quillon 05 [" + song + "]");
}

MainLayoutInput MainWindow::layoutInput() const
{
    const TwipsScale scale = TwipsScale::forWidget(this);
    QSize outer = frameGeometry().size();
    if (outer.width() < width() || outer.height() < height())
        outer = size();
    MainLayoutInput in;
    in.windowWidth = scale.toTwips(outer.width());
    in.windowHeight = scale.toTwips(outer.height());
    in.innerHeight = scale.toTwips(m_area->height() + statusBar()->height());
    in.statusBarHeight = scale.toTwips(statusBar()->height());
    in.maximized = isMaximized();
    in.coverVisible = !m_cover->isHidden();
    in.welcomeSize = scale.toTwips(QRect(QPoint(0, 0), m_cover->welcomeBox()->size())).size();
    in.sidebarVisible = !m_sidebar->isHidden();
    in.sidebarWidth = Sidebar::kWidth;
    in.devicePanelVisible = !m_devices->isHidden();
    in.devicePanelHeight = DevicePanel::kHeight;
    in.exitButtonWidth = 450;
    return in;
}

void MainWindow::placeCover()
{
    const MainLayoutInput in = layoutInput();
    const TwipsScale scale = TwipsScale::forWidget(this);
    m_cover->setGeometry(
        scale.toPixels(QRectF(5, 5, in.windowWidth, in.innerHeight - in.statusBarHeight)));
    m_cover->show();
}

void MainWindow::centreWelcomeBox()
{
    QWidget* box = m_cover->welcomeBox();
    box->move((m_area->width() - box->width()) / 2, (m_area->height() - box->height()) / 2);
}

void MainWindow::resizeForm()
{
    if (!m_state.firstActivation) {
        const bool minimized = isMinimized();
        // While the window is minimised the bar stands in for it, where the
        // user left it.
        m_commands->floatingBarFollowsMain(minimized);
        if (minimized && m_state.floatingBarOn)
            m_commands->keepFloatingBarShown();
        else if (!m_state.floatingBarOn && (minimized || !isMaximized()))
            m_commands->hideFloatingBar();
        if (minimized && m_state.lyricsWindowOpen)
            m_commands->keepLyricsWindowShown();
    }
    const MainLayoutInput in = layoutInput();
    m_layout = computeMainLayout(in);
    const TwipsScale scale = TwipsScale::forWidget(this);
    if (m_layout.snapped && !m_snapping && !isMinimized() && !isMaximized()) {
        // Below the minimum size the window snaps back to just above it.
        m_snapping = true;
        const QSize frame = (frameGeometry().size() - size()).expandedTo(QSize(0, 0));
        resize(scale.toPixels(m_layout.windowSize) - frame);
        m_snapping = false;
        m_layout = computeMainLayout(layoutInput());
    }
    if (m_layout.devicesBarTop)
        m_commands->moveFloatingBarTop(*m_layout.devicesBarTop);
    m_area->apply(m_layout, scale);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!m_state.firstActivation)
        resizeForm();
}

void MainWindow::setNoSongLoaded()
{
    placeCover();
    refreshOpenLastSong();
    m_menus->setEnabled(kSongItems, false);
    if (m_state.floatingBarOn)
        m_commands->hideFloatingBar();
    if (m_state.lyricsWindowOpen)
        m_commands->closeLyricsWindow();
    m_cover->raise();
}

void MainWindow::setSongLoaded()
{
    resizeForm();
    m_menus->setEnabled(kSongItems, true);
}

void MainWindow::loadSong()
{
    WaitCursor wait;
    setCaption(m_state.currentSong);
    std::optional<SongRecord> row;
    if (m_state.songLoaded())
        row = m_state.songs.song(m_state.currentSong);
    if (!row) {
        // Not found (deleted meanwhile, or a stale recent title): no song, no message.
        forgetSong();
        m_state.currentSong = kNoSongLoaded;
        setNoSongLoaded();
        m_cover->show();
        return;
    }
    m_songRow = *row;
    m_state.settings.setRecentSong(m_state.currentSong);
    setCaption(m_state.currentSong);
    m_songPanel->show(m_songRow);
    m_devices->selectSlot(1);
    m_commands->barSelectSlot(1);
    m_state.currentDeviceIndex = 1;
    m_state.trackFillInProgress = true;
    loadTrackGrid();
    setSongLoaded();
    bankClicked(1);
    if (m_state.lyricsWindowOpen)
        m_commands->lyrics();
    m_state.floatingBarOn = false;
    m_commands->hideFloatingBar();
    m_devices->show();
    resizeForm();
}

void MainWindow::readSongDetails()
{
    WaitCursor wait;
    if (!m_state.songLoaded())
        return;
    m_state.currentSongDetails.deviceName = deviceLabelText(m_state.currentDeviceIndex);
    // The row is read afresh: other windows store into it without reloading.
    const std::optional<SongRecord> fresh = m_state.songs.song(m_state.currentSong);
    m_state.currentSongDetails.readFrom(fresh ? *fresh : m_songRow);
}

void MainWindow::loadTrackGrid()
{
    WaitCursor wait;
    m_sidebar->setPressedBank(m_state.currentTrackBank);
    m_commands->barSelectBank(m_state.currentTrackBank);
    m_grid->load();
    setCaption(m_state.currentSong);
    m_state.currentSongDetails.deviceName = deviceLabelText(m_state.currentDeviceIndex);
    m_status->setText("adpanel", m_state.currentSongDetails.deviceName);
}

void MainWindow::readRecDevNames()
{
    DeviceRegister devices(m_state.data);
    m_state.deviceNames = devices.names();
    if (m_state.deviceNames.isEmpty() && !devices.lastError().isEmpty())
        qCWarning(lcApp) << "device names not read:" << devices.lastError();
    for (int i = 1; i <= DevicePanel::kSlots; ++i) {
        const QString name = m_state.deviceName(i);
        m_devices->setDeviceName(i, name);
        m_commands->barSetDeviceLabel(i, name.left(DevicePanel::kLabelChars));
    }
}

QString MainWindow::deviceLabelText(int slot) const
{
    return m_devices->labelText(slot);
}

void MainWindow::showDeviceName(int slot, int chars)
{
    const QString name = m_state.deviceName(slot);
    m_devices->setDeviceName(slot, name, chars);
    m_commands->barSetDeviceLabel(slot, name.left(chars));
    if (slot != m_state.currentDeviceIndex)
        return;
    m_state.currentSongDetails.deviceName = deviceLabelText(slot);
    m_status->setText("adpanel", m_state.currentSongDetails.deviceName);
}

void MainWindow::refreshOpenLastSong()
{
    const QString recent = m_state.settings.recentSong();
    if (recent.isEmpty() || recent == kNoSongLoaded)
        m_cover->offerLastSong(false, "No song has been opened yet");
    else if (!m_state.songs.song(recent))
        m_cover->offerLastSong(false, "The last song, \"" + recent + "\", no longer exists");
    else
        m_cover->offerLastSong(true, "Open Last Song: " + recent);
}

void MainWindow::openLastSong()
{
    const QString recent = m_state.settings.recentSong();
    // Looked up as loading looks it up, so what is offered also loads.
    if (recent.isEmpty() || recent == kNoSongLoaded || !m_state.songs.song(recent)) {
        refreshOpenLastSong();
        return;
    }
    if (!flushTyping())
        return;
    m_state.currentSong = recent;
    loadSong();
    if (m_state.songLoaded())
        m_cover->hide();
}

QFont MainWindow::trackBoxFont() const
{
    return m_grid->box(1)->font();
}

void MainWindow::focusDefaultButton()
{
    m_songPanel->defaultButton()->setFocus();
}

bool MainWindow::flushTyping()
{
    QWidget* focus = QApplication::focusWidget();
    for (int i = 1; i <= TrackGrid::kBoxes; ++i)
        if (focus == m_grid->box(i))
            m_grid->writeBank();
    // Also when the box was left before (its write already refused).
    return !m_grid->holdsRefusedText();
}

bool MainWindow::showStoredSong()
{
    if (!m_state.songLoaded())
        return false;
    const std::optional<SongRecord> row = m_state.songs.song(m_state.currentSong);
    if (!row)
        return false;
    m_songRow = *row;
    m_songPanel->show(m_songRow);
    setCaption(m_state.currentSong);
    return true;
}

void MainWindow::bankClicked(int bank)
{
    if (!flushTyping()) {
        m_sidebar->setPressedBank(m_state.currentTrackBank);
        m_commands->barSelectBank(m_state.currentTrackBank);
        return;
    }
    m_state.trackFillInProgress = true;
    m_state.currentTrackBank = bank;
    if (!m_songRow.isValid()) {
        m_state.trackFillInProgress = false;
        m_state.prompter.message(this, "You first have to enter a new song !", QString(),
                                 Prompter::Icon::None, QMessageBox::Ok);
        return;
    }
    loadTrackGrid();
    if (!m_sidebar->isHidden())
        m_sidebar->raise();
    m_state.trackFillInProgress = false;
}

void MainWindow::selectorClicked(int index)
{
    if (index < DevicePanel::kSlots + 1 || index > 2 * DevicePanel::kSlots)
        return; // the lit selector of the current slot
    if (!flushTyping())
        return;
    const int slot = index - DevicePanel::kSlots;
    m_devices->selectSlot(slot);
    m_commands->barSelectSlot(slot);
    m_state.currentDeviceIndex = slot;
    loadTrackGrid();
    if (!m_grid->trackList()->isHidden())
        m_grid->fillList(TrackGrid::ListFormat::Long);
}

void MainWindow::trackListClicked()
{
    QListWidget* list = m_grid->trackList();
    if (!list->isHidden()) {
        list->hide();
        return;
    }
    flushTyping();
    list->show();
    m_grid->fillList(TrackGrid::ListFormat::Short);
    list->raise();
}

void MainWindow::menuClicked(const QString& key)
{
    if (key == "exit")
        close();
    else if (key == "find")
        m_search->showWindow();
    else if (!m_songCommands->dispatch(key))
        m_commands->dispatch(key);
}

void MainWindow::toggleSidebar()
{
    m_area->toggleSidebar();
    resizeForm();
}

void MainWindow::toggleDevicesBar()
{
    if (m_commands->floatingBarVisible()) {
        m_state.floatingBarOn = false;
        m_devices->show();
        resizeForm();
        m_commands->hideFloatingBar();
    } else {
        showFloating();
    }
}

void MainWindow::showFloating()
{
    const TwipsScale scale = TwipsScale::forWidget(this);
    const QRect frame = frameGeometry();
    const double screenHeight = screen() ? scale.toTwips(screen()->geometry().height()) : 16200;
    m_barPlacement =
        floatingBarPlacement(screenHeight, DevicePanel::kHeight + 600, scale.toTwips(frame.x()),
                             scale.toTwips(frame.y()), scale.toTwips(frame.height()),
                             scale.toTwips(m_area->height() + statusBar()->height()));
    m_state.floatingBarOn = true;
    m_commands->showFloatingBar();
    m_devices->hide();
    resizeForm();
}

void MainWindow::writeUnloadState()
{
    const TwipsScale scale = TwipsScale::forWidget(this);
    const QRect frame = frameGeometry();
    // The outer size: the layout's formulas start from it.
    m_state.settings.setPlacement("Main", placementInTwips(frame, scale));
    m_state.settings.setRecentSong(m_state.currentSong);
    m_state.settings.sync();
}

bool MainWindow::confirmExit()
{
    // Every question comes before anything is closed or stored: a No to
    // any of them leaves the program as it was.
    if (!m_state.prompter.askYesNo(this, "Do you really want to exit QUILLON ?", windowTitle()))
        return false;
    return m_commands->documentWindowsMayClose();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A refused track write: the typed text stays in front to be applied.
    const bool typingKept = !flushTyping();
    if (!m_exitAgreed && (typingKept || !confirmExit())) {
        event->ignore();
        return;
    }
    writeUnloadState();
    m_commands->closeFloatingBar();
    m_commands->closeDocumentWindows();
    if (m_state.lyricsWindowOpen)
        m_commands->closeLyricsWindow();
    delete m_splash;
    // Every other window goes with the main window, without its own close handling.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->hide();
    event->accept();
}

void MainWindow::bringToFront()
{
    if (m_tray->isInTray() || isMinimized())
        m_tray->doubleClicked();
    if (isHidden())
        show();
    raise();
    activateWindow();
}

bool MainWindow::commitSessionData(bool mayAsk)
{
    flushTyping();
    if (mayAsk) {
        if (!m_commands->documentWindowsMayClose())
            return false;
    } else {
        m_commands->saveDocumentWindows();
    }
    writeUnloadState();
    return true;
}

void MainWindow::unloadAllForms()
{
    // Asked first, so that a No keeps every window as it is.
    if (!flushTyping() || !confirmExit())
        return;
    m_exitAgreed = true;
    m_commands->closeDocumentWindows();
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w != this && w->isVisible())
            w->close();
    close();
    m_exitAgreed = false;
}

} // namespace quillon
