#include "store/titlegroups.h"

#include <QSqlError>

namespace quillon {

QString TitleGroups::sql(const QString& table)
{
    // The explicit collation is the index's own, so SQLite walks the index
    // (no sorting, no table rows); the cast hands text over as its bytes.
    return QString("SELECT typeof(songtitle), CAST(songtitle AS BLOB) FROM \"%1\" "
                   "ORDER BY songtitle COLLATE BINARY")
        .arg(table);
}

bool TitleGroups::start(QSqlDatabase db, const QString& table, QString* error)
{
    m_query = QSqlQuery(db);
    m_query.setForwardOnly(true);
    m_havePending = false;
    m_count = 0;
    m_error.clear();
    if (!m_query.exec(sql(table))) {
        m_error = m_query.lastError().text();
        if (error)
            *error = m_error;
        return false;
    }
    return true;
}

bool TitleGroups::read(Value* value)
{
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            m_error = m_query.lastError().text();
        return false;
    }
    const QString type = m_query.value(0).toString();
    value->bytes = m_query.value(1).toByteArray();
    value->number = 0;
    if (type == QLatin1String("null")) {
        value->rank = 0;
    } else if (type == QLatin1String("integer") || type == QLatin1String("real")) {
        value->rank = 1;
        value->number = value->bytes.toDouble();
    } else {
        value->rank = type == QLatin1String("blob") ? 3 : 2;
    }
    return true;
}

bool TitleGroups::next()
{
    if (!m_havePending && !read(&m_pending))
        return false;
    m_current = std::move(m_pending);
    m_count = 1;
    m_havePending = false;
    Value row;
    while (read(&row)) {
        if (compare(row, m_current) != 0) {
            m_pending = std::move(row);
            m_havePending = true;
            return true;
        }
        ++m_count;
    }
    return m_error.isEmpty();
}

QString TitleGroups::title() const
{
    return m_current.rank == 0 ? QString() : QString::fromUtf8(m_current.bytes);
}

int TitleGroups::compare(const Value& a, const Value& b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.rank == 0)
        return 0;
    if (a.rank == 1)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    return a.bytes < b.bytes ? -1 : (b.bytes < a.bytes ? 1 : 0);
}

int TitleGroups::compare(const TitleGroups& a, const TitleGroups& b)
{
    return compare(a.m_current, b.m_current);
}

} // namespace quillon
