#include "app/windowcommands.h"

#include "app/appstate.h"
#include "app/mainwindow.h"
#include "app/prompter.h"
#include "songs/songstore.h"
#include "store/logging.h"

#include <QCoreApplication>
#include <QVariantMap>

namespace quillon {

WindowCommands::WindowCommands(AppState& state, MainWindow& main) : m_state(state), m_main(main) {}

void WindowCommands::opened(const QString& window)
{
    qCDebug(lcApp) << "window requested:" << window;
    if (m_showHook)
        m_showHook(window);
}

bool WindowCommands::dispatch(const QString& key)
{
    const struct {
        const char* key;
        void (WindowCommands::*run)();
    } table[] = {
        {"preview_ts", &WindowCommands::previewTrackSheet},
        {"songdetails", &WindowCommands::songDetails},
        {"sessiondetails", &WindowCommands::sessionDetails},
        {"display_songdetails", &WindowCommands::displaySongDetails},
        {"edit_songstyle", &WindowCommands::editSongStyle},
        {"recdev_details", &WindowCommands::recdevDetails},
        {"tape_details", &WindowCommands::tapeDetails},
        {"lyrics", &WindowCommands::lyrics},
        {"general_info", &WindowCommands::generalInfo},
        {"print", &WindowCommands::print},
        {"setup_printer", &WindowCommands::setupPrinter},
        {"settings", &WindowCommands::settings},
        {"about", &WindowCommands::about},
    };
    for (const auto& entry : table) {
        if (key == QLatin1String(entry.key)) {
            (this->*entry.run)();
            return true;
        }
    }
    return false;
}

void WindowCommands::previewTrackSheet()
{
    m_main.readSongDetails();
    // OPEN WINDOW HERE: track sheet window trfrm1, modal.
    opened("trfrm1");
}

void WindowCommands::songDetails()
{
    m_main.readSongDetails();
    // OPEN WINDOW HERE: song details, modal (it stores the row itself).
    opened("songdetails");
    m_main.loadSong();
}

void WindowCommands::sessionDetails()
{
    m_main.readSongDetails();
    // OPEN WINDOW HERE: session details, modal; it edits the producers and
    // technicians of m_state.currentSongDetails.
    opened("sessiondetails");
    if (!m_state.songLoaded())
        return;
    const SongDetails& d = m_state.currentSongDetails;
    const QVariantMap fields{{"Producer1", d.producer1},
                             {"Producer2", d.producer2},
                             {"Technician1", d.technician1},
                             {"Technician2", d.technician2},
                             {"Technician3", d.technician3}};
    if (!m_state.songs.updateFields(m_state.currentSong, fields))
        m_state.prompter.critical(&m_main, m_state.songs.lastError());
}

void WindowCommands::displaySongDetails()
{
    m_main.readSongDetails();
    m_state.currentSongDetails.deviceName = m_main.deviceLabelText(m_state.currentDeviceIndex);
    // OPEN WINDOW HERE: song details preview, modal.
    opened("songdetails_preview");
    m_main.loadSong();
}

void WindowCommands::detailsButton()
{
    m_main.readSongDetails();
    m_state.currentSongDetails.deviceName = m_main.deviceLabelText(m_state.currentDeviceIndex);
    // OPEN WINDOW HERE: song details preview, modal.
    opened("songdetails_preview");
}

void WindowCommands::editSongStyle()
{
    // OPEN WINDOW HERE: song styles, modal.
    opened("styles");
}

void WindowCommands::recdevDetails()
{
    deviceLabelDoubleClicked(m_state.currentDeviceIndex);
}

void WindowCommands::tapeDetails()
{
    // OPEN WINDOW HERE: media library frmTape, modal.
    opened("frmTape");
}

void WindowCommands::lyrics()
{
    m_main.readSongDetails();
    m_state.lyricsWindowOpen = true;
    // OPEN WINDOW HERE: lyrics window, modeless (reopened for a newly loaded song).
    opened("lyrics");
}

void WindowCommands::generalInfo()
{
    // OPEN WINDOW HERE: general info notebook, modal.
    opened("general_info");
}

void WindowCommands::print()
{
    // OPEN WINDOW HERE: print dialog frmPrinter, modal.
    opened("frmPrinter");
}

void WindowCommands::setupPrinter()
{
    m_main.focusDefaultButton();
    QCoreApplication::processEvents();
    // OPEN WINDOW HERE: printer choice, modal.
    opened("printer_setup");
}

void WindowCommands::settings()
{
    // OPEN WINDOW HERE: settings dialog, modal.
    opened("settings");
}

void WindowCommands::about()
{
    // OPEN WINDOW HERE: about box frmInfo, modal.
    opened("frmInfo");
}

void WindowCommands::deviceLabelDoubleClicked(int slot)
{
    if (slot < 1 || slot > m_state.deviceNames.size())
        return;
    m_state.currentDeviceName = m_state.deviceNames.at(slot - 1);
    // OPEN WINDOW HERE: recording device window frmRecDev, modal; it may
    // change m_state.currentDeviceName.
    opened("frmRecDev");
    m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
    m_main.setDeviceLabel(slot, m_state.currentDeviceName);
    barSetDeviceLabel(slot, m_state.currentDeviceName.left(14));
}

void WindowCommands::editDevice()
{
    const int slot = m_state.currentDeviceIndex;
    if (slot < 1 || slot > m_state.deviceNames.size())
        return;
    m_state.currentDeviceName = m_state.deviceNames.at(slot - 1);
    // OPEN WINDOW HERE: recording device window frmRecDev, modal.
    opened("frmRecDev");
    // The labels keep their captions here; only the name list follows.
    m_state.deviceNames[slot - 1] = m_state.currentDeviceName;
}

void WindowCommands::showFloatingBar()
{
    m_floatingBarVisible = true;
    // OPEN WINDOW HERE: devices bar, modeless, owned by the main window.
    opened("devices_bar");
}

void WindowCommands::hideFloatingBar()
{
    m_floatingBarVisible = false;
    // HIDE WINDOW HERE: devices bar.
}

void WindowCommands::closeFloatingBar()
{
    m_floatingBarVisible = false;
    // CLOSE WINDOW HERE: devices bar (discarded at exit).
}

void WindowCommands::closeLyricsWindow()
{
    // CLOSE WINDOW HERE: lyrics window.
    m_state.lyricsWindowOpen = false;
}

void WindowCommands::keepLyricsWindowShown()
{
    // SHOW WINDOW HERE: the open lyrics window, modeless (no new instance).
}

void WindowCommands::barSelectSlot(int)
{
    // DEVICES BAR HERE: lit selector of the slot, unlit for the others.
}

void WindowCommands::barSetDeviceLabel(int, const QString&)
{
    // DEVICES BAR HERE: device label caption.
}

void WindowCommands::barSelectBank(int)
{
    // DEVICES BAR HERE: line bank - 1 of its bank list.
}

void WindowCommands::barEnableShowButton(bool)
{
    // DEVICES BAR HERE: cmdShowQuillon enabled while the window is in the tray.
}

} // namespace quillon
