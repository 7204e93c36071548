#include "cases.h"

#include <cstring>
#include <iostream>
#include <QApplication>
#include <QFile>
#include <thread>

using namespace quillon::bench;

namespace {

QString cpuModel()
{
    QFile cpuinfo("/proc/cpuinfo");
    if (cpuinfo.open(QIODevice::ReadOnly))
        for (const QByteArray& line : cpuinfo.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return "unknown CPU";
}

// Removes one argument from argv; true when it was there.
bool takeArgument(int& argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            for (int j = i; j < argc - 1; ++j)
                argv[j] = argv[j + 1];
            --argc;
            return true;
        }
    }
    return false;
}

} // namespace

// quillon-bench [--quick] [--no-memory] [Google Benchmark options]
// --quick (or QUILLON_BENCH_QUICK=1) measures 1,000 and 10,000 songs only.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strncmp(argv[1], "--memory-child=", 15) == 0)
        return memoryChildMain(argc, argv, argv[1] + 15);
    if (argc > 1 && std::strncmp(argv[1], "--startup-child=", 16) == 0)
        return startupChildMain(argc, argv, argv[1] + 16);

    const bool quick =
        takeArgument(argc, argv, "--quick") || qEnvironmentVariableIntValue("QUILLON_BENCH_QUICK");
    const bool memory = !takeArgument(argc, argv, "--no-memory");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    BenchContext ctx(quick ? std::vector<int>{1000, 10000} : std::vector<int>{1000, 10000, 100000});
    // The server cases need a PostgreSQL server the bench may create
    // databases on; without one they are left out, and the run says why.
    QString noServer;
    ctx.setServers(ServerCatalogues::fromEnvironment(&noServer));
    if (!ctx.servers())
        std::cerr << "server cases skipped: " << qPrintable(noServer) << "\n";
    registerStartupCases(ctx, argv[0]);
    registerSongWriteCases(ctx);
    registerSongReadCases(ctx);
    registerTitleCases(ctx);
    registerMediaCases(ctx);
    registerDocumentCases(ctx);
    // Last: they build the search index of the largest folder (minutes).
    registerSearchCases(ctx);
    registerIndexCostCases(ctx);
    benchmark::RunSpecifiedBenchmarks();
    if (memory)
        measureMemory(ctx, argv[0]);

    std::cout << "\n## quillon-bench" << (quick ? " (quick)" : "")
              << "\n\nMachine: " << std::thread::hardware_concurrency() << " cores, "
              << qPrintable(cpuModel())
              << ". Times are medians of single iterations; compare ratios.\n";
    if (ctx.servers())
        std::cout << "Server cases on " << qPrintable(ctx.servers()->describe()) << ".\n";
    ctx.table().printMarkdown(std::cout);
    benchmark::Shutdown();
    return 0;
}
