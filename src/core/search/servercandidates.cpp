#include "search/servercandidates.h"

#include "store/database.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <limits>

namespace quillon {

namespace {
// Rows checked in order before deciding, and the share of matching rows
// from which going on in order beats the word index (checking a row costs
// about as much as a few dozen matches of the word index).
constexpr int kFirstWindow = 64;
constexpr double kCommon = 0.02;
constexpr int kLargestWindow = 4000;

struct Scan {
    Database& db;
    QString part;
    QString tsquery;
    QString* error;

    bool fail(const QSqlQuery& q)
    {
        *error = q.lastError().text();
        return false;
    }

    // Matches among the next window rows after ref `after`, at most want.
    bool window(qint64 after, int rows, int want, QList<qint64>& refs)
    {
        QSqlQuery q(db.handle());
        q.setForwardOnly(true);
        q.prepare("SELECT ref FROM (SELECT ref, tsv FROM searchindex WHERE part = ? AND ref > ? "
                  "ORDER BY ref LIMIT ?) w WHERE tsv @@ to_tsquery('simple', ?) LIMIT ?");
        q.addBindValue(part);
        q.addBindValue(after);
        q.addBindValue(rows);
        q.addBindValue(tsquery);
        q.addBindValue(want);
        if (!q.exec())
            return fail(q);
        while (q.next())
            refs << q.value(0).toLongLong();
        return true;
    }

    // The ref of the last row of that window; false past the last row.
    bool windowEnd(qint64 after, int rows, qint64* end)
    {
        QSqlQuery q(db.handle());
        q.setForwardOnly(true);
        q.prepare("SELECT ref FROM searchindex WHERE part = ? AND ref > ? ORDER BY ref "
                  "OFFSET ? LIMIT 1");
        q.addBindValue(part);
        q.addBindValue(after);
        q.addBindValue(rows - 1);
        if (!q.exec())
            return fail(q);
        if (!q.next())
            return false;
        *end = q.value(0).toLongLong();
        return true;
    }

    // The rest through the part's word index alone. The planner would
    // often walk the rows instead (in order, in full, or through the
    // primary key's bitmap), misled by word statistics that count the words
    // of every part; the part named as its word index names it (part || '')
    // leaves the key out, and the settings the rest.
    bool wordIndex(qint64 after, int want, QList<qint64>& refs)
    {
        if (!db.transaction())
            return false;
        QSqlQuery q(db.handle());
        q.setForwardOnly(true);
        const bool ok = q.exec("SET LOCAL enable_seqscan = off") &&
                        q.exec("SET LOCAL enable_indexscan = off") &&
                        q.prepare("SELECT ref FROM searchindex WHERE (part || '') = ? AND ref > ? "
                                  "AND tsv @@ to_tsquery('simple', ?) ORDER BY ref LIMIT ?");
        if (ok) {
            q.addBindValue(part);
            q.addBindValue(after);
            q.addBindValue(tsquery);
            q.addBindValue(want);
        }
        if (!ok || !q.exec()) {
            fail(q);
            db.rollback();
            return false;
        }
        while (q.next())
            refs << q.value(0).toLongLong();
        q.finish();
        return db.commit();
    }
};
} // namespace

QList<qint64> serverCandidates(Database& db, const QString& part, const QString& tsquery, int limit,
                               QString* error)
{
    Scan scan{db, part, tsquery, error};
    QList<qint64> refs;
    qint64 after = std::numeric_limits<qint64>::min();
    qint64 checked = 0;
    int rows = kFirstWindow;
    for (;;) {
        const qsizetype had = refs.size();
        if (!scan.window(after, rows, int(limit - refs.size()), refs))
            return refs;
        if (refs.size() >= limit)
            return refs;
        // The whole window was checked: where it ended, and how common the
        // words are in what was seen so far.
        if (!scan.windowEnd(after, rows, &after))
            return refs; // no rows left
        checked += rows;
        const double share = double(refs.size()) / double(checked);
        if (share < kCommon || refs.size() == had)
            break;
        rows =
            int(std::min<double>(kLargestWindow, std::ceil((limit - refs.size()) / share * 1.5)));
    }
    scan.wordIndex(after, int(limit - refs.size()), refs);
    return refs;
}

} // namespace quillon
