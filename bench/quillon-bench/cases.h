#pragma once

#include "benchcontext.h"
#include "datagen.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <string>

namespace quillon::bench {

// One function per case group. Each registers, for every size of the run,
// the case and then its baseline, so the two run side by side.
void registerSongWriteCases(BenchContext& ctx); // create, rename, delete
// Start-up, measured in child processes of this program (argv[0]).
void registerStartupCases(BenchContext& ctx, const char* program);
int startupChildMain(int argc, char** argv, const std::string& mode);
// The search index at the largest size: its first build, a search's first
// results on both engines, and what it adds to a create.
void registerSearchCases(BenchContext& ctx);
void registerIndexCostCases(BenchContext& ctx);
void registerSongReadCases(BenchContext& ctx); // Load_Song with the grid, leaving a box
void registerTitleCases(BenchContext& ctx);    // uniqueness check, open-song list
void registerMediaCases(BenchContext& ctx);    // media tree, a medium's songs, list text
void registerDocumentCases(BenchContext& ctx); // 1 MB RTF import/export, 100-page preview

// Peak resident memory, measured in child processes after the timed cases.
void measureMemory(BenchContext& ctx, const char* program);
// Entry point of such a child; returns the exit code.
int memoryChildMain(int argc, char** argv, const std::string& mode);

// Case names as they appear in the table and in the benchmark names.
inline std::string benchName(const std::string& caseName, bool baseline, int n)
{
    return caseName + (baseline ? "/baseline/" : "/quillon/") + std::to_string(n);
}

// Times fn once and records the iteration with Google Benchmark and the table.
template <typename Fn>
void timeIteration(benchmark::State& state, BenchContext& ctx, const std::string& caseName, int n,
                   bool baseline, Fn&& fn)
{
    const auto start = std::chrono::steady_clock::now();
    fn();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    ctx.table().add(caseName, n, baseline, seconds);
}

// Interactive actions: what a user waits for after a click or a key.
inline const Target kInteractiveTarget{2.0, 16.0, 100000, 0, "< 16 ms and <= 2x raw at 100000"};

// The songs visited, spread over the table so no one row stays hot.
inline QString visitedTitle(int n, int i)
{
    return generatedTitle(1 + int((qint64(i) * 7919) % (n - 1)));
}

// Opens the store or baseline untimed, then times body once per iteration.
template <typename Open, typename Body>
void runCase(benchmark::State& state, BenchContext& ctx, const std::string& caseName, int n,
             bool baseline, Open&& open, Body&& body)
{
    if (!open())
        return state.SkipWithError("cannot open the data folder");
    int i = 0;
    for (auto _ : state) {
        const QString title = visitedTitle(n, i);
        bool ok = true;
        timeIteration(state, ctx, caseName, n, baseline, [&] { ok = body(title, i); });
        ++i;
        if (!ok)
            return state.SkipWithError("read or write failed");
    }
}

inline void addPair(BenchContext&, const std::string& caseName, int n, int iterations,
                    const std::function<void(benchmark::State&)>& quillon,
                    const std::function<void(benchmark::State&)>& baseline)
{
    benchmark::RegisterBenchmark(benchName(caseName, false, n).c_str(), quillon)
        ->UseManualTime()
        ->Iterations(iterations)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(benchName(caseName, true, n).c_str(), baseline)
        ->UseManualTime()
        ->Iterations(iterations)
        ->Unit(benchmark::kMillisecond);
}

// Iterations per case: durable writes are slow and noisy on a shared disk,
// reads are quick.
inline constexpr int kWriteIterations = 25;
// A write to a server costs milliseconds, not a disk's sync; more of them
// steady the median against the other work on a shared machine.
inline constexpr int kServerWriteIterations = 100;
inline constexpr int kReadIterations = 200;

} // namespace quillon::bench
