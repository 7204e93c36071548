#pragma once

#include <QByteArray>

class QTextDocument;

namespace quillon::native {

// The document with all its formatting as bytes: Qt's rich-text HTML in
// UTF-8. Everything the editor can produce survives write() then read().
QByteArray write(const QTextDocument& document);

// Replaces the content. Bytes that are not our HTML are taken as plain text
// so nothing stored is ever lost. Never fails.
void read(const QByteArray& data, QTextDocument* document);

} // namespace quillon::native
