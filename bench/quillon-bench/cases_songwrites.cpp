#include "cases.h"

#include "datagen.h"
#include "rawsongdb.h"
#include "songs/songstore.h"

namespace quillon::bench {

namespace {

const Target kWriteTarget{1.3, 0, 0, 0, "<= 1.3x raw"};

void abortCase(benchmark::State& state, const char* what)
{
    state.SkipWithError(what);
}

// Each iteration leaves the folder as it found it: the part not being
// measured (delete after a create, create before a delete) runs untimed.
void storeCase(benchmark::State& state, BenchContext& ctx, const std::string& op, int n)
{
    SongStore store(ctx.folder(n));
    if (!store.open())
        return abortCase(state, "cannot open the song store");
    int i = 0;
    const QString existing = generatedTitle(n / 2);
    for (auto _ : state) {
        const QString title =
            QString("Bench %1 %2").arg(QString::fromStdString(op.substr(5))).arg(i++);
        bool ok = true;
        if (op == "song_create") {
            timeIteration(state, ctx, op, n, false, [&] {
                ok = store.create({title, "Words", "Music", "01.01.2020"});
            });
            ok = ok && store.remove(title);
        } else if (op == "song_rename") {
            timeIteration(state, ctx, op, n, false, [&] { ok = store.rename(existing, title); });
            ok = ok && store.rename(title, existing);
        } else {
            ok = store.create({title, "Words", "Music", "01.01.2020"});
            timeIteration(state, ctx, op, n, false, [&] { ok = ok && store.remove(title); });
        }
        if (!ok)
            return abortCase(state, "song store write failed");
    }
}

void rawCase(benchmark::State& state, BenchContext& ctx, const std::string& op, int n)
{
    RawSongDb raw;
    if (!raw.open(ctx.folder(n)))
        return abortCase(state, "cannot open the raw baseline");
    int i = 0;
    const QString existing = generatedTitle(n / 2);
    for (auto _ : state) {
        const QString title =
            QString("Raw %1 %2").arg(QString::fromStdString(op.substr(5))).arg(i++);
        bool ok = true;
        if (op == "song_create") {
            timeIteration(state, ctx, op, n, true,
                          [&] { ok = raw.create(title, "Words", "Music", "01.01.2020"); });
            ok = ok && raw.remove(title);
        } else if (op == "song_rename") {
            timeIteration(state, ctx, op, n, true, [&] { ok = raw.rename(existing, title); });
            ok = ok && raw.rename(title, existing);
        } else {
            ok = raw.create(title, "Words", "Music", "01.01.2020");
            timeIteration(state, ctx, op, n, true, [&] { ok = ok && raw.remove(title); });
        }
        if (!ok)
            return abortCase(state, "raw write failed");
    }
}

} // namespace

void registerSongWriteCases(BenchContext& ctx)
{
    for (const std::string op : {"song_create", "song_rename", "song_delete"}) {
        ctx.table().setTarget(op, kWriteTarget);
        for (int n : ctx.sizes()) {
            benchmark::RegisterBenchmark(
                benchName(op, false, n).c_str(),
                [&ctx, op, n](benchmark::State& s) { storeCase(s, ctx, op, n); })
                ->UseManualTime()
                ->Iterations(kWriteIterations)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(
                benchName(op, true, n).c_str(),
                [&ctx, op, n](benchmark::State& s) { rawCase(s, ctx, op, n); })
                ->UseManualTime()
                ->Iterations(kWriteIterations)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace quillon::bench
