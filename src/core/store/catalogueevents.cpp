#include "store/catalogueevents.h"

#include "common/logging.h"

#include <QSqlDriver>
#include <QTimer>
#include <QUuid>

namespace quillon {

namespace {
const QString kChannel = QStringLiteral("quillon_catalogue");
// How often a listening connection is checked and, if lost, opened again.
constexpr int kWatchMs = 15000;
} // namespace

CatalogueEvents::CatalogueEvents(QObject* parent) : QObject(parent) {}

CatalogueEvents::~CatalogueEvents() = default;

namespace {
QString& currentClientId()
{
    static QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return id;
}
} // namespace

QString CatalogueEvents::clientId()
{
    return currentClientId();
}

void CatalogueEvents::setClientId(const QString& id)
{
    currentClientId() = id;
}

bool CatalogueEvents::announce(Database& db, const QString& kind, const QString& subject)
{
    if (!db.isServer())
        return true;
    // Bound, like every value: a title is only ever data.
    return db.execKept("SELECT pg_notify(?, ?)",
                       {kChannel, clientId() + '\t' + kind + '\t' + subject});
}

bool CatalogueEvents::listen(const ServerAddress& server)
{
    m_server = server;
    m_ownId = clientId();
    if (!m_watch) {
        m_watch = new QTimer(this);
        m_watch->setInterval(kWatchMs);
        connect(m_watch, &QTimer::timeout, this, &CatalogueEvents::checkConnection);
    }
    m_watch->start();
    return subscribe();
}

bool CatalogueEvents::isListening() const
{
    return m_db.isOpen() && m_db.handle().driver()->subscribedToNotifications().contains(kChannel);
}

bool CatalogueEvents::subscribe()
{
    if (!m_db.openServer(m_server)) {
        qCInfo(lcStore) << "not listening for changes:" << m_server.describe();
        return false;
    }
    QSqlDriver* driver = m_db.handle().driver();
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString& name, QSqlDriver::NotificationSource, const QVariant& payload) {
                heard(name, payload);
            });
    return driver->subscribeToNotification(kChannel);
}

void CatalogueEvents::heard(const QString& name, const QVariant& payload)
{
    if (name != kChannel)
        return;
    const QStringList parts = payload.toString().split('\t');
    if (parts.size() < 3 || parts.at(0) == m_ownId)
        return;
    emit changed(parts.at(1), parts.mid(2).join('\t'));
}

void CatalogueEvents::checkConnection()
{
    if (m_db.isOpen() && m_db.exec("SELECT 1"))
        return;
    qCInfo(lcStore) << "listening connection lost, opening it again";
    // What was missed meanwhile is unknown: everyone refreshes.
    if (subscribe()) {
        emit changed(kSongs, {});
        emit changed(kMedia, {});
        emit changed(kDevices, {});
    }
}

} // namespace quillon
