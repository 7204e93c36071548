// quillon-printers: drives the program's printer choice and print dialog from
// the command line, through the same classes the program uses.
//
//   quillon-printers list                 installed printers, one a line
//   quillon-printers default              the current default printer
//   quillon-printers choose NAME          "Setup Printer": pick NAME, press "Set printer";
//                                         prints the dialog's "Current Printer:" label
//   quillon-printers init-data DIR        lays out a fresh data folder DIR
//   quillon-printers print-equipment DIR  "Print": "Studioequipment" with the device
//                                         register of data folder DIR (laid out when
//                                         missing), on the default printer
//   quillon-printers print-tracksheet DATADIR  the track sheet print options for a
//                                         sample song: "All", "Print"
//
// With --catalogue URI before the command, the catalogue is read on that
// server; DATADIR is still used, for its backups among others.
//
// Message boxes cannot be answered here: one that opens is printed to stderr
// and ends the tool with exit code 3.

#include "common/appstate.h"
#include "common/widgetprompter.h"
#include "printing/cupsprinters.h"
#include "printing/printdialog.h"
#include "printing/printersetupdialog.h"
#include "songs/printtsoptionsdialog.h"
#include "songs/songstore.h"
#include "store/commandline.h"
#include "store/datafolder.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <cstdio>
#include <cstdlib>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

using namespace quillon;

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Ends the tool when a message box waits for an answer nobody can give.
void watchForMessageBoxes(QApplication& app)
{
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            err() << "message: " << box->text() << Qt::endl;
            std::fflush(stdout);
            std::_Exit(3);
        }
    });
    timer->start(50);
}

int usage()
{
    err() << "usage: quillon-printers [--catalogue URI] list | default | choose NAME | "
             "init-data DATADIR | print-equipment DATADIR | print-tracksheet DATADIR"
          << Qt::endl;
    return 2;
}

int choose(const QString& name)
{
    CupsPrinters cups;
    WidgetPrompter prompter;
    PrinterSetupDialog dialog(cups, prompter);
    const QList<QListWidgetItem*> found = dialog.printerList()->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) {
        err() << "no printer named " << name << Qt::endl;
        return 1;
    }
    dialog.show();
    dialog.printerList()->setCurrentItem(found.first());
    dialog.okButton()->click();
    out() << "Current Printer: " << dialog.printerLabel()->text() << Qt::endl;
    return dialog.result() == QDialog::Accepted ? 0 : 1;
}

// The server --catalogue names; invalid: the catalogue is in the folder.
ServerAddress& catalogueServer()
{
    static ServerAddress server;
    return server;
}

DataFolder dataFolder(const QString& dataDir)
{
    DataFolder folder(dataDir, QFileInfo(dataDir).absolutePath());
    folder.setServer(catalogueServer());
    return folder;
}

// As the program does at start: whatever is missing is laid out.
bool initData(const QString& dataDir)
{
    const InstallReport report = ensureDataFolder(dataFolder(dataDir));
    for (const QString& problem : report.problems)
        err() << problem << Qt::endl;
    return report.ok();
}

// What a window of the program needs around it, with settings of its own
// so that the user's are never touched.
struct Session {
    explicit Session(const QString& dataDir)
        : data(dataFolder(dataDir)), settings(scratch.path() + "/settings.ini"), songs(data),
          state(data, settings, songs, prompter)
    {
    }
    QTemporaryDir scratch;
    DataFolder data;
    Settings settings;
    SongStore songs;
    WidgetPrompter prompter;
    AppState state;
};

int printEquipment(const QString& dataDir)
{
    if (!initData(dataDir))
        return 1;
    Session session(dataDir);
    PrintDialog dialog(session.state);
    dialog.show();
    out() << "Actual Printer: " << dialog.printerLabel()->text() << Qt::endl;
    dialog.option(PrintDialog::Studioequipment)->setChecked(true);
    dialog.printButton()->click();
    return 0;
}

int printTrackSheet(const QString& dataDir)
{
    if (!initData(dataDir))
        return 1;
    Session session(dataDir);
    SongStore& songs = session.songs;
    AppState& state = session.state;
    const QString title = QStringLiteral("Sample Song");
    if (!songs.open() || (!songs.song(title) && !songs.create({title, {}, {}, {}}))) {
        err() << songs.lastError() << Qt::endl;
        return 1;
    }
    state.currentSong = title;
    state.currentDeviceIndex = 1;
    state.currentSongDetails.readFrom(*songs.song(title));
    state.printRequested = true;
    PrintTSOptionsDialog options(state);
    options.show();
    out() << "Standard Printer: " << session.prompter.defaultPrinterName() << Qt::endl;
    options.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QUILLON_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Drives the printer choice and print dialogs of Quillon.");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption catalogue =
        catalogueOption("Without it, the catalogue in DATADIR is used.");
    parser.addOption(catalogue);
    parser.addPositionalArgument("COMMAND", "list, default, choose, init-data, print-equipment "
                                            "or print-tracksheet, with its argument");
    if (const std::optional<int> done = answerCommandLine(parser, QApplication::arguments()))
        return *done;
    if (const std::optional<int> bad = readCatalogueOption(parser, catalogue, catalogueServer()))
        return *bad;
    // Named after the tool until here, so that its own messages say so.
    QApplication::setApplicationName("Quillon05");
    watchForMessageBoxes(app);
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usage();
    const QString command = args.first();
    CupsPrinters cups;
    if (command == "list" && args.size() == 1) {
        for (const QString& name : cups.printerNames())
            out() << name << Qt::endl;
        return 0;
    }
    if (command == "default" && args.size() == 1) {
        const QString name = cups.defaultPrinterName();
        out() << name << Qt::endl;
        return name.isEmpty() ? 1 : 0;
    }
    if (command == "choose" && args.size() == 2)
        return choose(args.at(1));
    if (command == "init-data" && args.size() == 2)
        return initData(args.at(1)) ? 0 : 1;
    if (command == "print-equipment" && args.size() == 2)
        return printEquipment(args.at(1));
    if (command == "print-tracksheet" && args.size() == 2)
        return printTrackSheet(args.at(1));
    return usage();
}
