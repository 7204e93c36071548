#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillon::word {

// True when the bytes are a compound file (Word 97-2003) or a ZIP package (.docx).
bool looksLikeWord(const QByteArray& data);

// Reads a Word 97-2003 binary document or an Office Open XML document,
// recognised by content. On failure returns false and says why in error.
// notice gets a sentence for the user when the file was read but something
// in it was taken in a way the user should know of (tracked changes taken
// as accepted), else an empty string.
bool read(const QByteArray& data, QTextDocument* document, QString* error = nullptr,
          QString* notice = nullptr);

// Writes a Word 97-2003 binary document.
QByteArray writeDoc(const QTextDocument& document, QString* error = nullptr);

// Writes an Office Open XML document.
QByteArray writeDocx(const QTextDocument& document, QString* error = nullptr);

} // namespace quillon::word
