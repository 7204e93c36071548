#include "printing/documentprintjob.h"

#include "common/configuredprinter.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "documents/richtextdocument.h"
#include "printing/pagesink.h"

#include <QPainter>

namespace quillon {

namespace {

bool samePaper(const QPageLayout& a, const QPageLayout& b)
{
    return a.pageSize().isEquivalentTo(b.pageSize()) && a.orientation() == b.orientation();
}

// Puts the document on another paper for the life of a scope.
class PaperSwitch final {
public:
    PaperSwitch(RichTextDocument& document, const QPageLayout& sheet)
        : m_document(document), m_saved(document.pageLayout())
    {
        if (!sheet.isValid() || samePaper(sheet, m_saved))
            return;
        m_document.setPageLayout(ConfiguredPrinter::documentLayout(sheet));
        m_switched = true;
    }
    ~PaperSwitch()
    {
        if (m_switched)
            m_document.setPageLayout(m_saved);
    }
    PaperSwitch(const PaperSwitch&) = delete;
    PaperSwitch& operator=(const PaperSwitch&) = delete;

private:
    RichTextDocument& m_document;
    QPageLayout m_saved;
    bool m_switched = false;
};

} // namespace

DocumentPrintJob::DocumentPrintJob(Prompter& prompter, RichTextDocument& document)
    : m_prompter(prompter), m_document(document)
{
}

DocumentPrintJob::Result DocumentPrintJob::run(const PrintChoice& choice, const QString& jobName)
{
    m_lastError.clear();
    std::unique_ptr<PageSink> sink = m_prompter.openPrinter(choice);
    if (!sink) {
        m_lastError = Prompter::kNoPrinterText;
        return Result::NoPrinter;
    }
    const PaperSwitch paper(m_document, sink->pageLayout());
    const QList<int> pages = choice.selection().sheets(m_document.pageCount());
    if (pages.isEmpty()) {
        m_lastError = QStringLiteral("There are no pages to print.");
        return Result::NothingToPrint;
    }
    qCDebug(lcPrinting) << "printing" << jobName << "pages" << pages << "on" << sink->deviceName();

    // The sheet is centred on the printable area so the document's own
    // margins land where they belong; it prints at its natural size
    // whatever magnification the screen uses.
    const QSizeF area = sink->pageSizeTwips();
    const QPointF offset((area.width() - m_document.pageWidth()) / 2.0,
                         (area.height() - m_document.pageHeight()) / 2.0);
    const double unscale = 100.0 / m_document.scalePercent();
    const bool printed =
        printSheets(*sink, jobName, pages, [this, offset, unscale](int page, QPainter& painter) {
            painter.translate(offset);
            painter.scale(unscale, unscale);
            return m_document.renderPage(page, painter);
        });
    if (!printed) {
        m_lastError = sink->lastError().isEmpty()
                          ? QStringLiteral("The printer did not take the job.")
                          : sink->lastError();
        qCWarning(lcPrinting) << "printing" << jobName << "failed:" << m_lastError;
        return Result::Failed;
    }
    return Result::Printed;
}

} // namespace quillon
