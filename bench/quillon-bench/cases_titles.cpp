#include "cases.h"

#include "rawsongdb.h"
#include "songs/songstore.h"

namespace quillon::bench {

void registerTitleCases(BenchContext& ctx)
{
    ctx.table().setTarget("title_exists", kInteractiveTarget);
    ctx.table().setTarget("open_song_list", kInteractiveTarget);
    for (int n : ctx.sizes()) {
        // The baseline of both: a bare SELECT songtitle FROM xtrax into a list.
        const auto bareList = [&ctx, n](const std::string& caseName) {
            return [&ctx, n, caseName](benchmark::State& s) {
                RawSongDb raw;
                runCase(
                    s, ctx, caseName, n, true, [&] { return raw.open(ctx.folder(n)); },
                    [&](const QString&, int) { return raw.titles().size() == n; });
            };
        };
        addPair(
            ctx, "title_exists", n, kReadIterations,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.folder(n));
                runCase(
                    s, ctx, "title_exists", n, false, [&] { return store.open(); },
                    [&](const QString& title, int) {
                        // Typed in another case with blanks around: must still be found.
                        return store.titleExists("  " + title.toLower() + " ");
                    });
            },
            bareList("title_exists"));
        addPair(
            ctx, "open_song_list", n, kReadIterations / 4,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.folder(n));
                runCase(
                    s, ctx, "open_song_list", n, false, [&] { return store.open(); },
                    [&](const QString&, int) { return store.titles().size() == n; });
            },
            bareList("open_song_list"));
    }
}

} // namespace quillon::bench
