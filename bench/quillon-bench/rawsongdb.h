#pragma once

#include "store/datafolder.h"

#include <QStringList>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace quillon::bench {

// The baseline: the same rows written and read with the SQLite C API on one
// connection with the ten track files attached, rollback journal and
// synchronous=FULL on every file, statements prepared once. It keeps no title
// key, checks nothing and builds no records: the least any store must do.
class RawSongDb final {
public:
    RawSongDb() = default;
    ~RawSongDb();
    RawSongDb(const RawSongDb&) = delete;
    RawSongDb& operator=(const RawSongDb&) = delete;

    bool open(const DataFolder& folder);
    void close();

    bool create(const QString& title, const QString& words, const QString& composer,
                const QString& compositionDate);
    bool rename(const QString& oldTitle, const QString& newTitle);
    bool remove(const QString& title);

    // Every column of the song row as text; empty when there is none.
    QStringList songRow(const QString& title);
    QStringList trackRow(const QString& title, int slot);
    // Tracks 1..texts.size() of the slot, in one durable transaction.
    bool writeTracks(const QString& title, int slot, const QStringList& texts);
    // SELECT songtitle FROM xtrax into a list.
    QStringList titles();

private:
    bool exec(const char* sql);
    sqlite3_stmt* prepare(const QString& sql);
    bool step(sqlite3_stmt* stmt);
    static void bind(sqlite3_stmt* stmt, int index, const QString& text);
    static QStringList readRow(sqlite3_stmt* stmt);

    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_all;
    sqlite3_stmt* m_insertSong = nullptr;
    sqlite3_stmt* m_renameSong = nullptr;
    sqlite3_stmt* m_deleteSong = nullptr;
    sqlite3_stmt* m_selectSong = nullptr;
    sqlite3_stmt* m_titles = nullptr;
    sqlite3_stmt* m_insertTracks[10] = {};
    sqlite3_stmt* m_renameTracks[10] = {};
    sqlite3_stmt* m_deleteTracks[10] = {};
    sqlite3_stmt* m_selectTracks[10] = {};
    sqlite3_stmt* m_writeTracks[10] = {};
};

} // namespace quillon::bench
