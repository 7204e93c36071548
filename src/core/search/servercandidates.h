#pragma once

#include <QList>
#include <QString>

namespace quillon {

class Database;

// The first refs of a part of a server's search index that match a
// to_tsquery('simple', ...) text, in ref order, at most limit of them.
//
// The word index (GIN) can only hand over every match of a word at once, so
// a word on most rows costs a read of all of them; the rows in ref order
// checked one by one stop as soon as enough match, but cost a full scan for
// a word few rows have. PostgreSQL's planner cannot tell the two apart for a
// word start or for several words, so the choice is made here from the rows
// themselves: a first window of rows in order is checked, and when it shows
// the words to be common the scan in order goes on; otherwise the word
// index finds the rest.
QList<qint64> serverCandidates(Database& db, const QString& part, const QString& tsquery, int limit,
                               QString* error);

} // namespace quillon
