#include "store/integritycheck.h"

#include "songs/songstore.h"
#include "store/database.h"
#include "store/logging.h"
#include "store/schema.h"
#include "store/stylefiles.h"
#include "store/titlerows.h"

#include <QFileInfo>
#include <QSet>

namespace quillon {

namespace {

using Kind = IntegrityProblem::Kind;

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// Opens a file and proves it holds its table; reports the reason otherwise.
bool openTable(Database& db, const QString& path, const QString& table, bool thorough,
               IntegrityReport& report)
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
    if (!QFileInfo::exists(path))
        return unusable("the file is missing (a repair lays it out again, empty)", true);
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
    if (thorough) {
        QSqlQuery check(db.handle());
        if (!check.exec("PRAGMA quick_check") || !check.next() || check.value(0).toString() != "ok")
            return unusable("the file is damaged; restore it from data/backup", false);
    }
    return true;
}

int rowCount(Database& db, const QString& table)
{
    QSqlQuery q(db.handle());
    if (!q.exec(QString("SELECT count(*) FROM %1").arg(schema::quoted(table))) || !q.next())
        return -1;
    return q.value(0).toInt();
}

void checkRows(const TitleSnapshot& snap, const DataFolder& folder, IntegrityReport& report)
{
    QHash<QString, QString> firstByKey;
    for (const TitleRow& song : snap.songs) {
        const QString title = song.text();
        if (title.trimmed().isEmpty()) {
            report.problems.append(
                {Kind::EmptyTitle, folder.songDb(), title, 0, true, "A song has an empty title."});
            continue;
        }
        const QString key = SongStore::titleKey(title);
        if (firstByKey.contains(key)) {
            report.problems.append({Kind::DuplicateTitle, folder.songDb(), title, 0, true,
                                    QString("The title \"%1\" is used twice (also as \"%2\").")
                                        .arg(title, firstByKey.value(key))});
        } else {
            firstByKey.insert(key, title);
        }
    }
    const QHash<QString, QList<qint64>> songs = TitleSnapshot::byExactTitle(snap.songs);
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        if (!snap.haveSlot[n])
            continue;
        const QHash<QString, QList<qint64>> rows = TitleSnapshot::byExactTitle(snap.tracks[n]);
        const QString file = folder.trackDb(n);
        QSet<QString> reported;
        for (const TitleRow& song : snap.songs) {
            const QString key = song.exactKey();
            if (reported.contains(key))
                continue;
            reported.insert(key);
            const qsizetype want = songs.value(key).size();
            const qsizetype have = rows.value(key).size();
            if (have < want)
                report.problems.append({Kind::MissingTrackRow, file, song.text(), n, true,
                                        QString("%1: the song \"%2\" has no track row.")
                                            .arg(fileName(file), song.text())});
            else if (have > want)
                report.problems.append({Kind::ExtraTrackRow, file, song.text(), n, true,
                                        QString("%1: the song \"%2\" has %3 track rows.")
                                            .arg(fileName(file), song.text())
                                            .arg(have)});
        }
        for (auto it = rows.begin(); it != rows.end(); ++it) {
            if (songs.contains(it.key()))
                continue;
            const QString title = it.key().startsWith('=') ? it.key().mid(1) : QString();
            report.problems.append({Kind::OrphanTrackRow, file, title, n, true,
                                    QString("%1: %2 track row(s) titled \"%3\" belong to no song.")
                                        .arg(fileName(file))
                                        .arg(it.value().size())
                                        .arg(title)});
        }
    }
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
    TitleSnapshot snap;
    bool haveSongs = false;
    {
        Database db;
        if (openTable(db, m_folder.songDb(), "xtrax", thorough, report)) {
            QString error;
            haveSongs = TitleSnapshot::readTable(db.handle(), "xtrax", &snap.songs, &error);
            if (!haveSongs)
                report.problems.append({Kind::FileUnusable,
                                        m_folder.songDb(),
                                        {},
                                        0,
                                        false,
                                        fileName(m_folder.songDb()) + ": " + error});
        }
    }
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        Database db;
        const QString path = m_folder.trackDb(n);
        if (!openTable(db, path, schema::trackTable(n), thorough, report))
            continue;
        QString error;
        snap.haveSlot[n] =
            TitleSnapshot::readTable(db.handle(), schema::trackTable(n), &snap.tracks[n], &error);
        if (!snap.haveSlot[n])
            report.problems.append(
                {Kind::FileUnusable, path, {}, 0, false, fileName(path) + ": " + error});
    }
    if (haveSongs)
        checkRows(snap, m_folder, report);

    {
        Database db;
        openTable(db, m_folder.tapeDb(), "Tape", thorough, report);
    }
    {
        Database db;
        if (openTable(db, m_folder.recdevDb(), "recdev", thorough, report)) {
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
        if (openTable(db, m_folder.note1Db(), "note1", thorough, report) &&
            rowCount(db, "note1") == 0)
            report.problems.append({Kind::NotebookRow,
                                    m_folder.note1Db(),
                                    {},
                                    0,
                                    true,
                                    "note1.mdb: the notebook has no row."});
    }
    const StyleFiles styles = StyleFiles::read(m_folder.stnumDat(), m_folder.stylesDat());
    if (!styles.consistent()) {
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
