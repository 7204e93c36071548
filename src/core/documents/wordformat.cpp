#include "documents/wordformat.h"

#include <QTextDocument>

namespace quillon::word {

// Placeholder until the Word reader and writer land.
bool looksLikeWord(const QByteArray& data)
{
    return data.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || data.startsWith("PK\x03\x04");
}

bool read(const QByteArray&, QTextDocument*, QString* error)
{
    if (error)
        *error = QStringLiteral("Word documents are not supported yet");
    return false;
}

QByteArray writeDoc(const QTextDocument&, QString* error)
{
    if (error)
        *error = QStringLiteral("Word documents are not supported yet");
    return {};
}

QByteArray writeDocx(const QTextDocument&, QString* error)
{
    if (error)
        *error = QStringLiteral("Word documents are not supported yet");
    return {};
}

} // namespace quillon::word
