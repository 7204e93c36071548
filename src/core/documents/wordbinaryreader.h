#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Reads a Word 97-2003 binary document: the main text through the piece
// table, paragraphs with their alignment, and runs with bold, italic,
// underline, strike, super- and subscript, size, font and colour from
// styles and CHPX pages.
class WordBinaryReader final {
public:
    bool read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error);
};

} // namespace quillon::word
