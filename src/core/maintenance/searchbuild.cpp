#include "maintenance/searchbuild.h"

#include "common/logging.h"
#include "search/searchindex.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/schema.h"

#include <limits>

namespace quillon {

namespace {
using Part = SearchIndex::Part;

struct SmallPart {
    Part part;
    QString (DataFolder::*file)() const;
};

const SmallPart kSmallParts[] = {
    {Part::Media, &DataFolder::tapeDb},
    {Part::Devices, &DataFolder::recdevDb},
    {Part::Notebook, &DataFolder::note1Db},
};
} // namespace

SearchBuild::SearchBuild(const DataFolder& folder) : m_folder(folder) {}

bool SearchBuild::complete()
{
    SongStore songs(m_folder);
    if (!songs.open())
        return false;
    for (const Part p : {Part::Songs, Part::Tracks})
        if (!SearchIndex(songs.database(), p).state().complete)
            return false;
    for (const SmallPart& small : kSmallParts) {
        Database db;
        if (!m_folder.openCatalogue(db, (m_folder.*small.file)()) ||
            !SearchIndex(db, small.part).state().complete)
            return false;
    }
    return true;
}

bool SearchBuild::invalidate()
{
    // Emptied as well, so that the build leaves nothing of what was there.
    auto mark = [this](Database& db, Part p) {
        SearchIndex index(db, p);
        if (!index.available() ||
            (db.transaction() &&
             index.remove(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()) &&
             index.setState({}) && db.commit()))
            return true;
        m_error = db.lastError();
        db.rollback();
        return false;
    };
    SongStore songs(m_folder);
    if (!songs.open()) {
        m_error = songs.lastError();
        return false;
    }
    bool ok = mark(songs.database(), Part::Songs) && mark(songs.database(), Part::Tracks);
    for (const SmallPart& small : kSmallParts) {
        Database db;
        ok = ok && m_folder.openCatalogue(db, (m_folder.*small.file)()) && mark(db, small.part);
    }
    return ok;
}

bool SearchBuild::run(const std::function<bool(qint64, qint64)>& progress)
{
    m_error.clear();
    qint64 total = qint64(std::size(kSmallParts));
    {
        SongStore songs(m_folder);
        if (!songs.open()) {
            m_error = songs.lastError();
            return false;
        }
        total += songs.count();
    }
    qint64 done = 0;
    for (int i = 0; i < int(std::size(kSmallParts)); ++i) {
        if (!buildSmallPart(i))
            return false;
        ++done;
    }
    if (progress && !progress(done, total))
        return true;
    return buildSongs(progress, &done, total);
}

bool SearchBuild::buildSmallPart(int i)
{
    const SmallPart& small = kSmallParts[i];
    Database db;
    if (!m_folder.openCatalogue(db, (m_folder.*small.file)())) {
        m_error = db.lastError();
        return false;
    }
    SearchIndex index(db, small.part);
    if (index.available() && index.state().complete)
        return true;
    // create() also adds what an older index lacks (its word list).
    const bool ok = db.transaction() && index.create() && index.refreshTable() &&
                    index.setState({0, true}) && db.commit();
    if (!ok) {
        m_error = db.lastError();
        db.rollback();
    }
    return ok;
}

bool SearchBuild::buildSongs(const std::function<bool(qint64, qint64)>& progress, qint64* done,
                             qint64 total)
{
    SongStore songs(m_folder);
    if (!songs.open()) {
        m_error = songs.lastError();
        return false;
    }
    Database& db = songs.database();
    SearchIndex details(db, Part::Songs);
    SearchIndex tracks(db, Part::Tracks);
    if (details.available() && tracks.available() && details.state().complete &&
        tracks.state().complete)
        return true;
    if (!details.available() || !tracks.available()) {
        if (!db.transaction() || !details.create() || !tracks.create() || !details.setState({}) ||
            !tracks.setState({}) || !db.commit()) {
            m_error = db.lastError();
            db.rollback();
            return false;
        }
        songs.indexer().reset();
    } else if (!details.hasWords() || !tracks.hasWords()) {
        // Indexed before the word lists: they are taken from the index itself.
        qCInfo(lcStore) << "adding the search index's word lists";
        if (!db.transaction() || !details.create() || !tracks.create() || !details.fillWords() ||
            !tracks.fillWords() || !db.commit()) {
            m_error = db.lastError();
            db.rollback();
            return false;
        }
        songs.indexer().reset();
    }
    SearchIndex::State state = details.state();
    if (state.upto == 0)
        state.upto = std::numeric_limits<qint64>::min();
    for (;;) {
        int batch = 0;
        qint64 last = state.upto;
        bool ok = db.transaction() && songs.indexer().batch(state.upto, kBatch, &last, &batch);
        const bool finished = ok && batch < kBatch;
        state = {last, finished};
        ok = ok && details.setState(state) && tracks.setState(state) && db.commit();
        if (!ok) {
            m_error = db.lastError();
            db.rollback();
            return false;
        }
        *done += batch;
        if (finished) {
            qCInfo(lcStore) << "search index built," << *done << "of" << total;
            // Fresh statistics let the server's planner read a common word's
            // first matches in order instead of collecting all of them; a
            // role that does not own the table only gets a warning.
            if (db.isServer())
                db.exec(QStringLiteral("ANALYZE searchindex"));
            return true;
        }
        if (progress && !progress(*done, total))
            return true;
    }
}

} // namespace quillon
