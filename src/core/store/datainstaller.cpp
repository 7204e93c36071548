#include "store/datainstaller.h"

#include "common/logging.h"
#include "store/database.h"
#include "store/plainfile.h"
#include "store/schema.h"
#include "store/songconstants.h"

#include <QDate>
#include <QDir>

namespace quillon {

namespace {

struct DemoDevice {
    const char* name;
    int tracks;
    int type;
};

// A register a small studio would recognise; the user renames them.
constexpr DemoDevice kDemoDevices[schema::kTrackSlots] = {
    {"24-Track Tape", 24, 1},  {"DAW", 96, 2},          {"ADAT 1", 8, 0},
    {"ADAT 2", 8, 0},          {"DAT Recorder", 2, 6},  {"Minidisk", 2, 7},
    {"CD Writer", 2, 5},       {"Cassette Deck", 2, 8}, {"Video Sync", 2, 9},
    {"Master Recorder", 2, 10}};

// The training song shows what a filled track sheet looks like.
const char* const kDemoTracks[] = {
    "Kick",      "Snare top",  "Snare bottom", "Hi-Hat",     "Tom 1",      "Tom 2",
    "Floor tom", "Overhead L", "Overhead R",   "Room",       "Bass DI",    "Bass amp",
    "Guitar 1",  "Guitar 2",   "Acoustic L",   "Acoustic R", "Piano L",    "Piano R",
    "Organ",     "Lead vocal", "Backing 1",    "Backing 2",  "Percussion", "Click"};

bool runAll(Database& db, const QStringList& statements)
{
    for (const QString& s : statements)
        if (!db.exec(s))
            return false;
    return true;
}

QStringList trainingTracks(int slot)
{
    QStringList tracks;
    for (int k = 1; k <= schema::kTracksPerRow; ++k) {
        if (slot == 1 && k <= int(std::size(kDemoTracks)))
            tracks << QString::fromLatin1(kDemoTracks[k - 1]);
        else if (k <= 48)
            tracks << generatedTrackText(kTrainingSong, slot, k);
        else
            tracks << QString();
    }
    return tracks;
}

// Creates a file from its statements, then fills it; a half-made file is removed.
template <typename Fill>
bool layOut(const QString& path, const QStringList& ddl, Fill fill, InstallReport& report)
{
    Database db;
    // Only a file made here is removed again: whatever stands at the path
    // already (a dangling link, say) is reported and left alone.
    if (!db.create(path)) {
        report.problems << db.lastError();
        return false;
    }
    if (!db.transaction() || !runAll(db, ddl) || !fill(db) || !db.commit()) {
        report.problems << db.lastError();
        db.close();
        QFile::remove(path);
        return false;
    }
    report.created << path;
    qCDebug(lcStore) << "laid out" << path;
    return true;
}

QString insertSql(const QString& table, const QStringList& columns)
{
    QStringList quotedCols, marks;
    for (const QString& c : columns) {
        quotedCols << schema::quoted(c);
        marks << "?";
    }
    return QString("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(schema::quoted(table), quotedCols.join(", "), marks.join(", "));
}

// Anything at the path counts, a link whose target is gone included: it is
// checked (and reported), never laid out anew through the link.
bool present(const QString& path)
{
    return entryType(path) != EntryType::Missing;
}

// Reports an existing file that cannot be read as a database.
bool checkExisting(const QString& path, InstallReport& report)
{
    Database db;
    if (!db.open(path)) {
        report.problems << db.lastError();
        return false;
    }
    return true;
}

} // namespace

InstallReport ensureDataFolder(const DataFolder& folder)
{
    InstallReport report;
    if (!QDir().mkpath(folder.dir())) {
        report.problems << describeStoreError(folder.dir(), "unable to create the data folder");
        return report;
    }

    const bool songsExisted = present(folder.songDb());
    if (songsExisted) {
        checkExisting(folder.songDb(), report);
    } else {
        layOut(
            folder.songDb(), schema::songDatabaseDdl(),
            [](Database& db) {
                return db.exec(
                    insertSql("xtrax", {"songtitle",       "text",           "composer",
                                        "artist",          "publisher",      "firstdate",
                                        "compodate",       "notiz1",         "Bandnummer",
                                        "BandzeitVon",     "BandzeitBis",    "BandZählWerkVon",
                                        "BandZählWerkBis", "NoiseReduction", "bandmasch",
                                        "SMPTEZeit",       "SmpteType",      "notiz2",
                                        "SongInfoNote",    "recordcomp",     "tapeinfonote",
                                        "BandType",        "Style",          "tempo"}),
                    {kTrainingSong,
                     "Quillon",
                     "Quillon",
                     "The Studio Band",
                     "",
                     QDate::currentDate(),
                     "01.01.2005",
                     "Try the track sheet: type into "
                     "the boxes, switch devices and banks, then print it.",
                     "0",
                     "00:00:00",
                     "00:00:00",
                     "0",
                     "0",
                     "",
                     "",
                     "00:00:00:00 ",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "",
                     "Rock",
                     120.0});
            },
            report);
    }

    // Titles a new track file must carry rows for, so every song keeps its ten
    // rows. Read only when a track file is to be laid out: with a hundred
    // thousand songs it is the whole song table, on every start.
    bool trackFileMissing = false;
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        trackFileMissing = trackFileMissing || !present(folder.trackDb(n));
    QStringList titles;
    if (trackFileMissing) {
        Database songs;
        if (songs.open(folder.songDb())) {
            QSqlQuery q = songs.prepare("SELECT songtitle FROM xtrax");
            if (q.exec())
                while (q.next())
                    titles << q.value(0).toString();
        }
    }

    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        const QString path = folder.trackDb(n);
        if (present(path)) {
            checkExisting(path, report);
            continue;
        }
        layOut(
            path, schema::trackDatabaseDdl(n),
            [&](Database& db) {
                QSqlQuery q = db.prepare(insertSql(schema::trackTable(n), schema::trackColumns()));
                for (const QString& title : titles) {
                    const QStringList tracks =
                        title == kTrainingSong ? trainingTracks(n) : QStringList();
                    for (int k = 0; k < schema::kTracksPerRow; ++k)
                        q.bindValue(k, k < tracks.size() ? tracks.at(k) : QString());
                    q.bindValue(schema::kTracksPerRow, title);
                    if (!q.exec()) {
                        db.setError(q.lastError().text());
                        return false;
                    }
                }
                return true;
            },
            report);
    }

    if (present(folder.tapeDb()))
        checkExisting(folder.tapeDb(), report);
    else
        layOut(
            folder.tapeDb(), schema::tapeDatabaseDdl(), [](Database&) { return true; }, report);

    if (present(folder.recdevDb())) {
        checkExisting(folder.recdevDb(), report);
    } else {
        layOut(
            folder.recdevDb(), schema::recdevDatabaseDdl(),
            [](Database& db) {
                for (const DemoDevice& d : kDemoDevices) {
                    if (!db.exec(insertSql("recdev", schema::recdevColumns()),
                                 {QString::fromLatin1(d.name), d.tracks, "", "", "", "", "", "", "",
                                  d.type}))
                        return false;
                }
                return true;
            },
            report);
    }

    if (present(folder.note1Db()))
        checkExisting(folder.note1Db(), report);
    else
        layOut(
            folder.note1Db(), schema::note1DatabaseDdl(),
            [](Database& db) { return db.exec("INSERT INTO note1 (notiz1) VALUES (NULL)"); },
            report);

    return report;
}

} // namespace quillon
