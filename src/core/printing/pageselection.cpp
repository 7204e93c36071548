#include "printing/pageselection.h"

#include "printing/pagesink.h"

#include <algorithm>
#include <QPainter>

namespace quillon {

QList<int> PageSelection::sheets(int pageCount) const
{
    QList<int> chosen;
    if (!pages.isEmpty()) {
        for (const QPageRanges::Range& r : pages.toRangeList())
            for (int p = std::max(1, r.from); p <= std::min(pageCount, r.to); ++p)
                if (!chosen.contains(p))
                    chosen << p;
        std::sort(chosen.begin(), chosen.end());
    } else {
        for (int p = std::max(1, fromPage); p <= std::min(pageCount, toPage); ++p)
            chosen << p;
    }
    // Odd and even count the document's own page numbers, not the sheets.
    if (pageSet != PageSet::All) {
        const int remainder = pageSet == PageSet::Odd ? 1 : 0;
        chosen.removeIf([remainder](int p) { return p % 2 != remainder; });
    }
    if (lastPageFirst)
        std::reverse(chosen.begin(), chosen.end());

    const int n = std::clamp(copies, 1, 999);
    QList<int> out;
    if (collate) {
        for (int c = 0; c < n; ++c)
            out << chosen;
    } else {
        for (int p : chosen)
            for (int c = 0; c < n; ++c)
                out << p;
    }
    return out;
}

bool printSheets(PageSink& sink, const QString& jobName, const QList<int>& pages,
                 const std::function<bool(int, QPainter&)>& render)
{
    if (pages.isEmpty() || !sink.beginJob(jobName))
        return false;
    bool first = true;
    for (int page : pages) {
        if (!first && !sink.newPage()) {
            sink.abortJob();
            return false;
        }
        first = false;
        QPainter* painter = sink.painter();
        if (!painter) {
            sink.abortJob();
            return false;
        }
        painter->save();
        const bool drawn = render(page, *painter);
        painter->restore();
        if (!drawn) {
            sink.abortJob();
            return false;
        }
    }
    return sink.endJob();
}

} // namespace quillon
