#include "store/serveraddress.h"

#include <QUrl>
#include <QUrlQuery>

namespace quillon {

bool ServerAddress::looksLikeUri(const QString& text)
{
    const QString t = text.trimmed();
    return t.startsWith("postgresql://", Qt::CaseInsensitive) ||
           t.startsWith("postgres://", Qt::CaseInsensitive);
}

ServerAddress ServerAddress::parse(const QString& uri, QString* error)
{
    auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return ServerAddress();
    };
    const QString text = uri.trimmed();
    if (!looksLikeUri(text))
        return refuse("A server must be given as postgresql://user@host:port/database.");
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        // Qt's reason quotes the address, password and all: not shown.
        return refuse("The server address is not a valid URI.");
    ServerAddress a;
    a.m_uri = text;
    a.m_host = url.host(QUrl::FullyDecoded);
    a.m_port = url.port();
    a.m_user = url.userName(QUrl::FullyDecoded);
    a.m_password = url.password(QUrl::FullyDecoded);
    a.m_database = url.path(QUrl::FullyDecoded).mid(1);
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // Qt hands the options to libpq with ';' as the separator.
        if (key.contains(';') || value.contains(';') || key.contains('=') || key.contains(' '))
            return refuse(QString("The server address has a parameter libpq cannot take (%1).")
                              .arg(key == "password" ? QStringLiteral("password") : key));
        if (key == "password") {
            a.m_password = value;
            continue;
        }
        if (key == "user")
            a.m_user = value;
        else if (key == "dbname")
            a.m_database = value;
        else if (key == "host")
            a.m_host = value;
        else if (key == "port")
            a.m_port = value.toInt();
        QString v = value;
        v.replace('\\', "\\\\").replace('\'', "\\'");
        options << key + "='" + v + '\'';
    }
    a.m_options = options.join(';');
    a.m_hasPassword = !a.m_password.isEmpty();
    QUrl safe = url;
    safe.setPassword({});
    QUrlQuery query(safe);
    query.removeAllQueryItems("password");
    safe.setQuery(query);
    a.m_safe = safe.toString(QUrl::FullyEncoded);
    if (a.m_database.isEmpty())
        a.m_database = a.m_user; // libpq's own default
    if (a.m_host.isEmpty() && a.m_port < 0 && a.m_database.isEmpty())
        return refuse("The server address names no server and no database.");
    return a;
}

QString ServerAddress::describe() const
{
    QString where = m_host.isEmpty() ? QStringLiteral("localhost") : m_host;
    if (m_port > 0)
        where += ':' + QString::number(m_port);
    const QString db = m_database.isEmpty() ? QString() : "\"" + m_database + "\" on ";
    return db + where;
}

} // namespace quillon
