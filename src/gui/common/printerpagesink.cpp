#include "common/printerpagesink.h"

#include "common/logging.h"

namespace quillon {

PrinterPageSink::PrinterPageSink()
    : PrinterPageSink(std::make_shared<QPrinter>(QPrinter::HighResolution))
{
}

PrinterPageSink::PrinterPageSink(std::shared_ptr<QPrinter> printer) : m_printer(std::move(printer))
{
}

PrinterPageSink::~PrinterPageSink()
{
    if (m_painter)
        endJob();
}

bool PrinterPageSink::beginJob(const QString& jobName)
{
    if (m_painter) {
        setLastError(QStringLiteral("A print job is already open."));
        return false;
    }
    if (!m_printer->isValid()) {
        setLastError(QStringLiteral("No printer is available."));
        qCWarning(lcPrinting) << "no valid printer";
        return false;
    }
    m_printer->setDocName(jobName);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        setLastError(QStringLiteral("The printer \"%1\" cannot be used.").arg(deviceName()));
        qCWarning(lcPrinting) << "cannot start job on" << deviceName();
        m_painter.reset();
        return false;
    }
    applyTwipsTransform(*m_painter, m_printer->logicalDpiX(), m_printer->logicalDpiY());
    return true;
}

bool PrinterPageSink::newPage()
{
    if (!m_painter || !m_printer->newPage())
        return false;
    applyTwipsTransform(*m_painter, m_printer->logicalDpiX(), m_printer->logicalDpiY());
    return true;
}

bool PrinterPageSink::endJob()
{
    if (!m_painter)
        return false;
    const bool ok = m_painter->end();
    m_painter.reset();
    return ok;
}

void PrinterPageSink::abortJob()
{
    if (!m_painter)
        return;
    m_printer->abort();
    m_painter->end();
    m_painter.reset();
}

QPainter* PrinterPageSink::painter()
{
    return m_painter.get();
}

QSizeF PrinterPageSink::pageSizeTwips() const
{
    // Millimetres, not points: the point rectangle is rounded to whole points.
    return m_printer->pageLayout().paintRect(QPageLayout::Millimeter).size() * (1440.0 / 25.4);
}

QString PrinterPageSink::deviceName() const
{
    // A printer that writes a file has no queue name; name the file instead.
    if (m_printer->printerName().isEmpty() && !m_printer->outputFileName().isEmpty())
        return m_printer->outputFileName();
    return m_printer->printerName();
}

} // namespace quillon
