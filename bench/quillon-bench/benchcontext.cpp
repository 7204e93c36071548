#include "benchcontext.h"

#include "datagen.h"
#include "maintenance/searchbuild.h"

#include <cstdio>
#include <cstdlib>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <sqlite3.h>

namespace quillon::bench {

namespace {

[[noreturn]] void abortRun(const char* what, int n, const QString& why)
{
    std::fprintf(stderr, "cannot %s the data folder with %d songs: %s\n", what, n, qPrintable(why));
    std::exit(1);
}

// Every file of a data folder into another (empty) folder.
bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

// Leaves a folder as one made before the search index: its tables gone
// from every file that holds a part of it.
bool dropSearchIndex(const DataFolder& folder)
{
    for (const QString& file :
         {folder.songDb(), folder.tapeDb(), folder.recdevDb(), folder.note1Db()}) {
        sqlite3* db = nullptr;
        const bool ok =
            sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
                SQLITE_OK &&
            sqlite3_exec(db,
                         "DROP TABLE IF EXISTS searchindex; DROP TABLE IF EXISTS searchtracks; "
                         "DROP TABLE IF EXISTS searchstate",
                         nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

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
    if (!generated->dir.isValid() || !generateDataFolder(dir, plan, &error))
        abortRun("generate", n, error);
    std::fprintf(stderr, "generated %d songs in %.1f s\n", n, timer.elapsed() / 1000.0);
    generated->folder = std::make_unique<DataFolder>(dir);
    return *m_folders.emplace(n, std::move(generated)).first->second->folder;
}

const DataFolder& BenchContext::indexedFolder(int n)
{
    auto it = m_indexed.find(n);
    if (it != m_indexed.end())
        return *it->second->folder;
    const DataFolder& plain = folder(n);
    auto copy = std::make_unique<Generated>();
    const QString dir = copy->dir.path() + "/data";
    if (!copy->dir.isValid() || !dropSearchIndex(plain) || !copyFolder(plain.dir(), dir))
        abortRun("copy", n, "file copy failed");
    copy->folder = std::make_unique<DataFolder>(dir);
    // What a user's first start does in the background, here in one go.
    QElapsedTimer timer;
    timer.start();
    SearchBuild build(*copy->folder);
    if (!build.run())
        abortRun("index", n, build.lastError());
    const double seconds = timer.nsecsElapsed() / 1e9;
    m_table.add("search_build", n, false, seconds);
    std::fprintf(stderr, "built the search index of %d songs in %.1f s\n", n, seconds);
    return *m_indexed.emplace(n, std::move(copy)).first->second->folder;
}

} // namespace quillon::bench
