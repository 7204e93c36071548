#include "printing/pdfpagesink.h"

#include <QFile>
#include <QPdfWriter>

namespace quillon {

PdfPageSink::PdfPageSink(const QString& fileName, const QPageLayout& layout)
    : m_fileName(fileName), m_layout(layout)
{
}

PdfPageSink::~PdfPageSink()
{
    if (m_painter)
        endJob();
}

bool PdfPageSink::beginJob(const QString& jobName)
{
    // A second job while one is open would pull the writer from under the
    // painter.
    if (m_painter) {
        setLastError(QStringLiteral("A print job is already open."));
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_fileName);
    m_writer->setTitle(jobName);
    m_writer->setCreator(QStringLiteral("Quillon"));
    m_writer->setResolution(1200);
    m_writer->setPageLayout(m_layout);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        setLastError(QStringLiteral("The file %1 cannot be written.").arg(m_fileName));
        m_painter.reset();
        m_writer.reset();
        return false;
    }
    applyTwipsTransform(*m_painter, m_writer->resolution(), m_writer->resolution());
    return true;
}

bool PdfPageSink::newPage()
{
    if (!m_painter || !m_writer->newPage())
        return false;
    applyTwipsTransform(*m_painter, m_writer->resolution(), m_writer->resolution());
    return true;
}

bool PdfPageSink::endJob()
{
    if (!m_painter)
        return false;
    const bool ok = m_painter->end();
    m_painter.reset();
    m_writer.reset();
    return ok;
}

void PdfPageSink::abortJob()
{
    if (!m_painter)
        return;
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    QFile::remove(m_fileName);
}

QPainter* PdfPageSink::painter()
{
    return m_painter.get();
}

QSizeF PdfPageSink::pageSizeTwips() const
{
    // Millimetres, not points: the point rectangle is rounded to whole points.
    return m_layout.paintRect(QPageLayout::Millimeter).size() * (1440.0 / 25.4);
}

} // namespace quillon
