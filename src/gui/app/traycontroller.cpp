#include "app/traycontroller.h"

#include "common/appstate.h"
#include "store/settings.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QWidget>

namespace quillon {

TrayController::TrayController(AppState& state, QWidget* window, Hooks hooks, QObject* parent)
    : QObject(parent), m_state(state), m_window(window), m_hooks(std::move(hooks)),
      m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu(window))
{
    m_icon->setObjectName("sevTray1");
    m_menu->setObjectName("trayMenu");
    const struct {
        const char* caption;
        const char* key;
    } items[] = {{"&Show", "show_quillon"},
                 {"-", ""},
                 {"&Options", "options"},
                 {"-", ""},
                 {"&Exit", "exit"}};
    for (const auto& item : items) {
        if (QString(item.caption) == "-") {
            m_menu->addSeparator();
            continue;
        }
        const QString key = item.key;
        QAction* action = m_menu->addAction(item.caption);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { menuCommand(key); });
    }
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            doubleClicked();
    });
}

bool TrayController::trayAvailable() const
{
    return m_override.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

QString TrayController::toolTip() const
{
    return "Quillon 05 [" + m_state.currentSong + "]\nactive ...";
}

void TrayController::sendToTray()
{
    m_window->showMinimized();
    if (!trayAvailable())
        return; // the task bar keeps the minimised window within reach
    if (m_hooks.enableShowButton)
        m_hooks.enableShowButton(true);
    QIcon icon = m_window->windowIcon();
    if (icon.isNull())
        icon = m_window->style()->standardIcon(QStyle::SP_MediaVolume);
    m_icon->setIcon(icon);
    // The tooltip is the one a pointer over the icon shows ("Quillon 05 active..."
    // before the first hover).
    m_icon->setToolTip(toolTip());
    m_icon->show();
    m_inTray = true;
    m_balloon = Balloon{"active ...", "[" + m_state.currentSong + "]" + " - Quillon 05"};
    m_icon->showMessage(m_balloon->title, m_balloon->text, QSystemTrayIcon::Information);
}

void TrayController::removeIcon()
{
    m_icon->hide();
    m_inTray = false;
}

void TrayController::restoreIfMinimized()
{
    if (m_window->isMinimized())
        m_window->showNormal();
}

void TrayController::doubleClicked()
{
    removeIcon();
    if (m_window->isMinimized()) {
        if (m_hooks.enableShowButton)
            m_hooks.enableShowButton(false);
        m_window->showNormal();
    }
    if (!m_window->isMinimized() && !m_window->isMaximized() && !m_state.floatingBarOn &&
        m_hooks.hideDevicesBar)
        m_hooks.hideDevicesBar();
    // A window that was only covered by others comes forward as well.
    m_window->raise();
}

void TrayController::menuCommand(const QString& key)
{
    if (key == "show_quillon") {
        removeIcon();
        restoreIfMinimized();
        if (m_hooks.showCoverIfNoSong)
            m_hooks.showCoverIfNoSong();
        m_state.settings.setShowMinimized(false);
    } else if (key == "options") {
        if (m_hooks.openOptions)
            m_hooks.openOptions();
    } else if (key == "exit") {
        removeIcon();
        restoreIfMinimized();
        m_state.settings.setShowMinimized(false);
        if (m_hooks.unloadAllForms)
            m_hooks.unloadAllForms();
    }
}

} // namespace quillon
