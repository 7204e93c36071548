#pragma once

#include "search/searchindex.h"

#include <functional>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace quillon {

class Database;

// Keeps a song's rows of the search index in step with the song, inside the
// song store's own transactions: its details, session, notes and lyrics
// (part Songs) and the tracks of each device slot (part Tracks). A folder
// whose index has not been built yet is left to its first build.
class SongIndexer final {
public:
    // trackTable names the table of a slot as the connection sees it.
    SongIndexer(Database& db, std::function<QString(int slot)> trackTable);

    void reset();
    bool available() { return m_songs.available(); }

    // The rowids of the songs stored with this title (one, unless damaged).
    QList<qint64> rowidsOf(const QString& title, bool* ok);
    // A new song: its rows from the song row as just stored (`inserted`,
    // with its rowid as "indexrowid"). Only rows with text are written: a
    // new song's tracks are still placeholders, which the index leaves out,
    // and its session, notes and lyrics mostly empty. A row without text
    // is never found, so a missing one and an empty one are the same.
    bool created(const QSqlRecord& inserted);
    // The song rows of every song with this title, as stored now.
    bool details(const QString& title);
    // A slot's text as indexed: its tracks but a new song's placeholders.
    static QString slotText(int slot, const QStringList& tracks);
    // One slot's track row as stored now.
    bool slot(const QString& title, int slot);
    bool removed(const QList<qint64>& songRowids);

    // Rows of the songs with rowid in (after, ...], at most limit songs, for a
    // first build (those with text); *last is the last rowid indexed
    // (unchanged when none).
    bool batch(qint64 after, int limit, qint64* last, int* done);
    // Every row batch() would consider, empty or not, for comparing with
    // what is stored.
    using Rows = QList<std::pair<qint64, QString>>;
    bool collect(qint64 after, int limit, qint64* last, int* done, Rows* songRows, Rows* trackRows);

    // The rows worth writing: those with text, and a song's details row
    // always (the check counts one a song).
    static Rows withText(Rows rows);

private:
    bool detailRows(qint64 rowid, const QSqlRecord& record,
                    QList<std::pair<qint64, QString>>& rows);
    QStringList slotTracks(const QString& title, int slot, bool* ok);

    Database& m_db;
    std::function<QString(int)> m_trackTable;
    SearchIndex m_songs;
    SearchIndex m_tracks;
};

} // namespace quillon
