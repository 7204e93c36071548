#pragma once

#include "printing/pagesink.h"

#include <memory>
#include <QPageLayout>

class QPdfWriter;

namespace quillon {

// Prints to a PDF file ("print to PDF").
class PdfPageSink final : public PageSink {
public:
    explicit PdfPageSink(const QString& fileName,
                         const QPageLayout& layout = QPageLayout(QPageSize(QPageSize::A4),
                                                                 QPageLayout::Portrait,
                                                                 QMarginsF(15, 15, 15, 15),
                                                                 QPageLayout::Millimeter));
    ~PdfPageSink() override;

    bool beginJob(const QString& jobName) override;
    bool newPage() override;
    bool endJob() override;
    // Drops the job and the half-written file.
    void abortJob() override;
    QPainter* painter() override;
    QSizeF pageSizeTwips() const override;
    QPageLayout pageLayout() const override { return m_layout; }
    QString deviceName() const override { return QStringLiteral("PDF"); }

private:
    QString m_fileName;
    QPageLayout m_layout;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace quillon
