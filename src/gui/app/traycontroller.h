#pragma once

#include <functional>
#include <optional>
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

namespace quillon {

struct AppState;

// The notification-area icon `sevTray1`: "send to tray", its tooltip,
// balloon and menu, and the ways back. Where the desktop has no notification
// area the window is minimised normally instead, so it stays reachable.
class TrayController final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> showCoverIfNoSong;
        std::function<void()> openOptions;
        std::function<void()> unloadAllForms;
        std::function<void()> hideDevicesBar;
        std::function<void(bool)> enableShowButton; // cmdShowQuillon on the devices bar
    };
    struct Balloon {
        QString title;
        QString text;
    };

    TrayController(AppState& state, QWidget* window, Hooks hooks, QObject* parent = nullptr);

    // cmdStandby: minimise into the notification area.
    void sendToTray();
    // The way back from the tray: a double-click on the icon, and "Show
    // Quillon" on the devices bar and in the lyrics window.
    void doubleClicked();
    // The tray menu: "show_quillon", "options", "exit".
    void menuCommand(const QString& key);

    bool trayAvailable() const;
    // Tests decide whether a notification area exists.
    void setTrayAvailableOverride(std::optional<bool> available) { m_override = available; }
    bool isInTray() const { return m_inTray; }
    QString toolTip() const;
    std::optional<Balloon> lastBalloon() const { return m_balloon; }
    QMenu* menu() const { return m_menu; }

private:
    void removeIcon();
    void restoreIfMinimized();

    AppState& m_state;
    QWidget* m_window;
    Hooks m_hooks;
    QSystemTrayIcon* m_icon;
    QMenu* m_menu;
    bool m_inTray = false;
    std::optional<bool> m_override;
    std::optional<Balloon> m_balloon;
};

} // namespace quillon
