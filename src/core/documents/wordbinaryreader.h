#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>

namespace quillon::word {

// The footnotes and endnotes of a document: the marks shown at their
// references and at their starts (by character position), and the
// stretches of text they take.
struct WordNotes {
    QHash<qsizetype, QString> marks;
    QList<std::pair<qsizetype, qsizetype>> ranges;
};

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
    bool build(const WordPieceTable& pieces, qsizetype mainLength, const WordNotes& notes,
               const WordFkpRuns& characters, const WordFkpRuns& paragraphRuns,
               const WordStyleSheet& styles, const QStringList& fonts,
               QList<WordParagraph>* paragraphs, QString* error);

    bool m_trackedChanges = false;
};

} // namespace quillon::word
