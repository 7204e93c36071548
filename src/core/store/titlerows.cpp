#include "store/titlerows.h"

#include <QSqlError>
#include <QSqlQuery>

namespace quillon {

bool TitleSnapshot::readTable(QSqlDatabase db, const QString& qualified, QList<TitleRow>* rows,
                              QString* error)
{
    rows->clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QString("SELECT rowid, songtitle FROM %1 ORDER BY rowid").arg(qualified))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    while (q.next())
        rows->append({q.value(0).toLongLong(), q.value(1)});
    return true;
}

QHash<QString, QList<qint64>> TitleSnapshot::byExactTitle(const QList<TitleRow>& rows)
{
    QHash<QString, QList<qint64>> groups;
    for (const TitleRow& row : rows)
        groups[row.exactKey()].append(row.rowid);
    return groups;
}

} // namespace quillon
