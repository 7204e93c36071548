#include "cases.h"

#include "datagen.h"
#include "rawsongdb.h"
#include "songs/songstore.h"

namespace quillon::bench {

namespace {

// Texts of one bank; each side writes its own, so neither finds its values
// already in place from the other's run.
QStringList bank(int i, const char* side)
{
    QStringList texts;
    for (int k = 1; k <= 24; ++k)
        texts << QString("Track %1 take %2 %3").arg(k).arg(i).arg(QLatin1String(side));
    return texts;
}

} // namespace

void registerSongReadCases(BenchContext& ctx)
{
    ctx.table().setTarget("song_load", kInteractiveTarget);
    ctx.table().setTarget("track_writeback", kInteractiveTarget);
    for (int n : ctx.sizes()) {
        addPair(
            ctx, "song_load", n, kReadIterations,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.folder(n));
                runCase(
                    s, ctx, "song_load", n, false, [&] { return store.open(); },
                    [&](const QString& title, int) {
                        const auto song = store.song(title);
                        const QStringList tracks = store.trackRow(title, 1);
                        return song && tracks.size() == 96;
                    });
            },
            [&ctx, n](benchmark::State& s) {
                RawSongDb raw;
                runCase(
                    s, ctx, "song_load", n, true, [&] { return raw.open(ctx.folder(n)); },
                    [&](const QString& title, int) {
                        const QStringList song = raw.songRow(title);
                        const QStringList tracks = raw.trackRow(title, 1);
                        return !song.isEmpty() && tracks.size() == 97;
                    });
            });
        addPair(
            ctx, "track_writeback", n, kWriteIterations,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.folder(n));
                runCase(
                    s, ctx, "track_writeback", n, false, [&] { return store.open(); },
                    [&](const QString& title, int i) {
                        return store.writeTracks(title, 1, 1, bank(i, "quillon"));
                    });
            },
            [&ctx, n](benchmark::State& s) {
                RawSongDb raw;
                runCase(
                    s, ctx, "track_writeback", n, true, [&] { return raw.open(ctx.folder(n)); },
                    [&](const QString& title, int i) {
                        return raw.writeTracks(title, 1, bank(i, "raw"));
                    });
            });
    }
}

} // namespace quillon::bench
