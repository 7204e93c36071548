#pragma once

#include "media/medium.h"
#include "store/datafolder.h"

#include <optional>
#include <QList>
#include <QStringList>

namespace quillon {

class Database;

// The media table (table Tape in tape.mdb, or on the catalogue server).
// Every call opens the file or connects, does its one piece of work and
// closes it again, so no connection stays open between two user actions.
// Names are always bound values, so a name with an apostrophe is stored,
// found, renamed and deleted like any other.
//
// Names are unique without regard to letter case and surrounding blanks; the
// store refuses a write that would break that even when a window forgot to
// check, and stores names without surrounding blanks. On a server the check
// and the write are one step for all rooms: a write locks the media table
// against other writers (readers go on) until it commits.
class MediaStore final {
public:
    explicit MediaStore(const DataFolder& folder);

    // The file is there; always true on a server, whose layout is checked
    // when a call connects.
    bool databaseExists() const;
    // User-facing text of the last failure (names the file or the server).
    QString lastError() const { return m_lastError; }

    // Every medium in stored order; empty on failure (see lastError).
    QList<Medium> all();
    // Number of rows; 0 on failure.
    // Every medium in stored order with only what the media tree shows: the
    // name, the type and the separated flag (the picture follows from them);
    // the other fields are empty. A third of the reading of all().
    QList<Medium> treeEntries();
    int count();
    // The first medium whose stored name is exactly `name`.
    std::optional<Medium> find(const QString& name);
    // Every name for the song details' drop-down, sorted without regard to
    // letter case.
    QStringList names();

    // Adds a row with all ten fields. Refuses an empty or taken name.
    bool add(const Medium& medium);
    // Rewrites all ten fields of the medium stored as `storedName`. With
    // `asRead` (the medium as the caller read it) the write is refused when
    // the stored row is no longer that (see changedElsewhere).
    bool update(const QString& storedName, const Medium& medium,
                const std::optional<Medium>& asRead = std::nullopt);
    // Removes the medium stored as `name`. Songs that name it keep the name.
    bool remove(const QString& name, const std::optional<Medium>& asRead = std::nullopt);

    // The last write was refused because the medium had been changed, renamed
    // or removed (by another room) since it was read as `asRead`. Nothing was
    // written; lastError() says so.
    bool changedElsewhere() const { return m_changedElsewhere; }

    // The key names are compared by: trimmed and case-folded.
    static QString nameKey(const QString& name);

private:
    bool openDb(Database& db);
    bool fail(Database& db, const QString& technical);
    // rowid of the first row stored exactly as name; -1 when there is none
    // or the lookup failed (lastError set).
    qint64 rowIdOf(Database& db, const QString& name);
    bool takenIn(Database& db, const QString& name, qint64 ignoreRow, bool* ok);
    bool checkName(Database& db, const Medium& medium, qint64 ignoreRow);
    // A write's transaction, the table locked on a server; finish() commits
    // it when ok, else rolls it back keeping the reason.
    bool begin(Database& db);
    bool finish(Database& db, bool ok);
    // Inside a write: the row of `name` (-1 when there is none) is still as
    // read; false with the refusal set when it is not or cannot be read.
    bool stillAsRead(Database& db, qint64 row, const QString& name,
                     const std::optional<Medium>& asRead);

    DataFolder m_folder;
    QString m_lastError;
    bool m_changedElsewhere = false;
};

} // namespace quillon
