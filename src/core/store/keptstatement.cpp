#include "store/keptstatement.h"

#include <cmath>
#include <libpq-fe.h>
#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QSqlField>
#include <QTime>
#include <vector>

namespace quillon {

namespace {
QAtomicInt statementCounter;

// Type identifiers of the server's built-in types (pg_type.oid).
constexpr Oid kBool = 16;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

// The libpq connection behind a QPSQL driver; null for any other driver.
PGconn* connectionOf(const QSqlDriver* driver, bool* isPostgres = nullptr)
{
    const QVariant handle = driver ? driver->handle() : QVariant();
    // Qt names the type by the struct behind libpq's typedef.
    const char* type = handle.isValid() ? handle.typeName() : "";
    const bool postgres = qstrcmp(type, "PGconn*") == 0 || qstrcmp(type, "pg_conn*") == 0;
    if (isPostgres)
        *isPostgres = postgres;
    return postgres ? *static_cast<PGconn* const*>(handle.constData()) : nullptr;
}

QMetaType typeOf(Oid type)
{
    switch (type) {
    case kBool:
        return QMetaType::fromType<bool>();
    case kInt2:
    case kInt4:
        return QMetaType::fromType<int>();
    case kInt8:
        return QMetaType::fromType<qlonglong>();
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QMetaType::fromType<double>();
    default:
        return QMetaType::fromType<QString>();
    }
}

// Null as Qt's own drivers see it: a null text or date is SQL NULL too.
bool isNullValue(const QVariant& v)
{
    if (v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(v.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(v.constData())->isNull();
    case QMetaType::QDate:
        return v.toDate().isNull();
    case QMetaType::QTime:
        return v.toTime().isNull();
    case QMetaType::QDateTime:
        return v.toDateTime().isNull();
    default:
        return false;
    }
}

// A value in the text form the server reads for any parameter type; false
// for a value that has none.
bool parameterText(const QVariant& v, QByteArray* text)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        *text = v.toBool() ? "t" : "f";
        return true;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d))
            *text = "NaN";
        else if (std::isinf(d))
            *text = d > 0 ? "Infinity" : "-Infinity";
        else
            *text = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
        return true;
    }
    case QMetaType::QDate:
        *text = v.toDate().toString(Qt::ISODate).toLatin1();
        return true;
    case QMetaType::QTime:
        *text = v.toTime().toString(Qt::ISODateWithMs).toLatin1();
        return true;
    case QMetaType::QDateTime:
        *text = v.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
        return true;
    case QMetaType::QByteArray:
        // Bytes are not text; no statement kept here stores any.
        return false;
    default:
        if (!v.canConvert<QString>())
            return false;
        *text = v.toString().toUtf8();
        return true;
    }
}
} // namespace

KeptStatement::~KeptStatement()
{
    clearResult();
}

KeptStatement::KeptStatement(KeptStatement&& other) noexcept
{
    *this = std::move(other);
}

KeptStatement& KeptStatement::operator=(KeptStatement&& other) noexcept
{
    if (this == &other)
        return *this;
    clearResult();
    m_query = std::move(other.m_query);
    m_driver = std::move(other.m_driver);
    m_server = std::exchange(other.m_server, false);
    m_prepared = std::exchange(other.m_prepared, false);
    m_conn = std::exchange(other.m_conn, nullptr);
    m_sql = std::move(other.m_sql);
    m_name = std::move(other.m_name);
    m_params = other.m_params;
    m_values = std::move(other.m_values);
    m_nextBind = other.m_nextBind;
    m_result = std::exchange(other.m_result, nullptr);
    m_row = other.m_row;
    m_error = std::move(other.m_error);
    return *this;
}

QString KeptStatement::numberedPlaceholders(const QString& sql, int* count)
{
    QString out;
    out.reserve(sql.size() + 16);
    QChar quote;
    int n = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            // A doubled quote inside closes and reopens: the same state.
            if (c == quote)
                quote = QChar();
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?') {
            out += '$' + QString::number(++n);
            continue;
        }
        out += c;
    }
    if (count)
        *count = n;
    return out;
}

bool KeptStatement::prepare(const QSqlDatabase& db, const QString& sql)
{
    clearResult();
    m_error = QSqlError();
    m_values.clear();
    m_nextBind = 0;
    m_name.clear();
    bool postgres = false;
    m_conn = connectionOf(db.driver(), &postgres);
    m_server = postgres;
    if (!postgres) {
        m_driver.clear();
        m_query = QSqlQuery(db);
        m_query.setForwardOnly(true);
        m_prepared = m_query.prepare(sql);
        return m_prepared;
    }
    m_query = QSqlQuery();
    m_driver = db.driver();
    m_sql = numberedPlaceholders(sql, &m_params).toUtf8();
    if (!m_conn) {
        setServerError(QStringLiteral("Unable to prepare statement"));
        m_prepared = false;
        return false;
    }
    m_prepared = prepareOnServer();
    return m_prepared;
}

bool KeptStatement::prepareOnServer()
{
    const QByteArray name = "qk" + QByteArray::number(statementCounter.fetchAndAddRelaxed(1) + 1);
    PGresult* r = PQprepare(m_conn, name.constData(), m_sql.constData(), m_params, nullptr);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (ok)
        m_name = name;
    else
        setServerError(QStringLiteral("Unable to prepare statement"), r);
    PQclear(r);
    return ok;
}

void KeptStatement::followConnection()
{
    // A statement outliving its connection would run under a name the
    // current one never heard of.
    PGconn* now = connectionOf(m_driver);
    if (now != m_conn) {
        m_conn = now;
        m_name.clear();
    }
}

void KeptStatement::setServerError(const QString& what, const PGresult* result)
{
    QString message = QString::fromUtf8(result ? PQresultErrorMessage(result) : "");
    if (message.trimmed().isEmpty() && m_conn)
        message = QString::fromUtf8(PQerrorMessage(m_conn));
    const QString code =
        QString::fromLatin1(result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr);
    if (!code.isEmpty())
        message += QString("(%1)").arg(code);
    // A broken connection must read as one, so that the next action
    // connects again, whatever words libpq chose for the failure.
    const bool lost = !m_conn || PQstatus(m_conn) == CONNECTION_BAD;
    const QString noConnection = QStringLiteral("no connection to the server");
    if (lost && !message.contains(noConnection))
        message = (message.trimmed() + '\n' + noConnection).trimmed();
    m_error = QSqlError(what, message,
                        lost ? QSqlError::ConnectionError : QSqlError::StatementError, code);
}

void KeptStatement::clearResult()
{
    if (m_result)
        PQclear(m_result);
    m_result = nullptr;
    m_row = -1;
}

void KeptStatement::bindValue(int position, const QVariant& value)
{
    if (!m_server) {
        m_query.bindValue(position, value);
        return;
    }
    if (position < 0)
        return;
    if (position >= m_values.size())
        m_values.resize(position + 1);
    m_values[position] = value;
}

void KeptStatement::addBindValue(const QVariant& value)
{
    bindValue(m_nextBind++, value);
}

bool KeptStatement::exec()
{
    m_nextBind = 0;
    if (!m_server)
        return m_query.exec();
    clearResult();
    m_error = QSqlError();
    followConnection();
    if (!m_conn) {
        setServerError(QStringLiteral("Unable to execute statement"));
        return false;
    }
    if (m_name.isEmpty() && !prepareOnServer())
        return false;
    const auto count = static_cast<size_t>(m_params);
    std::vector<QByteArray> texts(count);
    std::vector<const char*> values(count, nullptr);
    for (int i = 0; i < m_params; ++i) {
        const QVariant v = m_values.value(i);
        if (isNullValue(v))
            continue;
        if (!parameterText(v, &texts[size_t(i)])) {
            m_error = QSqlError(QStringLiteral("Unable to bind value"),
                                QString("value %1 of type %2 has no text form")
                                    .arg(i + 1)
                                    .arg(QString::fromLatin1(v.typeName())),
                                QSqlError::StatementError);
            return false;
        }
        values[size_t(i)] = texts[size_t(i)].constData();
    }
    PGresult* r =
        PQexecPrepared(m_conn, m_name.constData(), m_params, values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        m_result = r;
        return true;
    }
    setServerError(QStringLiteral("Unable to execute statement"), r);
    PQclear(r);
    return false;
}

bool KeptStatement::next()
{
    if (!m_server)
        return m_query.next();
    if (!m_result)
        return false;
    const int rows = PQntuples(m_result);
    if (m_row < rows)
        ++m_row;
    return m_row < rows;
}

QVariant KeptStatement::value(int column) const
{
    if (!m_server)
        return m_query.value(column);
    if (!m_result || m_row < 0 || m_row >= PQntuples(m_result) || column < 0 ||
        column >= PQnfields(m_result))
        return {};
    const QMetaType type = typeOf(PQftype(m_result, column));
    if (PQgetisnull(m_result, m_row, column))
        return QVariant(type, nullptr);
    const char* text = PQgetvalue(m_result, m_row, column);
    const int length = PQgetlength(m_result, m_row, column);
    const QByteArray raw = QByteArray::fromRawData(text, length);
    switch (type.id()) {
    case QMetaType::Bool:
        return QVariant(text[0] == 't');
    case QMetaType::Int:
        return QVariant(raw.toInt());
    case QMetaType::LongLong:
        return QVariant(raw.toLongLong());
    case QMetaType::Double:
        return QVariant(raw.toDouble());
    default:
        return QVariant(QString::fromUtf8(text, length));
    }
}

QSqlRecord KeptStatement::record() const
{
    if (!m_server)
        return m_query.record();
    QSqlRecord record;
    if (!m_result)
        return record;
    const bool onRow = m_row >= 0 && m_row < PQntuples(m_result);
    for (int c = 0; c < PQnfields(m_result); ++c) {
        QSqlField field(QString::fromUtf8(PQfname(m_result, c)), typeOf(PQftype(m_result, c)));
        if (onRow)
            field.setValue(value(c));
        record.append(field);
    }
    return record;
}

int KeptStatement::numRowsAffected() const
{
    if (!m_server)
        return m_query.numRowsAffected();
    return m_result ? QByteArray(PQcmdTuples(m_result)).toInt() : -1;
}

bool KeptStatement::isActive() const
{
    return m_server ? m_result != nullptr : m_query.isActive();
}

QSqlError KeptStatement::lastError() const
{
    return m_server ? m_error : m_query.lastError();
}

void KeptStatement::finish()
{
    if (!m_server)
        m_query.finish();
    clearResult();
}

} // namespace quillon
