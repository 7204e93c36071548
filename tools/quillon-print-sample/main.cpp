// quillon-print-sample: lays out a sample song in a fresh temporary data
// folder and prints its track sheet on the default printer, all eight pages
// or one (--page N), exactly as the print options do.
//
// With --document N it prints an N-page document (page k reads "Page k")
// through the preview's print command instead, on a printer set up the way
// the print dialog leaves it: --pages LIST (the dialog's page list),
// --page-set odd|even, --copies N, --file PATH (Print to File (PDF)).
#include "common/appstate.h"
#include "common/configuredprinter.h"
#include "common/widgetprompter.h"
#include "documents/richtextdocument.h"
#include "printing/documentprintjob.h"
#include "songs/songstore.h"
#include "songs/tracksheetwindow.h"
#include "store/datafolder.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextStream>

using namespace quillon;

namespace {

// A document of `pages` pages, each holding one line "Page k".
void fillDocument(RichTextDocument& document, int pages)
{
    QTextCursor cursor(document.textDocument());
    for (int k = 1; k <= pages; ++k) {
        if (k > 1) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(breakBefore);
        }
        cursor.insertText(QStringLiteral("Page %1").arg(k));
    }
}

// Sets a printer up the way the print dialog does for these choices,
// including the options it hands to CUPS for the page list and page set.
std::shared_ptr<QPrinter> dialogPrinter(const QString& file, const QString& pages,
                                        const QString& pageSet, int copies)
{
    std::shared_ptr<QPrinter> printer =
        file.isEmpty() ? ConfiguredPrinter::forPrinter(QPrinterInfo::defaultPrinter())
                       : std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (!printer)
        return nullptr;
    if (!file.isEmpty()) {
        printer->setPrinterName(QString());
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    }
    printer->setCopyCount(copies);
    QStringList cups;
    if (!pages.isEmpty()) {
        printer->setPrintRange(QPrinter::PageRange);
        printer->setPageRanges(QPageRanges::fromString(pages));
        cups << QStringLiteral("page-ranges") << pages;
    }
    if (!pageSet.isEmpty()) {
        // The dialog tells CUPS the sheets of the job, which flips odd and
        // even when the pages start on an even one.
        const bool flip =
            printer->printRange() == QPrinter::PageRange && printer->fromPage() % 2 == 0;
        const bool odd = (pageSet == QLatin1String("odd")) != flip;
        cups << QStringLiteral("page-set")
             << (odd ? QStringLiteral("odd") : QStringLiteral("even"));
    }
    printer->printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00), cups);
    return printer;
}

} // namespace

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
    const QCommandLineOption documentOption(QStringLiteral("document"),
                                            QStringLiteral("Print an <n>-page document instead."),
                                            QStringLiteral("n"));
    const QCommandLineOption pagesOption(
        QStringLiteral("pages"), QStringLiteral("The dialog's page list."), QStringLiteral("list"));
    const QCommandLineOption pageSetOption(
        QStringLiteral("page-set"), QStringLiteral("odd or even pages."), QStringLiteral("set"));
    const QCommandLineOption copiesOption(QStringLiteral("copies"),
                                          QStringLiteral("Number of copies."), QStringLiteral("n"),
                                          QStringLiteral("1"));
    const QCommandLineOption fileOption(QStringLiteral("file"),
                                        QStringLiteral("Print into this PDF file."),
                                        QStringLiteral("path"));
    parser.addOptions({documentOption, pagesOption, pageSetOption, copiesOption, fileOption});
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
    if (parser.isSet(documentOption)) {
        const QString file = parser.value(fileOption);
        std::shared_ptr<QPrinter> printer =
            dialogPrinter(file, parser.value(pagesOption), parser.value(pageSetOption),
                          parser.value(copiesOption).toInt());
        if (!printer) {
            err << "There is no default printer.\n";
            return 2;
        }
        RichTextDocument document;
        fillDocument(document, parser.value(documentOption).toInt());
        // Paginated for the printer in use, as the preview shows it.
        document.setPageLayout(ConfiguredPrinter::documentLayout(printer->pageLayout()));
        const PrintChoice choice = ConfiguredPrinter::takeChoice(printer, 1, document.pageCount());
        DocumentPrintJob job(prompter, document);
        if (job.run(choice, QStringLiteral("Sample Document")) !=
            DocumentPrintJob::Result::Printed) {
            err << job.lastError() << '\n';
            return 4;
        }
        out << "printed on " << (file.isEmpty() ? printer->printerName() : file) << '\n';
        return 0;
    }
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
