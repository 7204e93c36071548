#include "songs/songkeytable.h"

#include "songs/songstore.h"
#include "store/database.h"

#include <limits>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace quillon {

namespace {
// A retitle that keeps the exact title (the song details store every field
// back) is no change; a change of letter case is one.
const QStringList kSongTriggers{
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS songkey_insert AFTER INSERT ON xtrax "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END"),
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS songkey_delete AFTER DELETE ON xtrax "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END"),
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS songkey_update AFTER UPDATE OF songtitle ON "
                   "xtrax WHEN OLD.songtitle IS NOT NEW.songtitle "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END")};
const QStringList kKeyTriggers{
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS keyrow_insert AFTER INSERT ON songkey "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END"),
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS keyrow_delete AFTER DELETE ON songkey "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END"),
    QStringLiteral("CREATE TRIGGER IF NOT EXISTS keyrow_update AFTER UPDATE ON songkey "
                   "BEGIN UPDATE songkeystate SET fresh = 0; END")};
} // namespace

bool SongKeyTable::create(Database& db)
{
    // A server's catalogue is laid out with its keys, and the program's
    // login may create nothing.
    if (db.isServer())
        return true;
    // One b-tree and no rowid: a song's write touches as few pages as possible.
    return db.exec("CREATE TABLE IF NOT EXISTS main.songkey (key TEXT NOT NULL, "
                   "songtitle TEXT NOT NULL, PRIMARY KEY (key, songtitle)) WITHOUT ROWID");
}

bool SongKeyTable::inStep(Database& db)
{
    if (db.isServer()) {
        // Every client keeps the keys in the transaction that changes a title.
        QSqlQuery q = db.prepare("SELECT (SELECT fresh FROM songkeystate), (SELECT count(*) "
                                 "FROM songkey), (SELECT count(*) FROM xtrax)");
        return q.exec() && q.next() && q.value(0).toInt() == 1 &&
               q.value(1).toLongLong() == q.value(2).toLongLong();
    }
    // One statement, and no title read: the freshness mark, the six
    // triggers that keep it honest, and the row counts.
    QSqlQuery q = db.prepare(
        "SELECT (SELECT fresh FROM songkeystate), (SELECT count(*) FROM sqlite_master WHERE "
        "type = 'trigger' AND name IN ('songkey_insert', 'songkey_delete', 'songkey_update', "
        "'keyrow_insert', 'keyrow_delete', 'keyrow_update')), (SELECT count(*) FROM songkey), "
        "(SELECT count(*) FROM xtrax)");
    return q.exec() && q.next() && q.value(0).toInt() == 1 && q.value(1).toInt() == 6 &&
           q.value(2).toLongLong() == q.value(3).toLongLong();
}

bool SongKeyTable::rebuild(Database& db)
{
    const bool server = db.isServer();
    bool ok = create(db) &&
              (server ||
               db.exec("CREATE TABLE IF NOT EXISTS main.songkeystate (fresh INTEGER NOT NULL)"));
    for (const QString& trigger : kSongTriggers)
        ok = ok && (server || db.exec(trigger));
    // The key table's own triggers stay out of the way while it is refilled.
    for (const char* trigger : {"keyrow_insert", "keyrow_delete", "keyrow_update"})
        ok = ok && (server || db.exec(QString("DROP TRIGGER IF EXISTS main.%1").arg(trigger)));
    ok = ok && db.exec("DELETE FROM songkey");
    if (!ok)
        return false;
    // Read and written in batches: the keys of a hundred thousand songs
    // need not be held at once.
    QSqlQuery ins = db.prepare(kInsertSql);
    qint64 after = std::numeric_limits<qint64>::min();
    for (;;) {
        QSqlQuery read = db.prepare(
            "SELECT rowid, songtitle FROM xtrax WHERE rowid > ? ORDER BY rowid LIMIT 5000");
        read.setForwardOnly(true);
        read.addBindValue(after);
        if (!read.exec()) {
            db.setError(read.lastError().text());
            return false;
        }
        // A batch is read to its end before any key is written: a server
        // connection cannot hold a result open while it runs another statement.
        QStringList titles;
        while (read.next()) {
            after = read.value(0).toLongLong();
            titles << read.value(1).toString();
        }
        read.finish();
        const qsizetype rows = titles.size();
        for (const QString& title : std::as_const(titles)) {
            ins.bindValue(0, SongStore::titleKey(title));
            ins.bindValue(1, title);
            if (!ins.exec()) {
                db.setError(ins.lastError().text());
                return false;
            }
        }
        if (rows == 0)
            break;
    }
    ins = QSqlQuery();
    for (const QString& trigger : kKeyTriggers)
        ok = ok && (server || db.exec(trigger));
    return ok && db.exec("DELETE FROM songkeystate") &&
           db.exec("INSERT INTO songkeystate (fresh) VALUES (1)");
}

} // namespace quillon
