#include "search/searchindex.h"

#include "search/searchquery.h"
#include "search/searchtext.h"
#include "store/database.h"
#include "store/schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <limits>

namespace quillon {

QString SearchIndex::partName(Part part)
{
    switch (part) {
    case Part::Songs:
        return QStringLiteral("songs");
    case Part::Tracks:
        return QStringLiteral("tracks");
    case Part::Media:
        return QStringLiteral("media");
    case Part::Devices:
        return QStringLiteral("devices");
    case Part::Notebook:
        break;
    }
    return QStringLiteral("notebook");
}

const QStringList& SearchIndex::songFields(SongRow row)
{
    static const QStringList session{"Producer1", "Producer2", "Technician1", "Technician2",
                                     "Technician3"};
    static const QStringList notes{"notiz1", "notiz2", "SongInfoNote", "tapeinfonote"};
    static const QStringList lyrics{"lyrics"};
    // Everything else a song has: its title and details.
    static const QStringList details = [] {
        QStringList d;
        for (const QString& c : schema::songColumns())
            if (!session.contains(c) && !notes.contains(c) && !lyrics.contains(c))
                d << c;
        return d;
    }();
    switch (row) {
    case Session:
        return session;
    case Notes:
        return notes;
    case Lyrics:
        return lyrics;
    default:
        return details;
    }
}

const QStringList& SearchIndex::mediumFields()
{
    static const QStringList fields{"bandnummer", "bandtype", "noisereduction", "brandname",
                                    "serialnr"};
    return fields;
}

const QStringList& SearchIndex::deviceFields()
{
    static const QStringList fields{"name",   "SerialNr", "Noisereduction",
                                    "Seller", "Note",     "technician"};
    return fields;
}

QString SearchIndex::dataTable(Part part)
{
    switch (part) {
    case Part::Media:
        return QStringLiteral("Tape");
    case Part::Devices:
        return QStringLiteral("recdev");
    case Part::Notebook:
        return QStringLiteral("note1");
    default:
        return QStringLiteral("xtrax");
    }
}

const QStringList& SearchIndex::fieldsOf(Part part)
{
    static const QStringList notebook{"notiz1"};
    return part == Part::Media      ? mediumFields()
           : part == Part::Devices  ? deviceFields()
           : part == Part::Notebook ? notebook
                                    : songFields(Details);
}

QString SearchIndex::fileTable(Part part)
{
    return part == Part::Tracks ? QStringLiteral("searchtracks") : QStringLiteral("searchindex");
}

QString SearchIndex::wordTable(Part part)
{
    return fileTable(part) + QStringLiteral("_words");
}

QStringList SearchIndex::fileDdl(Part part, const QString& schemaName)
{
    // unicode61 over bodies that are plain folded words already; the prefix
    // indexes make a search as you type as quick as a whole word.
    return {QString("CREATE VIRTUAL TABLE IF NOT EXISTS %1.%2 USING fts5(body, "
                    "tokenize = 'unicode61 remove_diacritics 2', prefix = '2 3')")
                .arg(schemaName, fileTable(part)),
            QString("CREATE TABLE IF NOT EXISTS %1.%2 (word TEXT PRIMARY KEY) WITHOUT ROWID")
                .arg(schemaName, wordTable(part)),
            QString("CREATE TABLE IF NOT EXISTS %1.searchstate (part TEXT PRIMARY KEY, upto "
                    "INTEGER NOT NULL, complete INTEGER NOT NULL)")
                .arg(schemaName)};
}

QString SearchIndex::plainOf(const QStringList& values)
{
    QStringList plain;
    for (const QString& v : values)
        if (!v.isEmpty())
            plain << searchtext::plainFromStored(v);
    return plain.join('\n');
}

SearchIndex::SearchIndex(Database& db, Part part, const QString& schemaName)
    : m_db(db), m_part(part), m_schema(schemaName)
{
}

QString SearchIndex::table() const
{
    return m_db.isServer() ? QStringLiteral("searchindex") : m_schema + '.' + fileTable(m_part);
}

void SearchIndex::reset()
{
    m_statements.clear();
    m_available = -1;
    m_hasWords = false;
}

QSqlQuery& SearchIndex::statement(const QString& sql)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        QSqlQuery q(m_db.handle());
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            m_db.setError(q.lastError().text());
        it = m_statements.emplace(sql, q).first;
    }
    return it->second;
}

bool SearchIndex::available()
{
    // In a data folder only a found index is remembered: a first build may
    // lay it out in another connection at any moment, and from then on every
    // write counts. A server's layout has it or not for good.
    if (m_available == -1 || (m_available == 0 && !m_db.isServer()))
        m_available =
            m_db.hasTable(m_db.isServer() ? QStringLiteral("searchindex") : fileTable(m_part),
                          m_schema)
                ? 1
                : 0;
    return m_available == 1;
}

bool SearchIndex::hasWords()
{
    if (!m_hasWords && !m_db.isServer())
        m_hasWords = m_db.hasTable(wordTable(m_part), m_schema);
    return m_hasWords;
}

std::optional<QStringList> SearchIndex::wordsStartingWith(const QString& start, int most)
{
    if (m_db.isServer() || !hasWords())
        return std::nullopt;
    QSqlQuery& q = statement(QString("SELECT word FROM %1.%2 WHERE word >= ? AND word < ? LIMIT ?")
                                 .arg(m_schema, wordTable(m_part)));
    const char32_t last = 0x10FFFF;
    q.bindValue(0, start);
    q.bindValue(1, start + QString::fromUcs4(&last, 1));
    q.bindValue(2, most + 1);
    if (!q.exec())
        return std::nullopt;
    QStringList words;
    while (q.next())
        words << q.value(0).toString();
    q.finish();
    if (words.size() > most)
        return std::nullopt;
    return words;
}

bool SearchIndex::fillWords()
{
    if (m_db.isServer())
        return true;
    const QString vocabulary = "temp." + fileTable(m_part) + "_vocabulary";
    const bool ok =
        m_db.exec(QString("CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts5vocab(%2, %3, 'row')")
                      .arg(vocabulary, m_schema, fileTable(m_part))) &&
        m_db.exec(QString("INSERT OR IGNORE INTO %1.%2 (word) SELECT term FROM %3")
                      .arg(m_schema, wordTable(m_part), vocabulary));
    m_db.exec("DROP TABLE IF EXISTS " + vocabulary);
    return ok;
}

bool SearchIndex::putWords(const QStringList& bodies)
{
    // Only words longer than the index's own prefixes are ever looked up.
    QSet<QString> seen;
    QJsonArray words;
    for (const QString& body : bodies)
        for (const QString& w : body.split(' ', Qt::SkipEmptyParts))
            if (w.size() > SearchQuery::kIndexedPrefix && !seen.contains(w)) {
                seen.insert(w);
                words.append(w);
            }
    if (words.isEmpty())
        return true;
    QSqlQuery& q =
        statement(QString("INSERT OR IGNORE INTO %1.%2 (word) SELECT value FROM json_each(?)")
                      .arg(m_schema, wordTable(m_part)));
    q.bindValue(0, QString::fromUtf8(QJsonDocument(words).toJson(QJsonDocument::Compact)));
    if (q.exec())
        return true;
    m_db.setError(q.lastError().text());
    return false;
}

bool SearchIndex::create()
{
    if (m_db.isServer())
        return true;
    for (const QString& s : fileDdl(m_part, m_schema))
        if (!m_db.exec(s))
            return false;
    m_available = 1;
    m_hasWords = true;
    return true;
}

namespace {
// One statement for all the rows: a song's rows cost one round trip.
bool putOnServer(Database& db, const QString& part, const QList<std::pair<qint64, QString>>& rows)
{
    QVariantList binds;
    for (const auto& [ref, text] : rows)
        binds << part << ref << searchtext::normalize(text);
    const QStringList marks(rows.size(), QStringLiteral("(?, ?, ?)"));
    return db.execKept(QString("INSERT INTO searchindex (part, ref, body) VALUES %1 ON "
                               "CONFLICT (part, ref) DO UPDATE SET body = EXCLUDED.body")
                           .arg(marks.join(", ")),
                       binds);
}
} // namespace

bool SearchIndex::put(const QList<std::pair<qint64, QString>>& rows)
{
    if (rows.isEmpty() || !available())
        return true;
    if (m_db.isServer())
        return putOnServer(m_db, partName(m_part), rows);
    QSqlQuery& del = statement(QString("DELETE FROM %1 WHERE rowid = ?").arg(table()));
    QSqlQuery& ins = statement(QString("INSERT INTO %1 (rowid, body) VALUES (?, ?)").arg(table()));
    QStringList bodies;
    for (const auto& [ref, text] : rows) {
        bodies << searchtext::normalize(text);
        del.bindValue(0, ref);
        ins.bindValue(0, ref);
        ins.bindValue(1, bodies.last());
        if (!del.exec() || !ins.exec()) {
            m_db.setError((del.lastError().isValid() ? del : ins).lastError().text());
            return false;
        }
    }
    return !hasWords() || putWords(bodies);
}

bool SearchIndex::remove(qint64 from, qint64 to)
{
    if (!available())
        return true;
    if (m_db.isServer())
        return m_db.execKept("DELETE FROM searchindex WHERE part = ? AND ref BETWEEN ? AND ?",
                             {partName(m_part), from, to});
    QSqlQuery& q = statement(QString("DELETE FROM %1 WHERE rowid BETWEEN ? AND ?").arg(table()));
    q.bindValue(0, from);
    q.bindValue(1, to);
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return false;
    }
    const bool all =
        from == std::numeric_limits<qint64>::min() && to == std::numeric_limits<qint64>::max();
    return !all || !hasWords() ||
           m_db.exec(QString("DELETE FROM %1.%2").arg(m_schema, wordTable(m_part)));
}

qint64 SearchIndex::rowCount(bool* ok, std::optional<int> kind)
{
    // The FTS5 table's own row list counts without reading any text.
    const QString of =
        kind ? QStringLiteral(" %1 % ? = ?").arg(m_db.isServer() ? "ref" : "id") : QString();
    QSqlQuery q = m_db.prepare(
        m_db.isServer() ? QStringLiteral("SELECT count(*) FROM searchindex WHERE part = ?") +
                              (kind ? " AND" + of : QString())
                        : QString("SELECT count(*) FROM %1_docsize").arg(table()) +
                              (kind ? " WHERE" + of : QString()));
    if (m_db.isServer())
        q.addBindValue(partName(m_part));
    if (kind) {
        q.addBindValue(kRefsPerSong);
        q.addBindValue(*kind);
    }
    *ok = q.exec() && q.next();
    return *ok ? q.value(0).toLongLong() : 0;
}

qint64 SearchIndex::strays(const QString& dataTable, qint64 per, bool* ok)
{
    const QString data =
        m_db.isServer() ? schema::quoted(dataTable) : m_schema + '.' + schema::quoted(dataTable);
    QSqlQuery q = m_db.prepare(
        m_db.isServer()
            ? QString("SELECT count(*) FROM searchindex WHERE part = ? AND ref / ? NOT IN "
                      "(SELECT rowid FROM %1)")
                  .arg(data)
            : QString("SELECT count(*) FROM %1_docsize WHERE id / ? NOT IN (SELECT rowid FROM "
                      "%2)")
                  .arg(table(), data));
    if (m_db.isServer())
        q.addBindValue(partName(m_part));
    q.addBindValue(per);
    *ok = q.exec() && q.next();
    return *ok ? q.value(0).toLongLong() : 0;
}

QString SearchIndex::storedBody(qint64 ref, bool* found)
{
    QSqlQuery& q = statement(
        m_db.isServer() ? QStringLiteral("SELECT body FROM searchindex WHERE part = ? AND ref = ?")
                        : QString("SELECT body FROM %1 WHERE rowid = ?").arg(table()));
    int i = 0;
    if (m_db.isServer())
        q.bindValue(i++, partName(m_part));
    q.bindValue(i, ref);
    *found = q.exec() && q.next();
    const QString body = *found ? q.value(0).toString() : QString();
    q.finish();
    return body;
}

bool SearchIndex::refreshRow(qint64 rowid)
{
    if (!available())
        return true;
    QStringList columns;
    for (const QString& c : fieldsOf(m_part))
        columns << schema::quoted(c);
    QSqlQuery& q = statement(QString("SELECT %1 FROM %2 WHERE rowid = ?")
                                 .arg(columns.join(", "), schema::quoted(dataTable(m_part))));
    q.bindValue(0, rowid);
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return false;
    }
    if (!q.next()) {
        q.finish();
        return remove(rowid, rowid);
    }
    QStringList values;
    for (int c = 0; c < columns.size(); ++c)
        values << q.value(c).toString();
    q.finish();
    return put({{rowid, plainOf(values)}});
}

bool SearchIndex::refreshTable()
{
    if (!available())
        return true;
    QStringList columns;
    for (const QString& c : fieldsOf(m_part))
        columns << schema::quoted(c);
    QSqlQuery q = m_db.prepare(QString("SELECT rowid, %1 FROM %2")
                                   .arg(columns.join(", "), schema::quoted(dataTable(m_part))));
    if (!q.exec()) {
        m_db.setError(q.lastError().text());
        return false;
    }
    QList<std::pair<qint64, QString>> rows;
    while (q.next()) {
        QStringList values;
        for (int c = 1; c <= columns.size(); ++c)
            values << q.value(c).toString();
        rows.append({q.value(0).toLongLong(), plainOf(values)});
    }
    q.finish();
    // Written in pieces: a server takes a bounded number of values at once.
    bool ok = remove(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    for (qsizetype i = 0; ok && i < rows.size(); i += 500)
        ok = put(rows.mid(i, 500));
    return ok;
}

SearchIndex::State SearchIndex::state()
{
    State s;
    if (!available())
        return s;
    QSqlQuery q = m_db.prepare(
        m_db.isServer()
            ? QStringLiteral("SELECT upto, complete FROM searchstate WHERE part = ?")
            : QString("SELECT upto, complete FROM %1.searchstate WHERE part = ?").arg(m_schema));
    q.addBindValue(partName(m_part));
    if (q.exec() && q.next()) {
        s.upto = q.value(0).toLongLong();
        s.complete = q.value(1).toInt() == 1 && (m_db.isServer() || hasWords());
    }
    return s;
}

bool SearchIndex::setState(const State& state)
{
    const QString t =
        m_db.isServer() ? QStringLiteral("searchstate") : m_schema + QStringLiteral(".searchstate");
    return m_db.exec(QString("DELETE FROM %1 WHERE part = ?").arg(t), {partName(m_part)}) &&
           m_db.exec(QString("INSERT INTO %1 (part, upto, complete) VALUES (?, ?, ?)").arg(t),
                     {partName(m_part), state.upto, state.complete ? 1 : 0});
}

} // namespace quillon
