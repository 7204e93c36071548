#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Reads an Office Open XML document (.docx): the paragraphs and runs of the
// main document part with bold, italic, underline, strike, super- and
// subscript, size, font, colour and paragraph alignment, styles applied.
class DocxReader final {
public:
    bool read(const QByteArray& data, QList<WordParagraph>* paragraphs, QString* error);
};

} // namespace quillon::word
