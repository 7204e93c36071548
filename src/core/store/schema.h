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

// Statements that lay out each file. Each file holds its one table.
QStringList songDatabaseDdl();
QStringList trackDatabaseDdl(int slot);
QStringList tapeDatabaseDdl();
QStringList recdevDatabaseDdl();
QStringList note1DatabaseDdl();

// The canonical spelling of a column, found without regard to letter case;
// empty when the table has no such column. Keeps unchecked names out of SQL.
QString canonicalColumn(const QStringList& columns, const QString& name);

// A column name quoted for SQL text.
QString quoted(const QString& identifier);

} // namespace quillon::schema
