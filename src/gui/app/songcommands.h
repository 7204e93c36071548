#pragma once

#include <QString>

namespace quillon {

struct AppState;
class MainWindow;

// The File and Edit menu commands that work on the current song itself:
// new, open, close, save, delete, and the help command.
class SongCommands final {
public:
    SongCommands(AppState& state, MainWindow& main);

    // Runs the command of a menu key; false for keys that are not one of these.
    bool dispatch(const QString& key);

    void newSong();    // "new" and the welcome box's cmdCreateSong
    void openSong();   // "open" and the welcome box's cmdOpenSong
    void closeSong();  // "close"
    void saveSong();   // "save"
    void deleteSong(); // "delete_song"
    void help();       // "help"
    // The current song no longer exists (deleted here or in another room):
    // the window goes back to no song loaded, with the new song count.
    void forgetDeletedSong();

private:
    AppState& m_state;
    MainWindow& m_main;
};

} // namespace quillon
