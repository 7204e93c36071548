#pragma once

#include "documents/wordmodel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::word {

// Writes paragraphs as a Word 97-2003 binary document: a compound file
// with the WordDocument stream (FIB, Unicode text, CHPX and PAPX pages) and
// the 1Table stream (style sheet, font table, bin tables, piece table,
// section table, document properties).
class WordBinaryWriter final {
public:
    QByteArray write(const QList<WordParagraph>& paragraphs, QString* error);

private:
    struct Span {
        quint32 cpStart = 0;
        quint32 cpEnd = 0;
        QByteArray grpprl;
    };

    void collect(const QList<WordParagraph>& paragraphs);
    QByteArray characterSprms(const WordCharFormat& format);
    int fontIndex(const QString& font);

    QString m_text;
    QList<Span> m_characterSpans;
    QList<Span> m_paragraphSpans;
    QStringList m_fonts;
};

} // namespace quillon::word
