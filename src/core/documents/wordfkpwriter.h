#pragma once

#include <QByteArray>
#include <QList>

namespace quillon::word {

// Packs formatted runs into 512-byte formatted disk pages (CHPX or PAPX
// FKPs) and the bin table that finds them.
class WordFkpWriter final {
public:
    enum class Kind { Character, Paragraph };
    struct Run {
        quint32 fcStart = 0;
        quint32 fcEnd = 0;
        QByteArray grpprl; // for paragraphs: the style index followed by the sprms
    };

    // Appends the pages to the stream (which must end on a page boundary)
    // and returns the bin table for the table stream.
    static QByteArray write(Kind kind, const QList<Run>& runs, QByteArray* wordDocument);

private:
    static QByteArray page(Kind kind, const QList<Run>& runs, qsizetype first, qsizetype* count);
};

} // namespace quillon::word
