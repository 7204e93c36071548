// quillon-medialist: builds, shows and prints the media list of a data folder
// (or, with --catalogue URI before the command, of the catalogue on that
// server; the folder is still used, for its backups among others).
//
//   quillon-medialist init  DATADIR
//   quillon-medialist add   DATADIR NAME TYPE BRAND SERIAL LENGTH SEPARATED(0|1)
//   quillon-medialist text  DATADIR            list text on stdout
//   quillon-medialist print DATADIR PRINTER    job "Tapes-HD-CD" on that printer
//
// Exit status 0 on success, 1 on a failure (reason on stderr), 2 on misuse.
#include "common/printerpagesink.h"
#include "media/medialist.h"
#include "media/medialistprinter.h"
#include "media/mediastore.h"
#include "store/commandline.h"
#include "store/datainstaller.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QPrinterInfo>
#include <QTextStream>

#include <cstdio>

using namespace quillon;

namespace {

int fail(const QString& reason)
{
    QTextStream(stderr) << reason.simplified() << '\n';
    return 1;
}

int usage()
{
    QTextStream(stderr)
        << "usage: quillon-medialist [--catalogue URI] init|add|text|print DATADIR ...\n";
    return 2;
}

QString listOf(const DataFolder& folder, QString* error)
{
    MediaStore store(folder);
    const QList<Medium> media = store.all();
    if (media.isEmpty())
        *error = store.lastError().isEmpty() ? QStringLiteral("There is nothing to print. Sorry!")
                                             : store.lastError();
    return media::mediaListText(media, QDateTime::currentDateTime());
}

int printTo(const QString& listText, const QString& printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return fail(QStringLiteral("There is no printer named %1.").arg(printerName));
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    PrinterPageSink sink(std::move(printer));
    MediaListPrinter job;
    if (!job.print(sink, listText))
        return fail(job.lastError());
    QTextStream(stdout) << "printed " << job.pagesPrinted() << " page(s) on " << printerName
                        << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QUILLON_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("Builds, shows and prints the media list of a data folder.");
    // Options only before the command: a medium's name may start with '-'.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption catalogue =
        catalogueOption("Without it, the catalogue in DATADIR is used.");
    parser.addOption(catalogue);
    parser.addPositionalArgument("COMMAND", "init, add, text or print");
    parser.addPositionalArgument("DATADIR", "the data folder, then what the command takes");
    if (const std::optional<int> done = answerCommandLine(parser, app.arguments()))
        return *done;
    ServerAddress server;
    if (const std::optional<int> bad = readCatalogueOption(parser, catalogue, server))
        return *bad;
    const QStringList args = parser.positionalArguments();
    if (args.size() < 2)
        return usage();
    const QString command = args.at(0);
    DataFolder folder(args.at(1));
    folder.setServer(server);

    if (command == "init") {
        const InstallReport report = ensureDataFolder(folder);
        return report.ok() ? 0 : fail(report.problems.join(' '));
    }
    if (command == "add" && args.size() == 8) {
        Medium m;
        m.name = args.at(2);
        m.type = args.at(3);
        m.brand = args.at(4);
        m.serialNumber = args.at(5);
        m.length = args.at(6);
        m.setSeparated(args.at(7) == "1");
        MediaStore store(folder);
        return store.add(m) ? 0 : fail(store.lastError());
    }
    if (command == "text" || (command == "print" && args.size() == 3)) {
        QString error;
        const QString text = listOf(folder, &error);
        if (!error.isEmpty())
            return fail(error);
        if (command == "text") {
            QTextStream out(stdout);
            out << text;
            return 0;
        }
        return printTo(text, args.at(2));
    }
    return usage();
}
