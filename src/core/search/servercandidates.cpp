#include "search/servercandidates.h"

#include "store/database.h"

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

    bool fail(const KeptStatement& q)
    {
        *error = q.lastError().text();
        return false;
    }

    // The statements are kept on the connection: the search runs them
    // several times per part, and each would otherwise be prepared, run
    // and dropped, three round trips for one.

    // Matches among the next window rows after ref `after`, at most want.
    bool window(qint64 after, int rows, int want, QList<qint64>& refs)
    {
        KeptStatement& q =
            db.kept("SELECT ref FROM (SELECT ref, tsv FROM searchindex WHERE part = ? AND ref > ? "
                    "ORDER BY ref LIMIT ?) w WHERE tsv @@ to_tsquery('simple', ?) LIMIT ?");
        q.bindValue(0, part);
        q.bindValue(1, after);
        q.bindValue(2, rows);
        q.bindValue(3, tsquery);
        q.bindValue(4, want);
        if (!q.exec())
            return fail(q);
        while (q.next())
            refs << q.value(0).toLongLong();
        q.finish();
        return true;
    }

    // The ref of the last row of that window; false past the last row.
    bool windowEnd(qint64 after, int rows, qint64* end)
    {
        KeptStatement& q = db.kept("SELECT ref FROM searchindex WHERE part = ? AND ref > ? "
                                   "ORDER BY ref OFFSET ? LIMIT 1");
        q.bindValue(0, part);
        q.bindValue(1, after);
        q.bindValue(2, rows - 1);
        if (!q.exec())
            return fail(q);
        const bool found = q.next();
        if (found)
            *end = q.value(0).toLongLong();
        q.finish();
        return found;
    }

    // The rest through the part's word index alone. The planner would
    // often walk the rows instead (in order, in full, or through the
    // primary key's bitmap), misled by word statistics that count the words
    // of every part; the part named as its word index names it (part || '')
    // leaves the key out, and the settings the rest. A plan kept for the
    // statement could not know the part, and so not the index: every run is
    // planned for its own values.
    bool wordIndex(qint64 after, int want, QList<qint64>& refs)
    {
        if (!db.transaction())
            return false;
        KeptStatement& settings =
            db.kept("SELECT set_config('enable_seqscan', 'off', true), "
                    "set_config('enable_indexscan', 'off', true), "
                    "set_config('plan_cache_mode', 'force_custom_plan', true)");
        if (!settings.exec()) {
            fail(settings);
            db.rollback();
            return false;
        }
        settings.finish();
        KeptStatement& q = db.kept("SELECT ref FROM searchindex WHERE (part || '') = ? AND ref > ? "
                                   "AND tsv @@ to_tsquery('simple', ?) ORDER BY ref LIMIT ?");
        q.bindValue(0, part);
        q.bindValue(1, after);
        q.bindValue(2, tsquery);
        q.bindValue(3, want);
        if (!q.exec()) {
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
