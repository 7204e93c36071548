#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Reads a Word 97-2003 binary document: the main text through the piece
// table, paragraphs with their alignment, and runs with bold, italic,
// underline, strike, super- and subscript, size, font and colour from
// styles and CHPX pages. Tracked changes are taken as accepted.
class WordBinaryReader final {
public:
    bool read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error);
    // Whether the document read last had tracked insertions or deletions.
    bool hadTrackedChanges() const { return m_trackedChanges; }

private:
    bool m_trackedChanges = false;
};

} // namespace quillon::word
