#include "app/appicon.h"
#include "app/cataloguestart.h"
#include "app/mainwindow.h"
#include "app/searchcommands.h"
#include "app/singleinstance.h"
#include "app/startupchecks.h"
#include "app/startuproutine.h"
#include "common/appstate.h"
#include "common/logging.h"
#include "common/widgetprompter.h"
#include "options/aboutbox.h"
#include "songs/songstore.h"
#include "store/appidentity.h"
#include "store/catalogueevents.h"
#include "store/commandline.h"
#include "store/datafolder.h"
#include "store/datafolderchoice.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

using namespace quillon;

namespace {

void setIdentity()
{
    QCoreApplication::setApplicationName("Quillon05");
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCoreApplication::setOrganizationName("Quillon");
}

// The options the windowing system's own layer takes (-platform, -style...):
// known here so that they are not refused, and left to QApplication.
void addWindowSystemOptions(QCommandLineParser& parser)
{
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display", "name",
                             "style", "stylesheet", "session", "geometry", "title"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setValueName("value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// Where the catalogue will be, for the help.
QString catalogueInUse(const ServerAddress& given)
{
    if (given.isValid())
        return QStringLiteral("Catalogue in use: %1 (given with --catalogue)")
            .arg(given.describe());
    const ServerAddress stored = ServerAddress::parse(Settings().catalogueServer());
    if (stored.isValid())
        return QStringLiteral("Catalogue in use: %1 (chosen in Settings)").arg(stored.describe());
    return QStringLiteral("Catalogue in use: in the data folder");
}

// Answers --help and --version, refuses a bad option, and otherwise returns
// the --data folder (empty: the usual place) and the --catalogue server
// (invalid when not given). Runs before any window exists, so that it works
// without a display.
std::optional<int> readCommandLine(int argc, char** argv, QString& dataDir, ServerAddress& server)
{
    QCoreApplication app(argc, argv);
    setIdentity();
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        "Quillon: songs, track sheets, lyrics, media and studio devices.");
    const QCommandLineOption data(
        "data",
        "Keep the data in DIR instead of the usual folder (beside the program for a copy run "
        "from its own folder, the per-user data location for an installed copy).",
        "DIR");
    parser.addOption(data);
    const QCommandLineOption catalogue = catalogueOption(
        "Without it, the server chosen in Settings is used; without either, the data folder.");
    parser.addOption(catalogue);
    addWindowSystemOptions(parser);
    const auto footer = [&parser, &data, &catalogue] {
        const DataFolderChoice choice = chooseDataFolder(
            QCoreApplication::applicationDirPath(), parser.value(data), FolderPreparation::Look);
        ServerAddress given;
        if (parser.isSet(catalogue))
            given = ServerAddress::parse(parser.value(catalogue));
        return QStringLiteral("Data folder in use: %1 (%2)\n%3")
            .arg(choice.dir, choice.originText(), catalogueInUse(given));
    };
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments(), footer))
        return done;
    if (const std::optional<int> bad = readCatalogueOption(parser, catalogue, server))
        return bad;
    dataDir = parser.value(data);
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    QString givenDataDir;
    ServerAddress givenServer;
    if (const std::optional<int> done = readCommandLine(argc, argv, givenDataDir, givenServer))
        return *done;

    QApplication app(argc, argv);
    setIdentity();
    QApplication::setApplicationDisplayName("QuillonSE");
    QApplication::setDesktopFileName(QLatin1String(kAppId));
    QApplication::setWindowIcon(appIcon());

    WidgetPrompter prompter;
    const QString programDir = QCoreApplication::applicationDirPath();
    const DataFolderChoice choice = chooseDataFolder(programDir, givenDataDir);
    if (!choice.ok()) {
        prompter.critical(nullptr, choice.error);
        return 1;
    }
    // One program per data folder: a second start brings the first forward.
    SingleInstance instance(choice.dir);
    switch (instance.start()) {
    case SingleInstance::Result::HandedOver:
        return 0;
    case SingleInstance::Result::Failed:
        prompter.critical(nullptr, instance.errorText());
        return 1;
    case SingleInstance::Result::First:
        break;
    }
    warnAboutDataFolder(prompter, choice, fileSystemKindOf(choice.dir));

    DataFolder data(choice.dir, programDir);
    const InstallReport report = ensureDataFolder(data);
    for (const QString& problem : report.problems)
        prompter.critical(nullptr, problem);

    Settings settings;
    // --catalogue wins over the server chosen in Settings.
    const std::unique_ptr<SongStore> store = openCatalogueAtStart(
        data, givenServer.isValid() ? givenServer.connectionUri() : settings.catalogueServer(),
        prompter);
    if (!store)
        return 1;
    SongStore& songs = *store;

    AppState state(data, settings, songs, prompter);
    // Other rooms on the same server: their changes show without a restart.
    // Only where the catalogue did open on the server; a data folder (also
    // one fallen back to) has nobody else to hear.
    std::unique_ptr<CatalogueEvents> events;
    if (data.onServer()) {
        events = std::make_unique<CatalogueEvents>();
        if (!events->listen(data.server()))
            qCWarning(lcApp) << "changes of other rooms not heard for now; retried in the "
                                "background";
        state.events = events.get();
    }
    // The about box is the splash; the main window's first activation closes it.
    // The daily backup and the quick data check run while it shows.
    const std::unique_ptr<MainWindow> window = startMainWindow(
        state,
        [&choice] {
            auto* splash = new AboutBox(choice.dir, nullptr);
            splash->setAttribute(Qt::WA_DeleteOnClose);
            return splash;
        },
        [&state, &songs] {
            if (songs.isOpen())
                runStartupChecks(state, nullptr);
        });
    MainWindow* const shown = window.get();
    QObject::connect(&instance, &SingleInstance::activationRequested, shown, [shown] {
        qCDebug(lcApp) << "a second start on the data folder: coming to the front";
        shown->bringToFront();
    });
    // Scripts that start the program wait for this line.
    QTimer::singleShot(
        0, shown, [&choice] { qCDebug(lcApp) << "main window up, data folder" << choice.dir; });
    // A catalogue from before the search index (or after a repair) gets it
    // built in the background, the window in use meanwhile.
    QTimer::singleShot(0, shown, [shown] { shown->search().buildIndexIfMissing(); });
    const int result = app.exec();
    // Nothing writes any more: the folder as it is now is what the next
    // start compares against.
    songs.close();
    recordDataFolderAtExit(state);
    return result;
}
