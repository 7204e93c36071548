#pragma once

#include <QString>

namespace quillon {

class Database;

// The title key table songkey in the song database: one row per song with
// its title's key (SongStore::titleKey), so that a title can be checked for
// uniqueness with one index lookup instead of reading every title.
//
// Whoever writes the song table without knowing the keys (another program,
// a hand edit) must not leave them silently wrong. Triggers on the song
// table and on the key table clear a freshness mark in songkeystate on any
// added, removed or retitled song and on any change of a key row; a writer
// that keeps the keys in step sets it again in the same transaction. Plain
// SQL only, so any SQLite program can still write the file. Checking the
// mark, the triggers and the two row counts reads no title.
class SongKeyTable final {
public:
    static inline const QString kLookupSql =
        QStringLiteral("SELECT 1 FROM songkey WHERE key = ? LIMIT 1");
    // An exact duplicate title (only in a damaged folder) has one key row; the
    // counts then differ and the next first use rebuilds the keys. On a
    // server the key alone is unique, so a row not added means another
    // client holds the title.
    static inline const QString kInsertSql =
        QStringLiteral("INSERT INTO songkey (key, songtitle) VALUES (?, ?) ON CONFLICT DO NOTHING");
    static inline const QString kDeleteSql =
        QStringLiteral("DELETE FROM songkey WHERE key = ? AND songtitle = ?");
    // A writer that keeps the keys in step reads the mark when its
    // transaction begins and puts it back at the end (its own triggers have
    // cleared it): fresh stays fresh, and a change someone else made before
    // is not hidden.
    static inline const QString kMarkSql = QStringLiteral("SELECT fresh FROM songkeystate");
    static inline const QString kSetMarkSql = QStringLiteral("UPDATE songkeystate SET fresh = ?");

    // Creates the key table if it is missing (empty, so not in step).
    static bool create(Database& db);
    // True when the keys can be trusted: marked fresh, guarded by all their
    // triggers, and as many rows as songs.
    static bool inStep(Database& db);
    // Rebuilds the keys (with their mark and triggers) from the titles,
    // through db, whose main file is the song database. The caller runs it
    // inside its own transaction.
    static bool rebuild(Database& db);
};

} // namespace quillon
