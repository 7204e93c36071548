#include "songs/songstore.h"

#include "songs/songconstants.h"
#include "store/logging.h"
#include "store/schema.h"

#include <QDate>

namespace quillon {

SongStore::SongStore(const DataFolder& folder) : m_folder(folder) {}

SongStore::~SongStore()
{
    close();
}

bool SongStore::open()
{
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
    return true;
}

// An empty or foreign file opens as a database but lacks its table; say so
// at open rather than fail later with a confusing statement error.
bool SongStore::hasTable(const QString& schemaName, const QString& table, const QString& file)
{
    QSqlQuery q(m_db.handle());
    q.prepare(QString("SELECT count(*) FROM %1.sqlite_master WHERE type = 'table' AND name = ? "
                      "COLLATE NOCASE")
                  .arg(schemaName));
    q.addBindValue(table);
    if (!q.exec() || !q.next()) {
        m_db.setError(q.lastError().text(), file);
        return false;
    }
    if (q.value(0).toInt() == 0) {
        m_db.setError(QString("no such table: %1 (the file is empty or damaged)").arg(table), file);
        return false;
    }
    return true;
}

void SongStore::close()
{
    m_db.close();
}

bool SongStore::fault(const QString& stage)
{
    if (m_faultInjector && m_faultInjector(stage)) {
        m_db.setError("injected failure at " + stage);
        return true;
    }
    return false;
}

bool SongStore::fail(const QString& technical)
{
    m_db.setError(technical);
    return false;
}

bool SongStore::exec(QSqlQuery& q, const QString& file)
{
    if (q.exec())
        return true;
    m_db.setError(q.lastError().text(), file);
    return false;
}

QString SongStore::trackTableRef(int slot) const
{
    return QString("t%1.%2").arg(slot).arg(schema::trackTable(slot));
}

QString SongStore::titleKey(const QString& title)
{
    return title.trimmed().toUpper();
}

int SongStore::count()
{
    QSqlQuery q = m_db.prepare("SELECT count(*) FROM xtrax");
    if (!exec(q) || !q.next())
        return 0;
    return q.value(0).toInt();
}

QStringList SongStore::titles()
{
    QStringList result;
    QSqlQuery q = m_db.prepare("SELECT songtitle FROM xtrax ORDER BY rowid");
    q.setForwardOnly(true);
    if (exec(q))
        while (q.next())
            result << q.value(0).toString();
    return result;
}

bool SongStore::titleExists(const QString& title, const QString& ignore)
{
    const QString key = titleKey(title);
    const QString ignoreKey = ignore.isNull() ? QString() : titleKey(ignore);
    for (const QString& t : titles()) {
        const QString k = titleKey(t);
        if (k == key && (ignore.isNull() || k != ignoreKey))
            return true;
    }
    return false;
}

std::optional<SongRecord> SongStore::song(const QString& title)
{
    QSqlQuery q = m_db.prepare("SELECT * FROM xtrax WHERE songtitle = ? ORDER BY rowid LIMIT 1");
    q.addBindValue(title);
    if (!exec(q) || !q.next())
        return std::nullopt;
    return SongRecord(q.record());
}

QStringList SongStore::titlesOnMedium(const QString& medium)
{
    QStringList result;
    QSqlQuery q = m_db.prepare("SELECT songtitle FROM xtrax WHERE Bandnummer = ? ORDER BY rowid");
    q.addBindValue(medium);
    if (exec(q))
        while (q.next())
            result << q.value(0).toString();
    return result;
}

bool SongStore::create(const NewSong& song)
{
    if (!m_db.transaction())
        return false;
    bool ok = true;
    {
        QSqlQuery q = m_db.prepare(
            "INSERT INTO xtrax (songtitle, text, composer, publisher, firstdate, compodate, "
            "notiz1, Bandnummer, BandzeitVon, BandzeitBis, \"BandZählWerkVon\", "
            "\"BandZählWerkBis\", NoiseReduction, bandmasch, SMPTEZeit, SmpteType, notiz2, "
            "SongInfoNote, recordcomp, tapeinfonote, BandType) "
            "VALUES (?, ?, ?, '', ?, ?, '', '0', '00:00:00', '00:00:00', '0', '0', '', '', "
            "'00:00:00:00 ', '', '', '', '', '', '')");
        q.addBindValue(song.title);
        q.addBindValue(song.words);
        q.addBindValue(song.composer);
        q.addBindValue(QDate::currentDate());
        q.addBindValue(song.compositionDate);
        ok = !fault("song") && exec(q);
    }
    QStringList columns;
    for (int k = 1; k <= 48; ++k)
        columns << QString("track%1").arg(k);
    columns << "songtitle";
    QString marks = QString("?, ").repeated(columns.size());
    marks.chop(2);
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        QSqlQuery q = m_db.prepare(QString("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(trackTableRef(n), columns.join(", "), marks));
        for (int k = 1; k <= 48; ++k)
            q.bindValue(k - 1, generatedTrackText(song.title, n, k));
        q.bindValue(48, song.title);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
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

bool SongStore::updateFields(const QString& title, const QVariantMap& fields)
{
    return rename(title, title, fields);
}

bool SongStore::rename(const QString& oldTitle, const QString& newTitle, const QVariantMap& fields)
{
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
    if (!m_db.transaction())
        return false;
    bool ok = true;
    {
        QSqlQuery q =
            m_db.prepare(QString("UPDATE xtrax SET %1 WHERE songtitle = ?").arg(sets.join(", ")));
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.addBindValue(oldTitle);
        ok = !fault("song") && exec(q);
        if (ok && q.numRowsAffected() < 1)
            ok = fail("song not found: " + oldTitle);
    }
    for (int n = 1; ok && n <= schema::kTrackSlots && oldTitle != newTitle; ++n) {
        QSqlQuery q = m_db.prepare(
            QString("UPDATE %1 SET songtitle = ? WHERE songtitle = ?").arg(trackTableRef(n)));
        q.addBindValue(newTitle);
        q.addBindValue(oldTitle);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
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
    if (!m_db.transaction())
        return false;
    bool ok = true;
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        QSqlQuery q =
            m_db.prepare(QString("DELETE FROM %1 WHERE songtitle = ?").arg(trackTableRef(n)));
        q.addBindValue(title);
        ok = !fault(QString("track%1").arg(n)) && exec(q, m_folder.trackDb(n));
    }
    if (ok) {
        QSqlQuery q = m_db.prepare("DELETE FROM xtrax WHERE songtitle = ?");
        q.addBindValue(title);
        ok = !fault("song") && exec(q);
    }
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
    QStringList tracks;
    tracks.reserve(schema::kTracksPerRow);
    QSqlQuery q =
        m_db.prepare(QString("SELECT * FROM %1 WHERE songtitle = ? ORDER BY rowid LIMIT 1")
                         .arg(trackTableRef(slot)));
    q.addBindValue(title);
    const bool have = exec(q, m_folder.trackDb(slot)) && q.next();
    if (found)
        *found = have;
    for (int k = 0; k < schema::kTracksPerRow; ++k)
        tracks << (have ? q.value(k).toString() : QString());
    return tracks;
}

bool SongStore::writeTracks(const QString& title, int slot, int firstTrack,
                            const QStringList& texts)
{
    if (slot < 1 || slot > schema::kTrackSlots || firstTrack < 1 ||
        firstTrack + texts.size() - 1 > schema::kTracksPerRow)
        return fail("track out of range");
    QStringList sets;
    for (int i = 0; i < texts.size(); ++i)
        sets << QString("track%1 = ?").arg(firstTrack + i);
    if (!m_db.transaction())
        return false;
    QSqlQuery q = m_db.prepare(
        QString("UPDATE %1 SET %2 WHERE songtitle = ?").arg(trackTableRef(slot), sets.join(", ")));
    for (const QString& t : texts)
        q.addBindValue(t);
    q.addBindValue(title);
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
    if (!ok) {
        m_db.rollback();
        return false;
    }
    return m_db.commit();
}

} // namespace quillon
