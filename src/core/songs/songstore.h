#pragma once

#include "songs/songindexer.h"
#include "songs/songrecord.h"
#include "store/database.h"
#include "store/datafolder.h"

#include <functional>
#include <optional>
#include <QHash>
#include <QStringList>
#include <QVariantMap>
#include <unordered_map>

namespace quillon {

struct NewSong {
    QString title; // trimmed and checked by the caller
    QString words;
    QString composer;
    QString compositionDate;
};

// The song table and the ten track tables. One connection holds the song
// database with the ten track databases attached, so that create, rename and
// delete commit as one transaction across all eleven files: after a crash or
// a failed write a song exists with all ten track rows or not at all.
// Titles are always bound values, never part of the statement text.
//
// The uniqueness check must not read every title: a side table in the song
// database holds each title's key (see titleKey and SongKeyTable) and is kept
// in the same transactions as the songs; on first use it is rebuilt when it
// is not in step. Statements are prepared once and kept while the store is
// open.
class SongStore final {
public:
    explicit SongStore(const DataFolder& folder);
    ~SongStore();
    SongStore(const SongStore&) = delete;
    SongStore& operator=(const SongStore&) = delete;

    bool open();
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    // User-facing text of the last failure (names the file).
    QString lastError() const { return m_db.lastError(); }
    const DataFolder& folder() const { return m_folder; }
    // The connection itself, for checks and fault tests (e.g. PRAGMA max_page_count).
    Database& database() { return m_db; }

    int count();
    QStringList titles(); // in table order
    // Title taken as the key: trimmed and in capitals.
    static QString titleKey(const QString& title);
    // True when a song other than `ignore` has the same key.
    bool titleExists(const QString& title, const QString& ignore = {});

    std::optional<SongRecord> song(const QString& title);
    QStringList titlesOnMedium(const QString& medium);

    bool create(const NewSong& song);
    // Renames and stores the other edited fields; the track rows follow.
    // `expected` holds fields as the caller read them (see changedElsewhere).
    bool rename(const QString& oldTitle, const QString& newTitle, const QVariantMap& fields = {},
                const QVariantMap& expected = {});
    bool updateFields(const QString& title, const QVariantMap& fields,
                      const QVariantMap& expected = {});
    bool remove(const QString& title);

    // The 96 tracks of a slot; a missing row reads as empty tracks.
    QStringList trackRow(const QString& title, int slot, bool* found = nullptr);
    // Writes consecutive tracks starting at firstTrack (1-based). A missing
    // row is created first, so typed text is never dropped. `expected`, when
    // given, holds the same tracks as the caller read them.
    bool writeTracks(const QString& title, int slot, int firstTrack, const QStringList& texts,
                     const QStringList& expected = {});

    // The last write was refused because what it was based on had changed
    // since it was read (another room, on a shared catalogue): the values in
    // `expected` no longer stand. Nothing was written; lastError() says so.
    bool changedElsewhere() const { return m_changedElsewhere; }

    // The last create or rename failed because another client took the
    // title between the check and the write.
    bool titleTaken() const { return m_titleTaken; }

    // The song rows of the search index, for its first build and checks.
    SongIndexer& indexer() { return m_indexer; }

    // Test hook: called with a stage name ("song", "track5", "commit", ...)
    // inside every multi-file write; returning true makes that stage fail.
    void setFaultInjector(std::function<bool(const QString& stage)> injector)
    {
        m_faultInjector = std::move(injector);
    }

    // One page of the song list in table order, for lists that read titles as
    // they are scrolled to: at most `limit` songs whose rowid is above
    // `afterRowid` (0 for the first page). Paging on the rowid rather than an
    // offset keeps every page as cheap as the first. A null title reads as
    // empty text. A failed read sets lastError() and *ok to false; the rows
    // read before the failure are returned.
    struct TitleRow {
        qint64 rowid = 0;
        QString title;
    };
    QList<TitleRow> titlesAfter(qint64 afterRowid, int limit, bool* ok = nullptr);

private:
    bool fault(const QString& stage);
    bool fail(const QString& technical);
    bool takenMeanwhile(const QString& title);
    // Inside a write's transaction: true when the row of `title` in `table`
    // still holds the expected values (locked on a server until the end).
    bool stillAsRead(const QString& table, const QString& title, const QVariantMap& expected,
                     bool* rowFound = nullptr);
    // Rolls back and says why: changed by another room, or gone.
    bool changedMeanwhile(const QString& title, bool gone = false);
    // Opens a lost server connection again; a no-op on the data folder.
    bool revive();
    QString trackTableRef(int slot) const;
    // Runs q; a failure is reported against file (the song database if empty).
    bool exec(KeptStatement& q, const QString& file = {});
    bool exec(QSqlQuery& q, const QString& file = {});
    bool hasTable(const QString& schemaName, const QString& table, const QString& file);
    // The statement for sql, prepared on first use and kept until close().
    // References stay valid while further statements are added.
    KeptStatement& statement(const QString& sql);
    KeptStatement& trackWriteStatement(int slot, int firstTrack, int count);
    // Creates or rebuilds the key table; false leaves the store scanning.
    bool prepareKeys();
    // The key table in step, checked (and if need be rebuilt) on first use.
    bool keyed();
    // The key table's freshness mark, read as a write begins and put back
    // as it ends (see SongKeyTable).
    bool takeKeyMark(int* mark);
    bool putKeyMark(int mark);

    DataFolder m_folder;
    Database m_db;
    // The search index follows every write in the same transaction.
    SongIndexer m_indexer{m_db, [this](int slot) { return trackTableRef(slot); }};
    std::unordered_map<QString, KeptStatement> m_statements;
    std::unordered_map<int, KeptStatement> m_trackWrites;
    KeptStatement m_unprepared; // handed out when a statement cannot be prepared
    QString m_prepareError;     // why the last statement could not be prepared
    bool m_keyed = false;       // the key table is present and in step
    bool m_keysChecked = false;
    bool m_titlesFromIndex = true;
    bool m_titleTaken = false;
    bool m_changedElsewhere = false;
    std::function<bool(const QString&)> m_faultInjector;
};

} // namespace quillon
