#include "songs/songstore.h"

#include "common/logging.h"
#include "common/otherrooms.h"
#include "songs/songkeytable.h"
#include "store/catalogueevents.h"
#include "store/schema.h"
#include "store/serverschema.h"
#include "store/songconstants.h"

#include <algorithm>
#include <QDate>
#include <vector>

namespace quillon {

namespace {
const QString kCountSql = QStringLiteral("SELECT count(*) FROM xtrax");
const QString kTitlesSql = QStringLiteral("SELECT songtitle FROM xtrax ORDER BY rowid");
// The same list read from the title index instead of the wide song rows
// (notes, lyrics): a fraction of the pages. The index holds each row's rowid,
// so the list is put back into table order here, which is quicker than
// letting SQLite sort it through a temporary tree.
const QString kIndexedTitlesSql =
    QStringLiteral("SELECT rowid, songtitle FROM xtrax INDEXED BY xtrax_songtitle");
const QString kSongSql =
    QStringLiteral("SELECT * FROM xtrax WHERE songtitle = ? ORDER BY rowid LIMIT 1");
} // namespace

SongStore::SongStore(const DataFolder& folder) : m_folder(folder) {}

SongStore::~SongStore()
{
    close();
}

bool SongStore::open()
{
    close();
    if (m_folder.onServer()) {
        // One database holds every table; its layout is checked on connecting.
        m_titlesFromIndex = false;
        return serverschema::open(m_db, m_folder.server());
    }
    if (!m_db.open(m_folder.songDb()))
        return false;
    if (!hasTable("main", "xtrax", m_folder.songDb()))
        return false;
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        const QString alias = QString("t%1").arg(n);
        if (!m_db.attach(m_folder.trackDb(n), alias) ||
            !hasTable(alias, schema::trackTable(n), m_folder.trackDb(n))) {
            const QString error = m_db.lastError();
            m_db.close();
            m_db.setErrorText(error);
            return false;
        }
    }
    // The key table is checked on first use, not here: counting a hundred
    // thousand rows twice is a noticeable part of the start.
    m_keyed = false;
    m_keysChecked = false;
    return true;
}

// An empty or foreign file opens as a database but lacks its table; say so
// at open rather than fail later with a confusing statement error.
bool SongStore::hasTable(const QString& schemaName, const QString& table, const QString& file)
{
    const QString before = m_db.lastError();
    const bool found = m_db.hasTable(table, schemaName);
    if (!found && m_db.lastError() != before) {
        m_db.setError(m_db.lastError(), file);
        return false;
    }
    if (!found) {
        m_db.setError(QString("no such table: %1 (the file is empty or damaged)").arg(table), file);
        return false;
    }
    return true;
}

void SongStore::close()
{
    // Prepared statements must go before their connection does.
    m_statements.clear();
    m_trackWrites.clear();
    m_indexer.reset();
    m_unprepared = KeptStatement();
    m_keyed = false;
    m_keysChecked = false;
    m_titlesFromIndex = true;
    m_db.close();
}

bool SongStore::keyed()
{
    if (!m_keysChecked && m_db.isOpen()) {
        m_keysChecked = true;
        m_keyed = prepareKeys();
    }
    return m_keyed;
}

bool SongStore::prepareKeys()
{
    // A folder made before the key table existed, or written by a program
    // that does not know it, gets it (re)built here. A read-only folder keeps
    // working without it: the check then reads all titles.
    if (!SongKeyTable::create(m_db)) {
        qCWarning(lcSongs) << "title key table unavailable, checking titles by scan";
        return false;
    }
    if (SongKeyTable::inStep(m_db))
        return true;
    qCDebug(lcSongs) << "rebuilding the title key table";
    if (!m_db.transaction())
        return false;
    if (!SongKeyTable::rebuild(m_db)) {
        m_db.rollback();
        return false;
    }
    return m_db.commit();
}

bool SongStore::takeKeyMark(int* mark)
{
    KeptStatement& q = statement(SongKeyTable::kMarkSql);
    if (!exec(q))
        return false;
    *mark = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return true;
}

bool SongStore::putKeyMark(int mark)
{
    // Stale before this write: someone else changed the songs meanwhile,
    // so the keys are checked (and rebuilt) again on next use.
    if (mark != 1)
        m_keysChecked = false;
    KeptStatement& q = statement(SongKeyTable::kSetMarkSql);
    q.bindValue(0, mark);
    return exec(q);
}

bool SongStore::fault(const QString& stage)
{
    if (m_faultInjector && m_faultInjector(stage)) {
        m_db.setError("injected failure at " + stage);
        return true;
    }
    return false;
}

bool SongStore::takenMeanwhile(const QString& title)
{
    m_titleTaken = true;
    return fail("title taken meanwhile: " + title);
}

bool SongStore::changedMeanwhile(const QString& title, bool gone)
{
    m_changedElsewhere = true;
    m_db.rollback();
    qCInfo(lcSongs) << "write refused, changed elsewhere:" << title << (gone ? "(gone)" : "");
    const QString subject = '"' + title + '"';
    m_db.setErrorText(gone ? otherrooms::goneText(subject) : otherrooms::changedText(subject));
    return false;
}

bool SongStore::stillAsRead(const QString& table, const QString& title, const QVariantMap& expected,
                            bool* rowFound)
{
    QStringList columns;
    QStringList wanted;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QStringList& known =
            table == "xtrax" ? schema::songColumns() : schema::trackColumns();
        const QString column = schema::canonicalColumn(known, it.key());
        if (column.isEmpty())
            return fail("unknown field " + it.key());
        columns << schema::quoted(column);
        wanted << (it.value().isNull() ? QString() : it.value().toString());
    }
    // Compared as the caller read them (text through the same driver), so a
    // number stored as 120.0 and shown as 120 is no change.
    KeptStatement& q =
        statement(QString("SELECT %1 FROM %2 WHERE songtitle = ? ORDER BY rowid LIMIT "
                          "1%3")
                      .arg(columns.isEmpty() ? QStringLiteral("1") : columns.join(", "), table,
                           m_db.isServer() ? QStringLiteral(" FOR UPDATE") : QString()));
    q.bindValue(0, title);
    if (!exec(q))
        return false;
    const bool found = q.next();
    if (rowFound)
        *rowFound = found;
    bool same = true;
    for (int i = 0; found && i < wanted.size(); ++i) {
        const QVariant v = q.value(i);
        same = same && (v.isNull() ? QString() : v.toString()) == wanted.at(i);
    }
    q.finish();
    return same;
}

bool SongStore::fail(const QString& technical)
{
    m_db.setError(technical);
    return false;
}

bool SongStore::exec(KeptStatement& q, const QString& file)
{
    if (&q == &m_unprepared) {
        // The statement could not be prepared; its real cause, not the
        // empty statement's own complaint, is what the user needs to read.
        m_db.setError(m_prepareError, file);
        return false;
    }
    if (q.exec())
        return true;
    m_db.setError(q.lastError().text(), file);
    return false;
}

bool SongStore::exec(QSqlQuery& q, const QString& file)
{
    if (q.exec())
        return true;
    m_db.setError(q.lastError().text(), file);
    return false;
}

KeptStatement& SongStore::statement(const QString& sql)
{
    if (auto it = m_statements.find(sql); it != m_statements.end())
        return it->second;
    KeptStatement q;
    if (!q.prepare(m_db.handle(), sql)) {
        m_prepareError = q.lastError().text();
        m_db.setError(m_prepareError);
        m_unprepared = KeptStatement();
        return m_unprepared;
    }
    return m_statements.emplace(sql, std::move(q)).first->second;
}

KeptStatement& SongStore::trackWriteStatement(int slot, int firstTrack, int count)
{
    const int key = (slot * 100 + firstTrack) * 100 + count;
    if (auto it = m_trackWrites.find(key); it != m_trackWrites.end())
        return it->second;
    QStringList sets;
    for (int i = 0; i < count; ++i)
        sets << QString("track%1 = ?").arg(firstTrack + i);
    KeptStatement q;
    if (!q.prepare(m_db.handle(), QString("UPDATE %1 SET %2 WHERE songtitle = ?")
                                      .arg(trackTableRef(slot), sets.join(", ")))) {
        m_prepareError = q.lastError().text();
        m_db.setError(m_prepareError, m_folder.trackDb(slot));
        m_unprepared = KeptStatement();
        return m_unprepared;
    }
    return m_trackWrites.emplace(key, std::move(q)).first->second;
}

QString SongStore::trackTableRef(int slot) const
{
    if (m_db.isServer())
        return schema::trackTable(slot);
    return QString("t%1.%2").arg(slot).arg(schema::trackTable(slot));
}

bool SongStore::revive()
{
    // A broken server connection is opened again by the next action; what
    // failed before was reported and rolled back.
    if (m_db.isServer() && m_db.connectionLost()) {
        qCInfo(lcSongs) << "connecting to the catalogue server again";
        return open();
    }
    return true;
}

QString SongStore::titleKey(const QString& title)
{
    return title.trimmed().toUpper();
}

int SongStore::count()
{
    revive();
    KeptStatement& q = statement(kCountSql);
    const int n = exec(q) && q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}

QStringList SongStore::titles()
{
    revive();
    QStringList result;
    if (m_titlesFromIndex) {
        KeptStatement& q = statement(kIndexedTitlesSql);
        if (q.exec()) {
            std::vector<std::pair<qint64, QString>> rows;
            while (q.next())
                rows.emplace_back(q.value(0).toLongLong(), q.value(1).toString());
            q.finish();
            std::sort(rows.begin(), rows.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
            result.reserve(qsizetype(rows.size()));
            for (auto& row : rows)
                result << std::move(row.second);
            return result;
        }
        // A folder whose song table lacks the index reads the rows themselves.
        m_titlesFromIndex = false;
    }
    KeptStatement& q = statement(kTitlesSql);
    if (exec(q))
        while (q.next())
            result << q.value(0).toString();
    q.finish();
    return result;
}

bool SongStore::titleExists(const QString& title, const QString& ignore)
{
    revive();
    const QString key = titleKey(title);
    // Every title with this key has the key of `ignore` too: nothing else collides.
    if (!ignore.isNull() && titleKey(ignore) == key)
        return false;
    if (keyed()) {
        KeptStatement& q = statement(SongKeyTable::kLookupSql);
        q.bindValue(0, key);
        if (exec(q)) {
            const bool found = q.next();
            q.finish();
            return found;
        }
    }
    for (const QString& t : titles())
        if (titleKey(t) == key)
            return true;
    return false;
}

std::optional<SongRecord> SongStore::song(const QString& title)
{
    revive();
    KeptStatement& q = statement(kSongSql);
    q.bindValue(0, title);
    std::optional<SongRecord> result;
    if (exec(q) && q.next())
        result = SongRecord(q.record());
    q.finish();
    return result;
}

QStringList SongStore::titlesOnMedium(const QString& medium)
{
    revive();
    QStringList result;
    KeptStatement& q =
        statement("SELECT songtitle FROM xtrax WHERE \"Bandnummer\" = ? ORDER BY rowid");
    q.bindValue(0, medium);
    if (exec(q))
        while (q.next())
            result << q.value(0).toString();
    q.finish();
    return result;
}

bool SongStore::create(const NewSong& song)
{
    revive();
    m_titleTaken = false;
    // Checked before the transaction: a rebuild of the key table is one of its own.
    const bool useKeys = keyed();
    if (!m_db.transaction())
        return false;
    int mark = 0;
    QSqlRecord inserted;
    bool ok = !useKeys || takeKeyMark(&mark);
    if (ok) {
        KeptStatement& q = statement(
            "INSERT INTO xtrax (songtitle, text, composer, publisher, firstdate, compodate, "
            "notiz1, \"Bandnummer\", \"BandzeitVon\", \"BandzeitBis\", \"BandZählWerkVon\", "
            "\"BandZählWerkBis\", \"NoiseReduction\", bandmasch, \"SMPTEZeit\", \"SmpteType\", "
            "notiz2, \"SongInfoNote\", recordcomp, tapeinfonote, \"BandType\") "
            "VALUES (?, ?, ?, '', ?, ?, '', '0', '00:00:00', '00:00:00', '0', '0', '', '', "
            "'00:00:00:00 ', '', '', '', '', '', '') RETURNING rowid AS indexrowid, *");
        q.bindValue(0, song.title);
        q.bindValue(1, song.words);
        q.bindValue(2, song.composer);
        q.bindValue(3, QDate::currentDate());
        q.bindValue(4, song.compositionDate);
        // The row as stored (defaults and all) makes its index rows.
        ok = !fault("song") && exec(q) && q.next();
        if (ok)
            inserted = q.record();
        q.finish();
    }
    if (ok && useKeys) {
        KeptStatement& q = statement(SongKeyTable::kInsertSql);
        q.bindValue(0, titleKey(song.title));
        q.bindValue(1, song.title);
        ok = exec(q);
        // Another client took the title since it was checked.
        if (ok && q.numRowsAffected() < 1)
            ok = takenMeanwhile(song.title);
    }
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        static const QString columns = [] {
            QStringList c;
            for (int k = 1; k <= 48; ++k)
                c << QString("track%1").arg(k);
            c << "songtitle";
            return c.join(", ");
        }();
        static const QString marks = [] {
            QString m = QString("?, ").repeated(49);
            m.chop(2);
            return m;
        }();
        KeptStatement& q = statement(
            QString("INSERT INTO %1 (%2) VALUES (%3)").arg(trackTableRef(n), columns, marks));
        for (int k = 1; k <= 48; ++k)
            q.bindValue(k - 1, generatedTrackText(song.title, n, k));
        q.bindValue(48, song.title);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
    if (ok && useKeys)
        ok = putKeyMark(mark);
    ok = ok && m_indexer.created(inserted);
    ok = ok && CatalogueEvents::announce(m_db, CatalogueEvents::kSongs, song.title);
    if (ok && fault("commit"))
        ok = false;
    if (!ok) {
        m_db.rollback();
        return false;
    }
    if (!m_db.commit())
        return false;
    qCDebug(lcSongs) << "created song" << song.title;
    return true;
}

bool SongStore::updateFields(const QString& title, const QVariantMap& fields,
                             const QVariantMap& expected)
{
    return rename(title, title, fields, expected);
}

bool SongStore::rename(const QString& oldTitle, const QString& newTitle, const QVariantMap& fields,
                       const QVariantMap& expected)
{
    revive();
    m_titleTaken = false;
    m_changedElsewhere = false;
    QStringList sets{"songtitle = ?"};
    QVariantList values{newTitle};
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QString column = schema::canonicalColumn(schema::songColumns(), it.key());
        if (column.isEmpty())
            return fail("unknown song field " + it.key());
        if (column == "songtitle")
            continue;
        sets << schema::quoted(column) + " = ?";
        values << it.value();
    }
    // Checked before the transaction: a rebuild of the key table is one of its own.
    const bool useKeys = keyed() && oldTitle != newTitle;
    if (!m_db.transaction())
        return false;
    int mark = 0;
    bool ok = !useKeys || takeKeyMark(&mark);
    if (ok && !expected.isEmpty()) {
        bool found = false;
        if (!stillAsRead("xtrax", oldTitle, expected, &found))
            return found ? changedMeanwhile(oldTitle) : (m_db.rollback(), false);
        // Deleted or renamed meanwhile: the caller's copy is all there is.
        if (!found)
            return changedMeanwhile(oldTitle, true);
    }
    if (ok) {
        KeptStatement& q =
            statement(QString("UPDATE xtrax SET %1 WHERE songtitle = ?").arg(sets.join(", ")));
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        q.bindValue(int(values.size()), oldTitle);
        ok = !fault("song") && exec(q);
        if (ok && q.numRowsAffected() < 1)
            ok = fail("song not found: " + oldTitle);
    }
    if (ok && useKeys) {
        KeptStatement& del = statement(SongKeyTable::kDeleteSql);
        del.bindValue(0, titleKey(oldTitle));
        del.bindValue(1, oldTitle);
        ok = exec(del);
        if (ok) {
            KeptStatement& ins = statement(SongKeyTable::kInsertSql);
            ins.bindValue(0, titleKey(newTitle));
            ins.bindValue(1, newTitle);
            ok = exec(ins);
            if (ok && ins.numRowsAffected() < 1 && titleKey(oldTitle) != titleKey(newTitle))
                ok = takenMeanwhile(newTitle);
        }
        ok = ok && putKeyMark(mark);
    }
    for (int n = 1; ok && n <= schema::kTrackSlots && oldTitle != newTitle; ++n) {
        KeptStatement& q = statement(
            QString("UPDATE %1 SET songtitle = ? WHERE songtitle = ?").arg(trackTableRef(n)));
        q.bindValue(0, newTitle);
        q.bindValue(1, oldTitle);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
    ok = ok && m_indexer.details(newTitle);
    // Others showing the song follow a new title.
    ok = ok && CatalogueEvents::announce(
                   m_db, oldTitle == newTitle ? CatalogueEvents::kSong : CatalogueEvents::kSongs,
                   oldTitle == newTitle ? oldTitle : oldTitle + '\t' + newTitle);
    if (ok && fault("commit"))
        ok = false;
    if (!ok) {
        m_db.rollback();
        return false;
    }
    return m_db.commit();
}

bool SongStore::remove(const QString& title)
{
    revive();
    // Checked before the transaction: a rebuild of the key table is one of its own.
    const bool useKeys = keyed();
    if (!m_db.transaction())
        return false;
    int mark = 0;
    bool ok = !useKeys || takeKeyMark(&mark);
    const QList<qint64> indexed = ok ? m_indexer.rowidsOf(title, &ok) : QList<qint64>();
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        KeptStatement& q =
            statement(QString("DELETE FROM %1 WHERE songtitle = ?").arg(trackTableRef(n)));
        q.bindValue(0, title);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
    if (ok) {
        KeptStatement& q = statement("DELETE FROM xtrax WHERE songtitle = ?");
        q.bindValue(0, title);
        ok = !fault("song") && exec(q);
    }
    if (ok && useKeys) {
        KeptStatement& q = statement(SongKeyTable::kDeleteSql);
        q.bindValue(0, titleKey(title));
        q.bindValue(1, title);
        ok = exec(q) && putKeyMark(mark);
    }
    ok = ok && m_indexer.removed(indexed);
    ok = ok && CatalogueEvents::announce(m_db, CatalogueEvents::kSongs, title);
    if (ok && fault("commit"))
        ok = false;
    if (!ok) {
        m_db.rollback();
        return false;
    }
    if (!m_db.commit())
        return false;
    qCDebug(lcSongs) << "deleted song" << title;
    return true;
}

QStringList SongStore::trackRow(const QString& title, int slot, bool* found)
{
    revive();
    QStringList tracks;
    tracks.reserve(schema::kTracksPerRow);
    KeptStatement& q =
        statement(QString("SELECT * FROM %1 WHERE songtitle = ? ORDER BY rowid LIMIT 1")
                      .arg(trackTableRef(slot)));
    q.bindValue(0, title);
    const bool have = exec(q, m_folder.trackDb(slot)) && q.next();
    if (found)
        *found = have;
    for (int k = 0; k < schema::kTracksPerRow; ++k)
        tracks << (have ? q.value(k).toString() : QString());
    q.finish();
    return tracks;
}

bool SongStore::writeTracks(const QString& title, int slot, int firstTrack,
                            const QStringList& texts, const QStringList& expected)
{
    revive();
    m_changedElsewhere = false;
    if (slot < 1 || slot > schema::kTrackSlots || firstTrack < 1 ||
        firstTrack + texts.size() - 1 > schema::kTracksPerRow ||
        (!expected.isEmpty() && expected.size() != texts.size()))
        return fail("track out of range");
    if (!m_db.transaction())
        return false;
    if (!expected.isEmpty()) {
        QVariantMap asRead;
        for (int i = 0; i < expected.size(); ++i)
            asRead.insert(QString("track%1").arg(firstTrack + i), expected.at(i));
        bool found = false;
        if (!stillAsRead(trackTableRef(slot), title, asRead, &found))
            return found ? changedMeanwhile(title) : (m_db.rollback(), false);
        // Text typed for a song another room has deleted meanwhile must not
        // become a track row without its song.
        if (!found) {
            QVariantMap none;
            bool songThere = false;
            if (!stillAsRead("xtrax", title, none, &songThere))
                return m_db.rollback(), false;
            if (!songThere)
                return changedMeanwhile(title, true);
        }
    }
    KeptStatement& q = trackWriteStatement(slot, firstTrack, int(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        q.bindValue(i, texts.at(i));
    q.bindValue(int(texts.size()), title);
    bool ok = exec(q, m_folder.trackDb(slot));
    if (ok && q.numRowsAffected() < 1) {
        // The song lost its row in this slot; put it back rather than drop the text.
        qCWarning(lcSongs) << "track row missing, recreating" << slot << title;
        QStringList columns{"songtitle"};
        QString marks = "?";
        for (int i = 0; i < texts.size(); ++i) {
            columns << QString("track%1").arg(firstTrack + i);
            marks += ", ?";
        }
        QSqlQuery ins = m_db.prepare(QString("INSERT INTO %1 (%2) VALUES (%3)")
                                         .arg(trackTableRef(slot), columns.join(", "), marks));
        ins.addBindValue(title);
        for (const QString& t : texts)
            ins.addBindValue(t);
        ok = exec(ins, m_folder.trackDb(slot));
    }
    ok = ok && m_indexer.slot(title, slot);
    ok = ok && CatalogueEvents::announce(m_db, CatalogueEvents::kSong, title);
    if (!ok) {
        m_db.rollback();
        return false;
    }
    return m_db.commit();
}

QList<SongStore::TitleRow> SongStore::titlesAfter(qint64 afterRowid, int limit, bool* ok)
{
    revive();
    QList<TitleRow> page;
    bool read = true;
    if (limit > 0) {
        KeptStatement& q =
            statement("SELECT rowid, songtitle FROM xtrax WHERE rowid > ? ORDER BY rowid LIMIT ?");
        q.bindValue(0, afterRowid);
        q.bindValue(1, limit);
        read = exec(q);
        if (read) {
            page.reserve(limit);
            while (q.next()) {
                const QVariant title = q.value(1);
                page.append(
                    {q.value(0).toLongLong(), title.isNull() ? QString("") : title.toString()});
            }
            // next() also ends on a read error; that must not pass for the end of the table.
            if (q.lastError().isValid()) {
                m_db.setError(q.lastError().text());
                read = false;
            }
        }
        q.finish();
    }
    if (ok)
        *ok = read;
    return page;
}

} // namespace quillon
