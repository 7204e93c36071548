#pragma once

#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "songs/songstore.h"
#include "store/datafolder.h"
#include "store/settings.h"

#include <memory>
#include <QString>
#include <QTemporaryDir>

namespace quillon {
class MainWindow;
} // namespace quillon

namespace quillon::bench {

// The state a window other than the main window is built on: the generated
// folder, its store open, settings in a file of their own, a scripted prompter.
struct WindowState {
    explicit WindowState(const DataFolder& folder)
        : data(folder), settings(dir.filePath("settings.ini")), songs(data),
          state(data, settings, songs, prompter)
    {
    }
    bool open() { return dir.isValid() && songs.open(); }

    QTemporaryDir dir;
    DataFolder data;
    Settings settings;
    SongStore songs;
    ScriptedPrompter prompter;
    AppState state;
};

// The program as main() builds it, on a generated data folder and a settings
// file of its own, with a scripted prompter so nothing waits for a person.
class BenchApp final {
public:
    BenchApp(const DataFolder& folder, QString settingsFile);
    ~BenchApp();
    BenchApp(const BenchApp&) = delete;
    BenchApp& operator=(const BenchApp&) = delete;

    // Has the next start reopen this song (untimed preparation).
    void setRecentSong(const QString& title);
    // Marks today's backup as made, as on every start but the day's first.
    void markBackupDone() const;

    // From main() to the main window's first activation done, the recent
    // song loaded; false when the store did not open or the song is not there.
    bool start();
    // The orderly exit: window gone, store closed, the folder recorded.
    void stop();

    // Whether the last start had to run the data check (not an ordinary start).
    bool checkedAtStart() const { return m_checkedAtStart; }
    MainWindow& window() { return *m_window; }
    AppState& state() { return *m_state; }
    SongStore& songs() { return *m_songs; }

private:
    DataFolder m_folder;
    QString m_settingsFile;
    ScriptedPrompter m_prompter;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<SongStore> m_songs;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<MainWindow> m_window;
    bool m_checkedAtStart = false;
};

} // namespace quillon::bench
