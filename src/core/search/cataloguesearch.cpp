#include "search/cataloguesearch.h"

#include "search/searchindex.h"
#include "search/servercandidates.h"
#include "store/schema.h"
#include "store/serverschema.h"
#include "store/songconstants.h"

#include <QHash>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {
using Part = SearchIndex::Part;

// Characters of context before the first matching word and in all.
constexpr qsizetype kLead = 30;
constexpr qsizetype kWidth = 110;

// The words around the first match, on one line, with the marks moved along.
void setContext(SearchHit& hit, const QString& text, const QList<SearchQuery::Span>& marks)
{
    qsizetype start = qMax<qsizetype>(0, marks.first().start - kLead);
    while (start > 0 && !text.at(start - 1).isSpace() && marks.first().start - start < kLead + 15)
        --start;
    qsizetype end = qMin(text.size(), start + kWidth);
    while (end < text.size() && !text.at(end).isSpace() && end - start < kWidth + 15)
        ++end;
    QString context = text.mid(start, end - start);
    for (QChar& c : context)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    const qsizetype shift = start > 0 ? 1 : 0;
    hit.context = (start > 0 ? QStringLiteral("…") : QString()) + context +
                  (end < text.size() ? QStringLiteral("…") : QString());
    for (const SearchQuery::Span& m : marks)
        if (m.start >= start && m.start + m.length <= end)
            hit.marks << SearchQuery::Span{m.start - start + shift, m.length};
}

// Track candidates read together: the first batch, and the most at once.
constexpr qsizetype kFirstBatch = 4;
constexpr qsizetype kLargestBatch = 32;

int slotOf(qint64 ref)
{
    return int(ref % SearchIndex::kRefsPerSong) - SearchIndex::FirstSlot + 1;
}

// A track candidate's song title and the track texts of its slot row.
using TrackRows = QHash<qint64, std::pair<QString, QStringList>>;

// The songs and track rows of one slot's candidates, their song rowids as
// one value (an array on a server, a JSON list in a data folder). A song's
// first track row of the slot is the one its track sheet shows.
QString trackRowsSql(bool server, int slot)
{
    QStringList tracks;
    for (int k = 0; k < schema::kTracksPerRow; ++k)
        tracks << "t." + schema::quoted(schema::trackColumns().at(k));
    const QString table = schema::trackTable(slot);
    const QString head =
        QString("SELECT %1 AS slot, x.rowid, x.songtitle, %2 ").arg(slot).arg(tracks.join(", "));
    if (server)
        return head + QString("FROM xtrax x CROSS JOIN LATERAL (SELECT * FROM %1 t WHERE "
                              "t.songtitle = x.songtitle ORDER BY t.rowid LIMIT 1) t WHERE "
                              "x.rowid = ANY(CAST(? AS bigint[]))")
                          .arg(table);
    return head + QString("FROM xtrax x JOIN t%1.%2 t ON t.rowid = (SELECT min(rowid) FROM t%1.%2 "
                          "WHERE songtitle = x.songtitle) WHERE x.rowid IN (SELECT value FROM "
                          "json_each(?))")
                      .arg(slot)
                      .arg(table);
}

// Reads the rows of some track candidates into rows. Read whole and
// finished at once: an open read would hold a data folder's files against
// writers.
bool readTrackRows(Database& db, const QList<qint64>& refs, TrackRows& rows, QString* error)
{
    QStringList songs[schema::kTrackSlots];
    for (const qint64 ref : refs) {
        const int slot = slotOf(ref);
        if (slot >= 1 && slot <= schema::kTrackSlots)
            songs[slot - 1] << QString::number(ref / SearchIndex::kRefsPerSong);
    }
    const auto read = [&](KeptStatement& q) {
        const bool ok = q.exec();
        while (ok && q.next()) {
            QStringList texts;
            for (int k = 0; k < schema::kTracksPerRow; ++k)
                texts << q.value(3 + k).toString();
            rows.insert(SearchIndex::slotRef(q.value(1).toLongLong(), q.value(0).toInt()),
                        {q.value(2).toString(), texts});
        }
        if (!ok)
            *error = q.lastError().text();
        q.finish();
        return ok;
    };
    if (db.isServer()) {
        // Every slot in one statement: on a server each statement costs a
        // round trip, more than the reads themselves.
        static const QString sql = [] {
            QStringList branches;
            for (int n = 1; n <= schema::kTrackSlots; ++n)
                branches << trackRowsSql(true, n);
            return branches.join(" UNION ALL ");
        }();
        KeptStatement& q = db.kept(sql);
        for (int i = 0; i < schema::kTrackSlots; ++i)
            q.bindValue(i, '{' + songs[i].join(',') + '}');
        return read(q);
    }
    // In a data folder a statement's cost is the files it opens: one per
    // slot the candidates name.
    static const QStringList slotSql = [] {
        QStringList all;
        for (int n = 1; n <= schema::kTrackSlots; ++n)
            all << trackRowsSql(false, n);
        return all;
    }();
    for (int i = 0; i < schema::kTrackSlots; ++i) {
        if (songs[i].isEmpty())
            continue;
        KeptStatement& q = db.kept(slotSql.at(i));
        q.bindValue(0, '[' + songs[i].join(',') + ']');
        if (!read(q))
            return false;
    }
    return true;
}

int countOf(const QList<SearchHit>& hits, SearchHit::Kind kind)
{
    int n = 0;
    for (const SearchHit& h : hits)
        n += h.kind == kind;
    return n;
}
} // namespace

QString SearchHit::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Song:
        return QStringLiteral("Songs");
    case Kind::Track:
        return QStringLiteral("Tracks");
    case Kind::Session:
        return QStringLiteral("Session details");
    case Kind::Note:
        return QStringLiteral("Song notes");
    case Kind::Lyrics:
        return QStringLiteral("Lyrics");
    case Kind::Medium:
        return QStringLiteral("Media");
    case Kind::Device:
        return QStringLiteral("Devices");
    case Kind::Notebook:
        break;
    }
    return QStringLiteral("Notebook");
}

CatalogueSearch::CatalogueSearch(const DataFolder& folder) : m_folder(folder) {}

CatalogueSearch::~CatalogueSearch() = default;

bool CatalogueSearch::ensureOpen()
{
    if (m_songs && m_songs->isOpen() && !m_songs->connectionLost())
        return true;
    m_songs = std::make_unique<Database>();
    if (m_folder.onServer()) {
        // The search's statements are kept, and a plan made once serves
        // them all (the one that needs a plan for its own values asks for
        // it): planning the track rows' statement anew would cost more than
        // running it.
        if (!serverschema::open(*m_songs, m_folder.server()) ||
            !m_songs->exec("SET plan_cache_mode = force_generic_plan")) {
            m_error = m_songs->lastError();
            m_songs.reset();
            return false;
        }
        return true;
    }
    bool ok = m_songs->open(m_folder.songDb());
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n)
        ok = m_songs->attach(m_folder.trackDb(n), QString("t%1").arg(n));
    const QString files[3] = {m_folder.tapeDb(), m_folder.recdevDb(), m_folder.note1Db()};
    for (int i = 0; ok && i < 3; ++i) {
        m_small[i] = std::make_unique<Database>();
        ok = m_small[i]->open(files[i]);
        if (!ok)
            m_songs->setErrorText(m_small[i]->lastError());
    }
    if (!ok) {
        m_error = m_songs->lastError();
        m_songs.reset();
    }
    return ok;
}

QList<qint64> CatalogueSearch::candidates(Database& db, int part, const SearchQuery& query,
                                          int limit)
{
    QList<qint64> refs;
    if (db.isServer())
        return serverCandidates(db, SearchIndex::partName(Part(part)), query.tsquery(), limit,
                                &m_error);
    SearchIndex index(db, Part(part));
    if (!index.available())
        return refs;
    const QString table = SearchIndex::fileTable(Part(part));
    constexpr int kMostWords = 64;
    const QString match = query.fts5(
        [&index](const QString& start) { return index.wordsStartingWith(start, kMostWords); });
    if (match.isEmpty())
        return refs; // a word that no indexed word begins with
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    q.prepare(QString("SELECT rowid FROM main.%1 WHERE %1 MATCH ? LIMIT ?").arg(table));
    q.addBindValue(match);
    q.addBindValue(limit);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return refs;
    }
    while (q.next())
        refs << q.value(0).toLongLong();
    return refs;
}

QList<SearchHit> CatalogueSearch::find(const SearchQuery& query, int perKind)
{
    m_error.clear();
    QList<SearchHit> hits;
    if (query.isEmpty() || !ensureOpen())
        return hits;
    songHits(query, perKind, hits);
    trackHits(query, perKind, hits);
    for (int i = 0; i < 3; ++i)
        smallHits(i, query, perKind, hits);
    // Grouped by kind, each group in the order found.
    std::stable_sort(hits.begin(), hits.end(), [](const SearchHit& a, const SearchHit& b) {
        return int(a.kind) < int(b.kind);
    });
    return hits;
}

void CatalogueSearch::songHits(const SearchQuery& query, int perKind, QList<SearchHit>& hits)
{
    // Four kinds share the part: ask for enough to fill each.
    const QList<qint64> refs = candidates(*m_songs, int(Part::Songs), query, perKind * 8);
    KeptStatement& q = m_songs->kept("SELECT * FROM xtrax WHERE rowid = ?");
    for (const qint64 ref : refs) {
        const auto row = SearchIndex::SongRow(ref % SearchIndex::kRefsPerSong);
        static const SearchHit::Kind kinds[] = {SearchHit::Kind::Song, SearchHit::Kind::Session,
                                                SearchHit::Kind::Note, SearchHit::Kind::Lyrics};
        if (row > SearchIndex::Lyrics || countOf(hits, kinds[row]) >= perKind)
            continue;
        q.bindValue(0, ref / SearchIndex::kRefsPerSong);
        // Finished at once: an open read would hold the file against writers.
        const bool found = q.exec() && q.next();
        const QSqlRecord record = found ? q.record() : QSqlRecord();
        q.finish();
        if (!found)
            continue;
        QStringList values;
        for (const QString& field : SearchIndex::songFields(row))
            values << record.value(field).toString();
        const QString text = SearchIndex::plainOf(values);
        const QList<SearchQuery::Span> marks = query.match(text);
        if (marks.isEmpty())
            continue;
        SearchHit hit;
        hit.kind = kinds[row];
        hit.subject = record.value("songtitle").toString();
        setContext(hit, text, marks);
        hits << hit;
    }
}

void CatalogueSearch::trackHits(const SearchQuery& query, int perKind, QList<SearchHit>& hits)
{
    const QList<qint64> refs = candidates(*m_songs, int(Part::Tracks), query, perKind * 2);
    // Most searches are served by their first few candidates; a query
    // whose words seldom stand in one track text needs more. On a server
    // each read is a round trip, so after a first few the next batch is as
    // many as the hits per row so far say are needed, with some to spare;
    // in a data folder a read costs only its rows, so one at a time.
    const bool server = m_songs->isServer();
    int tracksFound = 0;
    qsizetype batch = server ? kFirstBatch : 1;
    for (qsizetype from = 0; from < refs.size(); from += batch) {
        if (server && from > 0) {
            batch = tracksFound == 0
                        ? 2 * batch
                        : qsizetype(std::ceil((perKind - tracksFound) * 1.25 * from / tracksFound));
            batch = std::clamp<qsizetype>(batch, 1, kLargestBatch);
        }
        const QList<qint64> some = refs.mid(from, batch);
        TrackRows rows;
        if (!readTrackRows(*m_songs, some, rows, &m_error))
            return;
        for (const qint64 ref : some) {
            const auto row = rows.constFind(ref);
            if (row == rows.constEnd())
                continue; // deleted since the index was read
            const QStringList& texts = row->second;
            for (int k = 0; k < texts.size(); ++k) {
                if (tracksFound >= perKind)
                    return;
                const QString& text = texts.at(k);
                if (isGeneratedTrackText(text, slotOf(ref), k + 1))
                    continue; // not indexed: a new song's placeholder
                const QList<SearchQuery::Span> marks = query.match(text);
                if (marks.isEmpty())
                    continue;
                SearchHit hit;
                hit.kind = SearchHit::Kind::Track;
                hit.subject = row->first;
                hit.slot = slotOf(ref);
                hit.track = k + 1;
                setContext(hit, text, marks);
                hits << hit;
                ++tracksFound;
            }
        }
    }
}

void CatalogueSearch::smallHits(int i, const SearchQuery& query, int perKind,
                                QList<SearchHit>& hits)
{
    static const Part parts[] = {Part::Media, Part::Devices, Part::Notebook};
    static const SearchHit::Kind kinds[] = {SearchHit::Kind::Medium, SearchHit::Kind::Device,
                                            SearchHit::Kind::Notebook};
    static const QString tables[] = {QStringLiteral("Tape"), QStringLiteral("recdev"),
                                     QStringLiteral("note1")};
    Database& db = m_small[i] ? *m_small[i] : *m_songs;
    const QList<qint64> refs = candidates(db, int(parts[i]), query, perKind * 2);
    const QStringList fields = i == 0   ? SearchIndex::mediumFields()
                               : i == 1 ? SearchIndex::deviceFields()
                                        : QStringList{"notiz1"};
    QStringList columns;
    for (const QString& f : fields)
        columns << schema::quoted(f);
    KeptStatement& q = db.kept(
        QString("SELECT %1, (SELECT count(*) FROM %2 WHERE rowid <= ?) FROM %2 WHERE rowid = ?")
            .arg(columns.join(", "), schema::quoted(tables[i])));
    for (const qint64 ref : refs) {
        if (countOf(hits, kinds[i]) >= perKind)
            return;
        q.bindValue(0, ref);
        q.bindValue(1, ref);
        const bool found = q.exec() && q.next();
        QStringList values;
        for (int c = 0; found && c <= fields.size(); ++c)
            values << q.value(c).toString();
        q.finish();
        if (!found)
            continue;
        const int place = values.takeLast().toInt();
        const QString text = SearchIndex::plainOf(values);
        const QList<SearchQuery::Span> marks = query.match(text);
        if (marks.isEmpty())
            continue;
        SearchHit hit;
        hit.kind = kinds[i];
        hit.subject = i < 2 ? values.first() : QString();
        hit.slot = i == 1 ? place : 0;
        setContext(hit, text, marks);
        hits << hit;
    }
}

} // namespace quillon
