#include "common/prompter.h"

#include "printing/pagesink.h"

namespace quillon {

Prompter::~Prompter() = default;

std::unique_ptr<PageSink> Prompter::openPrinter(const QString& name)
{
    PrintChoice choice;
    choice.printerName = name;
    return openPrinter(choice);
}

} // namespace quillon
