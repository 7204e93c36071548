#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillon::rtf {

// Document units (layout pixels of a 96 dpi layout) are 15 twips each.
inline constexpr double kTwipsPerUnit = 15.0;

// True when the bytes begin (after blanks or a UTF-8 mark) with "{\rtf".
bool looksLikeRtf(const QByteArray& data);

// Reads RTF into the document, replacing its content: paragraphs with their
// alignment, indents and spacing, and runs with font, size, bold, italic,
// underline, strike-out, colour and highlight. Unknown or optional parts are
// skipped; truncated input keeps what was read. Fails when the bytes are
// not RTF at all (document untouched) or when the text passes the limits of
// documentlimits.h (document cleared).
bool read(const QByteArray& data, QTextDocument* document, QString* error = nullptr);

// Writes the document as RTF 1 with a font and a colour table; everything
// outside ASCII as \uN? escapes.
QByteArray write(const QTextDocument& document);

} // namespace quillon::rtf
