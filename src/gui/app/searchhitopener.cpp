#include "app/searchhitopener.h"

#include "app/devicepanel.h"
#include "app/mainwindow.h"
#include "app/trackgrid.h"
#include "app/welcomepanel.h"
#include "app/windowcommands.h"
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/prompter.h"
#include "songs/songinfonotedialog.h"
#include "songs/songstore.h"
#include "store/schema.h"

#include <QLineEdit>

namespace quillon {

SearchHitOpener::SearchHitOpener(AppState& state, MainWindow& main) : m_state(state), m_main(main)
{
}

bool SearchHitOpener::open(const SearchHit& hit)
{
    using Kind = SearchHit::Kind;
    WindowCommands& commands = m_main.commands();
    switch (hit.kind) {
    case Kind::Medium:
        commands.tapeDetails(hit.subject);
        return true;
    case Kind::Device:
        commands.deviceLabelDoubleClicked(hit.slot);
        return true;
    case Kind::Notebook:
        commands.generalInfo();
        return true;
    default:
        break;
    }
    if (!loadSong(hit.subject))
        return false;
    switch (hit.kind) {
    case Kind::Track:
        showTrack(hit.slot, hit.track);
        break;
    case Kind::Session:
        commands.sessionDetails();
        break;
    case Kind::Note: {
        m_main.readSongDetails();
        SongInfoNoteDialog note(m_state, &m_main);
        note.exec();
        break;
    }
    case Kind::Lyrics:
        commands.lyrics();
        break;
    default:
        break;
    }
    return true;
}

bool SearchHitOpener::loadSong(const QString& title)
{
    // Looked up first: loading a song that is gone would close the open one.
    if (!m_state.songs.song(title)) {
        m_state.prompter.message(&m_main,
                                 QStringLiteral("The song \"%1\" no longer exists.").arg(title),
                                 kApplicationTitle, Prompter::Icon::Information);
        return false;
    }
    // A refused track write keeps the grid, and its typed text, in front.
    if (!m_main.flushTyping())
        return false;
    m_main.raise();
    m_main.activateWindow();
    m_state.currentSong = title;
    m_main.loadSong();
    if (!m_state.songLoaded())
        return false;
    m_main.cover().hide();
    return true;
}

void SearchHitOpener::showTrack(int slot, int track)
{
    if (slot < 1 || slot > DevicePanel::kSlots || track < 1 || track > schema::kTracksPerRow)
        return;
    m_main.selectorClicked(DevicePanel::kSlots + slot);
    m_main.bankClicked((track - 1) / TrackGrid::kBoxes + 1);
    m_main.grid().box((track - 1) % TrackGrid::kBoxes + 1)->setFocus();
}

} // namespace quillon
