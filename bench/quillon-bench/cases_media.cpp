#include "cases.h"

#include "benchapp.h"
#include "datagen.h"
#include "media/medialist.h"
#include "media/mediastore.h"
#include "media/mediatree.h"
#include "media/tapewindow.h"
#include "songs/songstore.h"

#include <QCoreApplication>
#include <sqlite3.h>

namespace quillon::bench {

namespace {

// The baseline: every column of every medium, and the songs of one medium,
// read with the C API on connections kept open, into Qt strings.
class RawMedia final {
public:
    ~RawMedia()
    {
        sqlite3_finalize(m_rows);
        sqlite3_finalize(m_medium);
        sqlite3_finalize(m_songs);
        sqlite3_close(m_tape);
        sqlite3_close(m_songDb);
    }

    bool open(const DataFolder& folder)
    {
        return sqlite3_open_v2(folder.tapeDb().toUtf8().constData(), &m_tape, SQLITE_OPEN_READONLY,
                               nullptr) == SQLITE_OK &&
               sqlite3_open_v2(folder.songDb().toUtf8().constData(), &m_songDb,
                               SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
               sqlite3_prepare_v2(m_tape, "SELECT * FROM Tape ORDER BY rowid", -1, &m_rows,
                                  nullptr) == SQLITE_OK &&
               sqlite3_prepare_v2(m_tape, "SELECT * FROM Tape WHERE bandnummer = ? LIMIT 1", -1,
                                  &m_medium, nullptr) == SQLITE_OK &&
               sqlite3_prepare_v2(m_songDb,
                                  "SELECT songtitle FROM xtrax WHERE Bandnummer = ? ORDER BY rowid",
                                  -1, &m_songs, nullptr) == SQLITE_OK;
    }

    QList<QStringList> rows() { return readAll(m_rows); }

    // The medium's row and the titles of its songs.
    int mediumAndSongs(const QString& name)
    {
        const QByteArray utf8 = name.toUtf8();
        sqlite3_bind_text(m_medium, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(m_songs, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return int(readAll(m_medium).size() + readAll(m_songs).size());
    }

private:
    static QList<QStringList> readAll(sqlite3_stmt* stmt)
    {
        QList<QStringList> out;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                    sqlite3_column_bytes(stmt, c));
            out << row;
        }
        sqlite3_reset(stmt);
        return out;
    }

    sqlite3* m_tape = nullptr;
    sqlite3* m_songDb = nullptr;
    sqlite3_stmt* m_rows = nullptr;
    sqlite3_stmt* m_medium = nullptr;
    sqlite3_stmt* m_songs = nullptr;
};

// The media window over the generated folder, shown once (untimed).
template <typename Body>
void inTapeWindow(benchmark::State& s, BenchContext& ctx, int n, Body&& body)
{
    WindowState w(ctx.folder(n));
    if (!w.open())
        return s.SkipWithError("cannot open the data folder");
    TapeWindow window(w.state);
    window.show();
    QCoreApplication::processEvents();
    if (window.tree().mediumCount() != GeneratedFolderPlan{}.media)
        return s.SkipWithError("the media tree was not filled");
    body(window);
    if (!w.prompter.asked().isEmpty())
        s.SkipWithError("the media window asked something");
}

template <typename Body>
void withRawMedia(benchmark::State& s, BenchContext& ctx, int n, Body&& body)
{
    RawMedia raw;
    if (!raw.open(ctx.folder(n)))
        return s.SkipWithError("cannot open the data folder");
    body(raw);
}

} // namespace

void registerMediaCases(BenchContext& ctx)
{
    ctx.table().setTarget("media_tree", kInteractiveTarget);
    // Not one of the listed actions: held to the time limit only.
    ctx.table().setTarget("medium_click", {0, 16.0, 100000, 0, "< 16 ms at 100000"});
    for (int n : ctx.sizes()) {
        // The tree rebuilt as on activation: every medium read, one node each.
        addPair(
            ctx, "media_tree", n, 50,
            [&ctx, n](benchmark::State& s) {
                inTapeWindow(s, ctx, n, [&](TapeWindow& window) {
                    for (auto _ : s)
                        timeIteration(s, ctx, "media_tree", n, false, [&] { window.reload(); });
                });
            },
            [&ctx, n](benchmark::State& s) {
                withRawMedia(s, ctx, n, [&](RawMedia& raw) {
                    for (auto _ : s)
                        timeIteration(s, ctx, "media_tree", n, true,
                                      [&] { benchmark::DoNotOptimize(raw.rows()); });
                });
            });
        // A click on a medium: its details and the songs recorded on it.
        addPair(
            ctx, "medium_click", n, kReadIterations,
            [&ctx, n](benchmark::State& s) {
                inTapeWindow(s, ctx, n, [&](TapeWindow& window) {
                    const MediaTree& tree = window.tree();
                    int i = 0;
                    for (auto _ : s) {
                        const QModelIndex node = tree.find(
                            generatedMediumName((i++ * 37) % GeneratedFolderPlan{}.media));
                        if (!node.isValid())
                            return s.SkipWithError("medium not in the tree");
                        timeIteration(s, ctx, "medium_click", n, false,
                                      [&] { window.clickNode(node); });
                    }
                });
            },
            [&ctx, n](benchmark::State& s) {
                withRawMedia(s, ctx, n, [&](RawMedia& raw) {
                    int i = 0;
                    for (auto _ : s) {
                        const QString name =
                            generatedMediumName((i++ * 37) % GeneratedFolderPlan{}.media);
                        timeIteration(s, ctx, "medium_click", n, true,
                                      [&] { benchmark::DoNotOptimize(raw.mediumAndSongs(name)); });
                    }
                });
            });
        // The media list text, as written to the list file and printed.
        addPair(
            ctx, "media_list_text", n, 50,
            [&ctx, n](benchmark::State& s) {
                MediaStore store(ctx.folder(n));
                for (auto _ : s) {
                    QString text;
                    timeIteration(s, ctx, "media_list_text", n, false, [&] {
                        text = media::mediaListText(store.all(), QDateTime::currentDateTime());
                    });
                    if (text.isEmpty())
                        return s.SkipWithError("no media list");
                }
            },
            [&ctx, n](benchmark::State& s) {
                withRawMedia(s, ctx, n, [&](RawMedia& raw) {
                    for (auto _ : s)
                        timeIteration(s, ctx, "media_list_text", n, true, [&] {
                            QString text;
                            for (const QStringList& row : raw.rows())
                                text += row.join('\t') + '\n';
                            benchmark::DoNotOptimize(text);
                        });
                });
            });
    }
}

} // namespace quillon::bench
