#include "cases.h"

#include "datagen.h"
#include "rawserverdb.h"
#include "rawsongdb.h"
#include "samecpu.h"
#include "servercatalogues.h"
#include "songs/songstore.h"

namespace quillon::bench {

namespace {

const Target kWriteTarget{1.3, 0, 0, 0, "<= 1.3x raw"};
// On a server every write is also an interactive action.
const Target kServerWriteTarget{1.3, 16.0, 0, 0, "< 16 ms and <= 1.3x raw"};

void abortCase(benchmark::State& state, const char* what)
{
    state.SkipWithError(what);
}

// One write of op through store (SongStore or a raw baseline), i-th of its
// case. The part not being measured (delete after a create, create before
// a delete) runs untimed, so each leaves the catalogue as it found it. The
// timed part goes into the table as row; returns its seconds, or a negative
// number when a write failed.
template <typename Store, typename Create>
double writeOnce(BenchContext& ctx, Store& store, const std::string& op, const std::string& row,
                 int n, bool baseline, int i, Create&& create)
{
    const QString existing = generatedTitle(n / 2);
    const QString title = QString("%1 %2 %3")
                              .arg(baseline ? "Raw" : "Bench")
                              .arg(QString::fromStdString(op.substr(5)))
                              .arg(i);
    bool ok = true;
    double seconds = 0;
    const auto timed = [&seconds](auto&& write) {
        const auto start = std::chrono::steady_clock::now();
        write();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    if (op == "song_create") {
        timed([&] { ok = create(title); });
        ok = ok && store.remove(title);
    } else if (op == "song_rename") {
        timed([&] { ok = store.rename(existing, title); });
        ok = ok && store.rename(title, existing);
    } else {
        ok = create(title);
        timed([&] { ok = ok && store.remove(title); });
    }
    ctx.table().add(row, n, baseline, seconds);
    return ok ? seconds : -1;
}

auto songCreator(SongStore& store)
{
    return [&store](const QString& title) {
        return store.create({title, "Words", "Music", "01.01.2020"});
    };
}

template <typename Raw> auto rawCreator(Raw& raw)
{
    return
        [&raw](const QString& title) { return raw.create(title, "Words", "Music", "01.01.2020"); };
}

// The data folder: the store's iterations, then the baseline's.
void storeCase(benchmark::State& state, BenchContext& ctx, const std::string& op, int n)
{
    SongStore store(ctx.folder(n));
    if (!store.open())
        return abortCase(state, "cannot open the song store");
    int i = 0;
    for (auto _ : state) {
        const double seconds = writeOnce(ctx, store, op, op, n, false, i++, songCreator(store));
        if (seconds < 0)
            return abortCase(state, "song store write failed");
        state.SetIterationTime(seconds);
    }
}

void rawCase(benchmark::State& state, BenchContext& ctx, const std::string& op, int n)
{
    RawSongDb raw;
    if (!raw.open(ctx.folder(n)))
        return abortCase(state, "cannot open the raw baseline");
    int i = 0;
    for (auto _ : state) {
        const double seconds = writeOnce(ctx, raw, op, op, n, true, i++, rawCreator(raw));
        if (seconds < 0)
            return abortCase(state, "raw write failed");
        state.SetIterationTime(seconds);
    }
}

// The server: each iteration writes through both, taking turns at going
// first, so that the other work on a shared machine and server falls on
// both sides alike.
void serverPairCase(benchmark::State& state, BenchContext& ctx, const std::string& op, int n)
{
    const DataFolder& folder = ctx.serverFolder(n);
    SongStore store(folder);
    RawServerDb raw;
    if (!store.open() || !raw.open(folder.server().connectionUri()))
        return abortCase(state, "cannot open the server catalogue");
    const std::string row = op + "_server";
    int i = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (bool baseline : {i % 2 == 1, i % 2 == 0}) {
            const double s = baseline
                                 ? writeOnce(ctx, raw, op, row, n, true, i, rawCreator(raw))
                                 : writeOnce(ctx, store, op, row, n, false, i, songCreator(store));
            if (s < 0)
                return abortCase(state, baseline ? "raw write failed" : "song store write failed");
            seconds += s;
        }
        ++i;
        state.SetIterationTime(seconds);
    }
}

auto creatorFor(SongStore& store)
{
    return songCreator(store);
}

// A create with the search index kept against the same without it, each
// iteration through both, taking turns at going first: the store on the
// indexed catalogue against the store on one that has no index (a folder
// never indexed; a server copy whose index table is dropped, on the
// server then both connections' processes beside the bench).
template <typename Other>
void indexCostCase(benchmark::State& state, BenchContext& ctx, const DataFolder& indexed,
                   Other& other, const std::string& row, int n,
                   const DataFolder* otherOnServer = nullptr)
{
    SongStore store(indexed);
    if (!store.open())
        return abortCase(state, "cannot open the indexed catalogue");
    const SameCpu placed(otherOnServer ? ctx.servers()->serverProcesses(indexed) +
                                             ctx.servers()->serverProcesses(*otherOnServer)
                                       : QList<qint64>{});
    int i = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (bool baseline : {i % 2 == 1, i % 2 == 0}) {
            const double s =
                baseline
                    ? writeOnce(ctx, other, "song_create", row, n, true, i, creatorFor(other))
                    : writeOnce(ctx, store, "song_create", row, n, false, i, songCreator(store));
            if (s < 0)
                return abortCase(state, "create failed");
            seconds += s;
        }
        ++i;
        state.SetIterationTime(seconds);
    }
}

void registerWrite(const std::string& name, int iterations,
                   std::function<void(benchmark::State&)> run)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->UseManualTime()
        ->Iterations(iterations)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

void registerSongWriteCases(BenchContext& ctx)
{
    for (const std::string op : {"song_create", "song_rename", "song_delete"}) {
        ctx.table().setTarget(op, kWriteTarget);
        for (int n : ctx.sizes()) {
            registerWrite(benchName(op, false, n), kWriteIterations,
                          [&ctx, op, n](benchmark::State& s) { storeCase(s, ctx, op, n); });
            registerWrite(benchName(op, true, n), kWriteIterations,
                          [&ctx, op, n](benchmark::State& s) { rawCase(s, ctx, op, n); });
        }
    }
    if (!ctx.servers())
        return;
    // The same actions on the server catalogue, against the statements
    // SongStore sends there, sent with libpq; both sides in one benchmark.
    for (const std::string op : {"song_create", "song_rename", "song_delete"}) {
        ctx.table().setTarget(op + "_server", kServerWriteTarget);
        for (int n : ctx.sizes())
            registerWrite(op + "_server/paired/" + std::to_string(n), kServerWriteIterations,
                          [&ctx, op, n](benchmark::State& s) { serverPairCase(s, ctx, op, n); });
    }
}

void registerIndexCostCases(BenchContext& ctx)
{
    const int n = ctx.largest();
    ctx.table().setTarget("song_create_index", kWriteTarget);
    registerWrite("song_create_index/paired/" + std::to_string(n), kWriteIterations,
                  [&ctx, n](benchmark::State& s) {
                      const DataFolder& indexed = ctx.indexedFolder(n);
                      SongStore without(ctx.folder(n));
                      if (!without.open())
                          return abortCase(s, "cannot open the folder without an index");
                      indexCostCase(s, ctx, indexed, without, "song_create_index", n);
                  });
    if (!ctx.servers())
        return;
    ctx.table().setTarget("song_create_index_server", kServerWriteTarget);
    registerWrite("song_create_index_server/paired/" + std::to_string(n), kServerWriteIterations,
                  [&ctx, n](benchmark::State& s) {
                      const DataFolder& server =
                          ctx.servers()->withSearchIndex(ctx.indexedFolder(n), n);
                      const DataFolder& bare = ctx.servers()->withoutSearchIndex(ctx.folder(n), n);
                      SongStore without(bare);
                      if (!without.open())
                          return abortCase(s, "cannot open the server copy without an index");
                      indexCostCase(s, ctx, server, without, "song_create_index_server", n, &bare);
                  });
}

} // namespace quillon::bench
