#pragma once

#include "app/mainlayout.h"
#include "songs/songrecord.h"

#include <functional>
#include <memory>
#include <QMainWindow>
#include <QPointer>
#include <QPointF>

class QPushButton;
class QFrame;

namespace quillon {

struct AppState;
class CatalogueFollower;
class DevicePanel;
class MenuBuilder;
class SearchCommands;
class Sidebar;
class SongCommands;
class SongPanel;
class StatusPanels;
class TrackGrid;
class TrayController;
class WelcomePanel;
class WindowCommands;
class WorkArea;

// The main window `frmMain`: the song panel, the grid of 24 track boxes, the
// device panel, the sidebar, the menus, the status bar and the cover panel
// with the welcome box. It is in one of two states, no song loaded or a song
// loaded, and owns the loading of songs.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: the splash that the first activation closes. The start-up
    // routine shows it before the window is built and hands it over; the
    // factory is for callers that build the window first.
    void adoptSplash(QWidget* splash) { m_splash = splash; }
    void setSplashFactory(std::function<QWidget*()> factory)
    {
        m_splashFactory = std::move(factory);
    }
    void showSplash();
    QWidget* splash() const { return m_splash; }

    // Form_Activate: the first-activation sequence, later only the cover check.
    void formActivate();
    void setNoSongLoaded();
    void setSongLoaded();
    void loadSong();        // Load_Song
    void readSongDetails(); // ReadSongDetails
    void loadTrackGrid();   // LoadTrackGrid
    void readRecDevNames(); // Read_RecDevNames
    void resizeForm();      // ResizeForm

    // Menu and button commands.
    void menuClicked(const QString& key);
    void bankClicked(int bank);
    void selectorClicked(int index);
    void trackListClicked();
    void toggleSidebar();    // cmdTB1, cmdHide
    void toggleDevicesBar(); // cmdBar
    void showFloating();     // ShowFloating
    void unloadAllForms();   // UnloadAllForms

    // Device labels (first 14 characters of the name).
    QString deviceLabelText(int slot) const;
    // The font of the track boxes; the track sheet shows tracks in it.
    QFont trackBoxFont() const;
    // After a device was edited: its name in AppState::deviceNames, cut to
    // chars, on every label that shows it (device panel, devices bar) and,
    // for the current device, in the status bar and the song details.
    void showDeviceName(int slot, int chars = 14);
    void focusDefaultButton();
    void setCaption(const QString& song); // "Quillon 05 [song]"
    // Drops the held song row and empties the song panel.
    void forgetSong();
    // Writes what is typed in the grid before the grid shows something else.
    // False when the write was refused because another room changed the
    // bank meanwhile: the typed text is still in the boxes, and the grid
    // must stay as it is for the user to apply it again.
    bool flushTyping();
    // Shows the current song's row as stored now (another room changed or
    // renamed it) in the song panel and the caption; false when it is gone.
    bool showStoredSong();
    void placeCover();
    // "Open Last Song" in the welcome box: offered while the stored recent
    // song exists; opening it loads that song.
    void refreshOpenLastSong();
    void openLastSong();
    // A second start on the same data folder: out of the tray or the task
    // bar and to the front.
    void bringToFront();
    // The desktop session ends (log-out, shut-down): what is typed in the
    // grid is stored, and the lyrics and notebook windows ask their
    // questions as at a normal exit when the session lets the program ask
    // (else they store their text). False when the user keeps the session.
    bool commitSessionData(bool mayAsk);

    WindowCommands& commands() { return *m_commands; }
    SongCommands& songCommands() { return *m_songCommands; }
    TrayController& tray() { return *m_tray; }
    MenuBuilder& menus() { return *m_menus; }
    SearchCommands& search() { return *m_search; }
    StatusPanels& status() { return *m_status; }
    TrackGrid& grid() { return *m_grid; }
    DevicePanel& devicePanel() { return *m_devices; }
    Sidebar& sidebar() { return *m_sidebar; }
    WelcomePanel& cover() { return *m_cover; }
    const MainLayout& lastLayout() const { return m_layout; }
    // Where the devices bar is to be shown (twips, screen coordinates).
    BarPlacement devicesBarPlacement() const { return m_barPlacement; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void formLoad();
    void buildWorkArea();
    void connectSignals();
    void centreWelcomeBox();
    void takeSongCount();
    void writeUnloadState();
    // The exit question, then the questions of windows with unsaved text.
    bool confirmExit();
    MainLayoutInput layoutInput() const;

    AppState& m_state;
    std::unique_ptr<WindowCommands> m_commands;
    std::unique_ptr<SongCommands> m_songCommands;
    MenuBuilder* m_menus = nullptr;
    SearchCommands* m_search = nullptr; // a child: its build stops as the window goes
    StatusPanels* m_status = nullptr;
    WorkArea* m_area = nullptr;
    TrackGrid* m_grid = nullptr;
    SongPanel* m_songPanel = nullptr;
    DevicePanel* m_devices = nullptr;
    Sidebar* m_sidebar = nullptr;
    WelcomePanel* m_cover = nullptr;
    TrayController* m_tray = nullptr;
    CatalogueFollower* m_follower = nullptr; // null on a data folder
    QPushButton* m_sidebarToggle = nullptr;  // cmdTB1
    SongRecord m_songRow;                    // the current song's row, as loaded
    MainLayout m_layout;
    BarPlacement m_barPlacement;
    std::function<QWidget*()> m_splashFactory;
    QPointer<QWidget> m_splash;
    QSizeF m_wantedOuterSize; // twips, from the settings
    bool m_frameFixed = false;
    bool m_activating = false;
    bool m_snapping = false;
    bool m_exitAgreed = false; // while the tray's exit closes every window
};

} // namespace quillon
