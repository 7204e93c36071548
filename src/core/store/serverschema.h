#pragma once

#include <QStringList>

namespace quillon {

class Database;
class ServerAddress;

// The catalogue's tables on a PostgreSQL server: the same tables and column
// names as the data folder's files (canonical spelling, quoted), every value
// text as SQLite keeps it, each table with a rowid column last so that rows
// keep their order and positions read by index stay where they are. What the
// data folder keeps in plain files (the style list, its count) is held in
// the tables styles and stnum. The table quillon_schema holds the version
// of this layout so that a later program can upgrade it.
namespace serverschema {

inline constexpr int kVersion = 1;

// Every table that holds catalogue data, in the order a copy writes them.
QStringList dataTables();
// Every table of the layout: the data tables, then what is derived from them
// (title keys, search index) and the layout version.
QStringList allTables();
// The columns a copy carries for a table (rowid last).
QStringList columnsOf(const QString& table);

// Statements that lay out an empty catalogue, version row included.
QStringList ddl();
// Lays out the catalogue in db (inside the caller's transaction when one is open).
bool create(Database& db);
// Drops every catalogue table (for migrate --replace; inside a transaction).
bool drop(Database& db);

enum class State { Ready, Empty, WrongVersion, Unreadable };
State state(Database& db, int* version = nullptr);

// Connects to the server and checks that it holds a catalogue of this
// version; a fault (server down, login refused, no catalogue, another
// version) leaves db closed with its own message and fault kind.
bool open(Database& db, const ServerAddress& server);

} // namespace serverschema
} // namespace quillon
