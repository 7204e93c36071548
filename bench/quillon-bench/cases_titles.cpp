#include "cases.h"

#include "benchapp.h"
#include "rawsongdb.h"
#include "songs/loadsongdialog.h"
#include "songs/songstore.h"
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
void openSongListCase(benchmark::State& s, BenchContext& ctx, int n)
{
    WindowState w(ctx.folder(n));
    if (!w.open())
        return s.SkipWithError("cannot open the data folder");
    for (auto _ : s) {
        std::unique_ptr<LoadSongDialog> dialog;
        bool ok = false;
        timeIteration(s, ctx, "open_song_list", n, false, [&] {
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
            [&ctx, n](benchmark::State& s) { openSongListCase(s, ctx, n); },
            bareList("open_song_list"));
    }
}

} // namespace quillon::bench
