#pragma once

#include <QLockFile>
#include <QString>

namespace quillon {

// The lock a running program holds on its data folder, so that a second
// start and quillon-check --repair know the folder is open. A lock left by a
// process that is gone (a crash, SIGKILL) is stale and is taken over.
class DataFolderLock final {
public:
    explicit DataFolderLock(const QString& dataDir);

    static QString lockFileName(const QString& dataDir);

    // Never waits: either the lock is ours now or another live process has it.
    bool tryLock();
    void unlock();
    bool isLocked() const { return m_lock.isLocked(); }
    // After a failed tryLock: the process that holds it, 0 when unknown.
    qint64 holderPid() const;

private:
    QLockFile m_lock;
};

} // namespace quillon
