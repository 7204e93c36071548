#include "app/cataloguefollower.h"

#include "app/mainwindow.h"
#include "app/songcommands.h"
#include "app/statuspanels.h"
#include "app/trackgrid.h"
#include "app/windowcommands.h"
#include "common/appstate.h"
#include "common/apptitle.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "songs/songstore.h"
#include "store/catalogueevents.h"
#include "store/settings.h"

#include <QTimer>

namespace quillon {

CatalogueFollower::CatalogueFollower(AppState& state, MainWindow& main)
    : QObject(&main), m_state(state), m_main(main)
{
    connect(state.events, &CatalogueEvents::changed, this, &CatalogueFollower::heard);
}

void CatalogueFollower::heard(const QString& kind, const QString& subject)
{
    const QString& current = m_state.currentSong;
    if (kind == CatalogueEvents::kSongs) {
        m_recount = true;
        const qsizetype tab = subject.indexOf('\t');
        if (tab >= 0) {
            // Followed at once, so that a chain of renames is followed link by link.
            followRename(subject.left(tab), subject.mid(tab + 1));
        } else if (subject.isEmpty() || subject == current) {
            // Deleted, or (after the connection came back) anything at all.
            m_refreshSong = true;
            m_titleUnknown = m_titleUnknown || subject.isEmpty();
        }
    } else if (kind == CatalogueEvents::kSong) {
        if (subject != current)
            return;
        m_refreshSong = true;
    } else {
        return;
    }
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &CatalogueFollower::settle);
}

void CatalogueFollower::followRename(const QString& oldTitle, const QString& newTitle)
{
    if (!m_state.songLoaded() || oldTitle != m_state.currentSong)
        return;
    qCInfo(lcApp) << "the open song was renamed in another room:" << oldTitle << "->" << newTitle;
    m_state.currentSong = newTitle;
    m_state.settings.setRecentSong(newTitle);
    m_main.grid().followRename(oldTitle, newTitle);
    m_main.commands().songRenamed(oldTitle, newTitle);
    m_refreshSong = true;
}

bool CatalogueFollower::songGone(bool* readable)
{
    const bool shown = m_main.showStoredSong();
    // A read that failed is no news about the song.
    *readable = shown || !m_state.songs.database().connectionLost();
    return !shown && *readable;
}

void CatalogueFollower::settle()
{
    m_scheduled = false;
    if (m_recount) {
        m_recount = false;
        const int count = m_state.songs.count();
        if (!m_state.songs.database().connectionLost()) {
            m_state.songCount = count;
            m_main.status().showSongCount(count);
        }
    }
    const bool refresh = m_refreshSong;
    const bool titleUnknown = m_titleUnknown;
    m_refreshSong = m_titleUnknown = false;
    if (!refresh || !m_state.songLoaded())
        return;
    bool readable = true;
    if (!songGone(&readable)) {
        if (readable)
            m_main.grid().refresh();
        return;
    }
    const QString title = m_state.currentSong;
    qCInfo(lcApp) << "the open song is gone, closing it:" << title;
    m_main.songCommands().forgetDeletedSong();
    m_state.prompter.information(
        &m_main,
        titleUnknown
            ? QStringLiteral("\"%1\" was deleted or renamed in another room, so it is closed here.")
                  .arg(title)
            : QStringLiteral("\"%1\" was deleted in another room, so it is closed here.")
                  .arg(title),
        kApplicationTitle);
}

} // namespace quillon
