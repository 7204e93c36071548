#include "servercatalogues.h"

#include "search/searchindex.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "store/schema.h"
#include "store/serveraddress.h"
#include "store/serverschema.h"

#include <cstdio>
#include <cstdlib>
#include <libpq-fe.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUrl>
#include <QUrlQuery>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace quillon::bench {

namespace {

// One libpq connection, closed when it goes.
class Connection final {
public:
    explicit Connection(const QString& uri) : m_conn(PQconnectdb(uri.toUtf8().constData()))
    {
        // "does not exist, skipping" and the like: errors are read where they matter.
        PQsetNoticeProcessor(
            m_conn, [](void*, const char*) {}, nullptr);
    }
    ~Connection() { PQfinish(m_conn); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return PQstatus(m_conn) == CONNECTION_OK; }
    QString error() const { return QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(); }
    PGconn* get() const { return m_conn; }
    bool exec(const QString& sql, const QList<QByteArray>& params = {})
    {
        std::vector<const char*> values;
        for (const QByteArray& p : params)
            values.push_back(p.constData());
        PGresult* r = PQexecParams(m_conn, sql.toUtf8().constData(), int(values.size()), nullptr,
                                   values.data(), nullptr, nullptr, 0);
        const ExecStatusType s = PQresultStatus(r);
        PQclear(r);
        return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
    }

private:
    PGconn* m_conn;
};

// The pages just written go to disk now rather than while the cases run.
// A checkpoint hands the server's to the kernel (only a superuser may ask;
// others go on without). On a cluster run without fsync, as the test
// cluster is, the kernel would write them out over the next half minute,
// beside the cases; sync() waits for that when the server runs on this
// machine, and for the data folders generated before in any case.
void checkpoint(Connection& c)
{
    c.exec("CHECKPOINT");
    ::sync();
}

// The admin URI with another database in it.
QString onDatabase(const QString& uri, const QString& name)
{
    QUrl url(uri);
    QUrlQuery query(url);
    query.removeAllQueryItems("dbname");
    url.setQuery(query);
    url.setPath('/' + name);
    return url.toString(QUrl::FullyEncoded);
}

// COPY's text format: a tab between values, a line per row, \N for null.
void appendValue(QByteArray& out, const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
}

// Streams rows into a table with COPY; put() sends what has gathered.
class CopyIn final {
public:
    CopyIn(PGconn* conn, const QString& table, const QStringList& columns) : m_conn(conn)
    {
        QStringList quoted;
        for (const QString& c : columns)
            quoted << schema::quoted(c);
        // FREEZE: the tables are made in the same transaction, so their
        // rows go in frozen and visible to all, as after a vacuum.
        PGresult* r = PQexec(conn, QString("COPY %1 (%2) FROM STDIN WITH (FREEZE)")
                                       .arg(schema::quoted(table), quoted.join(", "))
                                       .toUtf8()
                                       .constData());
        m_ok = PQresultStatus(r) == PGRES_COPY_IN;
        PQclear(r);
    }
    QByteArray& buffer() { return m_buffer; }
    bool put(bool always = false)
    {
        if (m_ok && (always || m_buffer.size() > (1 << 20))) {
            m_ok = PQputCopyData(m_conn, m_buffer.constData(), int(m_buffer.size())) == 1;
            m_buffer.clear();
        }
        return m_ok;
    }
    bool end()
    {
        m_ok = put(true) && PQputCopyEnd(m_conn, nullptr) == 1;
        PGresult* r = PQgetResult(m_conn);
        m_ok = m_ok && PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        while ((r = PQgetResult(m_conn)))
            PQclear(r);
        return m_ok;
    }

private:
    PGconn* m_conn;
    QByteArray m_buffer;
    bool m_ok = false;
};

// One table of the folder's files into the server, rowids kept. Values are
// carried as the program's own copy carries them: text as it stands, a
// number as Qt writes it. The song table's title keys go into keys.
bool copyTable(PGconn* conn, const DataFolder& folder, const QString& table, QByteArray* keys)
{
    const QStringList columns = serverschema::columnsOf(table);
    QStringList quoted;
    for (const QString& c : columns)
        quoted << schema::quoted(c);
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    bool ok = sqlite3_open_v2(folder.fileOfTable(table).toUtf8().constData(), &db,
                              SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db,
                                 QString("SELECT %1 FROM %2 ORDER BY rowid")
                                     .arg(quoted.join(", "), schema::quoted(table))
                                     .toUtf8()
                                     .constData(),
                                 -1, &stmt, nullptr) == SQLITE_OK;
    const int titleColumn = table == "xtrax" ? int(columns.indexOf("songtitle")) : -1;
    CopyIn copy(conn, table, columns);
    QByteArray& out = copy.buffer();
    int rc = SQLITE_ROW;
    while (ok && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns.size(); ++c) {
            if (c > 0)
                out += '\t';
            const int type = sqlite3_column_type(stmt, c);
            if (type == SQLITE_NULL) {
                out += "\\N";
            } else if (type == SQLITE_FLOAT) {
                out += QByteArray::number(sqlite3_column_double(stmt, c), 'g',
                                          QLocale::FloatingPointShortest);
            } else {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                const int size = sqlite3_column_bytes(stmt, c);
                appendValue(out, text, size);
                if (c == titleColumn && keys) {
                    const QByteArray key =
                        SongStore::titleKey(QString::fromUtf8(text, size)).toUtf8();
                    appendValue(*keys, key.constData(), key.size());
                    *keys += '\t';
                    appendValue(*keys, text, size);
                    *keys += '\n';
                }
            }
        }
        out += '\n';
        ok = copy.put();
    }
    ok = ok && rc == SQLITE_DONE;
    ok = copy.end() && ok;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

bool copyStyles(PGconn* conn, const DataFolder& folder)
{
    const StyleList styles(folder.stnumDat(), folder.stylesDat());
    CopyIn number(conn, "stnum", {"number", "rowid"});
    if (styles.numberFileExists())
        number.buffer() = QByteArray::number(styles.readNumber()) + "\t1\n";
    if (!number.end())
        return false;
    CopyIn entries(conn, "styles", {"entry", "rowid"});
    const QStringList list = styles.readEntries();
    for (int i = 0; i < list.size(); ++i) {
        const QByteArray entry = list.at(i).toUtf8();
        appendValue(entries.buffer(), entry.constData(), entry.size());
        entries.buffer() += '\t' + QByteArray::number(i + 1) + '\n';
    }
    return entries.end();
}

// The layout in two parts: tables first, indexes after the rows are in.
QStringList layout(bool indexes)
{
    QStringList part;
    for (const QString& s : serverschema::ddl())
        if (s.startsWith("CREATE INDEX") == indexes)
            part << s;
    return part;
}

// A freshly filled catalogue settled as a studio's server holds it most of
// the time: its rows marked visible to all (otherwise the server's own
// vacuum reads every table while the cases run) and the statistics its
// statements are planned with, the title and the row number of each table
// (a whole ANALYZE of the hundred text columns of each track table takes
// longer than filling them).
QStringList settle()
{
    QStringList s{"VACUUM (ANALYZE) songkey"};
    for (const QString& t : serverschema::dataTables())
        s << QString("VACUUM (ANALYZE) %1 (%2rowid)")
                 .arg(schema::quoted(t), t == "xtrax" || t.startsWith("rd")
                                             ? QStringLiteral("songtitle, ")
                                             : QString());
    return s;
}

// New rows continue after the ones put in with their rowids.
QStringList continueRowids()
{
    QStringList s;
    for (const QString& t : serverschema::dataTables())
        s << QString("SELECT setval(pg_get_serial_sequence('%1', 'rowid'), (SELECT "
                     "coalesce(max(rowid), 0) + 1 FROM %1), false)")
                 .arg(schema::quoted(t));
    return s;
}

[[noreturn]] void abortRun(const QString& what, const QString& why)
{
    std::fprintf(stderr, "server cases: %s: %s\n", qPrintable(what), qPrintable(why));
    std::exit(1);
}

// The rows of one FTS5 table of a data file as rows of the server's index.
bool copySearchRows(PGconn* conn, const QString& file, const char* table, const QByteArray& part)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    bool ok =
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(
            db, (QByteArray("SELECT rowid, body FROM ") + table + " ORDER BY rowid").constData(),
            -1, &stmt, nullptr) == SQLITE_OK;
    CopyIn copy(conn, "searchindex", {"part", "ref", "body"});
    int rc = SQLITE_ROW;
    while (ok && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QByteArray& out = copy.buffer();
        out += part + '\t' + QByteArray::number(sqlite3_column_int64(stmt, 0)) + '\t';
        appendValue(out, reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                    sqlite3_column_bytes(stmt, 1));
        out += '\n';
        ok = copy.put();
    }
    ok = ok && rc == SQLITE_DONE;
    ok = copy.end() && ok;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

} // namespace

std::unique_ptr<ServerCatalogues> ServerCatalogues::fromEnvironment(QString* why)
{
    QString uri = qEnvironmentVariable("QUILLON_BENCH_PG");
    const char* from = "QUILLON_BENCH_PG";
    if (uri.isEmpty()) {
        uri = qEnvironmentVariable("QUILLON_TEST_PG");
        from = "QUILLON_TEST_PG";
    }
    if (uri.isEmpty()) {
        *why = "neither QUILLON_BENCH_PG (an admin libpq URI) nor QUILLON_TEST_PG is set";
        return nullptr;
    }
    QString error;
    const ServerAddress address = ServerAddress::parse(uri, &error);
    if (!address.isValid()) {
        *why = QString("%1: %2").arg(from, error);
        return nullptr;
    }
    Connection admin(uri);
    if (!admin.ok()) {
        *why = QString("%1 (%2): %3").arg(from, address.describe(), admin.error().simplified());
        return nullptr;
    }
    return std::unique_ptr<ServerCatalogues>(new ServerCatalogues(
        uri, QString::fromUtf8(PQparameterStatus(admin.get(), "server_version"))));
}

ServerCatalogues::ServerCatalogues(QString adminUri, QString version)
    : m_adminUri(std::move(adminUri)), m_version(std::move(version))
{
}

ServerCatalogues::~ServerCatalogues()
{
    if (m_databases.isEmpty())
        return;
    Connection admin(m_adminUri);
    for (const QString& name : std::as_const(m_databases))
        if (!admin.exec(QString("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name)))
            std::fprintf(stderr, "server cases: could not drop %s: %s\n", qPrintable(name),
                         qPrintable(admin.error()));
}

QString ServerCatalogues::describe() const
{
    return QString("PostgreSQL %1, %2").arg(m_version, ServerAddress::parse(m_adminUri).describe());
}

QString ServerCatalogues::createDatabase(const QString& name)
{
    Connection admin(m_adminUri);
    if (!admin.ok())
        abortRun("cannot connect", admin.error());
    // Left over from a run that was killed, with this process's number.
    admin.exec(QString("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    if (!admin.exec(QString("CREATE DATABASE %1").arg(name)))
        abortRun("cannot create database " + name, admin.error());
    m_databases << name;
    return onDatabase(m_adminUri, name);
}

const DataFolder& ServerCatalogues::copyOf(const DataFolder& folder, int n)
{
    return copy(folder, n, true);
}

const DataFolder& ServerCatalogues::withoutSearchIndex(const DataFolder& folder, int n)
{
    return copy(folder, n, false);
}

const DataFolder& ServerCatalogues::copy(const DataFolder& folder, int n, bool indexed)
{
    const QString key = QString(indexed ? "copy%1" : "bare%1").arg(n);
    if (auto it = m_folders.find(key); it != m_folders.end())
        return *it->second;
    QElapsedTimer timer;
    timer.start();
    const QString uri = createDatabase(QString("quillon_bench_%1_%2%3")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(n)
                                           .arg(indexed ? "" : "_bare"));
    Connection c(uri);
    bool ok = c.ok() && c.exec("SET client_min_messages = warning") && c.exec("BEGIN");
    for (const QString& s : layout(false))
        ok = ok && c.exec(s);
    QByteArray keys;
    for (const QString& t : serverschema::dataTables())
        if (t != "stnum" && t != "styles")
            ok = ok && copyTable(c.get(), folder, t, t == "xtrax" ? &keys : nullptr);
    ok = ok && copyStyles(c.get(), folder);
    if (ok) {
        // Nothing else writes the keys here; the layout marks them fresh.
        CopyIn copy(c.get(), "songkey", {"key", "songtitle"});
        copy.buffer() = std::move(keys);
        ok = copy.end();
    }
    for (const QString& s : layout(true) + continueRowids())
        ok = ok && c.exec(s);
    // A catalogue without the search index, as a store that writes none.
    if (!indexed)
        ok = ok && c.exec("DROP TABLE searchindex");
    ok = ok && c.exec("COMMIT");
    for (const QString& s : settle())
        ok = ok && c.exec(s);
    if (!ok)
        abortRun(QString("cannot copy the %1 songs to the server").arg(n), c.error());
    checkpoint(c); // as after the search index's fill
    std::fprintf(stderr, "copied %d songs to %s in %.1f s\n", n,
                 qPrintable(ServerAddress::parse(uri).describe()), timer.elapsed() / 1000.0);
    auto data = std::make_unique<DataFolder>(folder);
    data->setServer(ServerAddress::parse(uri));
    return *m_folders.emplace(key, std::move(data)).first->second;
}

const DataFolder& ServerCatalogues::withSearchIndex(const DataFolder& indexed, int n)
{
    const DataFolder& server = copyOf(indexed, n);
    if (m_searchFilled.contains(n))
        return server;
    QElapsedTimer timer;
    timer.start();
    Connection c(server.server().connectionUri());
    // The GIN index is made after the rows, as a first build into an empty
    // table would leave it; the build's progress says every part complete.
    bool ok = c.ok() && c.exec("SET client_min_messages = warning") &&
              c.exec("SET maintenance_work_mem = '256MB'") && c.exec("BEGIN") &&
              c.exec("TRUNCATE searchindex") && c.exec("DELETE FROM searchstate");
    for (const QString& s : layout(true))
        if (s.contains("ON searchindex"))
            ok = ok && c.exec("DROP INDEX IF EXISTS " + s.section(QChar(' '), 2, 2));
    using Part = SearchIndex::Part;
    const struct {
        QString file;
        const char* table;
        Part part;
    } sources[] = {{indexed.songDb(), "searchindex", Part::Songs},
                   {indexed.songDb(), "searchtracks", Part::Tracks},
                   {indexed.tapeDb(), "searchindex", Part::Media},
                   {indexed.recdevDb(), "searchindex", Part::Devices},
                   {indexed.note1Db(), "searchindex", Part::Notebook}};
    for (const auto& source : sources) {
        const QString name = SearchIndex::partName(source.part);
        ok = ok && copySearchRows(c.get(), source.file, source.table, name.toUtf8()) &&
             c.exec("INSERT INTO searchstate (part, upto, complete) VALUES ($1, 0, 1)",
                    {name.toUtf8()});
    }
    for (const QString& s : layout(true))
        if (s.contains("ON searchindex"))
            ok = ok && c.exec(s);
    ok = ok && c.exec("COMMIT") && c.exec("VACUUM (ANALYZE) searchindex");
    if (!ok)
        abortRun(QString("cannot fill the search index of %1 songs").arg(n), c.error());
    checkpoint(c);
    std::fprintf(stderr, "filled the search index of %d songs on the server in %.1f s\n", n,
                 timer.elapsed() / 1000.0);
    m_searchFilled.insert(n);
    return server;
}

const DataFolder& ServerCatalogues::songListOnly(int n)
{
    const QString key = QString("list%1").arg(n);
    if (auto it = m_folders.find(key); it != m_folders.end())
        return *it->second;
    QElapsedTimer timer;
    timer.start();
    const QString uri = createDatabase(
        QString("quillon_bench_%1_list%2").arg(QCoreApplication::applicationPid()).arg(n));
    // Rows of the generated songs' width; the titles are ASCII, so the
    // server's upper() makes the same keys as the program.
    Connection c(uri);
    bool ok = c.ok() && c.exec("SET client_min_messages = warning") && c.exec("BEGIN");
    for (const QString& s : layout(false))
        ok = ok && c.exec(s);
    ok = ok &&
         c.exec("INSERT INTO xtrax (songtitle, text, composer, artist, publisher, recordcomp, "
                "compodate, firstdate, tempo, \"Key\", \"Signature\", \"Length\", \"Style\", "
                "\"Bandnummer\", \"BandzeitVon\", \"BandzeitBis\", \"NoiseReduction\", "
                "\"SMPTEZeit\", \"SmpteType\", notiz1, \"BandType\", \"Producer1\", "
                "\"Technician1\", lyrics) "
                "SELECT 'List song ' || g, 'Anna Weber', 'Tom Fischer', 'The Blue Band', "
                "'Studio Songs Publishing', 'Indie Records', '01.01.1999', '2001-01-01', "
                "(80 + g % 90)::text, 'C major', '4/4', '00:03:30', 'Style ' || (g % 250 + 1), "
                "'T' || lpad((g % 5000 + 1)::text, 5, '0'), '00:01:00', '00:04:30', "
                "'Dolby SR', '00:00:00:00 ', '25', 'Recorded live in room A, overdubs in B. "
                "take ' || g % 12, 'Tape', 'Lisa Brandt', 'Marc Dubois', '{\\rtf1\\ansi "
                "{\\b Verse 1}\\par Midnight in the River, Summer on my mind\\par Chorus: "
                "oh Train\\par }' FROM generate_series(1, $1::integer) AS g ORDER BY g",
                {QByteArray::number(n)}) &&
         c.exec("INSERT INTO songkey (key, songtitle) SELECT upper(songtitle), songtitle FROM "
                "xtrax");
    for (const QString& s : layout(true) + continueRowids())
        ok = ok && c.exec(s);
    ok = ok && c.exec("COMMIT");
    for (const QString& s : settle())
        ok = ok && c.exec(s);
    if (!ok)
        abortRun(QString("cannot fill %1 songs on the server").arg(n), c.error());
    std::fprintf(stderr, "filled %d songs on %s in %.1f s\n", n,
                 qPrintable(ServerAddress::parse(uri).describe()), timer.elapsed() / 1000.0);
    auto data = std::make_unique<DataFolder>(m_dir.path() + "/data");
    data->setServer(ServerAddress::parse(uri));
    return *m_folders.emplace(key, std::move(data)).first->second;
}

QList<qint64> ServerCatalogues::serverProcesses(const DataFolder& folder) const
{
    const ServerAddress server = folder.server();
    const QString host = server.host();
    if (!(host.isEmpty() || host.startsWith('/') || host == "localhost" || host == "127.0.0.1" ||
          host == "::1"))
        return {};
    Connection c(m_adminUri);
    const QByteArray name = server.databaseName().toUtf8();
    const char* values[] = {name.constData()};
    PGresult* r = PQexecParams(c.get(),
                               "SELECT pid FROM pg_stat_activity WHERE datname = $1 AND "
                               "backend_type = 'client backend'",
                               1, nullptr, values, nullptr, nullptr, 0);
    QList<qint64> pids;
    if (PQresultStatus(r) == PGRES_TUPLES_OK)
        for (int row = 0; row < PQntuples(r); ++row)
            pids << QByteArray(PQgetvalue(r, row, 0)).toLongLong();
    PQclear(r);
    return pids;
}

} // namespace quillon::bench
