#include "printing/previewprinter.h"

#include "app/prompter.h"
#include "documents/richtextdocument.h"
#include "printing/pagesink.h"
#include "store/logging.h"

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
    // A dialog may hand back a range beyond the document; print what exists.
    const int from = std::clamp(choice->fromPage, 1, pages);
    const int to = std::clamp(choice->toPage, 1, pages);
    const int copies = std::max(1, choice->copies);

    m_document.setScalePercent(savedScale);
    if (from > to) {
        qCWarning(lcPrinting) << "empty page range" << choice->fromPage << choice->toPage;
        return false;
    }

    std::unique_ptr<PageSink> sink = m_prompter.openPrinter(choice->printerName);
    if (!sink) {
        qCWarning(lcPrinting) << "no default printer";
        m_prompter.critical(parent, QStringLiteral("Es ist kein Drucker eingerichtet."), kTitle);
        return false;
    }
    bool printed = false;
    {
        const WaitCursor wait;
        qCDebug(lcPrinting) << "printing" << m_jobName << "pages" << from << "to" << to << "copies"
                            << copies << "on" << sink->deviceName();
        printed = m_document.printPages(*sink, m_jobName, from, to, copies);
    }
    if (!printed) {
        qCWarning(lcPrinting) << "printing failed:" << m_document.lastError();
        m_prompter.critical(
            parent,
            QStringLiteral("Das Dokument konnte nicht gedruckt werden.\r%1")
                .arg(sink->lastError().isEmpty() ? m_document.lastError() : sink->lastError()),
            kTitle);
    }
    return printed;
}

} // namespace quillon
