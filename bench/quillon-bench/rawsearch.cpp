#include "rawsearch.h"

#include <libpq-fe.h>
#include <sqlite3.h>

namespace quillon::bench {

RawSearch::~RawSearch()
{
    close();
}

void RawSearch::close()
{
    sqlite3_close(m_songs);
    m_songs = nullptr;
    for (sqlite3*& db : m_small) {
        sqlite3_close(db);
        db = nullptr;
    }
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
}

bool RawSearch::open(const DataFolder& folder)
{
    close();
    if (folder.onServer()) {
        m_conn = PQconnectdb(folder.server().connectionUri().toUtf8().constData());
        if (PQstatus(m_conn) != CONNECTION_OK)
            return false;
        // The same statement every time, prepared once as a client would,
        // and planned for each query's words as the program's are: a
        // generic plan cannot tell a common word from a rare one.
        PGresult* r = PQexec(m_conn, "SET plan_cache_mode = force_custom_plan");
        PQclear(r);
        r = PQprepare(m_conn, "search",
                      "SELECT ref FROM searchindex WHERE part = $1 AND tsv @@ "
                      "to_tsquery('simple', $2) ORDER BY ref LIMIT $3",
                      3, nullptr);
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        return ok;
    }
    const QString files[4] = {folder.songDb(), folder.tapeDb(), folder.recdevDb(),
                              folder.note1Db()};
    sqlite3** dbs[4] = {&m_songs, &m_small[0], &m_small[1], &m_small[2]};
    for (int i = 0; i < 4; ++i)
        if (sqlite3_open_v2(files[i].toUtf8().constData(), dbs[i], SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK)
            return false;
    return true;
}

bool RawSearch::fileCandidates(sqlite3* db, const char* table, const QByteArray& match, int limit,
                               QList<qint64>& refs)
{
    // Prepared for every search, as find prepares its own lookups afresh.
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql =
        QByteArray("SELECT rowid FROM ") + table + " WHERE " + table + " MATCH ? LIMIT ?";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(stmt, 1, match.constData(), int(match.size()), SQLITE_STATIC);
    sqlite3_bind_int(stmt, 2, limit);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        refs << sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

bool RawSearch::serverCandidates(const char* part, const QByteArray& tsquery, int limit,
                                 QList<qint64>& refs)
{
    const QByteArray limitText = QByteArray::number(limit);
    const char* values[3] = {part, tsquery.constData(), limitText.constData()};
    PGresult* r = PQexecPrepared(m_conn, "search", 3, values, nullptr, nullptr, 0);
    const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
    for (int i = 0; ok && i < PQntuples(r); ++i)
        refs << QByteArray(PQgetvalue(r, i, 0)).toLongLong();
    PQclear(r);
    return ok;
}

QList<qint64> RawSearch::candidates(const SearchQuery& query, int perKind)
{
    QList<qint64> refs;
    bool ok = true;
    if (m_conn) {
        const QByteArray q = query.tsquery().toUtf8();
        ok = serverCandidates("songs", q, perKind * 8, refs) &&
             serverCandidates("tracks", q, perKind * 2, refs);
        for (const char* part : {"media", "devices", "notebook"})
            ok = ok && serverCandidates(part, q, perKind * 2, refs);
    } else {
        const QByteArray q = query.fts5().toUtf8();
        ok = fileCandidates(m_songs, "searchindex", q, perKind * 8, refs) &&
             fileCandidates(m_songs, "searchtracks", q, perKind * 2, refs);
        for (sqlite3* db : m_small)
            ok = ok && fileCandidates(db, "searchindex", q, perKind * 2, refs);
    }
    if (!ok)
        refs.clear();
    return refs;
}

} // namespace quillon::bench
