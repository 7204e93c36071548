#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillon::text {

// Decodes a plain-text file: UTF-8 with or without a byte-order mark, UTF-16
// LE/BE by their byte-order marks, otherwise Windows-1252. Line ends CR LF
// and lone CR become LF.
QString decode(const QByteArray& data);

// Removes what must never reach a QTextDocument as text: NUL, the frame
// markers U+FDD0/U+FDD1, the object replacement character, U+FEFF and unpaired
// surrogates (replaced by U+FFFD).
QString sanitized(QString text);

// Encodes as UTF-8 without a byte-order mark, LF line ends.
QByteArray encode(const QString& text);

// Replaces the document's content with the decoded text. Fails (document
// untouched) only when the text passes the limits of documentlimits.h.
bool read(const QByteArray& data, QTextDocument* document, QString* error = nullptr);

// The document's plain text, encoded.
QByteArray write(const QTextDocument& document);

} // namespace quillon::text
