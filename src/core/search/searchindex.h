#pragma once

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>

namespace quillon {

class Database;

// The search index of one part of the catalogue, written by the repository
// that owns the part in the same transaction as the data, so that the two
// never disagree after a commit.
//
// In a data folder each file holds the index of its own rows: an FTS5 table
// (rowid = ref, one column "body") beside the data — "searchindex", and in
// the song file also "searchtracks" for the track texts, so that a word on
// every track sheet does not crowd the songs' details out of a search — and
// "searchstate" with how far a first build of each part has come. On a
// server one table "searchindex" (part, ref, body, and a tsvector of the
// body with a GIN index) and "searchstate" hold all parts. A body is the
// searched text normalized (searchtext::normalize), so both engines see
// plain words.
//
// Refs: a song's rows are its song-table rowid * kRefsPerSong + a kind (the
// details, the session, the notes, the lyrics; part Songs) or FirstSlot +
// slot - 1 (the 96 tracks of one device slot; part Tracks); a medium's, a
// device's and the notebook's ref is the rowid of its row.
class SearchIndex final {
public:
    enum class Part { Songs, Tracks, Media, Devices, Notebook };
    enum SongRow { Details = 0, Session = 1, Notes = 2, Lyrics = 3, FirstSlot = 4 };
    static constexpr qint64 kRefsPerSong = 16;

    static QString partName(Part part);
    // The song-table columns a song row is made of (not for slot rows).
    static const QStringList& songFields(SongRow row);
    static const QStringList& mediumFields();
    static const QStringList& deviceFields();
    // The data table a part of media, devices or the notebook indexes, and
    // the columns that make its text.
    static QString dataTable(Part part);
    static const QStringList& fieldsOf(Part part);
    static qint64 songRef(qint64 songRowid, int row) { return songRowid * kRefsPerSong + row; }
    static qint64 slotRef(qint64 songRowid, int slot)
    {
        return songRef(songRowid, FirstSlot + slot - 1);
    }

    // Statements that lay out an empty index of a part in a data file
    // (schema "main" or an attached alias).
    static QStringList fileDdl(Part part, const QString& schemaName = QStringLiteral("main"));
    // The part's table in a data file (both parts of songs share the file).
    static QString fileTable(Part part);
    // Beside it in the file, every word its rows have had since the last
    // build (words are added, never taken out): a search for a long word
    // start asks this list for the words it stands for, which FTS5 can then
    // match in order and stop at a limit, where a prefix beyond FTS5's own
    // prefix indexes collects every match first.
    static QString wordTable(Part part);
    // Text of values joined as one searchable text (lyrics as plain text).
    static QString plainOf(const QStringList& values);

    SearchIndex(Database& db, Part part, const QString& schemaName = QStringLiteral("main"));
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // The index exists where this connection writes (a folder made before
    // the index has none until its first build; a server catalogue always
    // has one).
    bool available();
    // The word list exists (a data folder indexed before it had none).
    bool hasWords();
    // The words of the list that begin with start, in order; nothing when
    // there is no list or more than most words begin so.
    std::optional<QStringList> wordsStartingWith(const QString& start, int most);
    // Fills the word list from the index's own vocabulary (slow: it reads
    // every word's row list), for an index built before the list existed.
    bool fillWords();
    // Replaces the rows of refs with their texts (normalized here).
    bool put(const QList<std::pair<qint64, QString>>& rows);
    // Removes the rows whose ref lies in [from, to] (all of them: the word
    // list as well).
    bool remove(qint64 from, qint64 to);
    // Media, devices, notebook: the row of one data row as stored now
    // (removed when the data row is gone), or of every data row.
    bool refreshRow(qint64 rowid);
    bool refreshTable();
    // Forgets prepared statements (before the connection closes).
    void reset();

    // For checks: the number of rows (of one kind of a song's rows, when
    // kind is one); the rows whose data row (ref / per in dataTable, in the
    // same file) is gone; the stored body of a ref.
    qint64 rowCount(bool* ok, std::optional<int> kind = std::nullopt);
    qint64 strays(const QString& dataTable, qint64 per, bool* ok);
    QString storedBody(qint64 ref, bool* found);

    // How far a first build has come: rows of the data up to this rowid are
    // indexed; complete once all are (and the word list is there).
    struct State {
        qint64 upto = 0;
        bool complete = false;
    };
    State state();
    bool setState(const State& state);
    // Lays out the index where it is missing (data folder only).
    bool create();

private:
    QString table() const;
    QSqlQuery& statement(const QString& sql);

    Database& m_db;
    Part m_part;
    QString m_schema;
    bool putWords(const QStringList& bodies);

    int m_available = -1;
    bool m_hasWords = false;
    // Node-based, so that a statement stays where it is while others are added.
    std::unordered_map<QString, QSqlQuery> m_statements;
};

} // namespace quillon
