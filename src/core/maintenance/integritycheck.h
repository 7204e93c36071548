#pragma once

#include "store/datafolder.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

struct IntegrityProblem {
    enum class Kind {
        FileUnusable,    // missing, unreadable, damaged or without its table
        EmptyTitle,      // a song whose title is empty after trimming
        DuplicateTitle,  // a second song with the same title (case and blanks ignored)
        MissingTrackRow, // a song without its row in a track table
        ExtraTrackRow,   // a song with more than one row in a track table
        OrphanTrackRow,  // a track row whose song does not exist
        DeviceRows,      // the device register has fewer than ten rows
        NotebookRow,     // the notebook has no row
        StyleCount,      // stnum.dat disagrees with styles.dat, or either is unreadable
        Columns,         // a table lacks columns of the schema or has foreign ones
        Layout,          // a server's catalogue: no catalogue, another version, a table missing
        KeyTable,        // a server's title keys disagree with the titles
        SearchIndex,     // the search index disagrees with what it indexes
    };
    Kind kind;
    QString file;  // the file concerned (on a server: the table)
    QString title; // song title, where one is concerned
    int slot = 0;  // track slot, where one is concerned
    bool repairable = true;
    QString text; // one line for the user
};

struct IntegrityReport {
    QList<IntegrityProblem> problems;
    bool clean() const { return problems.isEmpty(); }
    int repairableCount() const;
    // Files that could not be read at all (missing, damaged, empty).
    QStringList unusableFiles() const;
    // Problem lines for the user, at most maxLines of them plus a "... more" line.
    QString summary(int maxLines = 20) const;
};

// Checks the data folder against what the program relies on: every file a
// plain file, every table with the columns of the schema, every song with
// exactly one row in each of the ten track tables, no track row without its
// song, titles unique, the device register with its ten rows, the notebook
// with its row, and the style count matching the style list.
// Reads only the title columns, streamed through their indexes one track
// table at a time, so its memory does not grow with the number of songs
// beyond a few bytes per song; the thorough check also has SQLite verify
// every page of every file.
//
// A catalogue on a server is checked in one read-only snapshot: its layout
// version, every table with its columns, the same song and track rows and
// titles as in a folder, the title keys against the titles, and the style
// tables. What only concerns files (their type, SQLite's page check, the
// device register and notebook rows a folder is installed with) has no
// counterpart there; the thorough check of a server is the quick one.
class IntegrityCheck final {
public:
    explicit IntegrityCheck(const DataFolder& folder) : m_folder(folder) {}

    IntegrityReport quick();
    IntegrityReport thorough();

private:
    IntegrityReport run(bool thorough);
    IntegrityReport runOnServer();

    DataFolder m_folder;
};

} // namespace quillon
