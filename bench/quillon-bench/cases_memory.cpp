#include "cases.h"

#include "benchapp.h"
#include "songs/loadsongdialog.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <QApplication>
#include <QFile>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>

namespace quillon::bench {

namespace {

// Peak resident size of one child, in megabytes; -1 when it failed.
double childPeakMb(const char* program, const QStringList& arguments)
{
    QProcess child;
    child.start(QString::fromLocal8Bit(program), arguments);
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::fprintf(stderr, "memory child %s failed: %s\n", qPrintable(arguments.join(' ')),
                     child.readAllStandardError().constData());
        return -1;
    }
    return child.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

double medianPeakMb(const char* program, const QStringList& arguments)
{
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(childPeakMb(program, arguments));
    return median(runs);
}

} // namespace

int memoryChildMain(int argc, char** argv, const std::string& mode)
{
    QApplication app(argc, argv);
    QMainWindow empty;
    std::unique_ptr<BenchApp> program;
    std::unique_ptr<LoadSongDialog> songList;
    if (mode == "main" && argc >= 4) {
        // The program with the catalogue (main <data folder> <settings file>):
        // the main window with a song loaded, then the open-song dialog
        // shown over it.
        program = std::make_unique<BenchApp>(DataFolder(QString::fromLocal8Bit(argv[2])),
                                             QString::fromLocal8Bit(argv[3]));
        if (!program->start())
            return 1;
        songList = std::make_unique<LoadSongDialog>(program->state());
        songList->show();
        QCoreApplication::processEvents();
        if (songList->list()->model()->rowCount() == 0)
            return 1;
    } else {
        empty.menuBar()->addMenu("&File")->addAction("E&xit");
        empty.statusBar()->showMessage("Ready");
        empty.resize(1000, 700);
        empty.show();
    }
    QCoreApplication::processEvents();
    // VmHWM, not getrusage: ru_maxrss survives exec, so a child would report
    // the peak of the benchmark process it was forked from.
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            std::printf("%s\n", line.mid(6).trimmed().split(' ').first().constData()); // kB
    return 0;
}

void measureMemory(BenchContext& ctx, const char* program)
{
    const int n = ctx.largest();
    const QString dir = ctx.folder(n).dir();
    // An ordinary start: today's backup made, the folder as the last orderly
    // exit left it (a first start here records it). A start after a crash
    // or a change from outside runs the data check as well; measured apart.
    QTemporaryDir settingsDir;
    const QString ordinary = settingsDir.filePath("ordinary.ini");
    const QString checked = settingsDir.filePath("checked.ini");
    BenchApp first(ctx.folder(n), ordinary);
    first.markBackupDone();
    first.setRecentSong(generatedTitle(1));
    BenchApp(ctx.folder(n), checked).setRecentSong(generatedTitle(1));
    if (!settingsDir.isValid() || !first.start())
        return;
    first.stop();
    const double empty = medianPeakMb(program, {"--memory-child=empty"});
    const double withSongs = medianPeakMb(program, {"--memory-child=main", dir, ordinary});
    std::vector<double> checkedRuns;
    for (int i = 0; i < 3; ++i) {
        QFile::remove(checked);
        BenchApp(ctx.folder(n), checked).setRecentSong(generatedTitle(1));
        checkedRuns.push_back(childPeakMb(program, {"--memory-child=main", dir, checked}));
    }
    if (empty < 0 || withSongs < 0)
        return;
    ctx.table().setTarget("peak_memory", {0, 0, 100000, 40, "<= +40 MB over empty window"});
    ctx.table().addMemory("peak_memory", n, withSongs, empty);
    ctx.table().setTarget("peak_memory_checked_start",
                          {0, 0, 100000, 40, "<= +40 MB over empty window"});
    if (median(checkedRuns) >= 0)
        ctx.table().addMemory("peak_memory_checked_start", n, median(checkedRuns), empty);
}

} // namespace quillon::bench
