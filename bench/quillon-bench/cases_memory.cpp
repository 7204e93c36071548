#include "cases.h"

#include "songs/songstore.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <sys/resource.h>

namespace quillon::bench {

namespace {

const char kStorePrefix[] = "store:";

// Peak resident size of one child, in megabytes; -1 when it failed.
double childPeakMb(const char* program, const QString& mode)
{
    QProcess child;
    child.start(QString::fromLocal8Bit(program), {"--memory-child=" + mode});
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::fprintf(stderr, "memory child %s failed: %s\n", qPrintable(mode),
                     child.readAllStandardError().constData());
        return -1;
    }
    return child.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

double medianPeakMb(const char* program, const QString& mode)
{
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(childPeakMb(program, mode));
    return median(runs);
}

} // namespace

int memoryChildMain(int argc, char** argv, const std::string& mode)
{
    QApplication app(argc, argv);
    // The same window in both runs, so the difference is what the catalogue costs.
    QMainWindow window;
    window.menuBar()->addMenu("&File")->addAction("E&xit");
    window.statusBar()->showMessage("Ready");
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();

    std::unique_ptr<SongStore> store;
    QStringList titles;
    if (mode.rfind(kStorePrefix, 0) == 0) {
        store = std::make_unique<SongStore>(
            DataFolder(QString::fromStdString(mode.substr(sizeof kStorePrefix - 1))));
        if (!store->open())
            return 1;
        titles = store->titles();
        if (titles.isEmpty() || !store->titleExists(titles.last()) ||
            !store->song(titles.at(titles.size() / 2)))
            return 1;
        store->trackRow(titles.at(titles.size() / 2), 1);
        window.statusBar()->showMessage(QString("%1 songs").arg(titles.size()));
    }
    QCoreApplication::processEvents();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss); // kilobytes on Linux
    return 0;
}

void measureMemory(BenchContext& ctx, const char* program)
{
    const int n = ctx.largest();
    const QString dir = ctx.folder(n).dir();
    const double empty = medianPeakMb(program, "empty");
    const double withStore = medianPeakMb(program, kStorePrefix + dir);
    if (empty < 0 || withStore < 0)
        return;
    ctx.table().setTarget("peak_memory", {0, 0, 100000, 40, "<= +40 MB over empty window"});
    ctx.table().addMemory("peak_memory", n, withStore, empty);
}

} // namespace quillon::bench
