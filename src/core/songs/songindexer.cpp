#include "songs/songindexer.h"

#include "store/database.h"
#include "store/schema.h"
#include "store/songconstants.h"

#include <QSqlRecord>

namespace quillon {

SongIndexer::SongIndexer(Database& db, std::function<QString(int)> trackTable)
    : m_db(db), m_trackTable(std::move(trackTable)), m_songs(db, SearchIndex::Part::Songs),
      m_tracks(db, SearchIndex::Part::Tracks)
{
}

void SongIndexer::reset()
{
    m_songs.reset();
    m_tracks.reset();
}

QList<qint64> SongIndexer::rowidsOf(const QString& title, bool* ok)
{
    QList<qint64> ids;
    KeptStatement& q = m_db.kept("SELECT rowid FROM xtrax WHERE songtitle = ? ORDER BY rowid");
    q.bindValue(0, title);
    *ok = q.exec();
    if (!*ok) {
        m_db.setError(q.lastError().text());
        return ids;
    }
    while (q.next())
        ids << q.value(0).toLongLong();
    q.finish();
    return ids;
}

bool SongIndexer::detailRows(qint64 rowid, const QSqlRecord& record,
                             QList<std::pair<qint64, QString>>& rows)
{
    for (const SearchIndex::SongRow row :
         {SearchIndex::Details, SearchIndex::Session, SearchIndex::Notes, SearchIndex::Lyrics}) {
        QStringList values;
        for (const QString& field : SearchIndex::songFields(row))
            values << record.value(field).toString();
        rows.append({SearchIndex::songRef(rowid, row), SearchIndex::plainOf(values)});
    }
    return true;
}

bool SongIndexer::details(const QString& title)
{
    if (!available())
        return true;
    KeptStatement& q = m_db.kept("SELECT rowid AS indexrowid, * FROM xtrax WHERE songtitle = ?");
    q.bindValue(0, title);
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return false;
    }
    QList<std::pair<qint64, QString>> rows;
    while (q.next())
        detailRows(q.value(0).toLongLong(), q.record(), rows);
    q.finish();
    return m_songs.put(rows);
}

bool SongIndexer::created(const QSqlRecord& inserted)
{
    if (!available())
        return true;
    const qint64 id = inserted.value(QStringLiteral("indexrowid")).toLongLong();
    // A data folder may hand a deleted song's rowid out again; whatever was
    // indexed under it must not become this song's. A server never does.
    if (!m_db.isServer() && !removed({id}))
        return false;
    Rows rows;
    detailRows(id, inserted, rows);
    return m_songs.put(withText(rows));
}

SongIndexer::Rows SongIndexer::withText(Rows rows)
{
    // The details row stays, empty or not: the check counts one a song.
    rows.removeIf([](const auto& row) {
        return row.second.isEmpty() &&
               row.first % SearchIndex::kRefsPerSong != SearchIndex::Details;
    });
    return rows;
}

QString SongIndexer::slotText(int slot, const QStringList& tracks)
{
    // A new song's placeholders say no more than its title, which its own
    // row holds; leaving them out keeps a new song's index rows small.
    QStringList typed;
    for (int k = 0; k < tracks.size(); ++k)
        typed << (isGeneratedTrackText(tracks.at(k), slot, k + 1) ? QString() : tracks.at(k));
    return SearchIndex::plainOf(typed);
}

QStringList SongIndexer::slotTracks(const QString& title, int slot, bool* ok)
{
    QStringList tracks;
    KeptStatement& q =
        m_db.kept(QString("SELECT * FROM %1 WHERE songtitle = ? ORDER BY rowid LIMIT 1")
                      .arg(m_trackTable(slot)));
    q.bindValue(0, title);
    *ok = q.exec();
    if (!*ok) {
        m_db.setError(q.lastError().text());
        return tracks;
    }
    if (q.next())
        for (int k = 0; k < schema::kTracksPerRow; ++k)
            tracks << q.value(k).toString();
    q.finish();
    return tracks;
}

bool SongIndexer::slot(const QString& title, int slot)
{
    if (!available())
        return true;
    bool ok = false;
    const QList<qint64> ids = rowidsOf(title, &ok);
    const QStringList tracks = ok ? slotTracks(title, slot, &ok) : QStringList();
    if (!ok)
        return false;
    QList<std::pair<qint64, QString>> rows;
    for (const qint64 id : ids)
        rows.append({SearchIndex::slotRef(id, slot), slotText(slot, tracks)});
    return m_tracks.put(rows);
}

bool SongIndexer::removed(const QList<qint64>& songRowids)
{
    if (!available())
        return true;
    for (const qint64 id : songRowids) {
        const qint64 first = SearchIndex::songRef(id, 0);
        const qint64 last = first + SearchIndex::kRefsPerSong - 1;
        if (!m_songs.remove(first, last) || !m_tracks.remove(first, last))
            return false;
    }
    return true;
}

bool SongIndexer::batch(qint64 after, int limit, qint64* last, int* done)
{
    Rows songRows;
    Rows trackRows;
    return collect(after, limit, last, done, &songRows, &trackRows) &&
           m_songs.put(withText(songRows)) && m_tracks.put(withText(trackRows));
}

bool SongIndexer::collect(qint64 after, int limit, qint64* last, int* done, Rows* songRows,
                          Rows* trackRows)
{
    *done = 0;
    QSqlQuery q = m_db.prepare(
        "SELECT rowid AS indexrowid, * FROM xtrax WHERE rowid > ? ORDER BY rowid LIMIT ?");
    q.addBindValue(after);
    q.addBindValue(limit);
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return false;
    }
    Rows titles;
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        detailRows(id, q.record(), *songRows);
        titles.append({id, q.record().value("songtitle").toString()});
    }
    q.finish();
    for (const auto& [id, title] : titles) {
        for (int slot = 1; slot <= schema::kTrackSlots; ++slot) {
            bool ok = false;
            const QStringList tracks = slotTracks(title, slot, &ok);
            if (!ok)
                return false;
            trackRows->append({SearchIndex::slotRef(id, slot), slotText(slot, tracks)});
        }
        *last = id;
        ++*done;
    }
    return true;
}

} // namespace quillon
