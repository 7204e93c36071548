#include "maintenance/integritycheck.h"

#include "common/logging.h"
#include "maintenance/stylefiles.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/plainfile.h"
#include "store/schema.h"
#include "store/titlegroups.h"

#include <algorithm>
#include <QFileInfo>
#include <QSet>
#include <vector>

namespace quillon {

namespace {

using Kind = IntegrityProblem::Kind;

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The table's columns as the file has them, in order.
QStringList tableColumns(Database& db, const QString& table)
{
    QStringList columns;
    QSqlQuery q(db.handle());
    if (q.exec(QString("PRAGMA table_info(%1)").arg(schema::quoted(table))))
        while (q.next())
            columns << q.value(1).toString();
    return columns;
}

// Reports columns that differ from the schema; false when the table lacks
// its title column, so that no title can be read from it.
bool checkColumns(Database& db, const QString& path, const QString& table,
                  const QStringList& canonical, IntegrityReport& report)
{
    const QStringList actual = tableColumns(db, table);
    const schema::ColumnDiff diff = schema::compareColumns(table, canonical, actual);
    if (diff.clean())
        return true;
    QStringList what;
    if (!diff.missing.isEmpty())
        what << QString("lacks the column(s) %1").arg(diff.missing.join(", "));
    if (!diff.foreign.isEmpty())
        what << QString("has column(s) the program does not know: %1").arg(diff.foreign.join(", "));
    if (diff.misplaced)
        what << "has its columns out of their order";
    const QString advice = diff.repairable() ? QStringLiteral(" (a repair adds them, empty)")
                                             : QStringLiteral("; restore it from data/backup");
    report.problems.append(
        {Kind::Columns,
         path,
         {},
         0,
         diff.repairable(),
         QString("%1: table %2 %3%4").arg(fileName(path), table, what.join(" and "), advice)});
    return !diff.missing.contains("songtitle", Qt::CaseInsensitive);
}

// Opens a file and proves it holds its table; reports the reason otherwise.
bool openTable(Database& db, const QString& path, const QString& table, const QStringList& columns,
               bool thorough, IntegrityReport& report)
{
    auto unusable = [&](const QString& why, bool repairable) {
        report.problems.append({Kind::FileUnusable,
                                path,
                                {},
                                0,
                                repairable,
                                QString("%1: %2").arg(fileName(path), why)});
        return false;
    };
    // Looked at before anything opens it: a link must not be read or
    // written through, and a pipe or device would block the open.
    const EntryType type = entryType(path);
    if (type == EntryType::Missing)
        return unusable("the file is missing (a repair lays it out again, empty)", true);
    if (type != EntryType::Regular)
        return unusable(QString("the entry is %1, not a plain file; put the file itself there "
                                "(a copy is in data/backup)")
                            .arg(entryTypeName(type)),
                        false);
    if (!db.open(path))
        return unusable("the file cannot be read as a database; restore it from data/backup",
                        false);
    QSqlQuery q(db.handle());
    q.prepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    q.addBindValue(table);
    if (!q.exec() || !q.next())
        return unusable("the file cannot be read; restore it from data/backup", false);
    if (q.value(0).toInt() == 0) {
        QSqlQuery any(db.handle());
        const bool empty = any.exec("SELECT count(*) FROM sqlite_master") && any.next() &&
                           any.value(0).toInt() == 0;
        return unusable(
            empty ? QString("the file is empty (a repair lays out table %1 in it)").arg(table)
                  : QString("the file has no table %1; restore it from data/backup").arg(table),
            empty);
    }
    q = QSqlQuery();
    if (thorough) {
        QSqlQuery check(db.handle());
        if (!check.exec("PRAGMA quick_check") || !check.next() || check.value(0).toString() != "ok")
            return unusable("the file is damaged; restore it from data/backup", false);
    }
    return checkColumns(db, path, table, columns, report);
}

int rowCount(Database& db, const QString& table)
{
    QSqlQuery q(db.handle());
    if (!q.exec(QString("SELECT count(*) FROM %1").arg(schema::quoted(table))) || !q.next())
        return -1;
    return q.value(0).toInt();
}

// Empty titles and titles used twice (letter case and blanks ignored), in
// table order. Two passes keep memory small: the first holds one hash per
// song, the second only the few titles whose hash came up more than once.
bool checkTitles(Database& songs, const DataFolder& folder, IntegrityReport& report, QString* error)
{
    const QString sql =
        QStringLiteral("SELECT rowid, songtitle FROM xtrax ORDER BY songtitle COLLATE BINARY");
    std::vector<size_t> hashes;
    {
        QSqlQuery q(songs.handle());
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            *error = q.lastError().text();
            return false;
        }
        while (q.next()) {
            const QString key = SongStore::titleKey(q.value(1).toString());
            if (!key.isEmpty())
                hashes.push_back(qHash(key, size_t(0)));
        }
        if (q.lastError().isValid()) {
            *error = q.lastError().text();
            return false;
        }
    }
    std::sort(hashes.begin(), hashes.end());
    QSet<size_t> repeated;
    for (size_t i = 1; i < hashes.size(); ++i)
        if (hashes[i] == hashes[i - 1])
            repeated.insert(hashes[i]);
    hashes = {};

    struct Row {
        qint64 rowid;
        QString title;
    };
    std::vector<Row> rows;
    QSqlQuery q(songs.handle());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        *error = q.lastError().text();
        return false;
    }
    while (q.next()) {
        const QString title = q.value(1).toString();
        const QString key = SongStore::titleKey(title);
        if (key.isEmpty() || repeated.contains(qHash(key, size_t(0))))
            rows.push_back({q.value(0).toLongLong(), title});
    }
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return a.rowid < b.rowid; });
    QHash<QString, QString> firstByKey;
    for (const Row& row : rows) {
        if (row.title.trimmed().isEmpty()) {
            report.problems.append({Kind::EmptyTitle, folder.songDb(), row.title, 0, true,
                                    "A song has an empty title."});
            continue;
        }
        const QString key = SongStore::titleKey(row.title);
        if (firstByKey.contains(key))
            report.problems.append({Kind::DuplicateTitle, folder.songDb(), row.title, 0, true,
                                    QString("The title \"%1\" is used twice (also as \"%2\").")
                                        .arg(row.title, firstByKey.value(key))});
        else
            firstByKey.insert(key, row.title);
    }
    return true;
}

// Merges the song table's title groups with one track table's: a title with
// fewer track rows than songs lacks rows, one with more has extra rows, and
// a title with no song at all marks rows that lost their song.
bool checkSlot(Database& songs, Database& tracks, int slot, const DataFolder& folder,
               IntegrityReport& report, QString* error)
{
    const QString file = folder.trackDb(slot);
    TitleGroups song, track;
    if (!song.start(songs.handle(), "xtrax", error) ||
        !track.start(tracks.handle(), schema::trackTable(slot), error))
        return false;
    bool haveSong = song.next(), haveTrack = track.next();
    while (haveSong || haveTrack) {
        const int order = !haveSong ? 1 : (!haveTrack ? -1 : TitleGroups::compare(song, track));
        const qsizetype want = order <= 0 ? song.count() : 0;
        const qsizetype have = order >= 0 ? track.count() : 0;
        if (order > 0)
            report.problems.append({Kind::OrphanTrackRow, file, track.title(), slot, true,
                                    QString("%1: %2 track row(s) titled \"%3\" belong to no song.")
                                        .arg(fileName(file))
                                        .arg(have)
                                        .arg(track.title())});
        else if (have < want)
            report.problems.append({Kind::MissingTrackRow, file, song.title(), slot, true,
                                    QString("%1: the song \"%2\" has no track row.")
                                        .arg(fileName(file), song.title())});
        else if (have > want)
            report.problems.append({Kind::ExtraTrackRow, file, song.title(), slot, true,
                                    QString("%1: the song \"%2\" has %3 track rows.")
                                        .arg(fileName(file), song.title())
                                        .arg(have)});
        if (order <= 0)
            haveSong = song.next();
        if (order >= 0)
            haveTrack = track.next();
    }
    const QString failed = song.error().isEmpty() ? track.error() : song.error();
    if (!failed.isEmpty()) {
        *error = failed;
        return false;
    }
    return true;
}

} // namespace

int IntegrityReport::repairableCount() const
{
    int n = 0;
    for (const IntegrityProblem& p : problems)
        n += p.repairable ? 1 : 0;
    return n;
}

QStringList IntegrityReport::unusableFiles() const
{
    QStringList files;
    for (const IntegrityProblem& p : problems)
        if (p.kind == Kind::FileUnusable && !files.contains(p.file))
            files << p.file;
    return files;
}

QString IntegrityReport::summary(int maxLines) const
{
    QStringList lines;
    for (const IntegrityProblem& p : problems) {
        if (lines.size() == maxLines) {
            lines << QString("... and %1 more.").arg(problems.size() - maxLines);
            break;
        }
        lines << p.text;
    }
    return lines.join('\n');
}

IntegrityReport IntegrityCheck::quick()
{
    return run(false);
}

IntegrityReport IntegrityCheck::thorough()
{
    return run(true);
}

IntegrityReport IntegrityCheck::run(bool thorough)
{
    IntegrityReport report;
    Database songs;
    QString error;
    bool haveSongs =
        openTable(songs, m_folder.songDb(), "xtrax", schema::songColumns(), thorough, report);
    if (haveSongs && !checkTitles(songs, m_folder, report, &error)) {
        haveSongs = false;
        report.problems.append({Kind::FileUnusable,
                                m_folder.songDb(),
                                {},
                                0,
                                false,
                                fileName(m_folder.songDb()) + ": " + error});
    }
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        Database tracks;
        const QString path = m_folder.trackDb(n);
        if (!openTable(tracks, path, schema::trackTable(n), schema::trackColumns(), thorough,
                       report) ||
            !haveSongs)
            continue;
        if (!checkSlot(songs, tracks, n, m_folder, report, &error))
            report.problems.append(
                {Kind::FileUnusable, path, {}, 0, false, fileName(path) + ": " + error});
    }
    songs.close();

    {
        Database db;
        openTable(db, m_folder.tapeDb(), "Tape", schema::tapeColumns(), thorough, report);
    }
    {
        Database db;
        if (openTable(db, m_folder.recdevDb(), "recdev", schema::recdevColumns(), thorough,
                      report)) {
            const int rows = rowCount(db, "recdev");
            if (rows >= 0 && rows < schema::kTrackSlots)
                report.problems.append(
                    {Kind::DeviceRows,
                     m_folder.recdevDb(),
                     {},
                     0,
                     true,
                     QString("recdev.mdb: the device register has %1 of its %2 rows.")
                         .arg(rows)
                         .arg(schema::kTrackSlots)});
        }
    }
    {
        Database db;
        if (openTable(db, m_folder.note1Db(), "note1", schema::note1Columns(), thorough, report) &&
            rowCount(db, "note1") == 0)
            report.problems.append({Kind::NotebookRow,
                                    m_folder.note1Db(),
                                    {},
                                    0,
                                    true,
                                    "note1.mdb: the notebook has no row."});
    }
    const StyleFiles styles = StyleFiles::read(m_folder.stnumDat(), m_folder.stylesDat());
    if (!styles.plainFiles()) {
        // Neither read nor written: a link would lead outside the folder.
        for (const auto& [path, what] : {std::pair{m_folder.stnumDat(), styles.countFileNotPlain},
                                         std::pair{m_folder.stylesDat(), styles.listFileNotPlain}})
            if (!what.isEmpty())
                report.problems.append(
                    {Kind::StyleCount,
                     path,
                     {},
                     0,
                     false,
                     QString("%1: the entry is %2, not a plain file; put the file itself there "
                             "(a copy is in data/backup)")
                         .arg(fileName(path), what)});
    } else if (!styles.consistent()) {
        QString text;
        if (!styles.countFileExists)
            text = QString("stnum.dat is missing; styles.dat holds %1 styles.")
                       .arg(styles.entries.size());
        else if (!styles.countReadable)
            text = QString("stnum.dat holds no number; styles.dat holds %1 styles.")
                       .arg(styles.entries.size());
        else if (styles.malformedLines > 0)
            text = QString("styles.dat has %1 badly quoted line(s).").arg(styles.malformedLines);
        else
            text = QString("stnum.dat counts %1 styles, styles.dat holds %2.")
                       .arg(styles.count)
                       .arg(styles.entries.size());
        report.problems.append({Kind::StyleCount, m_folder.stnumDat(), {}, 0, true, text});
    }
    if (!report.clean())
        qCWarning(lcStore) << "data check found" << report.problems.size() << "problems";
    return report;
}

} // namespace quillon
