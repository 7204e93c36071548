#include "cases.h"

#include "benchapp.h"
#include "songs/loadsongdialog.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <QApplication>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace quillon::bench {

namespace {

const char kMainPrefix[] = "main:";

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
    QMainWindow empty;
    QTemporaryDir settingsDir;
    std::unique_ptr<BenchApp> program;
    std::unique_ptr<LoadSongDialog> songList;
    if (mode.rfind(kMainPrefix, 0) == 0) {
        // The program with the catalogue: the main window with a song loaded,
        // then the open-song dialog shown over it.
        const DataFolder folder(QString::fromStdString(mode.substr(sizeof kMainPrefix - 1)));
        program = std::make_unique<BenchApp>(folder, settingsDir.filePath("settings.ini"));
        program->markBackupDone();
        program->setRecentSong(generatedTitle(1));
        if (!settingsDir.isValid() || !program->start())
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
    const double withStore = medianPeakMb(program, kMainPrefix + dir);
    if (empty < 0 || withStore < 0)
        return;
    ctx.table().setTarget("peak_memory", {0, 0, 100000, 40, "<= +40 MB over empty window"});
    ctx.table().addMemory("peak_memory", n, withStore, empty);
}

} // namespace quillon::bench
