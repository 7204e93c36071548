#pragma once

#include <optional>
#include <QString>

namespace quillon {

class Database;
struct IntegrityReport;

// How a server's title key table differs from the song titles. The server
// keeps no other record of which titles are taken, so keys that drifted
// would let a second song of a title in, or refuse a free title.
struct KeyTableDiff {
    qint64 songsWithoutKey = 0; // songs whose exact title has no key row
    qint64 keysWithoutSong = 0; // key rows whose title no song carries
    qint64 wrongKeys = 0;       // key rows whose key is not their title's key
    bool clean() const { return songsWithoutKey == 0 && keysWithoutSong == 0 && wrongKeys == 0; }
};

// The checks of song titles and track rows, over a data folder's files as
// over a server's tables: what they find is reported the same way, and
// only the reading differs (a file is streamed through its title index, a
// server compares the tables itself). `file` is what a problem names: the
// data file, or the table on a server.
namespace titlechecks {

// Empty titles and titles used twice (letter case and blanks ignored).
bool checkTitles(Database& songs, const QString& file, IntegrityReport& report, QString* error);
// A song without its row in the track table of `slot`, with more than one,
// and rows of no song: the song file against one track file.
bool checkSlot(Database& songs, Database& tracks, int slot, const QString& file,
               IntegrityReport& report, QString* error);
// The same on a server, where both tables are in one database.
bool checkSlotOnServer(Database& db, int slot, IntegrityReport& report, QString* error);
// Compares a server's key table with the titles, through db (inside the
// caller's transaction); nothing when they cannot be read (see error).
std::optional<KeyTableDiff> compareKeyTable(Database& db, QString* error);

} // namespace titlechecks
} // namespace quillon
