#include "app/cataloguestart.h"

#include "common/logging.h"
#include "common/prompter.h"
#include "songs/songstore.h"
#include "store/datafolder.h"

namespace quillon {

namespace {

const QString kTitle = QStringLiteral("Catalogue");

// What the user can do something about comes first; the store's own
// message (which names the server, never the password) follows.
QString reason(Database::ServerFault fault)
{
    switch (fault) {
    case Database::ServerFault::Unreachable:
        return QStringLiteral(": the server cannot be reached.");
    case Database::ServerFault::LoginRefused:
        return QStringLiteral(": the server refused the login.");
    case Database::ServerFault::NoDatabase:
        return QStringLiteral(": the server has no such database.");
    case Database::ServerFault::WrongSchema:
        return QStringLiteral(": the database holds no catalogue this program can read.");
    case Database::ServerFault::None:
    case Database::ServerFault::Other:
        break;
    }
    return QStringLiteral(".");
}

std::unique_ptr<SongStore> openDataFolder(DataFolder& data, Prompter& prompter)
{
    data.setServer({});
    auto songs = std::make_unique<SongStore>(data);
    if (!songs->open())
        prompter.critical(nullptr, songs->lastError());
    return songs;
}

} // namespace

std::unique_ptr<SongStore> openCatalogueAtStart(DataFolder& data, const QString& serverUri,
                                                Prompter& prompter)
{
    if (serverUri.trimmed().isEmpty())
        return openDataFolder(data, prompter);

    QString problem = QString::fromLatin1(kCatalogueFallbackQuestion);
    QString why;
    const ServerAddress server = ServerAddress::parse(serverUri, &why);
    if (!server.isValid()) {
        problem += ": its address in the settings is not valid.\r" + why +
                   "\rCorrect it in Options, Settings.";
    } else {
        data.setServer(server);
        auto songs = std::make_unique<SongStore>(data);
        if (songs->open()) {
            qCInfo(lcApp) << "catalogue on the server" << server.describe();
            return songs;
        }
        problem += reason(songs->database().serverFault()) + "\r\r" + songs->lastError();
        qCWarning(lcApp) << "catalogue server" << server.describe() << "not opened";
    }
    const bool useFolder = prompter.askYesNo(
        nullptr,
        problem +
            "\r\rOpen the catalogue in the data folder on this computer instead, for this "
            "session?\r" +
            data.dir() + "\r\rNo ends Quillon.",
        kTitle, QMessageBox::No);
    if (!useFolder)
        return nullptr;
    qCInfo(lcApp) << "catalogue in the data folder for this session";
    return openDataFolder(data, prompter);
}

} // namespace quillon
