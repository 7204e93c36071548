#include "common/configuredprinter.h"

#include "common/logging.h"
#include "documents/richtextdocument.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

namespace quillon {

namespace {

// Qt's key for the options it hands to CUPS with a job (name, value, ...).
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QStringList cupsOptions(QPrinter& printer)
{
    return printer.printEngine()->property(kCupsOptions).toStringList();
}

// Removes one option and returns its value (empty when it was not set).
QString takeCupsOption(QStringList& options, const QString& name)
{
    for (int i = 0; i + 1 < options.size(); i += 2) {
        if (options.at(i) == name) {
            const QString value = options.at(i + 1);
            options.remove(i, 2);
            return value;
        }
    }
    return {};
}

} // namespace

std::shared_ptr<QPrinter> ConfiguredPrinter::forPrinter(const QPrinterInfo& info)
{
    if (info.isNull())
        return nullptr;
    auto printer = std::make_shared<QPrinter>(info, QPrinter::HighResolution);
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid())
        printer->setPageSize(paper);
    return printer;
}

std::shared_ptr<QPrinter> ConfiguredPrinter::forChoice(const PrintChoice& choice)
{
    if (choice.printer)
        return choice.printer;
    if (!choice.outputFile.isEmpty()) {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setPrinterName(QString());
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(choice.outputFile);
        // A file has no paper of its own: the default printer's, else A4.
        const QPageSize paper = QPrinterInfo::defaultPrinter().defaultPageSize();
        printer->setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
        return printer;
    }
    return forPrinter(choice.printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                   : QPrinterInfo::printerInfo(choice.printerName));
}

PrintChoice ConfiguredPrinter::takeChoice(std::shared_ptr<QPrinter> printer, int minPage,
                                          int maxPage)
{
    PrintChoice choice;
    choice.fromPage = minPage;
    choice.toPage = maxPage;
    choice.copies = std::max(1, printer->copyCount());
    choice.collate = printer->collateCopies();
    choice.lastPageFirst = printer->pageOrder() == QPrinter::LastPageFirst;
    choice.printerName = printer->printerName();
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty())
        choice.outputFile = printer->outputFileName();
    if (printer->printRange() == QPrinter::PageRange) {
        // A from-to range reads as a list of one range.
        choice.pages = printer->pageRanges();
        choice.fromPage = printer->fromPage();
        choice.toPage = printer->toPage();
    }

    QStringList options = cupsOptions(*printer);
    const QString pageSet = takeCupsOption(options, QStringLiteral("page-set"));
    // The dialog swaps odd and even when a range starts on an even page,
    // because the print service counts the sheets of the job; undo that to
    // get the document's own page numbers back.
    const bool swapped =
        printer->printRange() == QPrinter::PageRange && printer->fromPage() % 2 == 0;
    if (pageSet == QLatin1String("odd"))
        choice.pageSet = swapped ? PageSelection::PageSet::Even : PageSelection::PageSet::Odd;
    else if (pageSet == QLatin1String("even"))
        choice.pageSet = swapped ? PageSelection::PageSet::Odd : PageSelection::PageSet::Even;
    takeCupsOption(options, QStringLiteral("page-ranges"));
    printer->printEngine()->setProperty(kCupsOptions, options);
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges(QPageRanges());
    printer->setCopyCount(1);
    choice.printer = std::move(printer);
    qCDebug(lcPrinting) << "print choice:" << choice.printerName << choice.outputFile << "pages"
                        << choice.fromPage << choice.toPage << choice.pages.toString() << "copies"
                        << choice.copies;
    return choice;
}

QPageLayout ConfiguredPrinter::documentLayout(const QPageLayout& sheet)
{
    if (!sheet.isValid())
        return RichTextDocument::defaultPageLayout();
    const QPageSize::PageSizeId id = sheet.pageSize().id();
    QPageLayout layout = id == QPageSize::Custom
                             ? QPageLayout(sheet.pageSize(), QPageLayout::Portrait,
                                           QMarginsF(25, 25, 25, 25), QPageLayout::Millimeter)
                             : RichTextDocument::defaultPageLayout(id);
    layout.setOrientation(sheet.orientation());
    return layout;
}

} // namespace quillon
