#include "cases.h"

#include "rawsearch.h"
#include "search/cataloguesearch.h"

namespace quillon::bench {

namespace {

// What the search window asks for: the first hits of every kind.
constexpr int kPerKind = 20;
constexpr int kSearchIterations = 15;
const Target kSearchTarget{0, 16.0, 0, 0, "< 16 ms"};

struct Query {
    const char* row;
    QString text;
};

// Representative queries of the generated catalogue: a word a single song
// has (the number in its title), the start of a word on thousands of track
// sheets, two words that stand together on many of them, and a phrase.
QList<Query> queries(int n)
{
    return {{"search_first_rare", QString::number(n * 3 / 4 + 7)},
            {"search_first_prefix", QStringLiteral("voc")},
            {"search_first_words", QStringLiteral("snare take")},
            {"search_first_phrase", QStringLiteral("\"lead vocal\"")}};
}

// Each iteration searches through both, taking turns at going first; the
// connections stay open between searches, as in the search window.
void searchCase(benchmark::State& state, BenchContext& ctx, const DataFolder& folder,
                const std::string& row, const QString& text, int n)
{
    CatalogueSearch search(folder);
    RawSearch raw;
    const SearchQuery query(text);
    if (!raw.open(folder))
        return state.SkipWithError("cannot open the baseline's connections");
    // Opened and the statements' plans made once, untimed.
    if (search.find(query, kPerKind).isEmpty() || raw.candidates(query, kPerKind).isEmpty())
        return state.SkipWithError(qPrintable("no hits: " + search.lastError()));
    int i = 0;
    for (auto _ : state) {
        double seconds = 0;
        bool ok = true;
        for (bool baseline : {i % 2 == 1, i % 2 == 0}) {
            const auto start = std::chrono::steady_clock::now();
            ok = ok && (baseline ? !raw.candidates(query, kPerKind).isEmpty()
                                 : !search.find(query, kPerKind).isEmpty());
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ctx.table().add(row, n, baseline, s);
            seconds += s;
        }
        ++i;
        if (!ok)
            return state.SkipWithError("a search found nothing");
        state.SetIterationTime(seconds);
    }
}

void registerSearch(const std::string& name, std::function<void(benchmark::State&)> run)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->UseManualTime()
        ->Iterations(kSearchIterations)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

void registerSearchCases(BenchContext& ctx)
{
    const int n = ctx.largest();
    // The first build, timed once (the first call of indexedFolder).
    benchmark::RegisterBenchmark(("search_build/" + std::to_string(n)).c_str(),
                                 [&ctx, n](benchmark::State& s) {
                                     for (auto _ : s)
                                         ctx.indexedFolder(n);
                                 })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    for (const Query& q : queries(n)) {
        ctx.table().setTarget(q.row, kSearchTarget);
        registerSearch(std::string(q.row) + "/paired/" + std::to_string(n),
                       [&ctx, q, n](benchmark::State& s) {
                           searchCase(s, ctx, ctx.indexedFolder(n), q.row, q.text, n);
                       });
    }
    if (!ctx.servers())
        return;
    for (const Query& q : queries(n)) {
        const std::string row = std::string(q.row) + "_server";
        ctx.table().setTarget(row, kSearchTarget);
        registerSearch(
            row + "/paired/" + std::to_string(n), [&ctx, q, row, n](benchmark::State& s) {
                searchCase(s, ctx, ctx.servers()->withSearchIndex(ctx.indexedFolder(n), n), row,
                           q.text, n);
            });
    }
}

} // namespace quillon::bench
