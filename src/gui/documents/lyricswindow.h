#pragma once

#include "documents/notewindow.h"

class QLabel;

namespace quillon {

// The lyrics editor (frmLyricsNew): the current song's lyrics as formatted
// text, stored in the song's own row (field lyrics), with the song's title,
// lyricist, composer, key, style and length shown above the text.
//
// The main window shows it modeless with openModeless() and keeps the
// returned pointer (a QPointer) to call reopenForCurrentSong() after
// loading another song and close() when no song is loaded any more; the
// print dialog runs it with openModal(). The window sets
// AppState::lyricsWindowOpen while it is open and clears it when it closes.
class LyricsWindow final : public NoteWindow {
    Q_OBJECT

public:
    // Opens the lyrics of AppState::currentSong; the panels show
    // AppState::currentSongDetails, which the caller has just refreshed.
    explicit LyricsWindow(AppState& state, QWidget* parent = nullptr);
    ~LyricsWindow() override;

    // A window of its own (no parent, so it stays on screen while the main
    // window is minimised), deleted when it closes.
    static LyricsWindow* openModeless(AppState& state);
    // Shown modally over parent; returns when the user has closed it.
    static void openModal(AppState& state, QWidget* parent);

    // After a song has been loaded: shows that song's lyrics and details.
    // Unsaved changes of the song shown so far are not dropped without the
    // closing question; answered No, the window keeps showing (and saving
    // to) its song, and false is returned. The same song loaded again keeps
    // unsaved text and only refreshes the panels.
    bool reopenForCurrentSong();

    // The song whose lyrics are shown (and saved).
    QString songTitle() const { return m_title; }
    // Another room renamed the song: the lyrics are saved under newTitle.
    void followRename(const QString& oldTitle, const QString& newTitle);
    bool isOnTop() const { return m_onTop; }
    // cmdOnTop: keeps the window above all others, or stops doing so.
    void toggleOnTop();

Q_SIGNALS:
    // cmdShowQuillon: the main window is to come back from the tray or
    // from being minimised. The focus stays here.
    void showMainWindowRequested();

protected:
    bool storeFieldText(const QString& fieldText, QString& error) override;
    QString filterLabel() const override { return m_title; }
    QString importFolder() const override;
    QString exportFolder() const override;
    void printDocument() override;
    void aboutToClose() override;

private:
    QWidget* buildPanels();
    void loadSong();
    void releaseOpenFlag();

    QString m_title;
    // The stored lyrics the text is based on; a save finding others stored
    // (another room's) is refused, the text kept for the next save.
    QString m_lyricsAsRead;
    QLabel* m_titlePanel = nullptr;
    QLabel* m_wordsPanel = nullptr;
    QLabel* m_musicPanel = nullptr;
    QLabel* m_keyPanel = nullptr;
    QLabel* m_stylePanel = nullptr;
    QLabel* m_lengthPanel = nullptr;
    QPushButton* m_onTopButton = nullptr;
    bool m_onTop = false;
    bool m_flagBefore = false;
    bool m_flagReleased = false;
};

} // namespace quillon
