#include "app/appstate.h"
#include "app/mainwindow.h"
#include "app/startupchecks.h"
#include "app/startuproutine.h"
#include "app/widgetprompter.h"
#include "options/aboutbox.h"
#include "songs/songstore.h"
#include "store/datafolder.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <QApplication>

using namespace quillon;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillon05");
    QApplication::setApplicationDisplayName("QuillonSE");
    QApplication::setApplicationVersion(QUILLON_VERSION);
    QApplication::setOrganizationName("Quillon");

    WidgetPrompter prompter;
    DataFolder data = DataFolder::besideProgram();
    const InstallReport report = ensureDataFolder(data);
    for (const QString& problem : report.problems)
        prompter.critical(nullptr, problem);

    Settings settings;
    SongStore songs(data);
    if (!songs.open())
        prompter.critical(nullptr, songs.lastError());

    AppState state(data, settings, songs, prompter);
    // The about box is the splash; the main window's first activation closes it.
    // The daily backup and the quick data check run while it shows.
    const std::unique_ptr<MainWindow> window = startMainWindow(
        state,
        [] {
            auto* splash = new AboutBox;
            splash->setAttribute(Qt::WA_DeleteOnClose);
            return splash;
        },
        [&state, &songs] {
            if (songs.isOpen())
                runStartupChecks(state, nullptr);
        });
    const int result = app.exec();
    // Nothing writes any more: the folder as it is now is what the next
    // start compares against.
    songs.close();
    recordDataFolderAtExit(state);
    return result;
}
