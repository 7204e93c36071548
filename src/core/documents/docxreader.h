#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Reads an Office Open XML document (.docx): the paragraphs and runs of the
// main document part with bold, italic, underline, strike, super- and
// subscript, size, font, colour and paragraph alignment, styles applied.
// Footnotes and endnotes follow the text, each after its mark; the text of
// text boxes follows the paragraph they are anchored in; tracked changes
// are taken as accepted.
class DocxReader final {
public:
    bool read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error);
    // Whether the document read last had tracked insertions or deletions.
    bool hadTrackedChanges() const { return m_trackedChanges; }

private:
    bool m_trackedChanges = false;
};

} // namespace quillon::word
