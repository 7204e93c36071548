// quillon-print-sample: lays out a sample song in a fresh temporary data
// folder and prints its track sheet on the default printer, all eight pages
// or one (--page N), exactly as the print options do.
#include "app/appstate.h"
#include "app/widgetprompter.h"
#include "songs/songstore.h"
#include "songs/tracksheetwindow.h"
#include "store/datafolder.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTextStream>

using namespace quillon;

int main(int argc, char** argv)
{
    // Printing needs no screen; run headless unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon-print-sample"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints a sample track sheet on the default printer."));
    parser.addHelpOption();
    const QCommandLineOption pageOption(QStringLiteral("page"),
                                        QStringLiteral("Print only page <n> (1 to 8)."),
                                        QStringLiteral("n"));
    parser.addOption(pageOption);
    parser.process(app);

    QTextStream err(stderr);
    QTextStream out(stdout);
    std::optional<int> page;
    if (parser.isSet(pageOption)) {
        bool ok = false;
        const int n = parser.value(pageOption).toInt(&ok);
        if (!ok || n < 1 || n > 8) {
            err << "--page takes a number from 1 to 8\n";
            return 1;
        }
        page = n;
    }

    WidgetPrompter prompter;
    const QString printer = prompter.defaultPrinterName();
    if (printer.isEmpty()) {
        err << "There is no default printer.\n";
        return 2;
    }

    QTemporaryDir dir;
    DataFolder folder(dir.path() + QStringLiteral("/data"), dir.path());
    ensureDataFolder(folder);
    Settings settings(dir.path() + QStringLiteral("/settings.ini"));
    SongStore store(folder);
    const QString title = QStringLiteral("Sample Song");
    if (!store.open() ||
        !store.create({title, QStringLiteral("A. Lyricist"), QStringLiteral("B. Composer"),
                       QStringLiteral("12-24-2026")})) {
        err << store.lastError() << '\n';
        return 3;
    }
    QStringList tracks;
    for (int k = 1; k <= 96; ++k)
        tracks << QStringLiteral("Sample track %1").arg(k);
    store.writeTracks(title, 1, 1, tracks);
    store.updateFields(title, {{QStringLiteral("artist"), QStringLiteral("The Sample Band")},
                               {QStringLiteral("tempo"), QStringLiteral("96")}});

    AppState state(folder, settings, store, prompter);
    state.currentSong = title;
    state.currentDeviceIndex = 1;
    state.deviceNames = {QStringLiteral("Sample Recorder")};
    state.currentSongDetails.readFrom(*store.song(title));
    state.currentSongDetails.deviceName = state.deviceNames.first();
    state.printRequested = true;

    TrackSheetWindow window(state);
    window.setPrintPage(page);
    window.exec();
    out << "printed on " << printer << '\n';
    return 0;
}
