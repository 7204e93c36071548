#pragma once

#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <QtGlobal>

namespace quillon::test {

// A fresh data folder with its song store open and the state every window
// shares, its questions answered by a scripted prompter: the start of the
// window tests.
struct AppFixture {
    TempDataFolder tmp;
    DataFolder data = tmp.folder();
    Settings settings{tmp.settingsFile()};
    SongStore songs{data};
    ScriptedPrompter prompter;
    AppState state{data, settings, songs, prompter};

    AppFixture()
    {
        if (!songs.open())
            qFatal("song store: %s", qPrintable(songs.lastError()));
    }

    // Makes `title` the current song, as the main window does before it
    // opens one of the song's windows.
    void load(const QString& title)
    {
        const auto row = songs.song(title);
        if (!row)
            qFatal("no song %s", qPrintable(title));
        state.currentSong = title;
        state.currentSongDetails.readFrom(*row);
    }
};

} // namespace quillon::test
