#include "maintenance/titlechecks.h"

#include "maintenance/integritycheck.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/titlegroups.h"

#include <algorithm>
#include <QFileInfo>
#include <QSet>
#include <vector>

namespace quillon::titlechecks {

namespace {

using Kind = IntegrityProblem::Kind;

// One title's rows in a track table against its songs: rows of no song at
// all lost their song, fewer rows than songs lack rows, more have extra rows.
void reportTitleRows(const QString& where, const QString& file, int slot, const QString& title,
                     qsizetype want, qsizetype have, IntegrityReport& report)
{
    if (want == 0 && have > 0)
        report.problems.append({Kind::OrphanTrackRow, file, title, slot, true,
                                QString("%1: %2 track row(s) titled \"%3\" belong to no song.")
                                    .arg(where)
                                    .arg(have)
                                    .arg(title)});
    else if (have < want)
        report.problems.append(
            {Kind::MissingTrackRow, file, title, slot, true,
             QString("%1: the song \"%2\" has no track row.").arg(where, title)});
    else if (have > want)
        report.problems.append(
            {Kind::ExtraTrackRow, file, title, slot, true,
             QString("%1: the song \"%2\" has %3 track rows.").arg(where, title).arg(have)});
}

} // namespace

// Empty titles and titles used twice (letter case and blanks ignored), in
// table order. Two passes keep memory small: the first holds one hash per
// song, the second only the few titles whose hash came up more than once.
bool checkTitles(Database& songs, const QString& file, IntegrityReport& report, QString* error)
{
    // On a file the order walks the title index, which reads no table row;
    // neither pass needs an order of its own.
    const QString sql =
        songs.isServer() ? QStringLiteral("SELECT rowid, songtitle FROM xtrax")
                         : QStringLiteral("SELECT rowid, songtitle FROM xtrax ORDER BY songtitle "
                                          "COLLATE BINARY");
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
            report.problems.append(
                {Kind::EmptyTitle, file, row.title, 0, true, "A song has an empty title."});
            continue;
        }
        const QString key = SongStore::titleKey(row.title);
        if (firstByKey.contains(key))
            report.problems.append({Kind::DuplicateTitle, file, row.title, 0, true,
                                    QString("The title \"%1\" is used twice (also as \"%2\").")
                                        .arg(row.title, firstByKey.value(key))});
        else
            firstByKey.insert(key, row.title);
    }
    return true;
}

// Merges the song table's title groups with one track table's, each file
// streamed through its title index.
bool checkSlot(Database& songs, Database& tracks, int slot, const QString& file,
               IntegrityReport& report, QString* error)
{
    TitleGroups song, track;
    if (!song.start(songs.handle(), "xtrax", error) ||
        !track.start(tracks.handle(), schema::trackTable(slot), error))
        return false;
    bool haveSong = song.next(), haveTrack = track.next();
    while (haveSong || haveTrack) {
        const int order = !haveSong ? 1 : (!haveTrack ? -1 : TitleGroups::compare(song, track));
        reportTitleRows(QFileInfo(file).fileName(), file, slot,
                        order > 0 ? track.title() : song.title(), order <= 0 ? song.count() : 0,
                        order >= 0 ? track.count() : 0, report);
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

// On a server both tables are in one database: the server counts each
// title's rows on both sides and hands over only the titles that differ.
bool checkSlotOnServer(Database& db, int slot, IntegrityReport& report, QString* error)
{
    const QString table = schema::trackTable(slot);
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QString("SELECT songtitle, sum(s), sum(t) FROM (SELECT songtitle, 1 AS s, 0 AS t "
                        "FROM xtrax UNION ALL SELECT songtitle, 0, 1 FROM %1) AS u GROUP BY "
                        "songtitle HAVING sum(s) <> sum(t) ORDER BY songtitle NULLS FIRST")
                    .arg(schema::quoted(table)))) {
        *error = q.lastError().text();
        return false;
    }
    while (q.next())
        reportTitleRows("table " + table, table, slot,
                        q.value(0).isNull() ? QString() : q.value(0).toString(),
                        q.value(1).toLongLong(), q.value(2).toLongLong(), report);
    if (q.lastError().isValid()) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

std::optional<KeyTableDiff> compareKeyTable(Database& db, QString* error)
{
    KeyTableDiff diff;
    {
        QSqlQuery q(db.handle());
        if (!q.exec("SELECT (SELECT count(*) FROM xtrax AS x WHERE NOT EXISTS (SELECT 1 FROM "
                    "songkey AS k WHERE k.songtitle = x.songtitle)), (SELECT count(*) FROM songkey "
                    "AS k WHERE NOT EXISTS (SELECT 1 FROM xtrax AS x WHERE x.songtitle = "
                    "k.songtitle))") ||
            !q.next()) {
            *error = q.lastError().text();
            return std::nullopt;
        }
        diff.songsWithoutKey = q.value(0).toLongLong();
        diff.keysWithoutSong = q.value(1).toLongLong();
    }
    // The key is the program's own folding of the title, which SQL cannot
    // repeat letter for letter: each row is compared here, one at a time.
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec("SELECT key, songtitle FROM songkey")) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    while (q.next())
        if (q.value(0).toString() != SongStore::titleKey(q.value(1).toString()))
            ++diff.wrongKeys;
    if (q.lastError().isValid()) {
        *error = q.lastError().text();
        return std::nullopt;
    }
    return diff;
}

} // namespace quillon::titlechecks
