#pragma once

#include <QString>

namespace quillon {

class Prompter;
class RichTextDocument;
struct PrintChoice;

// One print command on a rich-text document: the pages the print choice
// names, its copies in its order, on the printer (or PDF file) it names,
// paginated for that printer's paper. The document's own pagination is
// handed back afterwards.
class DocumentPrintJob final {
public:
    enum class Result { Printed, NoPrinter, NothingToPrint, Failed };

    DocumentPrintJob(Prompter& prompter, RichTextDocument& document);

    Result run(const PrintChoice& choice, const QString& jobName);
    // Why the last run did not print, for the user.
    QString lastError() const { return m_lastError; }

private:
    Prompter& m_prompter;
    RichTextDocument& m_document;
    QString m_lastError;
};

} // namespace quillon
