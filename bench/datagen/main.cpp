#include "datagen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

// quillon-datagen <folder> [songs]: writes a benchmark data folder.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 2) {
        err << "usage: quillon-datagen <folder> [songs]\n";
        return 2;
    }
    quillon::bench::GeneratedFolderPlan plan;
    if (args.size() > 2)
        plan.songs = args.at(2).toInt();
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!quillon::bench::generateDataFolder(args.at(1), plan, &error)) {
        err << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "wrote " << plan.songs << " songs to " << args.at(1) << " in "
                        << timer.elapsed() << " ms\n";
    return 0;
}
