#pragma once

#include <functional>
#include <QList>
#include <QPageRanges>
#include <QString>

class QPainter;

namespace quillon {

class PageSink;

// Which pages of a document go on paper, how often and in what order: what
// the user chose in a print dialog, independent of the printer.
struct PageSelection {
    enum class PageSet { All, Odd, Even };

    int fromPage = 1;
    int toPage = 1;
    // A page list such as "1,3,5-7"; when set it replaces fromPage..toPage.
    QPageRanges pages;
    PageSet pageSet = PageSet::All;
    int copies = 1;
    // Collated: every copy on sheets of its own (1 2 1 2); otherwise each
    // page as often as there are copies (1 1 2 2).
    bool collate = true;
    bool lastPageFirst = false;

    // The document's pages in the order they go on sheets, copies included;
    // pages beyond 1..pageCount are left out. Empty when nothing remains.
    QList<int> sheets(int pageCount) const;
};

// Prints the pages as one job, one sheet each; render draws a page on the
// sink's twips painter. False (job dropped, sink's error left) when a sheet
// cannot be started or render fails.
bool printSheets(PageSink& sink, const QString& jobName, const QList<int>& pages,
                 const std::function<bool(int page, QPainter& painter)>& render);

} // namespace quillon
