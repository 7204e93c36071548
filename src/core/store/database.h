#pragma once

#include "store/keptstatement.h"
#include "store/serveraddress.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <unordered_map>

namespace quillon {

// One connection: either SQLite on one data file, or a PostgreSQL server
// holding the whole catalogue in one database. Qt keys connections by name,
// so each instance gets a name of its own and removes it again when it goes
// away. Durability is chosen here once for every file: rollback journal (so
// that a transaction over attached files commits atomically) and
// synchronous=FULL.
class Database final {
public:
    // What went wrong with a server, for callers that offer a way out.
    enum class ServerFault { None, Unreachable, LoginRefused, NoDatabase, WrongSchema, Other };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file. Refuses a missing file (it would be created
    // empty) and a file that is not a readable database.
    bool open(const QString& path);
    // Creates a new, empty database file; refuses to touch an existing one.
    bool create(const QString& path);
    // Connects to a server; the schema is checked by the caller (ServerSchema).
    bool openServer(const ServerAddress& server);
    void close();

    bool isOpen() const { return m_db.isOpen(); }
    bool isServer() const { return m_server.isValid(); }
    const ServerAddress& server() const { return m_server; }
    ServerFault serverFault() const { return m_serverFault; }
    // The connection to the server broke (server restarted, network gone):
    // the next action should open it again.
    bool connectionLost() const { return m_connectionLost; }
    // True when the table exists (letter case ignored on a file, exact on a server).
    bool hasTable(const QString& table, const QString& schemaName = QStringLiteral("main"));
    QString path() const { return m_path; }
    QSqlDatabase handle() const { return m_db; }

    // Attaches another existing file under the schema name alias.
    bool attach(const QString& path, const QString& alias);

    // Runs one statement with bound values.
    bool exec(const QString& sql, const QVariantList& binds = {});
    QSqlQuery prepare(const QString& sql);
    // Runs a query from prepare(); one that could not be prepared is not run,
    // so that it keeps its own reason (a server's driver would replace it by
    // a meaningless one).
    static bool executed(QSqlQuery& q) { return !q.lastError().isValid() && q.exec(); }
    // The statement for sql, prepared on first use and kept until close():
    // for statements a connection runs again and again (a server then gets
    // one round trip per run instead of three). The reference stays valid
    // while other statements are added.
    KeptStatement& kept(const QString& sql);
    // Runs a kept statement with these values; false (error set) on failure.
    bool execKept(const QString& sql, const QVariantList& binds);

    bool transaction();
    bool commit();
    void rollback();

    // The last failure, phrased for the user: names the file and what to do.
    QString lastError() const { return m_lastError; }
    void setError(const QString& technical, const QString& file = {});
    // Keeps a message already phrased for the user (e.g. across a close()).
    void setErrorText(const QString& message) { m_lastError = message; }
    void setServerFault(ServerFault fault, const QString& message);

private:
    bool openConnection(const QString& path, bool mustExist);

    QString m_connectionName;
    std::unordered_map<QString, KeptStatement> m_kept;
    QString m_path;
    ServerAddress m_server;
    ServerFault m_serverFault = ServerFault::None;
    bool m_connectionLost = false;
    QSqlDatabase m_db;
    QString m_lastError;
};

// Turns a driver error on a file into a sentence a user can act on.
QString describeStoreError(const QString& file, const QString& technical);
// The same for a server; names the server, never the password.
QString describeServerError(const ServerAddress& server, const QString& technical,
                            Database::ServerFault* fault = nullptr);

} // namespace quillon
