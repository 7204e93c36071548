#include "maintenance/searchcheck.h"

#include "maintenance/searchbuild.h"
#include "search/searchindex.h"
#include "search/searchtext.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/schema.h"

#include <limits>

namespace quillon::searchcheck {

namespace {
using Part = SearchIndex::Part;

IntegrityProblem problem(const QString& where, const QString& text)
{
    return {IntegrityProblem::Kind::SearchIndex,
            where,
            {},
            0,
            true,
            "The search index " + text + "; it is built anew by the repair."};
}

qint64 rowsOf(Database& db, const QString& table, bool* ok)
{
    QSqlQuery q = db.prepare("SELECT count(*) FROM " + schema::quoted(table));
    *ok = q.exec() && q.next();
    return *ok ? q.value(0).toLongLong() : 0;
}

// Which of a part's rows every data row has. A song's rows without text
// may be missing (a new song's are never written), but its details hold
// its title; media, devices and the notebook keep a row each.
enum class Always { EveryRow, DetailsRow, NoRow };

// One part against its data table: counts and strays.
void compare(Database& db, Part part, const QString& table, qint64 per, qint64 perRow,
             Always always, const QString& what, QList<IntegrityProblem>& problems)
{
    SearchIndex index(db, part);
    if (!index.available() || !index.state().complete)
        return;
    bool ok = false;
    const qint64 data = rowsOf(db, table, &ok);
    const qint64 indexed = ok ? index.rowCount(&ok) : 0;
    const qint64 strays = ok ? index.strays(table, per, &ok) : 0;
    // How many data rows have the row each one must have.
    qint64 certain = data;
    if (ok && always == Always::DetailsRow)
        certain = index.rowCount(&ok, SearchIndex::Details);
    if (!ok)
        return; // an unreadable table is the data check's own finding
    const bool counted = always == Always::EveryRow ? indexed == data * perRow
                                                    : indexed <= data * perRow && certain == data;
    if (!counted || strays > 0)
        problems << problem(table, QString("of %1 holds %2 rows for %3 (%4 of them for rows that "
                                           "are gone)")
                                       .arg(what)
                                       .arg(indexed)
                                       .arg(data)
                                       .arg(strays));
}

// Every song's texts as the index should hold them, against what it holds.
void compareTexts(SongStore& songs, QList<IntegrityProblem>& problems)
{
    SearchIndex details(songs.database(), Part::Songs);
    SearchIndex tracks(songs.database(), Part::Tracks);
    if (!details.available() || !details.state().complete)
        return;
    qint64 after = std::numeric_limits<qint64>::min();
    int differing = 0;
    for (;;) {
        SongIndexer::Rows songRows;
        SongIndexer::Rows trackRows;
        int done = 0;
        if (!songs.indexer().collect(after, 500, &after, &done, &songRows, &trackRows) || done == 0)
            break;
        for (auto [rows, index] : {std::pair{&songRows, &details}, std::pair{&trackRows, &tracks}})
            for (const auto& [ref, text] : *rows) {
                bool found = false;
                differing += index->storedBody(ref, &found) != searchtext::normalize(text);
            }
    }
    if (differing > 0)
        problems << problem(
            "xtrax", QString("disagrees with %1 stored texts of songs and tracks").arg(differing));
}
} // namespace

QList<IntegrityProblem> check(const DataFolder& folder, bool thorough)
{
    QList<IntegrityProblem> problems;
    SongStore songs(folder);
    if (!songs.open())
        return problems;
    compare(songs.database(), Part::Songs, "xtrax", SearchIndex::kRefsPerSong, 4,
            Always::DetailsRow, "songs", problems);
    compare(songs.database(), Part::Tracks, "xtrax", SearchIndex::kRefsPerSong, schema::kTrackSlots,
            Always::NoRow, "tracks", problems);
    if (thorough)
        compareTexts(songs, problems);
    const struct {
        Part part;
        QString file;
        QString table;
        QString what;
    } small[] = {{Part::Media, folder.tapeDb(), "Tape", "media"},
                 {Part::Devices, folder.recdevDb(), "recdev", "devices"},
                 {Part::Notebook, folder.note1Db(), "note1", "the notebook"}};
    for (const auto& s : small) {
        Database db;
        if (folder.openCatalogue(db, s.file))
            compare(db, s.part, s.table, 1, 1, Always::EveryRow, s.what, problems);
    }
    return problems;
}

bool present(const DataFolder& folder)
{
    SongStore songs(folder);
    return songs.open() && SearchIndex(songs.database(), Part::Songs).available();
}

bool rebuild(const DataFolder& folder, QString* error)
{
    SearchBuild build(folder);
    if (!build.invalidate() || !build.run()) {
        *error = build.lastError();
        return false;
    }
    return true;
}

} // namespace quillon::searchcheck
