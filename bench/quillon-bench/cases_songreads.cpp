#include "cases.h"

#include "app/mainwindow.h"
#include "benchapp.h"
#include "common/appstate.h"
#include "datagen.h"
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
}

} // namespace quillon::bench
