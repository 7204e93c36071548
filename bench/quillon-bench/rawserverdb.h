#pragma once

#include <QList>
#include <QSet>
#include <QStringList>
#include <utility>
#include <vector>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace quillon::bench {

// The server baseline: for each action, the statements SongStore sends to a
// catalogue on a PostgreSQL server, in the same order and in one
// transaction, but sent with libpq directly: one connection, every
// statement prepared once on the server (PQprepare) and run with text
// parameters, BEGIN and COMMIT as simple queries. That includes the song's
// rows of the search index, their texts made with the program's own
// functions from the same rows. Like RawSongDb it checks nothing it need
// not and builds no records: the least a client must send.
class RawServerDb final {
public:
    RawServerDb() = default;
    ~RawServerDb();
    RawServerDb(const RawServerDb&) = delete;
    RawServerDb& operator=(const RawServerDb&) = delete;

    // A libpq connection URI of a catalogue database.
    bool open(const QString& uri);
    void close();
    QString lastError() const { return m_error; }

    bool create(const QString& title, const QString& words, const QString& composer,
                const QString& compositionDate);
    bool rename(const QString& oldTitle, const QString& newTitle);
    bool remove(const QString& title);

    // Every column of the first row as text; empty when there is none.
    QStringList songRow(const QString& title);
    QStringList trackRow(const QString& title, int slot);
    // Tracks 1..texts.size() of the slot: the same columns read FOR UPDATE
    // and compared with expected, the UPDATE and the announcement.
    bool writeTracks(const QString& title, int slot, const QStringList& texts,
                     const QStringList& expected);
    bool titleExists(const QString& title);
    // One page of the song list, as the open-song dialog reads it.
    std::vector<std::pair<qint64, QString>> titlesAfter(qint64 afterRowid, int limit);

private:
    bool prepare(const char* name, const QString& sql, int params);
    // Runs a prepared statement; null (and lastError set) on failure.
    PGresult* run(const char* name, const QList<QByteArray>& params);
    bool command(const char* name, const QList<QByteArray>& params);
    bool simple(const char* sql);
    // The key mark, read as a write begins and put back as it ends.
    bool takeMark(QByteArray* mark);
    bool announce(const char* kind, const QString& subject);
    // The search index rows SongStore keeps in step, by the same statements.
    QList<qint64> rowidsOf(const QByteArray& title, bool* ok);
    bool indexDetails(const QByteArray& title, QList<qint64>* ids = nullptr);
    bool preparePut(int count);
    // The rows of one part in one statement.
    bool indexPut(const char* part, const QList<std::pair<qint64, QString>>& rows);
    // The song rows of the song rows in r (with their rowids as "indexrowid").
    static void songRowsOf(const PGresult* r, QList<std::pair<qint64, QString>>& rows,
                           QList<qint64>* ids);
    bool indexRemove(const QList<qint64>& rowids);
    bool finish(bool ok);
    static QStringList rowOf(PGresult* result);

    PGconn* m_conn = nullptr;
    QString m_error;
    QSet<int> m_putPrepared;
};

} // namespace quillon::bench
