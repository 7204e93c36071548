#pragma once

#include <QObject>
#include <QString>

namespace quillon {

struct AppState;
class MainWindow;

// What other rooms change on a catalogue shared on a server, as the main
// window shows it: the song count, the open song's panel and track grid
// (never over text being typed, see TrackGrid::refresh), the open song
// renamed (the window follows the new title) or deleted (the user is told
// and the song closed). A burst of changes is taken in once, at the next
// turn of the event loop, and each refresh reads only what it shows.
class CatalogueFollower final : public QObject {
    Q_OBJECT
public:
    // Listens to state.events, which must be set.
    CatalogueFollower(AppState& state, MainWindow& main);

private:
    void heard(const QString& kind, const QString& subject);
    void followRename(const QString& oldTitle, const QString& newTitle);
    void settle();
    // The open song is not there any more; false also while the server
    // cannot be reached, which says nothing about the song.
    bool songGone(bool* readable);

    AppState& m_state;
    MainWindow& m_main;
    bool m_scheduled = false;
    bool m_recount = false;
    bool m_refreshSong = false;
    bool m_titleUnknown = false; // heard no rename or deletion: missed while not listening
};

} // namespace quillon
