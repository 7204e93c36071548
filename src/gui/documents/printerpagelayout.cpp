#include "documents/printerpagelayout.h"

#include "documents/richtextdocument.h"

#include <QLocale>
#include <QPrinterInfo>

namespace quillon {

QPageLayout pageLayoutForPaper(const QPageSize& paper)
{
    // Only the two papers lyrics are printed on; anything else is laid out
    // on A4, which every printer outside North America has.
    const bool letter = paper.id() == QPageSize::Letter || paper.id() == QPageSize::Legal;
    return RichTextDocument::defaultPageLayout(letter ? QPageSize::Letter : QPageSize::A4);
}

QPageLayout defaultPrinterPageLayout()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull())
        return pageLayoutForPaper(printer.defaultPageSize());
    const bool inches = QLocale().measurementSystem() != QLocale::MetricSystem;
    return RichTextDocument::defaultPageLayout(inches ? QPageSize::Letter : QPageSize::A4);
}

} // namespace quillon
