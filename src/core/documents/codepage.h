#pragma once

#include <QByteArray>
#include <QString>

namespace quillon::codepage {

// Decodes bytes in a Windows or Mac code page (1252, 1251, 932, 10000,
// 10001, ...). Windows-1252 is built in; other pages go through Qt's
// converters, else the C library's iconv, and only when neither knows the
// page through Windows-1252 (with a warning in the log).
QString decode(const QByteArray& bytes, int codePage);

// The code page an RTF \fcharsetN implies, or 0 when it implies none (the
// ANSI and default character sets mean the document's code page).
int fromCharset(int charset);

} // namespace quillon::codepage
