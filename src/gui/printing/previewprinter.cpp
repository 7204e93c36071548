#include "printing/previewprinter.h"

#include "common/logging.h"
#include "common/prompter.h"
#include "documents/richtextdocument.h"
#include "printing/documentprintjob.h"

#include <algorithm>
#include <QGuiApplication>

namespace quillon {

namespace {

const QString kTitle = QStringLiteral("Druckvorschau");

// Shows the wait cursor while it lives.
class WaitCursor final {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

PreviewPrinter::PreviewPrinter(Prompter& prompter, RichTextDocument& document, QString jobName)
    : m_prompter(prompter), m_document(document), m_jobName(std::move(jobName))
{
}

bool PreviewPrinter::print(QWidget* parent, int savedScale)
{
    const int pages = std::max(1, m_document.pageCount());
    const std::optional<PrintChoice> choice = m_prompter.printDialog(parent, 1, pages);
    if (!choice) {
        qCDebug(lcPrinting) << "print dialog cancelled";
        return false;
    }
    m_document.setScalePercent(savedScale);

    DocumentPrintJob job(m_prompter, m_document);
    DocumentPrintJob::Result result = DocumentPrintJob::Result::Failed;
    {
        const WaitCursor wait;
        result = job.run(*choice, m_jobName);
    }
    switch (result) {
    case DocumentPrintJob::Result::Printed:
        return true;
    case DocumentPrintJob::Result::NothingToPrint:
        // A range beyond the document, or odd pages of a one-page one.
        qCWarning(lcPrinting) << "nothing to print:" << job.lastError();
        return false;
    case DocumentPrintJob::Result::NoPrinter:
        m_prompter.critical(parent, QStringLiteral("Es ist kein Drucker eingerichtet."), kTitle);
        return false;
    case DocumentPrintJob::Result::Failed:
        break;
    }
    m_prompter.critical(
        parent,
        QStringLiteral("Das Dokument konnte nicht gedruckt werden.\r%1").arg(job.lastError()),
        kTitle);
    return false;
}

} // namespace quillon
