#include "printing/pagefit.h"

#include "printing/formsheet.h"
#include "printing/pagesink.h"

#include <QPainter>

namespace quillon {

QTransform fitToPage(QSizeF contentTwips, QSizeF pageTwips)
{
    if (contentTwips.isEmpty() || pageTwips.isEmpty())
        return {};
    const double scale =
        qMin(pageTwips.width() / contentTwips.width(), pageTwips.height() / contentTwips.height());
    return QTransform::fromScale(scale, scale);
}

bool printSheetAsPage(PageSink& sink, const FormSheet& sheet, const std::optional<QFont>& textFont)
{
    QPainter* painter = sink.painter();
    if (!painter)
        return false;
    painter->save();
    painter->setTransform(fitToPage(sheet.size(), sink.pageSizeTwips()), true);
    sheet.paint(*painter, textFont);
    painter->restore();
    return true;
}

} // namespace quillon
