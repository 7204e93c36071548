#pragma once

#include <QByteArray>
#include <QStringList>

namespace quillon::word {

// The font table (SttbfFfn) of a Word 97-2003 document: font names by index.
class WordFontTable final {
public:
    static QStringList read(const QByteArray& table, quint32 offset, quint32 length);
    static QByteArray write(const QStringList& fonts);
};

} // namespace quillon::word
