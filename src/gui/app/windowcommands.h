#pragma once

#include <functional>
#include <memory>
#include <QPointer>
#include <QString>

namespace quillon {

struct AppState;
class FloatingBar;
class LyricsWindow;
class MainWindow;
class NoteWindow;

// Every command of the main window that opens a window of another part of
// the program. Each method does the main window's own steps before and after
// the window. While a show hook is set, the hook stands in for the window, so
// that tests can check the main window's part without the other window.
class WindowCommands final {
public:
    WindowCommands(AppState& state, MainWindow& main);
    ~WindowCommands();

    // Runs the command of a menu key; false for keys that are not one of these.
    bool dispatch(const QString& key);

    void previewTrackSheet();  // "preview_ts"
    void songDetails();        // "songdetails"
    void sessionDetails();     // "sessiondetails"
    void displaySongDetails(); // "display_songdetails"
    void detailsButton();      // cmdDetails on the sidebar
    void editSongStyle();      // "edit_songstyle"
    void recdevDetails();      // "recdev_details"
    void tapeDetails();        // "tape_details"
    void lyrics();             // "lyrics"
    void generalInfo();        // "general_info"
    void print();              // "print"
    void setupPrinter();       // "setup_printer"
    void settings();           // "settings" and the tray menu's "options"
    void about();              // "about"
    // The media library with that medium chosen (a hit of the search).
    void tapeDetails(const QString& medium);

    // Device record: double-click on device label `slot`, and cmdEditDev.
    void deviceLabelDoubleClicked(int slot);
    void editDevice();

    // The floating devices bar and the lyrics window, as the main window
    // switches them. showFloatingBar puts the bar where ShowFloating placed
    // it; keepFloatingBarShown shows it wherever the user left it.
    void showFloatingBar();
    void keepFloatingBarShown();
    void hideFloatingBar();
    // The bar stays above the main window, except while that is minimised.
    void floatingBarFollowsMain(bool mainMinimized);
    // A maximised main window sends a visible bar to this top (screen twips).
    void moveFloatingBarTop(double twips);
    void closeFloatingBar();
    void closeLyricsWindow();
    // While the main window is minimised an open lyrics window stays shown.
    void keepLyricsWindowShown();
    // Before the program ends: the closing question of every lyrics or
    // notebook window holding unsaved text. False at the first No; that
    // window comes to the front and nothing has been closed.
    bool documentWindowsMayClose();
    // The program is ending and the user has agreed: every lyrics and
    // notebook window closes without asking again.
    void closeDocumentWindows();
    // Stores the text of every changed lyrics and notebook window without
    // asking (the session ends and the program may not ask).
    void saveDocumentWindows();
    bool floatingBarVisible() const { return m_floatingBarVisible; }
    // The bar repeats every change of the main window's device panel.
    void barSelectSlot(int slot);
    void barSetDeviceLabel(int slot, const QString& caption);
    void barSelectBank(int bank);
    void barEnableShowButton(bool on);
    // Another room renamed the open song: the devices bar and the lyrics
    // window follow the new title.
    void songRenamed(const QString& oldTitle, const QString& newTitle);

    // Called at every spot where a window is to be opened, with its name;
    // while a hook is set it stands in for the window (tests).
    void setShowHook(std::function<void(const QString& window)> hook)
    {
        m_showHook = std::move(hook);
    }

    // The open devices bar, or null.
    FloatingBar* floatingBar() const { return m_bar.get(); }

private:
    // True when the show hook stood in for the window.
    bool opened(const QString& window);
    void showListPreview(const QString& listText, const QString& jobName);
    void showSongDetailsPreview();
    // Returns the slot whose device the form edited (0: none found).
    int showDeviceWindow(int slot);
    void showLyricsModal();
    FloatingBar& bar();
    // Every lyrics and notebook window, the modeless lyrics window first.
    QList<NoteWindow*> documentWindows() const;

    AppState& m_state;
    MainWindow& m_main;
    bool m_floatingBarVisible = false;
    std::function<void(const QString&)> m_showHook;
    std::unique_ptr<FloatingBar> m_bar;
    QPointer<LyricsWindow> m_lyrics;
};

} // namespace quillon
