#pragma once

#include "printing/pagesink.h"

#include <memory>
#include <QPrinter>

namespace quillon {

// Prints through Qt's print support (CUPS on Linux) on a QPrinter, by
// default the current default printer; the printer may be shared with the
// print dialog's choice that set it up.
class PrinterPageSink final : public PageSink {
public:
    PrinterPageSink();
    explicit PrinterPageSink(std::shared_ptr<QPrinter> printer);
    ~PrinterPageSink() override;

    bool beginJob(const QString& jobName) override;
    bool newPage() override;
    bool endJob() override;
    void abortJob() override;
    QPainter* painter() override;
    QSizeF pageSizeTwips() const override;
    QPageLayout pageLayout() const override { return m_printer->pageLayout(); }
    QString deviceName() const override;

    QPrinter& printer() { return *m_printer; }

private:
    std::shared_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace quillon
