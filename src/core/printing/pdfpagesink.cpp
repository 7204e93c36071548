#include "printing/pdfpagesink.h"

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

QPainter* PdfPageSink::painter()
{
    return m_painter.get();
}

QSizeF PdfPageSink::pageSizeTwips() const
{
    const QRectF r = m_layout.paintRect(QPageLayout::Point);
    return r.size() * 20.0;
}

} // namespace quillon
