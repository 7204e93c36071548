#include "store/datafolderlock.h"

#include <QDir>

namespace quillon {

DataFolderLock::DataFolderLock(const QString& dataDir) : m_lock(lockFileName(dataDir))
{
    // Only a dead holder makes the lock stale: a program open for days on
    // the folder must keep it.
    m_lock.setStaleLockTime(0);
}

QString DataFolderLock::lockFileName(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral(".quillon.lock"));
}

bool DataFolderLock::tryLock()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

void DataFolderLock::unlock()
{
    m_lock.unlock();
}

qint64 DataFolderLock::holderPid() const
{
    qint64 pid = 0;
    QString host;
    QString app;
    return m_lock.getLockInfo(&pid, &host, &app) ? pid : 0;
}

} // namespace quillon
