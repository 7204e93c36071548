#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace quillon {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr int kHandOverMs = 3000;
} // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_name(serverName(dataDir)), m_lock(dataDir)
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

QString SingleInstance::serverName(const QString& dataDir)
{
    const QFileInfo info(dataDir);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = info.absoluteFilePath();
    // The user is part of the name: another user's program on the same
    // folder has its own socket, which this one must never remove.
    const QByteArray key = QString::number(::getuid()).toUtf8() + '\0' + path.toUtf8();
    return QStringLiteral("quillon-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
}

SingleInstance::Result SingleInstance::start()
{
    if (m_lock.tryLock()) {
        // Holding the lock, any socket of that name is a crashed program's.
        QLocalServer::removeServer(m_name);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
        // Without the socket a second start cannot hand over, but this one
        // still holds the lock, so the folder stays safe.
        m_server->listen(m_name);
        return Result::First;
    }
    if (handOver())
        return Result::HandedOver;
    const qint64 pid = m_lock.holderPid();
    m_error = QStringLiteral("The data folder \"%1\" is open in another Quillon%2, which does "
                             "not answer. Close that program and start again.")
                  .arg(m_dataDir, pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString());
    return Result::Failed;
}

bool SingleInstance::handOver()
{
    // The running program may have taken the lock a moment before it listens.
    const QDeadlineTimer deadline(kHandOverMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kRaise);
            const bool sent = socket.waitForBytesWritten(int(deadline.remainingTime()));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("raise"))
                emit activationRequested();
        });
    }
}

} // namespace quillon
