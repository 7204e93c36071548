#include "search/cataloguesearch.h"

#include "search/searchindex.h"
#include "search/servercandidates.h"
#include "store/schema.h"
#include "store/serverschema.h"
#include "store/songconstants.h"

#include <QSqlRecord>

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
        if (!serverschema::open(*m_songs, m_folder.server())) {
            m_error = m_songs->lastError();
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
    for (const qint64 ref : refs) {
        const int slot = int(ref % SearchIndex::kRefsPerSong) - SearchIndex::FirstSlot + 1;
        if (slot < 1 || slot > schema::kTrackSlots)
            continue;
        const QString table = m_songs->isServer()
                                  ? schema::trackTable(slot)
                                  : QString("t%1.%2").arg(slot).arg(schema::trackTable(slot));
        // The song's title and its track row of the slot in one read.
        KeptStatement& row = m_songs->kept(
            QString("SELECT x.songtitle, t.* FROM xtrax x JOIN %1 t ON t.songtitle = x.songtitle "
                    "WHERE x.rowid = ? ORDER BY t.rowid LIMIT 1")
                .arg(table));
        row.bindValue(0, ref / SearchIndex::kRefsPerSong);
        QString song;
        QStringList texts;
        if (row.exec() && row.next()) {
            song = row.value(0).toString();
            for (int k = 1; k <= schema::kTracksPerRow; ++k)
                texts << row.value(k).toString();
        }
        row.finish();
        for (int k = 0; k < texts.size(); ++k) {
            if (countOf(hits, SearchHit::Kind::Track) >= perKind)
                return;
            const QString& text = texts.at(k);
            if (isGeneratedTrackText(text, slot, k + 1))
                continue; // not indexed: a new song's placeholder
            const QList<SearchQuery::Span> marks = query.match(text);
            if (marks.isEmpty())
                continue;
            SearchHit hit;
            hit.kind = SearchHit::Kind::Track;
            hit.subject = song;
            hit.slot = slot;
            hit.track = k + 1;
            setContext(hit, text, marks);
            hits << hit;
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
    QSqlQuery q(db.handle());
    q.prepare(
        QString("SELECT %1, (SELECT count(*) FROM %2 WHERE rowid <= ?) FROM %2 WHERE rowid = ?")
            .arg(columns.join(", "), schema::quoted(tables[i])));
    for (const qint64 ref : refs) {
        if (countOf(hits, kinds[i]) >= perKind)
            return;
        q.bindValue(0, ref);
        q.bindValue(1, ref);
        if (!q.exec() || !q.next())
            continue;
        QStringList values;
        for (int c = 0; c < fields.size(); ++c)
            values << q.value(c).toString();
        const QString text = SearchIndex::plainOf(values);
        const QList<SearchQuery::Span> marks = query.match(text);
        if (marks.isEmpty())
            continue;
        SearchHit hit;
        hit.kind = kinds[i];
        hit.subject = i < 2 ? values.first() : QString();
        hit.slot = i == 1 ? q.value(int(fields.size())).toInt() : 0;
        setContext(hit, text, marks);
        hits << hit;
    }
}

} // namespace quillon
