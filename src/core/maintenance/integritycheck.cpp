#include "maintenance/integritycheck.h"

#include "maintenance/searchcheck.h"

#include "common/logging.h"
#include "maintenance/stylefiles.h"
#include "maintenance/titlechecks.h"
#include "store/database.h"
#include "store/plainfile.h"
#include "store/schema.h"
#include "store/serverschema.h"

#include <QFileInfo>
#include <QSet>

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
    if (db.isServer()) {
        q.prepare("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                  "current_schema() AND table_name = ? ORDER BY ordinal_position");
        q.addBindValue(table);
        if (q.exec())
            while (q.next())
                columns << q.value(0).toString();
        return columns;
    }
    if (q.exec(QString("PRAGMA table_info(%1)").arg(schema::quoted(table))))
        while (q.next())
            columns << q.value(1).toString();
    return columns;
}

// Reports columns that differ from the layout. `where` names the table for
// the user ("quillon.mdb: table xtrax", "table xtrax"). A server's columns
// are quoted identifiers: there a name differing only in letter case is
// another column, and missing columns are not added by a repair (the
// program's login may not alter tables).
schema::ColumnDiff reportColumns(const QString& file, const QString& where, const QString& table,
                                 const QStringList& canonical, const QStringList& actual,
                                 bool server, IntegrityReport& report)
{
    schema::ColumnDiff diff = schema::compareColumns(table, canonical, actual);
    if (server)
        for (const QString& c : canonical)
            if (!actual.contains(c) && !diff.missing.contains(c)) {
                diff.missing << c;
                diff.foreign << schema::canonicalColumn(actual, c);
            }
    if (diff.clean())
        return diff;
    QStringList what;
    if (!diff.missing.isEmpty())
        what << QString("lacks the column(s) %1").arg(diff.missing.join(", "));
    if (!diff.foreign.isEmpty())
        what << QString("has column(s) the program does not know: %1").arg(diff.foreign.join(", "));
    if (diff.misplaced)
        what << "has its columns out of their order";
    const bool repairable = diff.repairable() && !server;
    const QString advice =
        repairable ? QStringLiteral(" (a repair adds them, empty)")
                   : (server ? QStringLiteral("; restore the catalogue from data/backup with "
                                              "quillon-migrate")
                             : QStringLiteral("; restore it from data/backup"));
    report.problems.append({Kind::Columns,
                            file,
                            {},
                            0,
                            repairable,
                            QString("%1 %2%3").arg(where, what.join(" and "), advice)});
    return diff;
}

// The folder's variant: false when the table lacks its title column, so
// that no title can be read from it.
bool checkColumns(Database& db, const QString& path, const QString& table,
                  const QStringList& canonical, IntegrityReport& report)
{
    const schema::ColumnDiff diff =
        reportColumns(path, QString("%1: table %2").arg(fileName(path), table), table, canonical,
                      tableColumns(db, table), false, report);
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

// The columns a server's table carries (rowid last where there is one).
QStringList serverColumns(const QString& table)
{
    if (table == "songkey")
        return {"key", "songtitle"};
    if (table == "songkeystate")
        return {"fresh"};
    return serverschema::columnsOf(table);
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
    if (m_folder.onServer())
        return runOnServer();
    IntegrityReport report;
    Database songs;
    QString error;
    bool haveSongs =
        openTable(songs, m_folder.songDb(), "xtrax", schema::songColumns(), thorough, report);
    if (haveSongs && !titlechecks::checkTitles(songs, m_folder.songDb(), report, &error)) {
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
        if (!titlechecks::checkSlot(songs, tracks, n, path, report, &error))
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
    // The index is compared with data that can be read; damaged files first.
    if (report.unusableFiles().isEmpty())
        report.problems << searchcheck::check(m_folder, thorough);
    if (!report.clean())
        qCWarning(lcStore) << "data check found" << report.problems.size() << "problems";
    return report;
}

IntegrityReport IntegrityCheck::runOnServer()
{
    IntegrityReport report;
    auto layout = [&report](const QString& table, const QString& text) {
        report.problems.append({Kind::Layout, table, {}, 0, false, text});
        return report;
    };
    Database db;
    // A server that cannot be reached, or holds no catalogue of this
    // layout version, is the one thing to say.
    if (!serverschema::open(db, m_folder.server()))
        return layout("quillon_schema", db.lastError());
    // One snapshot: a client writing meanwhile cannot make a song look as
    // if it lacked its rows.
    if (!db.transaction() || !db.exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY"))
        return layout({}, db.lastError());
    QStringList tables = serverschema::dataTables();
    tables << "songkey"
           << "songkeystate";
    // Only tables with every column are read: one failed statement would
    // end the snapshot.
    QSet<QString> usable;
    for (const QString& t : std::as_const(tables)) {
        if (!db.hasTable(t)) {
            layout(t, QString("table %1 is missing; restore the catalogue from data/backup with "
                              "quillon-migrate.")
                          .arg(t));
            continue;
        }
        if (reportColumns(t, "table " + t, t, serverColumns(t), tableColumns(db, t), true, report)
                .missing.isEmpty())
            usable.insert(t);
    }
    auto unreadable = [&](const QString& table, const QString& why) {
        report.problems.append({Kind::FileUnusable,
                                table,
                                {},
                                0,
                                false,
                                QString("table %1 cannot be read: %2").arg(table, why)});
        db.rollback();
        return report;
    };
    QString error;
    const bool songs = usable.contains("xtrax");
    if (songs && !titlechecks::checkTitles(db, "xtrax", report, &error))
        return unreadable("xtrax", error);
    if (songs && usable.contains("songkey")) {
        const std::optional<KeyTableDiff> keys = titlechecks::compareKeyTable(db, &error);
        if (!keys)
            return unreadable("songkey", error);
        if (!keys->clean())
            report.problems.append(
                {Kind::KeyTable,
                 "songkey",
                 {},
                 0,
                 true,
                 QString("table songkey: the title keys disagree with the titles (%1 song(s) "
                         "without their key, %2 key(s) of no song, %3 wrong key(s)); a repair "
                         "rebuilds them.")
                     .arg(keys->songsWithoutKey)
                     .arg(keys->keysWithoutSong)
                     .arg(keys->wrongKeys)});
    }
    for (int n = 1; songs && n <= schema::kTrackSlots; ++n)
        if (usable.contains(schema::trackTable(n)) &&
            !titlechecks::checkSlotOnServer(db, n, report, &error))
            return unreadable(schema::trackTable(n), error);
    for (const QString& t : {QStringLiteral("stnum"), QStringLiteral("styles")}) {
        QSqlQuery q(db.handle());
        if (usable.contains(t) && !q.exec("SELECT count(*) FROM " + schema::quoted(t)))
            return unreadable(t, q.lastError().text());
    }
    db.rollback();
    if (report.unusableFiles().isEmpty())
        report.problems << searchcheck::check(m_folder, false);
    if (!report.clean())
        qCWarning(lcStore) << "data check of the server found" << report.problems.size()
                           << "problems";
    return report;
}

} // namespace quillon
