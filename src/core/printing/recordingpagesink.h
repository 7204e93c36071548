#pragma once

#include "printing/pagesink.h"

#include <memory>
#include <QImage>
#include <QList>
#include <QPicture>
#include <QStringList>

namespace quillon {

// One finished job as a recording sink keeps it.
struct RecordedJob {
    QString name;
    QList<QPicture> pages;
    QSizeF pageSizeTwips;
    QPageLayout pageLayout; // invalid when the sink knew no paper
    int pageCount() const { return int(pages.size()); }
    // Every text drawn on the page, in drawing order.
    QStringList texts(int page) const;
    // The font (in points) of the first text drawn exactly so; a default
    // font when there is none.
    QFont textFont(int page, const QString& text) const;
    // All texts of the page joined by newlines, handy for contains() checks.
    QString plainText(int page) const;
    // The page rendered at the given resolution.
    QImage image(int page, double dpi = 96) const;
};

// A sink that keeps every page (as vector drawing commands) for inspection.
class RecordingPageSink final : public PageSink {
public:
    explicit RecordingPageSink(QSizeF pageSizeTwips = QSizeF(11906 - 1700, 16838 - 1700),
                               QString deviceName = QStringLiteral("Recorder"));
    ~RecordingPageSink() override;

    bool beginJob(const QString& jobName) override;
    bool newPage() override;
    bool endJob() override;
    void abortJob() override;
    QPainter* painter() override;
    QSizeF pageSizeTwips() const override { return m_pageSize; }
    QPageLayout pageLayout() const override { return m_layout; }
    // Records sheets of that paper; with fitArea the printable area becomes
    // the paper less a printer's usual 6 mm unprintable border.
    void setPageLayout(const QPageLayout& layout, bool fitArea = true);
    QString deviceName() const override { return m_deviceName; }

    bool jobOpen() const { return m_painter != nullptr; }
    // Jobs finished so far, oldest first.
    const QList<RecordedJob>& jobs() const { return m_jobs; }

private:
    void startPage();
    void finishPage();

    QSizeF m_pageSize;
    QPageLayout m_layout;
    QString m_deviceName;
    QList<RecordedJob> m_jobs;
    RecordedJob m_current;
    std::unique_ptr<QPicture> m_picture;
    std::unique_ptr<QPainter> m_painter;
};

} // namespace quillon
