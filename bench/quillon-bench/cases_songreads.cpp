#include "cases.h"

#include "app/mainwindow.h"
#include "benchapp.h"
#include "common/appstate.h"
#include "datagen.h"
#include "rawserverdb.h"
#include "rawsongdb.h"
#include "songs/songstore.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTemporaryDir>

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

// A started main window for the cases that work in it.
template <typename Body>
void inMainWindow(benchmark::State& s, BenchContext& ctx, int n, Body&& body)
{
    QTemporaryDir settingsDir;
    BenchApp app(ctx.folder(n), settingsDir.filePath("settings.ini"));
    app.markBackupDone();
    app.setRecentSong(visitedTitle(n, 0));
    if (!settingsDir.isValid() || !app.start())
        return s.SkipWithError("the main window did not start");
    body(app);
}

// The tracks of the bank as they stand, read before the write (untimed).
QStringList asRead(const QStringList& row)
{
    return row.mid(0, 24);
}

const Target kServerReadTarget{0, 16.0, 100000, 0, "< 16 ms at 100000"};

// The reads of a song on the server catalogue and its first bank written
// back with the values it was read with; each beside libpq.
void registerServerCases(BenchContext& ctx)
{
    ctx.table().setTarget("song_load_server", kServerReadTarget);
    ctx.table().setTarget("track_writeback_server", kServerReadTarget);
    for (int n : ctx.sizes()) {
        addPair(
            ctx, "song_load_server", n, kReadIterations,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.serverFolder(n));
                runCase(
                    s, ctx, "song_load_server", n, false, [&] { return store.open(); },
                    [&](const QString& title, int) {
                        bool found = false;
                        const std::optional<SongRecord> song = store.song(title);
                        const QStringList tracks = store.trackRow(title, 1, &found);
                        return song && found && tracks.size() == 96;
                    });
            },
            [&ctx, n](benchmark::State& s) {
                RawServerDb raw;
                runCase(
                    s, ctx, "song_load_server", n, true,
                    [&] { return raw.open(ctx.serverFolder(n).server().connectionUri()); },
                    [&](const QString& title, int) {
                        const QStringList song = raw.songRow(title);
                        const QStringList tracks = raw.trackRow(title, 1);
                        return !song.isEmpty() && tracks.size() > 96;
                    });
            });
        addPair(
            ctx, "track_writeback_server", n, kServerWriteIterations,
            [&ctx, n](benchmark::State& s) {
                SongStore store(ctx.serverFolder(n));
                if (!store.open())
                    return s.SkipWithError("cannot open the server catalogue");
                int i = 0;
                for (auto _ : s) {
                    const QString title = visitedTitle(n, ++i);
                    const QStringList expected = asRead(store.trackRow(title, 1));
                    const QStringList texts = bank(i, "quillon");
                    bool ok = false;
                    timeIteration(s, ctx, "track_writeback_server", n, false,
                                  [&] { ok = store.writeTracks(title, 1, 1, texts, expected); });
                    if (!ok || store.trackRow(title, 1).value(0) != texts.first())
                        return s.SkipWithError("the tracks were not written");
                }
            },
            [&ctx, n](benchmark::State& s) {
                RawServerDb raw;
                if (!raw.open(ctx.serverFolder(n).server().connectionUri()))
                    return s.SkipWithError("cannot open the raw baseline");
                int i = 0;
                for (auto _ : s) {
                    const QString title = visitedTitle(n, ++i);
                    const QStringList expected = asRead(raw.trackRow(title, 1));
                    const QStringList texts = bank(i, "raw");
                    bool ok = false;
                    timeIteration(s, ctx, "track_writeback_server", n, true,
                                  [&] { ok = raw.writeTracks(title, 1, texts, expected); });
                    if (!ok || raw.trackRow(title, 1).value(0) != texts.first())
                        return s.SkipWithError("the tracks were not written");
                }
            });
    }
}

} // namespace

void registerSongReadCases(BenchContext& ctx)
{
    ctx.table().setTarget("song_load", kInteractiveTarget);
    ctx.table().setTarget("track_writeback", kInteractiveTarget);
    for (int n : ctx.sizes()) {
        // Load_Song: caption, song panel, device slot 1 and the grid filled.
        addPair(
            ctx, "song_load", n, kReadIterations,
            [&ctx, n](benchmark::State& s) {
                inMainWindow(s, ctx, n, [&](BenchApp& app) {
                    int i = 0;
                    for (auto _ : s) {
                        const QString title = visitedTitle(n, ++i);
                        timeIteration(s, ctx, "song_load", n, false, [&] {
                            app.state().currentSong = title;
                            app.window().loadSong();
                        });
                        if (app.state().currentSong != title)
                            return s.SkipWithError("the song was not loaded");
                    }
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
        // Leaving a track box: the bank of 24 boxes written back, durably.
        addPair(
            ctx, "track_writeback", n, kWriteIterations,
            [&ctx, n](benchmark::State& s) {
                inMainWindow(s, ctx, n, [&](BenchApp& app) {
                    auto* box = app.window().findChild<QLineEdit*>("trax_1");
                    if (!box)
                        return s.SkipWithError("no track box");
                    int i = 0;
                    for (auto _ : s) {
                        const QString title = visitedTitle(n, ++i);
                        app.state().currentSong = title;
                        app.window().loadSong();
                        const QString text = bank(i, "quillon").first();
                        box->setText(text);
                        timeIteration(s, ctx, "track_writeback", n, false, [&] {
                            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                            QCoreApplication::sendEvent(box, &out);
                        });
                        if (app.songs().trackRow(title, 1).value(0) != text)
                            return s.SkipWithError("the track was not written");
                    }
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
    if (ctx.servers())
        registerServerCases(ctx);
}

} // namespace quillon::bench
