#pragma once

#include <QString>

class QWidget;

namespace quillon {

class Prompter;
class RichTextDocument;

// The preview's print command: the standard print dialog, then exactly the
// pages, copies and printer settings chosen there, every copy on sheets of
// its own unless the user asked for uncollated copies.
class PreviewPrinter final {
public:
    PreviewPrinter(Prompter& prompter, RichTextDocument& document, QString jobName);

    // Asks, hands the document back its own scale and prints. False when the
    // dialog was cancelled or nothing could be printed; a cancel leaves the
    // document untouched.
    bool print(QWidget* parent, int savedScale);

private:
    Prompter& m_prompter;
    RichTextDocument& m_document;
    QString m_jobName;
};

} // namespace quillon
