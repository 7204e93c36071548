#pragma once

#include "store/datafolderlock.h"

#include <QObject>
#include <QString>

class QLocalServer;

namespace quillon {

// One running program per data folder. The first start holds the folder's
// lock and listens on a local socket named after the folder; a second start
// on the same folder finds the lock held, asks the first to come to the
// front and ends. A lock left by a crashed program is taken over.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Result { First, HandedOver, Failed };

    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    Result start();
    QString errorText() const { return m_error; }
    // The socket name for a folder: the same for every spelling of its path.
    static QString serverName(const QString& dataDir);

signals:
    // A second start asked this program to come to the front.
    void activationRequested();

private:
    void acceptConnection();
    bool handOver();

    QString m_dataDir;
    QString m_name;
    DataFolderLock m_lock;
    QLocalServer* m_server = nullptr;
    QString m_error;
};

} // namespace quillon
