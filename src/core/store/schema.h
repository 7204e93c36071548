#pragma once

#include <QString>
#include <QStringList>

namespace quillon::schema {

inline constexpr int kTrackSlots = 10;
inline constexpr int kTracksPerRow = 96;

// Column names in their canonical spelling and stored order. Lookups by name
// are case-insensitive (SQLite folds ASCII; the umlauts are spelled alike).
const QStringList& songColumns();   // table xtrax
const QStringList& trackColumns();  // table rd<n>: track1..track96, songtitle
const QStringList& tapeColumns();   // table Tape
const QStringList& recdevColumns(); // table recdev
const QStringList& note1Columns();  // table note1

QString trackTable(int slot); // "rd<n>"

// The declared type of a column of one of the tables above ("TEXT" unless
// said otherwise).
QString columnType(const QString& table, const QString& column);
// True for tables read by column position (SELECT * and the n-th value):
// there a column added at the end would not stand where it is read.
bool readByPosition(const QString& table);

// Statements that lay out each file. Each file holds its one table.
QStringList songDatabaseDdl();
QStringList trackDatabaseDdl(int slot);
QStringList tapeDatabaseDdl();
QStringList recdevDatabaseDdl();
QStringList note1DatabaseDdl();

// How a table's columns (as the file has them, in order) differ from the
// canonical ones. Names compare without regard to letter case.
struct ColumnDiff {
    QStringList missing;    // canonical columns the file lacks, in canonical order
    QStringList foreign;    // columns the program does not know
    bool misplaced = false; // a table read by position has its columns out of place
    bool clean() const { return missing.isEmpty() && foreign.isEmpty() && !misplaced; }
    // Adding the missing columns at the end makes the table whole.
    bool repairable() const { return !missing.isEmpty() && foreign.isEmpty() && !misplaced; }
};
ColumnDiff compareColumns(const QString& table, const QStringList& canonical,
                          const QStringList& actual);

// The canonical spelling of a column, found without regard to letter case;
// empty when the table has no such column. Keeps unchecked names out of SQL.
QString canonicalColumn(const QStringList& columns, const QString& name);

// A column name quoted for SQL text.
QString quoted(const QString& identifier);

} // namespace quillon::schema
