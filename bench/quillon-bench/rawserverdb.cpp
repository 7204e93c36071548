#include "rawserverdb.h"

#include "search/searchindex.h"
#include "search/searchtext.h"
#include "songs/songindexer.h"
#include "store/schema.h"
#include "store/songconstants.h"

#include <libpq-fe.h>
#include <map>
#include <QDate>
#include <QHash>

namespace quillon::bench {

namespace {
// What SongStore announces on: the channel and a payload of client, kind, subject.
const QByteArray kChannel = "quillon_catalogue";
const QString kClient = QStringLiteral("bench-raw");

QByteArray name(const char* base, int slot)
{
    return QByteArray(base) + QByteArray::number(slot);
}

// The 24 columns of a bank in the order SongStore lists what it read (its
// map of expected values is sorted by name: track1, track10, ..., track9).
QStringList bankColumnsByName(int count)
{
    std::map<QString, int> sorted;
    for (int k = 1; k <= count; ++k)
        sorted.emplace(QString("track%1").arg(k), k);
    QStringList columns;
    for (const auto& entry : sorted)
        columns << entry.first;
    return columns;
}
} // namespace

RawServerDb::~RawServerDb()
{
    close();
}

void RawServerDb::close()
{
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
    m_putPrepared.clear();
}

bool RawServerDb::prepare(const char* statement, const QString& sql, int params)
{
    PGresult* r = PQprepare(m_conn, statement, sql.toUtf8().constData(), params, nullptr);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!ok)
        m_error = QString::fromUtf8(PQerrorMessage(m_conn)) + " in " + sql;
    PQclear(r);
    return ok;
}

bool RawServerDb::open(const QString& uri)
{
    close();
    m_conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        m_error = QString::fromUtf8(PQerrorMessage(m_conn));
        close();
        return false;
    }
    PQclear(PQexec(m_conn, "SET client_min_messages = warning"));

    QStringList insertColumns, insertMarks, rowSets;
    for (int k = 1; k <= 48; ++k) {
        insertColumns << QString("track%1").arg(k);
        insertMarks << QString("$%1").arg(k);
    }
    for (int k = 1; k <= 24; ++k)
        rowSets << QString("track%1 = $%1").arg(k);
    QStringList asRead;
    for (const QString& c : bankColumnsByName(24))
        asRead << schema::quoted(c);

    const QString insertSong =
        "INSERT INTO xtrax (songtitle, text, composer, publisher, firstdate, compodate, "
        "notiz1, \"Bandnummer\", \"BandzeitVon\", \"BandzeitBis\", \"BandZählWerkVon\", "
        "\"BandZählWerkBis\", \"NoiseReduction\", bandmasch, \"SMPTEZeit\", \"SmpteType\", "
        "notiz2, \"SongInfoNote\", recordcomp, tapeinfonote, \"BandType\") "
        "VALUES ($1, $2, $3, '', $4, $5, '', '0', '00:00:00', '00:00:00', '0', '0', '', "
        "'', '00:00:00:00 ', '', '', '', '', '', '') RETURNING rowid AS indexrowid, *";
    bool ok =
        prepare("mark", "SELECT fresh FROM songkeystate", 0) &&
        prepare("set_mark", "UPDATE songkeystate SET fresh = $1", 1) &&
        prepare("notify", "SELECT pg_notify($1, $2)", 2) && prepare("insert_song", insertSong, 5) &&
        prepare("insert_key",
                "INSERT INTO songkey (key, songtitle) VALUES ($1, $2) ON CONFLICT DO NOTHING", 2) &&
        prepare("delete_key", "DELETE FROM songkey WHERE key = $1 AND songtitle = $2", 2) &&
        prepare("lookup_key", "SELECT 1 FROM songkey WHERE key = $1 LIMIT 1", 1) &&
        prepare("rename_song", "UPDATE xtrax SET songtitle = $1 WHERE songtitle = $2", 2) &&
        prepare("delete_song", "DELETE FROM xtrax WHERE songtitle = $1", 1) &&
        prepare("select_song", "SELECT * FROM xtrax WHERE songtitle = $1 ORDER BY rowid LIMIT 1",
                1) &&
        prepare("titles_after",
                "SELECT rowid, songtitle FROM xtrax WHERE rowid > $1 ORDER BY rowid LIMIT $2", 2) &&
        prepare("index_rowids", "SELECT rowid FROM xtrax WHERE songtitle = $1 ORDER BY rowid", 1) &&
        prepare("index_song", "SELECT rowid AS indexrowid, * FROM xtrax WHERE songtitle = $1", 1) &&
        prepare("index_remove", "DELETE FROM searchindex WHERE part = $1 AND ref BETWEEN $2 AND $3",
                3);
    // The index rows of one slot, of a new song (its details), of a song;
    // any other number (a damaged catalogue, a new song with notes) on first use.
    for (const int rows : {1, 4})
        ok = ok && preparePut(rows);
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        const QString t = schema::trackTable(n);
        ok = prepare(name("insert_tracks", n),
                     QString("INSERT INTO %1 (%2, songtitle) VALUES (%3, $49)")
                         .arg(t, insertColumns.join(", "), insertMarks.join(", ")),
                     49) &&
             prepare(name("rename_tracks", n),
                     QString("UPDATE %1 SET songtitle = $1 WHERE songtitle = $2").arg(t), 2) &&
             prepare(name("delete_tracks", n),
                     QString("DELETE FROM %1 WHERE songtitle = $1").arg(t), 1) &&
             prepare(name("select_tracks", n),
                     QString("SELECT * FROM %1 WHERE songtitle = $1 ORDER BY rowid LIMIT 1").arg(t),
                     1) &&
             prepare(name("lock_bank", n),
                     QString("SELECT %1 FROM %2 WHERE songtitle = $1 ORDER BY rowid LIMIT 1 FOR "
                             "UPDATE")
                         .arg(asRead.join(", "), t),
                     1) &&
             prepare(name("write_bank", n),
                     QString("UPDATE %1 SET %2 WHERE songtitle = $25").arg(t, rowSets.join(", ")),
                     25);
    }
    if (!ok)
        close();
    return ok;
}

PGresult* RawServerDb::run(const char* statement, const QList<QByteArray>& params)
{
    std::vector<const char*> values;
    values.reserve(size_t(params.size()));
    for (const QByteArray& p : params)
        values.push_back(p.isNull() ? nullptr : p.constData());
    PGresult* r =
        PQexecPrepared(m_conn, statement, int(values.size()), values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        m_error = QString::fromUtf8(PQerrorMessage(m_conn));
        PQclear(r);
        return nullptr;
    }
    return r;
}

bool RawServerDb::command(const char* statement, const QList<QByteArray>& params)
{
    PGresult* r = run(statement, params);
    PQclear(r);
    return r != nullptr;
}

bool RawServerDb::simple(const char* sql)
{
    PGresult* r = PQexec(m_conn, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!ok)
        m_error = QString::fromUtf8(PQerrorMessage(m_conn));
    PQclear(r);
    return ok;
}

bool RawServerDb::takeMark(QByteArray* mark)
{
    PGresult* r = run("mark", {});
    if (!r)
        return false;
    *mark = PQntuples(r) > 0 ? QByteArray(PQgetvalue(r, 0, 0)) : QByteArray("0");
    PQclear(r);
    return true;
}

bool RawServerDb::announce(const char* kind, const QString& subject)
{
    return command("notify", {kChannel, (kClient + '\t' + kind + '\t' + subject).toUtf8()});
}

QList<qint64> RawServerDb::rowidsOf(const QByteArray& title, bool* ok)
{
    QList<qint64> ids;
    PGresult* r = run("index_rowids", {title});
    *ok = r != nullptr;
    for (int i = 0; r && i < PQntuples(r); ++i)
        ids << QByteArray(PQgetvalue(r, i, 0)).toLongLong();
    PQclear(r);
    return ids;
}

bool RawServerDb::indexDetails(const QByteArray& title, QList<qint64>* ids)
{
    PGresult* r = run("index_song", {title});
    if (!r)
        return false;
    QList<std::pair<qint64, QString>> rows;
    songRowsOf(r, rows, ids);
    PQclear(r);
    return indexPut("songs", rows);
}

void RawServerDb::songRowsOf(const PGresult* r, QList<std::pair<qint64, QString>>& rows,
                             QList<qint64>* ids)
{
    QHash<QString, int> column;
    for (int c = 0; c < PQnfields(r); ++c)
        column.insert(QString::fromUtf8(PQfname(r, c)), c);
    for (int i = 0; i < PQntuples(r); ++i) {
        const qint64 rowid = QByteArray(PQgetvalue(r, i, 0)).toLongLong();
        if (ids)
            *ids << rowid;
        for (const SearchIndex::SongRow kind : {SearchIndex::Details, SearchIndex::Session,
                                                SearchIndex::Notes, SearchIndex::Lyrics}) {
            QStringList values;
            for (const QString& field : SearchIndex::songFields(kind)) {
                const int c = column.value(field, -1);
                values << (c < 0 ? QString()
                                 : QString::fromUtf8(PQgetvalue(r, i, c), PQgetlength(r, i, c)));
            }
            rows.append({SearchIndex::songRef(rowid, kind), SearchIndex::plainOf(values)});
        }
    }
}

bool RawServerDb::preparePut(int count)
{
    if (m_putPrepared.contains(count))
        return true;
    QStringList marks;
    for (int r = 0; r < count; ++r)
        marks << QString("($%1, $%2, $%3)").arg(3 * r + 1).arg(3 * r + 2).arg(3 * r + 3);
    if (!prepare(name("index_put", count),
                 QString("INSERT INTO searchindex (part, ref, body) VALUES %1 ON CONFLICT (part, "
                         "ref) DO UPDATE SET body = EXCLUDED.body")
                     .arg(marks.join(", ")),
                 3 * count))
        return false;
    m_putPrepared.insert(count);
    return true;
}

bool RawServerDb::indexPut(const char* part, const QList<std::pair<qint64, QString>>& rows)
{
    const int count = int(rows.size());
    if (count == 0)
        return true;
    if (!preparePut(count))
        return false;
    QList<QByteArray> values;
    for (const auto& [ref, text] : rows)
        values << QByteArray(part) << QByteArray::number(ref)
               << searchtext::normalize(text).toUtf8();
    return command(name("index_put", count), values);
}

bool RawServerDb::indexRemove(const QList<qint64>& rowids)
{
    bool ok = true;
    for (const qint64 id : rowids) {
        const qint64 first = SearchIndex::songRef(id, 0);
        const QByteArray from = QByteArray::number(first);
        const QByteArray to = QByteArray::number(first + SearchIndex::kRefsPerSong - 1);
        ok = ok && command("index_remove", {"songs", from, to}) &&
             command("index_remove", {"tracks", from, to});
    }
    return ok;
}

bool RawServerDb::finish(bool ok)
{
    if (!ok) {
        simple("ROLLBACK");
        return false;
    }
    return simple("COMMIT");
}

bool RawServerDb::create(const QString& title, const QString& words, const QString& composer,
                         const QString& compositionDate)
{
    if (!simple("BEGIN"))
        return false;
    const QByteArray t = title.toUtf8();
    QByteArray mark;
    const QList<QByteArray> song{t, words.toUtf8(), composer.toUtf8(),
                                 QDate::currentDate().toString(Qt::ISODate).toUtf8(),
                                 compositionDate.toUtf8()};
    // As the store: the song row as stored comes back from the insert and
    // makes the song's index rows.
    QList<std::pair<qint64, QString>> songRows;
    bool ok = takeMark(&mark);
    if (ok) {
        PGresult* r = run("insert_song", song);
        ok = r != nullptr;
        if (ok)
            songRowsOf(r, songRows, nullptr);
        PQclear(r);
    }
    ok = ok && command("insert_key", {title.trimmed().toUpper().toUtf8(), t});
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        QList<QByteArray> values;
        values.reserve(49);
        for (int k = 1; k <= 48; ++k)
            values << generatedTrackText(title, n, k).toUtf8();
        values << t;
        ok = command(name("insert_tracks", n), values);
    }
    ok = ok && command("set_mark", {mark});
    // As SongIndexer: the song's rows with text (its details always) in one
    // statement; a new song's slots hold only placeholders, which are left out.
    ok = ok && indexPut("songs", SongIndexer::withText(songRows));
    ok = ok && announce("songs", title);
    return finish(ok);
}

bool RawServerDb::rename(const QString& oldTitle, const QString& newTitle)
{
    if (!simple("BEGIN"))
        return false;
    const QByteArray from = oldTitle.toUtf8();
    const QByteArray to = newTitle.toUtf8();
    QByteArray mark;
    bool ok = takeMark(&mark) && command("rename_song", {to, from}) &&
              command("delete_key", {oldTitle.trimmed().toUpper().toUtf8(), from}) &&
              command("insert_key", {newTitle.trimmed().toUpper().toUtf8(), to}) &&
              command("set_mark", {mark});
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n)
        ok = command(name("rename_tracks", n), {to, from});
    ok = ok && indexDetails(to) && announce("songs", oldTitle + '\t' + newTitle);
    return finish(ok);
}

bool RawServerDb::remove(const QString& title)
{
    if (!simple("BEGIN"))
        return false;
    const QByteArray t = title.toUtf8();
    QByteArray mark;
    bool ok = takeMark(&mark);
    const QList<qint64> indexed = ok ? rowidsOf(t, &ok) : QList<qint64>();
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n)
        ok = command(name("delete_tracks", n), {t});
    ok = ok && command("delete_song", {t}) &&
         command("delete_key", {title.trimmed().toUpper().toUtf8(), t}) &&
         command("set_mark", {mark}) && indexRemove(indexed) && announce("songs", title);
    return finish(ok);
}

QStringList RawServerDb::rowOf(PGresult* result)
{
    QStringList values;
    if (result && PQntuples(result) > 0) {
        const int columns = PQnfields(result);
        values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            values << QString::fromUtf8(PQgetvalue(result, 0, c), PQgetlength(result, 0, c));
    }
    PQclear(result);
    return values;
}

QStringList RawServerDb::songRow(const QString& title)
{
    return rowOf(run("select_song", {title.toUtf8()}));
}

QStringList RawServerDb::trackRow(const QString& title, int slot)
{
    return rowOf(run(name("select_tracks", slot), {title.toUtf8()}));
}

bool RawServerDb::writeTracks(const QString& title, int slot, const QStringList& texts,
                              const QStringList& expected)
{
    if (texts.size() != 24 || expected.size() != 24 || !simple("BEGIN"))
        return false;
    const QByteArray t = title.toUtf8();
    // The columns come back in name order; each is compared with what was read.
    const QStringList read = rowOf(run(name("lock_bank", slot), {t}));
    bool ok = read.size() == 24;
    const QStringList columns = bankColumnsByName(24);
    for (int i = 0; ok && i < 24; ++i)
        ok = read.at(i) == expected.at(columns.at(i).mid(5).toInt() - 1);
    if (ok) {
        QList<QByteArray> values;
        values.reserve(25);
        for (const QString& text : texts)
            values << text.toUtf8();
        values << t;
        ok = command(name("write_bank", slot), values);
    }
    // The slot's row of the index, from the row as it now stands.
    const QList<qint64> ids = ok ? rowidsOf(t, &ok) : QList<qint64>();
    if (ok) {
        const QStringList row = rowOf(run(name("select_tracks", slot), {t}));
        QList<std::pair<qint64, QString>> rows;
        for (const qint64 id : ids)
            rows.append({SearchIndex::slotRef(id, slot),
                         SearchIndex::plainOf(row.mid(0, schema::kTracksPerRow))});
        ok = row.size() > schema::kTracksPerRow && indexPut("tracks", rows) &&
             announce("song", title);
    }
    return finish(ok);
}

bool RawServerDb::titleExists(const QString& title)
{
    PGresult* r = run("lookup_key", {title.trimmed().toUpper().toUtf8()});
    const bool found = r && PQntuples(r) > 0;
    PQclear(r);
    return found;
}

std::vector<std::pair<qint64, QString>> RawServerDb::titlesAfter(qint64 afterRowid, int limit)
{
    std::vector<std::pair<qint64, QString>> page;
    PGresult* r = run("titles_after", {QByteArray::number(afterRowid), QByteArray::number(limit)});
    if (!r)
        return page;
    const int rows = PQntuples(r);
    page.reserve(size_t(rows));
    for (int i = 0; i < rows; ++i)
        page.emplace_back(QByteArray(PQgetvalue(r, i, 0)).toLongLong(),
                          QString::fromUtf8(PQgetvalue(r, i, 1), PQgetlength(r, i, 1)));
    PQclear(r);
    return page;
}

} // namespace quillon::bench
