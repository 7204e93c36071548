#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

class WordFkpRuns;
class WordPieceTable;
class WordStyleSheet;

// Reads a Word 97-2003 binary document (or, in less detail, a Word 6 or
// Word 95 one): the main text through the piece
// table, paragraphs with their alignment, and runs with bold, italic,
// underline, strike, super- and subscript, size, font and colour from
// styles and CHPX pages. Tracked changes are taken as accepted.
class WordBinaryReader final {
public:
    bool read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error);
    // Whether the document read last had tracked insertions or deletions.
    bool hadTrackedChanges() const { return m_trackedChanges; }

private:
    bool readWord6(const QByteArray& document, QList<WordParagraph>* paragraphs, QString* error);
    bool build(const WordPieceTable& pieces, const WordFkpRuns& characters,
               const WordFkpRuns& paragraphRuns, const WordStyleSheet& styles,
               const QStringList& fonts, QList<WordParagraph>* paragraphs, QString* error);

    bool m_trackedChanges = false;
};

} // namespace quillon::word
