#pragma once

#include <QByteArray>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>

struct pg_conn;
struct pg_result;

namespace quillon {

// A statement prepared once and run again and again with new values, with
// the part of QSqlQuery's interface the stores use on such statements.
//
// On a data file it is a forward-only QSqlQuery. On a server it speaks libpq
// on the Qt driver's own connection (so it runs inside the transaction
// QSqlDatabase::transaction() began): the statement is parsed once under a
// name of its own and each run sends the values as protocol parameters.
// Qt's driver would instead paste every value, escaped, into a text
// EXECUTE that the server parses anew on each run, which on a write with
// hundreds of values costs more than the round trip itself.
//
// A server statement belongs to the connection it was prepared on; its
// owner drops it before the connection closes (the server forgets it then).
class KeptStatement final {
public:
    KeptStatement() = default;
    ~KeptStatement();
    KeptStatement(KeptStatement&& other) noexcept;
    KeptStatement& operator=(KeptStatement&& other) noexcept;
    KeptStatement(const KeptStatement&) = delete;
    KeptStatement& operator=(const KeptStatement&) = delete;

    // Prepares sql (with ? placeholders) on db's connection; false sets lastError().
    bool prepare(const QSqlDatabase& db, const QString& sql);
    // The last prepare() succeeded (a failed run leaves this true).
    bool isPrepared() const { return m_prepared; }
    bool isServer() const { return m_server; }

    // Values stay bound across runs until bound again.
    void bindValue(int position, const QVariant& value);
    void addBindValue(const QVariant& value);
    bool exec();
    // Rows are read once, front to back.
    bool next();
    QVariant value(int column) const;
    // The columns, with the values of the current row when there is one.
    QSqlRecord record() const;
    int numRowsAffected() const;
    bool isActive() const;
    QSqlError lastError() const;
    // Releases the rows of the last run; the values stay bound.
    void finish();

    // sql with its ? placeholders numbered $1..$n as PostgreSQL wants them;
    // a ? inside quoted text or a quoted name is left alone.
    static QString numberedPlaceholders(const QString& sql, int* count = nullptr);

private:
    bool prepareOnServer();
    void followConnection();
    void setServerError(const QString& what, const pg_result* result = nullptr);
    void clearResult();

    QSqlQuery m_query; // on a data file
    bool m_server = false;
    bool m_prepared = false;
    // On a server: the driver whose connection holds the statement.
    QPointer<QSqlDriver> m_driver;
    pg_conn* m_conn = nullptr;
    QByteArray m_sql;  // with numbered placeholders, UTF-8
    QByteArray m_name; // empty until prepared on m_conn
    int m_params = 0;
    QVariantList m_values;
    int m_nextBind = 0;
    pg_result* m_result = nullptr;
    int m_row = -1;
    QSqlError m_error;
};

} // namespace quillon
