#pragma once

#include <optional>
#include <QFont>
#include <QSizeF>
#include <QTransform>

namespace quillon {

class FormSheet;
class PageSink;

// "Print the window's client area as one page": the window's layout, given in
// twips, is drawn at the printer's own resolution (vector text, no screen
// grab) and scaled, proportions kept, so it fills the printable area.
QTransform fitToPage(QSizeF contentTwips, QSizeF pageTwips);

// Paints the sheet on the sink's current page, fitted as above.
bool printSheetAsPage(PageSink& sink, const FormSheet& sheet,
                      const std::optional<QFont>& textFont = {});

} // namespace quillon
