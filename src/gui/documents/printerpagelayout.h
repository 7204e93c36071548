#pragma once

#include <QPageLayout>

namespace quillon {

// The paper documents are paginated for: Letter when the default printer
// uses Letter (or, without any printer, when the locale measures in
// inches), A4 otherwise; margins as RichTextDocument::defaultPageLayout.
QPageLayout defaultPrinterPageLayout();

// The same decision for a given paper; pure, for tests.
QPageLayout pageLayoutForPaper(const QPageSize& paper);

} // namespace quillon
