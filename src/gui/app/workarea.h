#pragma once

#include <QWidget>

class QFrame;
class QPushButton;

namespace quillon {

struct AppState;
struct MainLayout;
class DevicePanel;
class Sidebar;
class SongPanel;
class TrackGrid;
class TwipsScale;
class WelcomePanel;

// The client area of the main window below the menu bar: song panel, track
// grid, device panel, sidebar, the window's own buttons and, over all of
// them while no song is loaded, the cover panel. Everything is placed by a
// computed layout in twips.
class WorkArea final : public QWidget {
    Q_OBJECT
public:
    WorkArea(AppState& state, QWidget* parent);

    TrackGrid* grid() const { return m_grid; }
    SongPanel* songPanel() const { return m_songPanel; }
    DevicePanel* devices() const { return m_devices; }
    Sidebar* sidebar() const { return m_sidebar; }
    WelcomePanel* cover() const { return m_cover; }
    QPushButton* sidebarToggle() const { return m_sidebarToggle; } // cmdTB1
    QPushButton* standbyButton() const { return m_standby; }       // cmdStandby
    QPushButton* exitButton() const { return m_exit; }             // cmdExit

    // cmdTB1: shows or hides the sidebar, with the button's picture and tip.
    void toggleSidebar();
    // Places every part; the cover panel is placed only while it is shown.
    void apply(const MainLayout& layout, const TwipsScale& scale);

private:
    QPushButton* makeButton(const QString& name, const QString& text, const QString& tip);

    TrackGrid* m_grid;
    SongPanel* m_songPanel;
    QFrame* m_lines[2];
    DevicePanel* m_devices;
    Sidebar* m_sidebar;
    QPushButton* m_sidebarToggle;
    QPushButton* m_standby;
    QPushButton* m_exit;
    WelcomePanel* m_cover;
};

} // namespace quillon
