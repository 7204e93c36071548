#pragma once

#include <QString>

namespace quillon::test {

// Pages in a PDF file, counted from its page objects; -1 when the file
// cannot be read.
int pdfPageCount(const QString& path);

} // namespace quillon::test
