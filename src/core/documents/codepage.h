#pragma once

#include <QByteArray>
#include <QString>

namespace quillon::codepage {

// Decodes bytes in a Windows code page (1252, 1250, 1251, 932, ...).
// Windows-1252 is built in; other pages go through Qt's codecs and fall back
// to Windows-1252 when the system has no converter for them.
QString decode(const QByteArray& bytes, int codePage);

// The code page an RTF \fcharsetN implies, or 0 when it implies none.
int fromCharset(int charset);

} // namespace quillon::codepage
