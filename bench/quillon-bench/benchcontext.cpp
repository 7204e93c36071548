#include "benchcontext.h"

#include "datagen.h"

#include <cstdio>
#include <cstdlib>
#include <QElapsedTimer>

namespace quillon::bench {

const DataFolder& BenchContext::folder(int n)
{
    auto it = m_folders.find(n);
    if (it != m_folders.end())
        return *it->second->folder;
    auto generated = std::make_unique<Generated>();
    const QString dir = generated->dir.path() + "/data";
    QElapsedTimer timer;
    timer.start();
    QString error;
    GeneratedFolderPlan plan;
    plan.songs = n;
    if (!generated->dir.isValid() || !generateDataFolder(dir, plan, &error)) {
        std::fprintf(stderr, "cannot generate the data folder with %d songs: %s\n", n,
                     qPrintable(error));
        std::exit(1);
    }
    std::fprintf(stderr, "generated %d songs in %.1f s\n", n, timer.elapsed() / 1000.0);
    generated->folder = std::make_unique<DataFolder>(dir);
    return *m_folders.emplace(n, std::move(generated)).first->second->folder;
}

} // namespace quillon::bench
