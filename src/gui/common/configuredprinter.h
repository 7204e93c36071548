#pragma once

#include "common/prompter.h"

#include <memory>
#include <QPageLayout>

class QPrinter;
class QPrinterInfo;

namespace quillon {

// The QPrinter a job prints on: taken over from the print dialog with every
// setting the user made, or set up for a printer by name with that
// printer's own paper.
class ConfiguredPrinter final {
public:
    // The printer of the choice: the dialog's own, its PDF file, the named
    // printer or the default one. Null when that printer does not exist.
    static std::shared_ptr<QPrinter> forChoice(const PrintChoice& choice);
    // A printer set up for that installed printer, on the paper it uses by
    // default (Qt starts every printer on A4).
    static std::shared_ptr<QPrinter> forPrinter(const QPrinterInfo& info);
    // Reads what the dialog set on the printer into a choice and takes the
    // page choices off the printer: the program prints exactly the chosen
    // pages and copies itself, so the print service must not select again.
    static PrintChoice takeChoice(std::shared_ptr<QPrinter> printer, int minPage, int maxPage);
    // The paper a document is paginated for on that sheet: its size and
    // orientation with the document margins (2.5 cm, 1 inch on Letter).
    static QPageLayout documentLayout(const QPageLayout& sheet);
};

} // namespace quillon
