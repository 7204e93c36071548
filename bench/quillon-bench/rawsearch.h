#pragma once

#include "search/searchquery.h"
#include "store/datafolder.h"

#include <QList>

struct sqlite3;
typedef struct pg_conn PGconn;

namespace quillon::bench {

// The search baseline: the index lookups CatalogueSearch::find makes for a
// query, and nothing more. The same five parts with the same limits (songs
// perKind * 8, the others perKind * 2), the same MATCH of the FTS5 tables
// with the SQLite C API on a folder, the same tsquery through libpq on a
// server; the refs read into a list. What find adds on top is reading each
// candidate's row, checking it against the query and making its context.
class RawSearch final {
public:
    RawSearch() = default;
    ~RawSearch();
    RawSearch(const RawSearch&) = delete;
    RawSearch& operator=(const RawSearch&) = delete;

    bool open(const DataFolder& folder);
    void close();
    // The refs of every part, in the order asked; empty on a failure too.
    QList<qint64> candidates(const SearchQuery& query, int perKind);

private:
    bool fileCandidates(sqlite3* db, const char* table, const QByteArray& match, int limit,
                        QList<qint64>& refs);
    bool serverCandidates(const char* part, const QByteArray& tsquery, int limit,
                          QList<qint64>& refs);

    sqlite3* m_songs = nullptr;
    sqlite3* m_small[3] = {};
    PGconn* m_conn = nullptr;
};

} // namespace quillon::bench
