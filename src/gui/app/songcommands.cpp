#include "app/songcommands.h"

#include "app/helplauncher.h"
#include "app/mainwindow.h"
#include "app/statuspanels.h"
#include "app/welcomepanel.h"
#include "app/windowcommands.h"
#include "common/appstate.h"
#include "common/prompter.h"
#include "songs/loadsongdialog.h"
#include "songs/newsongdialog.h"
#include "songs/songstore.h"

#include <QApplication>

namespace quillon {

SongCommands::SongCommands(AppState& state, MainWindow& main) : m_state(state), m_main(main) {}

bool SongCommands::dispatch(const QString& key)
{
    if (key == "new")
        newSong();
    else if (key == "open")
        openSong();
    else if (key == "close")
        closeSong();
    else if (key == "save")
        saveSong();
    else if (key == "delete_song")
        deleteSong();
    else if (key == "help")
        help();
    else
        return false;
    return true;
}

void SongCommands::newSong()
{
    // A refused track write keeps the grid, and its typed text, in front.
    if (!m_main.flushTyping())
        return;
    m_state.songCount = m_state.songs.count();
    NewSongDialog dialog(m_state, &m_main);
    QObject::connect(&dialog, &NewSongDialog::songCountChanged, &m_main.status(),
                     &StatusPanels::showSongCount);
    dialog.exec();
    // After a cancel the song that was loaded is loaded again.
    if (m_state.songLoaded()) {
        m_main.loadSong();
        m_main.cover().hide();
    }
}

void SongCommands::openSong()
{
    if (!m_main.flushTyping())
        return;
    LoadSongDialog dialog(m_state, &m_main);
    if (dialog.exec() == QDialog::Accepted && m_state.songLoaded())
        m_main.cover().hide();
    m_main.loadSong();
}

void SongCommands::closeSong()
{
    if (!m_main.flushTyping())
        return;
    m_state.currentSong = kNoSongLoaded;
    m_main.setCaption(kNoSongLoaded);
    m_main.forgetSong();
    m_main.cover().show();
    m_main.resizeForm();
    m_state.floatingBarOn = false;
    m_main.setNoSongLoaded();
    m_main.commands().hideFloatingBar();
}

void SongCommands::saveSong()
{
    // Tracks and details are stored as they are edited; saving reloads the song.
    if (!m_main.flushTyping())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_main.status().setText("infopanel", "Saving Song - please wait ...");
    m_main.forgetSong();
    m_main.setCaption(m_state.currentSong);
    m_main.status().setText("infopanel", StatusPanels::productNotice());
    m_main.loadSong();
    QApplication::restoreOverrideCursor();
}

void SongCommands::deleteSong()
{
    if (!m_state.songLoaded())
        return;
    m_main.flushTyping();
    if (m_state.currentSong == kTrainingSong) {
        m_state.prompter.critical(&m_main, "You can't erase your 'Training Song' !",
                                  m_main.windowTitle());
        return;
    }
    const QString question = "Do you really want to erase this song ?\r\r'" +
                             m_state.currentSong.left(30).toUpper() + "'";
    if (!m_state.prompter.askYesNo(&m_main, question, m_main.windowTitle(), QMessageBox::No))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool removed = m_state.songs.remove(m_state.currentSong);
    QApplication::restoreOverrideCursor();
    if (!removed) // the song is still there in full; say so instead of pretending
        m_state.prompter.critical(&m_main, m_state.songs.lastError(), m_main.windowTitle());
    forgetDeletedSong();
}

void SongCommands::forgetDeletedSong()
{
    m_main.forgetSong();
    m_state.songCount = m_state.songs.count();
    m_main.status().showSongCount(m_state.songCount);
    m_main.setNoSongLoaded();
    m_main.placeCover();
    m_main.cover().raise();
    m_state.currentSong = kNoSongLoaded;
    m_main.setCaption(kNoSongLoaded);
}

void SongCommands::help()
{
    const QString error = startHelpProgram(m_state.data.helpProgram());
    if (!error.isEmpty())
        m_state.prompter.critical(&m_main, error, m_main.windowTitle());
}

} // namespace quillon
