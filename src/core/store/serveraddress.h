#pragma once

#include <QString>

namespace quillon {

// A PostgreSQL server named by a libpq connection URI
// (postgresql://user@host:port/dbname?sslmode=...). Every query parameter is
// handed to libpq as it stands (sslmode, service, connect_timeout, ...), and
// a password missing from the URI is libpq's own to find (~/.pgpass, a
// service file, PGPASSWORD). The URI is kept and shown only without its
// password.
class ServerAddress final {
public:
    ServerAddress() = default;
    // An empty or malformed text gives an invalid address; error says why.
    static ServerAddress parse(const QString& uri, QString* error = nullptr);
    // True for text that is meant as a server rather than a folder.
    static bool looksLikeUri(const QString& text);

    bool isValid() const { return !m_uri.isEmpty(); }
    // The URI as given, password included: only for the connection itself.
    QString connectionUri() const { return m_uri; }
    // The same URI without a password: what is stored and shown.
    QString withoutPassword() const { return m_safe; }
    bool hasPassword() const { return m_hasPassword; }
    // "dbname on host:port" for messages; never the password.
    QString describe() const;
    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString password() const { return m_password; }
    // The query parameters as libpq connection options ("key='value' ...").
    QString options() const { return m_options; }
    QString user() const { return m_user; }
    QString databaseName() const { return m_database; }

    bool operator==(const ServerAddress& other) const { return m_uri == other.m_uri; }

private:
    QString m_uri;
    QString m_safe;
    QString m_host;
    QString m_user;
    QString m_database;
    QString m_password;
    QString m_options;
    int m_port = -1;
    bool m_hasPassword = false;
};

} // namespace quillon
