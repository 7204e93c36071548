#pragma once

#include "search/searchquery.h"
#include "store/database.h"
#include "store/datafolder.h"

#include <memory>
#include <QList>
#include <QString>

namespace quillon {

// One thing found, with the words around the match.
struct SearchHit {
    enum class Kind { Song, Track, Session, Note, Lyrics, Medium, Device, Notebook };
    Kind kind = Kind::Song;
    QString subject; // the song's title, the medium's or the device's name
    int slot = 0;    // a track's device slot (1-10), a device's place in the register (1-10)
    int track = 0;   // a track's number (1-96)
    QString context; // the matching words in context, on one line
    QList<SearchQuery::Span> marks; // where in context the matching words stand

    static QString kindName(Kind kind);
};

// Finds what a query names across the whole catalogue, through its search
// index: songs by title and details, track texts, session details, song
// notes, lyrics, media, devices and the notebook. Every candidate the index
// gives is checked against the stored text, which also gives its context.
// Read only; the connections stay open between searches.
class CatalogueSearch final {
public:
    explicit CatalogueSearch(const DataFolder& folder);
    ~CatalogueSearch();

    // At most perKind hits of each kind, in stored order.
    QList<SearchHit> find(const SearchQuery& query, int perKind = 20);
    QString lastError() const { return m_error; }

private:
    bool ensureOpen();
    QList<qint64> candidates(Database& db, int part, const SearchQuery& query, int limit);
    void songHits(const SearchQuery& query, int perKind, QList<SearchHit>& hits);
    void trackHits(const SearchQuery& query, int perKind, QList<SearchHit>& hits);
    void smallHits(int part, const SearchQuery& query, int perKind, QList<SearchHit>& hits);

    DataFolder m_folder;
    QString m_error;
    // The song file with the track files attached; media, devices, notebook.
    std::unique_ptr<Database> m_songs;
    std::unique_ptr<Database> m_small[3];
};

} // namespace quillon
