#include "rawsongdb.h"

#include "store/schema.h"
#include "store/songconstants.h"

#include <QDate>
#include <sqlite3.h>

namespace quillon::bench {

RawSongDb::~RawSongDb()
{
    close();
}

void RawSongDb::close()
{
    for (sqlite3_stmt* s : m_all)
        sqlite3_finalize(s);
    m_all.clear();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
}

bool RawSongDb::exec(const char* sql)
{
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* RawSongDb::prepare(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        qFatal("raw baseline: %s: %s", qPrintable(sql), sqlite3_errmsg(m_db));
    m_all.push_back(stmt);
    return stmt;
}

bool RawSongDb::step(sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

void RawSongDb::bind(sqlite3_stmt* stmt, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool RawSongDb::open(const DataFolder& folder)
{
    close();
    if (sqlite3_open_v2(folder.songDb().toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(m_db, 3000);
    bool ok = exec("PRAGMA journal_mode=DELETE") && exec("PRAGMA synchronous=FULL");
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        const QByteArray attach =
            QString("ATTACH DATABASE '%1' AS t%2; PRAGMA t%2.journal_mode=DELETE")
                .arg(QString(folder.trackDb(n)).replace('\'', "''"))
                .arg(n)
                .toUtf8();
        ok = exec(attach.constData());
    }
    if (!ok)
        return false;
    m_insertSong =
        prepare("INSERT INTO xtrax (songtitle, text, composer, publisher, firstdate, compodate, "
                "notiz1, Bandnummer, BandzeitVon, BandzeitBis, \"BandZählWerkVon\", "
                "\"BandZählWerkBis\", NoiseReduction, bandmasch, SMPTEZeit, SmpteType, notiz2, "
                "SongInfoNote, recordcomp, tapeinfonote, BandType) "
                "VALUES (?, ?, ?, '', ?, ?, '', '0', '00:00:00', '00:00:00', '0', '0', '', '', "
                "'00:00:00:00 ', '', '', '', '', '', '')");
    m_renameSong = prepare("UPDATE xtrax SET songtitle = ? WHERE songtitle = ?");
    m_deleteSong = prepare("DELETE FROM xtrax WHERE songtitle = ?");
    m_selectSong = prepare("SELECT * FROM xtrax WHERE songtitle = ? LIMIT 1");
    m_titles = prepare("SELECT songtitle FROM xtrax");
    QStringList columns, marks, sets;
    for (int k = 1; k <= 48; ++k) {
        columns << QString("track%1").arg(k);
        marks << "?";
    }
    for (int k = 1; k <= 24; ++k)
        sets << QString("track%1 = ?").arg(k);
    for (int n = 1; n <= schema::kTrackSlots; ++n) {
        const QString t = QString("t%1.rd%1").arg(n);
        m_insertTracks[n - 1] = prepare(QString("INSERT INTO %1 (%2, songtitle) VALUES (%3, ?)")
                                            .arg(t, columns.join(", "), marks.join(", ")));
        m_renameTracks[n - 1] =
            prepare(QString("UPDATE %1 SET songtitle = ? WHERE songtitle = ?").arg(t));
        m_deleteTracks[n - 1] = prepare(QString("DELETE FROM %1 WHERE songtitle = ?").arg(t));
        m_selectTracks[n - 1] =
            prepare(QString("SELECT * FROM %1 WHERE songtitle = ? LIMIT 1").arg(t));
        m_writeTracks[n - 1] =
            prepare(QString("UPDATE %1 SET %2 WHERE songtitle = ?").arg(t, sets.join(", ")));
    }
    return true;
}

bool RawSongDb::create(const QString& title, const QString& words, const QString& composer,
                       const QString& compositionDate)
{
    if (!exec("BEGIN"))
        return false;
    bind(m_insertSong, 1, title);
    bind(m_insertSong, 2, words);
    bind(m_insertSong, 3, composer);
    bind(m_insertSong, 4, QDate::currentDate().toString(Qt::ISODate));
    bind(m_insertSong, 5, compositionDate);
    bool ok = step(m_insertSong);
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        sqlite3_stmt* s = m_insertTracks[n - 1];
        for (int k = 1; k <= 48; ++k)
            bind(s, k, generatedTrackText(title, n, k));
        bind(s, 49, title);
        ok = step(s);
    }
    return exec(ok ? "COMMIT" : "ROLLBACK") && ok;
}

bool RawSongDb::rename(const QString& oldTitle, const QString& newTitle)
{
    if (!exec("BEGIN"))
        return false;
    bind(m_renameSong, 1, newTitle);
    bind(m_renameSong, 2, oldTitle);
    bool ok = step(m_renameSong);
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        bind(m_renameTracks[n - 1], 1, newTitle);
        bind(m_renameTracks[n - 1], 2, oldTitle);
        ok = step(m_renameTracks[n - 1]);
    }
    return exec(ok ? "COMMIT" : "ROLLBACK") && ok;
}

bool RawSongDb::remove(const QString& title)
{
    if (!exec("BEGIN"))
        return false;
    bool ok = true;
    for (int n = 1; ok && n <= schema::kTrackSlots; ++n) {
        bind(m_deleteTracks[n - 1], 1, title);
        ok = step(m_deleteTracks[n - 1]);
    }
    bind(m_deleteSong, 1, title);
    ok = ok && step(m_deleteSong);
    return exec(ok ? "COMMIT" : "ROLLBACK") && ok;
}

QStringList RawSongDb::readRow(sqlite3_stmt* stmt)
{
    QStringList values;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(stmt);
        values.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            values << QString::fromUtf8(text, sqlite3_column_bytes(stmt, c));
        }
    }
    sqlite3_reset(stmt);
    return values;
}

QStringList RawSongDb::songRow(const QString& title)
{
    bind(m_selectSong, 1, title);
    return readRow(m_selectSong);
}

QStringList RawSongDb::trackRow(const QString& title, int slot)
{
    bind(m_selectTracks[slot - 1], 1, title);
    return readRow(m_selectTracks[slot - 1]);
}

bool RawSongDb::writeTracks(const QString& title, int slot, const QStringList& texts)
{
    sqlite3_stmt* s = m_writeTracks[slot - 1];
    if (!exec("BEGIN"))
        return false;
    for (int i = 0; i < 24; ++i)
        bind(s, i + 1, i < texts.size() ? texts.at(i) : QString());
    bind(s, 25, title);
    const bool ok = step(s);
    return exec(ok ? "COMMIT" : "ROLLBACK") && ok;
}

QStringList RawSongDb::titles()
{
    QStringList result;
    while (sqlite3_step(m_titles) == SQLITE_ROW)
        result << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_titles, 0)),
                                    sqlite3_column_bytes(m_titles, 0));
    sqlite3_reset(m_titles);
    return result;
}

} // namespace quillon::bench
