#include "search/searchindexbuilder.h"

#include "common/logging.h"
#include "maintenance/searchbuild.h"

#include <QCoreApplication>
#include <QThread>

namespace quillon {

SearchIndexBuilder::SearchIndexBuilder(const DataFolder& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    // Nothing may write once the program has left its event loop: the data
    // folder is recorded as it is then.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SearchIndexBuilder::stop);
}

SearchIndexBuilder::~SearchIndexBuilder()
{
    stop();
}

void SearchIndexBuilder::start()
{
    if (m_thread)
        return;
    m_done = false;
    m_thread.reset(QThread::create([this] { work(); }));
    m_thread->setObjectName(QStringLiteral("search index build"));
    m_thread->start(QThread::LowPriority);
}

void SearchIndexBuilder::stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
}

// In the thread: everything here uses connections of its own.
void SearchIndexBuilder::work()
{
    SearchBuild build(m_folder);
    if (m_stop || build.complete()) {
        end(!m_stop);
        return;
    }
    qCInfo(lcApp) << "building the search index";
    post(0);
    const bool ok = build.run([this](qint64 done, qint64 total) {
        post(total > 0 ? int(done * 100 / total) : 0);
        return !m_stop;
    });
    if (!ok)
        qCWarning(lcApp) << "search index not built:" << build.lastError();
    end(ok && !m_stop);
}

void SearchIndexBuilder::post(int percent)
{
    QMetaObject::invokeMethod(
        this,
        [this, percent] {
            m_percent = qBound(0, percent, 100);
            emit progressChanged(m_percent);
        },
        Qt::QueuedConnection);
}

void SearchIndexBuilder::end(bool complete)
{
    QMetaObject::invokeMethod(
        this,
        [this, complete] {
            m_percent = -1;
            m_done = true;
            emit finished(complete);
        },
        Qt::QueuedConnection);
}

} // namespace quillon
