#include "store/database.h"

#include "common/logging.h"
#include "store/plainfile.h"

#include <fcntl.h>
#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {
QAtomicInt connectionCounter;

bool looksLikeSqlite(const QString& path)
{
    // Never blocks: the caller has made sure this is a regular file, and
    // O_NONBLOCK keeps a pipe swapped in meanwhile from holding the open.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    char head[16] = {};
    ssize_t n = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        n = ::read(fd, head, sizeof head);
    ::close(fd);
    // A zero-length file is a valid (empty) SQLite database.
    return n == 0 || (n >= 15 && QByteArray(head, int(n)).startsWith("SQLite format 3"));
}

// Why a path cannot be opened as a data file, or empty when it is a regular file.
QString notPlainFile(const QString& path)
{
    const EntryType type = entryType(path);
    if (type == EntryType::Missing)
        return QStringLiteral("file missing");
    if (type != EntryType::Regular)
        return QString("not a regular file: the entry is %1").arg(entryTypeName(type));
    return {};
}
} // namespace

QString describeStoreError(const QString& file, const QString& technical)
{
    const QString name = QFileInfo(file).fileName();
    const QString t = technical.toLower();
    QString advice;
    if (t.contains("not a regular file"))
        advice = "The data file must be a plain file of its own, not a link, pipe, device or "
                 "folder. Put the file itself in the data folder (a copy is in data/backup).";
    else if (t.contains("no such column") || t.contains("has no column"))
        advice = "The file's table lacks a column the program needs (damaged or written by "
                 "another program). Run quillon-check on the data folder, or restore the file "
                 "from a backup (data/backup).";
    else if (t.contains("readonly") || t.contains("read-only") || t.contains("read only") ||
             t.contains("permission"))
        advice =
            "The file or its folder is read-only. Make the data folder writable and try again.";
    else if (t.contains("full") || t.contains("disk i/o") || t.contains("no space"))
        advice = "The disk is full or cannot be written. Free some space and try again.";
    else if (t.contains("locked") || t.contains("busy"))
        advice = "The file is in use by another program. Close that program and try again.";
    else if (t.contains("not a database") || t.contains("malformed") || t.contains("corrupt"))
        advice =
            "The file is damaged. Restore it from a backup (data/backup) or run quillon-check.";
    else if (t.contains("no such table") || t.contains("file is empty"))
        advice = "The file is empty or damaged. Restore it from a backup (data/backup) or run "
                 "quillon-check.";
    else if (t.contains("unable to open") && QFileInfo::exists(file))
        // The file is there, so what failed is the journal beside it.
        advice = "The file or its folder cannot be written (read-only or no permission). Make "
                 "the data folder writable and try again.";
    else if (t.contains("missing") || t.contains("unable to open") || t.contains("no such file"))
        advice = "The file is missing or cannot be opened. Restore it from a backup.";
    else
        advice = "Check the file and the data folder, then try again.";
    return QString("The data file \"%1\" could not be used.\r%2\r\r(%3)")
        .arg(name.isEmpty() ? file : name, advice, technical);
}

QString describeServerError(const ServerAddress& server, const QString& technical,
                            Database::ServerFault* fault)
{
    using F = Database::ServerFault;
    const QString t = technical.toLower();
    F kind = F::Other;
    QString advice;
    if (t.contains("password authentication failed") || t.contains("no password supplied") ||
        (t.contains("role") && t.contains("does not exist")) || t.contains("pg_hba.conf") ||
        t.contains("authentication failed")) {
        kind = F::LoginRefused;
        advice = "The server refused the login. Check the user name in the address and the "
                 "password in ~/.pgpass, the service file or PGPASSWORD.";
    } else if (t.contains("database") && t.contains("does not exist")) {
        kind = F::NoDatabase;
        advice = "The server has no such database. Create it, or set up the catalogue there "
                 "with quillon-migrate --init.";
    } else if (t.contains("could not connect") || t.contains("connection refused") ||
               t.contains("timeout expired") || t.contains("could not translate host") ||
               t.contains("no route to host") || t.contains("network is unreachable") ||
               t.contains("connection to server") || t.contains("server closed the connection") ||
               t.contains("no connection to the server") || t.contains("terminating connection")) {
        kind = F::Unreachable;
        advice = "The server cannot be reached. Check that it is running and that this "
                 "computer can reach it over the network.";
    } else if (t.contains("ssl") || t.contains("certificate")) {
        advice = "The encrypted connection the address asks for (sslmode) could not be set up.";
    } else if (t.contains("permission denied")) {
        advice = "The user has no permission for the catalogue's tables. Ask the server's "
                 "administrator to grant SELECT, INSERT, UPDATE and DELETE on them.";
    } else if (t.contains("read-only") || t.contains("read only")) {
        advice = "The server accepts no changes (read-only). Try again later.";
    } else {
        advice = "Check the server and try again.";
    }
    if (fault)
        *fault = kind;
    return QString("The catalogue server %1 could not be used.\r%2\r\r(%3)")
        .arg(server.describe(), advice, technical.trimmed());
}

Database::Database()
    : m_connectionName(QString("quillon-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

Database::~Database()
{
    close();
}

void Database::setServerFault(ServerFault fault, const QString& message)
{
    m_serverFault = fault;
    m_lastError = message;
}

void Database::setError(const QString& technical, const QString& file)
{
    if (isServer()) {
        m_lastError = describeServerError(m_server, technical, &m_serverFault);
        m_connectionLost = m_connectionLost || m_serverFault == ServerFault::Unreachable;
        qCWarning(lcStore) << "server error" << m_server.describe() << technical;
        return;
    }
    m_lastError = describeStoreError(file.isEmpty() ? m_path : file, technical);
    qCWarning(lcStore) << "store error" << (file.isEmpty() ? m_path : file) << technical;
}

bool Database::openServer(const ServerAddress& server)
{
    close();
    m_server = server;
    m_path.clear();
    m_serverFault = ServerFault::None;
    m_connectionLost = false;
    m_db = QSqlDatabase::addDatabase("QPSQL", m_connectionName);
    if (!m_db.isValid()) {
        close();
        m_lastError = "The PostgreSQL driver of Qt (package libqt6sql6-psql) is not installed, "
                      "so the catalogue on the server cannot be opened.";
        m_serverFault = ServerFault::Other;
        return false;
    }
    m_db.setHostName(server.host());
    if (server.port() > 0)
        m_db.setPort(server.port());
    m_db.setUserName(server.user());
    m_db.setPassword(server.password());
    m_db.setDatabaseName(server.databaseName());
    // The address's own parameters come last, so its connect_timeout wins.
    QString options = "connect_timeout=10;application_name=Quillon";
    if (!server.options().isEmpty())
        options += ';' + server.options();
    m_db.setConnectOptions(options);
    if (!m_db.open()) {
        setError(m_db.lastError().text());
        const QString message = m_lastError;
        const ServerFault fault = m_serverFault;
        close();
        m_lastError = message;
        m_serverFault = fault;
        return false;
    }
    QSqlQuery(m_db).exec("SET client_min_messages = warning");
    return true;
}

bool Database::hasTable(const QString& table, const QString& schemaName)
{
    QSqlQuery q(m_db);
    if (isServer()) {
        q.prepare("SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = "
                  "current_schema() AND tablename = ?");
    } else {
        q.prepare(QString("SELECT count(*) FROM %1.sqlite_master WHERE type = 'table' AND "
                          "name = ? COLLATE NOCASE")
                      .arg(schemaName));
    }
    q.addBindValue(table);
    if (!q.exec() || !q.next()) {
        setError(q.lastError().text());
        return false;
    }
    return q.value(0).toInt() > 0;
}

bool Database::openConnection(const QString& path, bool mustExist)
{
    close();
    m_server = ServerAddress();
    m_path = path;
    const QFileInfo info(path);
    const QString notPlain = notPlainFile(path);
    if (mustExist && !notPlain.isEmpty()) {
        setError(notPlain);
        return false;
    }
    // A dangling link counts as existing: creating through it would write elsewhere.
    if (!mustExist && entryType(path) != EntryType::Missing) {
        setError("file exists already");
        return false;
    }
    if (mustExist && !looksLikeSqlite(path)) {
        setError(info.isReadable() ? "file is not a database" : "unable to open file");
        return false;
    }
    m_db = QSqlDatabase::addDatabase("QSQLITE", m_connectionName);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=3000");
    if (!m_db.open()) {
        setError(m_db.lastError().text());
        close();
        return false;
    }
    // Reading the schema proves the file is a database we can read.
    QSqlQuery probe(m_db);
    if (!probe.exec("SELECT count(*) FROM sqlite_master")) {
        setError(probe.lastError().text());
        probe = QSqlQuery();
        close();
        return false;
    }
    probe.exec("PRAGMA journal_mode=DELETE");
    probe.exec("PRAGMA synchronous=FULL");
    return true;
}

bool Database::open(const QString& path)
{
    return openConnection(path, true);
}

bool Database::create(const QString& path)
{
    return openConnection(path, false);
}

void Database::close()
{
    // Statements must go before their connection does.
    m_kept.clear();
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool Database::attach(const QString& path, const QString& alias)
{
    if (const QString notPlain = notPlainFile(path); !notPlain.isEmpty()) {
        setError(notPlain, path);
        return false;
    }
    if (!looksLikeSqlite(path)) {
        setError("file is not a database", path);
        return false;
    }
    QSqlQuery q(m_db);
    q.prepare(QString("ATTACH DATABASE ? AS %1").arg(alias));
    q.addBindValue(path);
    if (!q.exec()) {
        setError(q.lastError().text(), path);
        return false;
    }
    QSqlQuery probe(m_db);
    if (!probe.exec(QString("SELECT count(*) FROM %1.sqlite_master").arg(alias))) {
        setError(probe.lastError().text(), path);
        probe = QSqlQuery();
        QSqlQuery(m_db).exec(QString("DETACH DATABASE %1").arg(alias));
        return false;
    }
    probe.exec(QString("PRAGMA %1.journal_mode=DELETE").arg(alias));
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& binds)
{
    QSqlQuery q(m_db);
    // PostgreSQL prepares only queries and row changes, not statements that
    // lay out tables or databases; a statement without values runs directly.
    if (isServer() && binds.isEmpty()) {
        if (q.exec(sql))
            return true;
        setError(q.lastError().text());
        return false;
    }
    if (!q.prepare(sql)) {
        setError(q.lastError().text());
        return false;
    }
    for (const QVariant& v : binds)
        q.addBindValue(v);
    if (!q.exec()) {
        setError(q.lastError().text());
        return false;
    }
    return true;
}

QSqlQuery Database::prepare(const QString& sql)
{
    QSqlQuery q(m_db);
    if (!q.prepare(sql))
        setError(q.lastError().text());
    return q;
}

KeptStatement& Database::kept(const QString& sql)
{
    auto [it, added] = m_kept.try_emplace(sql);
    if (added && !it->second.prepare(m_db, sql))
        setError(it->second.lastError().text());
    return it->second;
}

bool Database::execKept(const QString& sql, const QVariantList& binds)
{
    KeptStatement& q = kept(sql);
    if (!q.isPrepared()) {
        // Prepared badly: its own error was reported; try afresh next time.
        setError(q.lastError().text());
        m_kept.erase(sql);
        return false;
    }
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    const bool ok = q.exec();
    if (!ok)
        setError(q.lastError().text());
    q.finish();
    return ok;
}

bool Database::transaction()
{
    if (!m_db.transaction()) {
        setError(m_db.lastError().text());
        return false;
    }
    return true;
}

bool Database::commit()
{
    if (!m_db.commit()) {
        setError(m_db.lastError().text());
        m_db.rollback();
        return false;
    }
    return true;
}

void Database::rollback()
{
    m_db.rollback();
}

} // namespace quillon
