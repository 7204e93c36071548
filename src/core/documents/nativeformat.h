#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quillon::native {

// The document with all its formatting as bytes: Qt's rich-text HTML in
// UTF-8. Everything the editor can produce survives write() then read().
QByteArray write(const QTextDocument& document);

// Replaces the content. Bytes that are not our HTML are taken as plain text
// so nothing stored is ever lost. Fails (document cleared) only beyond the
// limits of documentlimits.h. HTML names resources (style sheets, images):
// read into a SealedTextDocument so that none of them is fetched.
bool read(const QByteArray& data, QTextDocument* document, QString* error = nullptr);

} // namespace quillon::native
