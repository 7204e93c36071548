#include "maintenance/integrityrepair.h"

#include "maintenance/searchcheck.h"

#include "common/logging.h"
#include "maintenance/stylefiles.h"
#include "maintenance/titlechecks.h"
#include "songs/songkeytable.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/datainstaller.h"
#include "store/plainfile.h"
#include "store/schema.h"
#include "store/titlerows.h"

#include <QFileInfo>
#include <QSet>

namespace quillon {

namespace {

QString name(const QString& path)
{
    return QFileInfo(path).fileName();
}

// A track table as the repair's connection names it: attached under its
// slot in a folder, as it is on a server.
QString trackRef(const Database& db, int slot)
{
    if (db.isServer())
        return schema::trackTable(slot);
    return QString("t%1.%2").arg(slot).arg(schema::trackTable(slot));
}

// The rows of the song table and the ten track tables, read through the one
// connection that also writes them, so the repair sees its own changes.
bool readSnapshot(Database& db, TitleSnapshot& snap, QString* error)
{
    if (!TitleSnapshot::readTable(db.handle(), "xtrax", &snap.songs, error))
        return false;
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        snap.haveSlot[n] =
            TitleSnapshot::readTable(db.handle(), trackRef(db, n), &snap.tracks[n], error);
        if (!snap.haveSlot[n])
            return false;
    }
    return true;
}

// The song table's columns quoted, in the order of the values below.
QString recoveredSongColumns()
{
    QStringList quoted;
    for (const char* c : {"songtitle",      "text",         "composer",        "publisher",
                          "firstdate",      "compodate",    "notiz1",          "Bandnummer",
                          "BandzeitVon",    "BandzeitBis",  "BandZählWerkVon", "BandZählWerkBis",
                          "NoiseReduction", "bandmasch",    "SMPTEZeit",       "SmpteType",
                          "notiz2",         "SongInfoNote", "recordcomp",      "tapeinfonote",
                          "BandType"})
        quoted << schema::quoted(QString::fromUtf8(c));
    return quoted.join(", ");
}

} // namespace

QString IntegrityRepair::uniqueTitle(const QString& base, const QSet<QString>& usedKeys)
{
    const QString start = base.trimmed().left(kMaxTitle).trimmed();
    if (!start.isEmpty() && !usedKeys.contains(SongStore::titleKey(start)))
        return start;
    for (int k = 2;; ++k) {
        const QString suffix = QString(" (%1)").arg(k);
        const QString candidate = start.left(kMaxTitle - suffix.size()).trimmed() + suffix;
        if (!usedKeys.contains(SongStore::titleKey(candidate)))
            return candidate;
    }
}

RepairResult IntegrityRepair::run()
{
    RepairResult result;
    // A server's tables are laid out by quillon-migrate and cannot be
    // altered by the program's login; only their rows are repaired here.
    if (m_folder.onServer()) {
        repairRows(result);
        repairSearchIndex(result);
        qCInfo(lcStore) << "repair on the server:" << result.actions.size() << "actions,"
                        << result.failures.size() << "failures";
        return result;
    }
    layOutEmptyFiles(result);
    repairColumns(result);
    const InstallReport installed = ensureDataFolder(m_folder);
    for (const QString& file : installed.created)
        result.actions << QString("%1 was missing and has been laid out again.").arg(name(file));
    repairRows(result);
    repairDevices(result);
    repairNotebook(result);
    repairStyles(result);
    repairSearchIndex(result);
    qCInfo(lcStore) << "repair:" << result.actions.size() << "actions," << result.failures.size()
                    << "failures";
    return result;
}

void IntegrityRepair::repairSearchIndex(RepairResult& result)
{
    // Rows repaired here did not go through the stores, so the index no
    // longer follows them; an index that disagreed is built anew as well.
    // A folder whose index was never built keeps it for its first build.
    if (!searchcheck::present(m_folder) ||
        (result.actions.isEmpty() && searchcheck::check(m_folder, false).isEmpty()))
        return;
    QString error;
    if (searchcheck::rebuild(m_folder, &error))
        result.actions << QStringLiteral("The search index has been built anew.");
    else
        result.failures << "The search index could not be built anew: " + error;
}

void IntegrityRepair::layOutEmptyFiles(RepairResult& result)
{
    QList<QPair<QString, QStringList>> files{{m_folder.songDb(), schema::songDatabaseDdl()}};
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        files.append({m_folder.trackDb(n), schema::trackDatabaseDdl(n)});
    files.append({m_folder.tapeDb(), schema::tapeDatabaseDdl()});
    files.append({m_folder.recdevDb(), schema::recdevDatabaseDdl()});
    files.append({m_folder.note1Db(), schema::note1DatabaseDdl()});
    for (const auto& [path, ddl] : files) {
        if (entryType(path) != EntryType::Regular)
            continue; // missing (laid out below) or not a plain file (never written)
        Database db;
        if (!db.open(path))
            continue; // damaged: the check reports it, a backup restores it
        QSqlQuery q(db.handle());
        if (!q.exec("SELECT count(*) FROM sqlite_master") || !q.next() || q.value(0).toInt() != 0)
            continue;
        q = QSqlQuery();
        bool ok = db.transaction();
        for (const QString& statement : ddl)
            ok = ok && db.exec(statement);
        ok = ok && db.commit();
        if (ok)
            result.actions << QString("%1 was empty; its table has been laid out.").arg(name(path));
        else
            result.failures << db.lastError();
    }
}

void IntegrityRepair::repairColumns(RepairResult& result)
{
    struct Table {
        QString path;
        QString table;
        const QStringList* columns;
    };
    QList<Table> tables{{m_folder.songDb(), "xtrax", &schema::songColumns()}};
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        tables.append({m_folder.trackDb(n), schema::trackTable(n), &schema::trackColumns()});
    tables.append({m_folder.tapeDb(), "Tape", &schema::tapeColumns()});
    tables.append({m_folder.recdevDb(), "recdev", &schema::recdevColumns()});
    tables.append({m_folder.note1Db(), "note1", &schema::note1Columns()});
    for (const Table& t : tables) {
        Database db;
        if (entryType(t.path) != EntryType::Regular || !db.open(t.path))
            continue;
        QStringList actual;
        {
            QSqlQuery q(db.handle());
            if (!q.exec(QString("PRAGMA table_info(%1)").arg(schema::quoted(t.table))))
                continue;
            while (q.next())
                actual << q.value(1).toString();
        }
        if (actual.isEmpty())
            continue; // no such table: laid out or reported elsewhere
        const schema::ColumnDiff diff = schema::compareColumns(t.table, *t.columns, actual);
        if (!diff.repairable())
            continue; // foreign or misplaced columns: a backup restores the file
        // Missing columns are added empty, at the end, in their own order:
        // nothing stored is touched.
        bool ok = db.transaction();
        for (const QString& column : diff.missing)
            ok = ok && db.exec(QString("ALTER TABLE %1 ADD COLUMN %2 %3")
                                   .arg(schema::quoted(t.table), schema::quoted(column),
                                        schema::columnType(t.table, column)));
        ok = ok && db.commit();
        if (ok) {
            result.actions << QString("%1: the column(s) %2 were added to table %3.")
                                  .arg(name(t.path), diff.missing.join(", "), t.table);
        } else {
            db.rollback();
            result.failures << db.lastError();
        }
    }
}

void IntegrityRepair::repairRows(RepairResult& result)
{
    Database db;
    if (!m_folder.openCatalogue(db, m_folder.songDb())) {
        result.failures << db.lastError();
        return;
    }
    for (int n = 1; !db.isServer() && n <= schema::kTrackSlots; ++n) {
        if (!db.attach(m_folder.trackDb(n), QString("t%1").arg(n))) {
            result.failures << db.lastError();
            return;
        }
    }
    // Everything below commits as one transaction across the eleven files,
    // or the server's tables.
    QStringList actions;
    auto failed = [&](const QString& why) {
        db.rollback();
        result.failures << (why.isEmpty() ? db.lastError() : why);
    };
    auto unreadable = [&](const QString& why) {
        failed(db.isServer() ? describeServerError(db.server(), why)
                             : describeStoreError(m_folder.songDb(), why));
    };
    if (!db.transaction())
        return failed({});
    // Other clients of a server keep reading meanwhile, but write only
    // after the repair: what it read stays what it repairs.
    QStringList locked;
    for (const QString& t :
         {QStringLiteral("xtrax"), QStringLiteral("songkey"), QStringLiteral("songkeystate")})
        locked << schema::quoted(t);
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        locked << schema::quoted(schema::trackTable(n));
    if (db.isServer() &&
        !db.exec(QString("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(locked.join(", "))))
        return failed({});
    TitleSnapshot snap;
    QString error;
    if (!readSnapshot(db, snap, &error))
        return unreadable(error);
    // A server's keys are rebuilt, too, when they drifted from the titles:
    // nothing else there would ever rebuild them.
    bool keysDrifted = false;
    if (db.isServer()) {
        const std::optional<KeyTableDiff> keys = titlechecks::compareKeyTable(db, &error);
        if (!keys)
            return unreadable(error);
        keysDrifted = !keys->clean();
    }

    // 1. Titles: the first song of each title keeps it; empty titles and later
    //    duplicates get a new one, and take their own track rows along (the
    //    i-th song of an exact title owns the i-th row of that title).
    QSet<QString> used;
    for (const TitleRow& song : snap.songs)
        if (!song.text().trimmed().isEmpty())
            used.insert(SongStore::titleKey(song.text()));
    QSet<QString> keptKeys;
    QHash<QString, int> occurrence;
    QHash<QString, QList<qint64>> rowsOf[11];
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        rowsOf[n] = TitleSnapshot::byExactTitle(snap.tracks[n]);
    for (const TitleRow& song : snap.songs) {
        const int index = occurrence[song.exactKey()]++;
        const QString key = SongStore::titleKey(song.text());
        const bool empty = song.text().trimmed().isEmpty();
        if (!empty && !keptKeys.contains(key)) {
            keptKeys.insert(key);
            continue;
        }
        const QString title = uniqueTitle(empty ? QString("Untitled song") : song.text(), used);
        used.insert(SongStore::titleKey(title));
        if (!db.exec("UPDATE xtrax SET songtitle = ? WHERE rowid = ?", {title, song.rowid}))
            return failed({});
        for (int n = 1; n <= schema::kTrackSlots; ++n) {
            const QList<qint64> rows = rowsOf[n].value(song.exactKey());
            if (index < rows.size() &&
                !db.exec(
                    QString("UPDATE %1 SET songtitle = ? WHERE rowid = ?").arg(trackRef(db, n)),
                    {title, rows.at(index)}))
                return failed({});
        }
        actions << QString("The song \"%1\" now has the title \"%2\".").arg(song.text(), title);
    }
    if (!readSnapshot(db, snap, &error))
        return unreadable(error);

    // 2. Track rows: add the missing ones empty, collect those without a song
    //    (and second rows of one song) for recovery.
    const QHash<QString, QList<qint64>> songs = TitleSnapshot::byExactTitle(snap.songs);
    QStringList orphanOrder;
    QHash<QString, QList<qint64>> orphans[11];
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        const QHash<QString, QList<qint64>> rows = TitleSnapshot::byExactTitle(snap.tracks[n]);
        for (const TitleRow& song : snap.songs) {
            if (rows.value(song.exactKey()).isEmpty()) {
                if (!db.exec(QString("INSERT INTO %1 (songtitle) VALUES (?)").arg(trackRef(db, n)),
                             {song.title}))
                    return failed({});
                actions << QString("%1: an empty track row was added for \"%2\".")
                               .arg(db.isServer() ? "table " + schema::trackTable(n)
                                                  : name(m_folder.trackDb(n)),
                                    song.text());
            }
        }
        for (const TitleRow& row : snap.tracks[n]) {
            const QList<qint64> group = rows.value(row.exactKey());
            if (songs.contains(row.exactKey()) && group.first() == row.rowid)
                continue; // the row its song reads
            if (!orphanOrder.contains(row.exactKey()))
                orphanOrder << row.exactKey();
            orphans[n][row.exactKey()].append(row.rowid);
        }
    }

    // 3. Recovery: the i-th stray row of a title in each slot goes to the i-th
    //    recovered song of that title, which gets empty rows where it has none.
    for (const QString& key : orphanOrder) {
        const QString oldTitle = key.startsWith('=') ? key.mid(1) : QString();
        qsizetype songsNeeded = 0;
        for (int n = 1; n <= schema::kTrackSlots; ++n)
            songsNeeded = std::max(songsNeeded, orphans[n].value(key).size());
        for (qsizetype i = 0; i < songsNeeded; ++i) {
            const QString base = oldTitle.trimmed().isEmpty() ? QString("Recovered tracks")
                                                              : "Recovered " + oldTitle.trimmed();
            const QString title = uniqueTitle(base, used);
            used.insert(SongStore::titleKey(title));
            const QString note =
                QString("Recovered by the data check on %1 from track rows titled \"%2\" that "
                        "had no song of their own.")
                    .arg(m_today.toString("MM-dd-yyyy"), oldTitle);
            // The date as text, as the file stores a bound date.
            if (!db.exec(QString("INSERT INTO xtrax (%1) VALUES (?, '', '', '', ?, '', ?, '0', "
                                 "'00:00:00', '00:00:00', '0', '0', '', '', '00:00:00:00 ', '', "
                                 "'', '', '', '', '')")
                             .arg(recoveredSongColumns()),
                         {title, m_today.toString(Qt::ISODate), note}))
                return failed({});
            for (int n = 1; n <= schema::kTrackSlots; ++n) {
                const QList<qint64> rows = orphans[n].value(key);
                const bool ok =
                    i < rows.size()
                        ? db.exec(QString("UPDATE %1 SET songtitle = ? WHERE rowid = ?")
                                      .arg(trackRef(db, n)),
                                  {title, rows.at(i)})
                        : db.exec(
                              QString("INSERT INTO %1 (songtitle) VALUES (?)").arg(trackRef(db, n)),
                              {title});
                if (!ok)
                    return failed({});
            }
            actions << QString("Track rows titled \"%1\" without a song are kept as the song "
                               "\"%2\".")
                           .arg(oldTitle, title);
        }
    }
    if (keysDrifted)
        actions << "The title keys were rebuilt from the titles.";
    // Titles changed or songs were added: the title keys must say so in the
    // same transaction, or a second song of a repaired title would pass.
    if (!actions.isEmpty() && db.hasTable("songkey") && !SongKeyTable::rebuild(db))
        return failed({});
    if (!db.commit())
        return failed({});
    result.actions << actions;
}

void IntegrityRepair::repairDevices(RepairResult& result)
{
    Database db;
    if (!QFileInfo::exists(m_folder.recdevDb()) || !db.open(m_folder.recdevDb()))
        return;
    QSqlQuery q(db.handle());
    if (!q.exec("SELECT name FROM recdev"))
        return;
    QSet<QString> names;
    int rows = 0;
    while (q.next()) {
        names.insert(q.value(0).toString().trimmed().toUpper());
        ++rows;
    }
    q = QSqlQuery();
    if (rows >= schema::kTrackSlots)
        return;
    bool ok = db.transaction();
    for (int slot = rows + 1; ok && slot <= schema::kTrackSlots; ++slot) {
        QString device = QString("Device %1").arg(slot);
        for (int k = 2; names.contains(device.toUpper()); ++k)
            device = QString("Device %1 (%2)").arg(slot).arg(k);
        names.insert(device.toUpper());
        ok = db.exec("INSERT INTO recdev (name, Nroftracks, TypeRM) VALUES (?, 0, 11)", {device});
        if (ok)
            result.actions << QString("recdev.mdb: the row of slot %1 was added as \"%2\".")
                                  .arg(slot)
                                  .arg(device);
    }
    if (!ok || !db.commit()) {
        db.rollback();
        result.failures << db.lastError();
    }
}

void IntegrityRepair::repairNotebook(RepairResult& result)
{
    Database db;
    if (!QFileInfo::exists(m_folder.note1Db()) || !db.open(m_folder.note1Db()))
        return;
    QSqlQuery q(db.handle());
    if (!q.exec("SELECT count(*) FROM note1") || !q.next() || q.value(0).toInt() > 0)
        return;
    q = QSqlQuery();
    if (db.exec("INSERT INTO note1 (notiz1) VALUES (NULL)"))
        result.actions << "note1.mdb: the empty notebook row was added.";
    else
        result.failures << db.lastError();
}

void IntegrityRepair::repairStyles(RepairResult& result)
{
    const StyleFiles styles = StyleFiles::read(m_folder.stnumDat(), m_folder.stylesDat());
    // A link, pipe or device in place of a style file is never written to.
    if (styles.consistent() || !styles.plainFiles())
        return;
    // The list is the user's text; the count is derived from it.
    // styles.dat is rewritten only when some line was not in the program's own
    // format; otherwise it stays byte for byte as it is.
    const bool rewriteList =
        styles.malformedLines > 0 || (!styles.listFileExists && styles.countFileExists);
    const QString error =
        rewriteList ? StyleFiles::write(m_folder.stnumDat(), m_folder.stylesDat(), styles.entries)
                    : StyleFiles::writeCount(m_folder.stnumDat(), int(styles.entries.size()));
    if (error.isEmpty())
        result.actions << QString("%1 now counts %2 styles.")
                              .arg(rewriteList ? "styles.dat was rewritten; stnum.dat"
                                               : "stnum.dat")
                              .arg(styles.entries.size());
    else
        result.failures << describeStoreError(m_folder.stnumDat(), error);
}

} // namespace quillon
