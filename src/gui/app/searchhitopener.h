#pragma once

#include "search/cataloguesearch.h"

namespace quillon {

struct AppState;
class MainWindow;

// Opens a hit of the search where it is: a song is loaded by the main
// window's own routine (a track hit also selects the track's device and
// bank and focuses its box; session details, the song note and lyrics open
// the window that shows them); a medium is shown in the media library, a
// device in the device window, the notebook in its window.
class SearchHitOpener final {
public:
    SearchHitOpener(AppState& state, MainWindow& main);

    // False when the hit is gone (its song deleted or renamed since the
    // search), after telling the user.
    bool open(const SearchHit& hit);

private:
    bool loadSong(const QString& title);
    void showTrack(int slot, int track);

    AppState& m_state;
    MainWindow& m_main;
};

} // namespace quillon
