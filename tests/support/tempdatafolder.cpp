#include "tempdatafolder.h"

#include "maintenance/cataloguecopy.h"
#include "store/database.h"
#include "store/datainstaller.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QtGlobal>

namespace quillon::test {

namespace {
QAtomicInt databaseCounter;

ServerAddress adminAddress()
{
    const QString uri = qEnvironmentVariable("QUILLON_TEST_PG");
    if (uri.isEmpty())
        qFatal("QUILLON_TEST_PG is not set: start the test cluster with scripts/postgres.sh");
    return ServerAddress::parse(uri);
}

// The admin address with another database name.
ServerAddress onDatabase(const QString& name)
{
    QString uri = adminAddress().connectionUri();
    const qsizetype slash = uri.indexOf('/', uri.indexOf("://") + 3);
    const qsizetype query = uri.indexOf('?', slash);
    uri = uri.left(slash + 1) + name + (query < 0 ? QString() : uri.mid(query));
    return ServerAddress::parse(uri);
}
} // namespace

bool TempDataFolder::serverEngine()
{
    return qEnvironmentVariable("QUILLON_TEST_ENGINE") == "server";
}

ServerAddress TempDataFolder::createServerDatabase()
{
    const QString name = QString("quillon_t%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(databaseCounter.fetchAndAddRelaxed(1));
    Database admin;
    if (!admin.openServer(adminAddress()))
        qFatal("test cluster: %s", qPrintable(admin.lastError()));
    admin.exec(QString("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    if (!admin.exec(QString("CREATE DATABASE %1").arg(name)))
        qFatal("test cluster: %s", qPrintable(admin.lastError()));
    return onDatabase(name);
}

void TempDataFolder::dropServerDatabase(const ServerAddress& server)
{
    Database admin;
    if (admin.openServer(adminAddress()))
        admin.exec(QString("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(server.databaseName()));
}

TempDataFolder::TempDataFolder(bool install) : m_folder(m_dir.path() + "/data", m_dir.path())
{
    if (install)
        ensureDataFolder(m_folder);
    if (serverEngine()) {
        const ServerAddress server = createServerDatabase();
        DataFolder onServer = m_folder;
        onServer.setServer(server);
        // The server catalogue starts as a freshly installed folder does.
        if (install) {
            CatalogueCopy copy(m_folder, onServer);
            if (!copy.run())
                qFatal("test cluster: %s", qPrintable(copy.lastError()));
        }
        m_folder = onServer;
    }
}

TempDataFolder::~TempDataFolder()
{
    if (m_folder.onServer())
        dropServerDatabase(m_folder.server());
}

} // namespace quillon::test
