#include "cases.h"

#include "benchapp.h"

#include <chrono>
#include <cstdio>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>

namespace quillon::bench {

namespace {

// The monotonic clock is the same in every process of the machine, so a
// child can say when it was ready and the parent, which knows when it
// started the child, gets the whole start-up: exec, libraries, QApplication
// and the window.
qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Seconds from launching a start-up child to its report of being ready; -1
// when it failed.
double childStartup(const char* program, const QStringList& arguments)
{
    QProcess child;
    const qint64 launched = nowNs();
    child.start(QString::fromLocal8Bit(program), arguments);
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::fprintf(stderr, "start-up child failed: %s\n",
                     child.readAllStandardError().constData());
        return -1;
    }
    bool ok = false;
    const qint64 ready = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    return ok ? (ready - launched) / 1e9 : -1;
}

void timeChildren(benchmark::State& s, BenchContext& ctx, const std::string& caseName, int n,
                  bool baseline, const char* program,
                  const std::function<QStringList(int)>& arguments)
{
    int i = 0;
    for (auto _ : s) {
        const double seconds = childStartup(program, arguments(i++));
        if (seconds < 0)
            return s.SkipWithError("the start-up child failed");
        s.SetIterationTime(seconds);
        ctx.table().add(caseName, n, baseline, seconds);
    }
}

void timeEmptyWindow(benchmark::State& s, BenchContext& ctx, const std::string& caseName, int n,
                     const char* program)
{
    timeChildren(s, ctx, caseName, n, true, program,
                 [](int) { return QStringList{"--startup-child=empty"}; });
}

} // namespace

int startupChildMain(int argc, char** argv, const std::string& mode)
{
    QApplication app(argc, argv);
    if (mode == "empty") {
        QMainWindow window;
        window.menuBar()->addMenu("&File")->addAction("E&xit");
        window.statusBar()->showMessage("Ready");
        window.resize(1000, 700);
        window.show();
        QCoreApplication::processEvents();
        std::printf("%lld\n", static_cast<long long>(nowNs()));
        return 0;
    }
    // main <data folder> <settings file>: the program up to its first
    // activation done with the recent song loaded, then its orderly exit.
    // checked: the same start when it has to run the data check.
    if ((mode != "main" && mode != "checked") || argc < 4)
        return 2;
    BenchApp program(DataFolder(QString::fromLocal8Bit(argv[2])), QString::fromLocal8Bit(argv[3]));
    if (!program.start())
        return 1;
    const qint64 ready = nowNs();
    if (program.checkedAtStart() != (mode == "checked"))
        return 3; // not the kind of start measured here
    program.stop();
    std::printf("%lld\n", static_cast<long long>(ready));
    return 0;
}

void registerStartupCases(BenchContext& ctx, const char* program)
{
    ctx.table().setTarget("startup", {1.5, 0, 100000, 0, "<= 1.5x empty window at 100000"});
    for (int n : ctx.sizes())
        addPair(
            ctx, "startup", n, 15,
            [&ctx, n, program](benchmark::State& s) {
                // Today's backup counts as made and the folder as the last
                // orderly exit left it (an untimed first start records it):
                // an ordinary start, not the day's first.
                QTemporaryDir settingsDir;
                const QString settings = settingsDir.filePath("settings.ini");
                const QString dir = ctx.folder(n).dir();
                BenchApp first(ctx.folder(n), settings);
                first.markBackupDone();
                first.setRecentSong(visitedTitle(n, 0));
                if (!settingsDir.isValid() || !first.start())
                    return s.SkipWithError("the main window did not start");
                first.stop();
                timeChildren(s, ctx, "startup", n, false, program, [&](int i) {
                    first.setRecentSong(visitedTitle(n, i));
                    return QStringList{"--startup-child=main", dir, settings};
                });
            },
            [&ctx, n, program](benchmark::State& s) {
                timeEmptyWindow(s, ctx, "startup", n, program);
            });

    // The start after a crash, a restore or a change from outside: the data
    // check reads every title of the eleven tables before the window is ready.
    ctx.table().setTarget("startup_checked",
                          {0, 2500, 100000, 0, "< 2.5 s at 100000 (the data check)"});
    for (int n : ctx.sizes())
        addPair(
            ctx, "startup_checked", n, 5,
            [&ctx, n, program](benchmark::State& s) {
                // Today's backup counts as made; each start gets settings
                // that remember no earlier exit, so each one checks.
                QTemporaryDir settingsDir;
                const QString dir = ctx.folder(n).dir();
                BenchApp(ctx.folder(n), settingsDir.filePath("first.ini")).markBackupDone();
                if (!settingsDir.isValid())
                    return s.SkipWithError("no settings folder");
                timeChildren(s, ctx, "startup_checked", n, false, program, [&](int i) {
                    const QString settings = settingsDir.filePath(QString("checked-%1.ini").arg(i));
                    BenchApp(ctx.folder(n), settings).setRecentSong(visitedTitle(n, i));
                    return QStringList{"--startup-child=checked", dir, settings};
                });
            },
            [&ctx, n, program](benchmark::State& s) {
                timeEmptyWindow(s, ctx, "startup_checked", n, program);
            });
}

} // namespace quillon::bench
