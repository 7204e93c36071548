#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace quillon {

// The titles of one table as groups of equal titles, in SQLite's own order
// (BINARY collation), streamed through the table's title index: however many
// songs there are, only the current group is held. Two tables read this way
// can be merged side by side, which is how the data check compares the song
// table with each track table without keeping either in memory.
class TitleGroups final {
public:
    // The statement that reads a table's titles in order (exposed for tests).
    static QString sql(const QString& table);
    // Starts reading `table` (e.g. "xtrax", "rd3") through db.
    bool start(QSqlDatabase db, const QString& table, QString* error);
    // Moves to the next group; false at the end or on a read error (see error()).
    bool next();
    QString error() const { return m_error; }

    // The current group: its title (null for a null title) and how many rows carry it.
    QString title() const;
    qsizetype count() const { return m_count; }

    // Orders two groups as SQLite does: null, numbers, text, blobs; text by bytes.
    static int compare(const TitleGroups& a, const TitleGroups& b);

private:
    struct Value {
        int rank = 0; // 0 null, 1 number, 2 text, 3 blob
        QByteArray bytes;
        double number = 0;
    };
    bool read(Value* value);
    static int compare(const Value& a, const Value& b);

    QSqlQuery m_query;
    Value m_current;
    Value m_pending;
    bool m_havePending = false;
    qsizetype m_count = 0;
    QString m_error;
};

} // namespace quillon
