#include "cases.h"

#include "benchapp.h"
#include "rawserverdb.h"
#include "rawsongdb.h"
#include "songs/loadsongdialog.h"
#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "store/settings.h"

#include <memory>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QListView>
#include <QTemporaryDir>

namespace quillon::bench {

namespace {

// What the user waits for after "Open": the song dialog built, shown and its
// list filled, on the same state the main window hands it. Closing it is not
// timed.
void openSongListCase(benchmark::State& s, BenchContext& ctx, const DataFolder& folder,
                      const std::string& row, int n)
{
    WindowState w(folder);
    if (!w.open())
        return s.SkipWithError("cannot open the data folder");
    for (auto _ : s) {
        std::unique_ptr<LoadSongDialog> dialog;
        bool ok = false;
        timeIteration(s, ctx, row, n, false, [&] {
            dialog = std::make_unique<LoadSongDialog>(w.state);
            dialog->show();
            const QDeadlineTimer deadline(10000);
            do
                QCoreApplication::processEvents();
            while (dialog->list()->model()->rowCount() == 0 && !deadline.hasExpired());
            ok = dialog->list()->model()->rowCount() > 0;
        });
        dialog.reset();
        if (!ok || !w.prompter.asked().isEmpty())
            return s.SkipWithError("the song list was not read");
    }
}

// The song list on a server is read a page at a time; the first screen
// needs the first page only, so the list is measured up to this size too.
constexpr int kServerListSongs = 1000000;

void registerServerCases(BenchContext& ctx)
{
    ctx.table().setTarget("title_exists_server", {0, 16.0, 100000, 0, "< 16 ms at 100000"});
    ctx.table().setTarget("open_song_list_server",
                          {0, 16.0, kServerListSongs, 0, "< 16 ms at 1000000"});
    std::vector<int> listSizes = ctx.sizes();
    if (ctx.largest() >= 100000)
        listSizes.push_back(kServerListSongs);
    // The catalogue copied from the generated folder; at a million songs
    // one whose song table alone is filled, on the server.
    const auto folderOf = [&ctx](int n) -> const DataFolder& {
        return n == kServerListSongs ? ctx.servers()->songListOnly(n) : ctx.serverFolder(n);
    };
    for (int n : listSizes) {
        if (n != kServerListSongs)
            addPair(
                ctx, "title_exists_server", n, kReadIterations,
                [&ctx, n](benchmark::State& s) {
                    SongStore store(ctx.serverFolder(n));
                    runCase(
                        s, ctx, "title_exists_server", n, false, [&] { return store.open(); },
                        [&](const QString& title, int) {
                            return store.titleExists("  " + title.toLower() + " ");
                        });
                },
                [&ctx, n](benchmark::State& s) {
                    RawServerDb raw;
                    runCase(
                        s, ctx, "title_exists_server", n, true,
                        [&] { return raw.open(ctx.serverFolder(n).server().connectionUri()); },
                        [&](const QString& title, int) {
                            return raw.titleExists("  " + title.toLower() + " ");
                        });
                });
        // The dialog's first screen against a bare SELECT of the same page.
        addPair(
            ctx, "open_song_list_server", n, kReadIterations / 4,
            [&ctx, n, folderOf](benchmark::State& s) {
                openSongListCase(s, ctx, folderOf(n), "open_song_list_server", n);
            },
            [&ctx, n, folderOf](benchmark::State& s) {
                RawServerDb raw;
                runCase(
                    s, ctx, "open_song_list_server", n, true,
                    [&] { return raw.open(folderOf(n).server().connectionUri()); },
                    [&](const QString&, int) {
                        return raw.titlesAfter(0, SongTitleModel::kDefaultBatchSize).size() ==
                               size_t(SongTitleModel::kDefaultBatchSize);
                    });
            });
    }
}

} // namespace

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
                openSongListCase(s, ctx, ctx.folder(n), "open_song_list", n);
            },
            bareList("open_song_list"));
    }
    if (ctx.servers())
        registerServerCases(ctx);
}

} // namespace quillon::bench
