#pragma once

#include <QByteArray>
#include <QList>

namespace quillon::word {

// One formatted run from a formatted disk page: the file offsets it covers,
// its property list and, for paragraphs, its style.
struct WordFkpRun {
    quint32 fcStart = 0;
    quint32 fcEnd = 0;
    QByteArray grpprl;
    int istd = 0;
};

// The character (CHPX) or paragraph (PAPX) runs of a Word 97-2003 document,
// found through the bin table (PlcBte) in the table stream.
class WordFkpRuns final {
public:
    enum class Kind { Character, Paragraph };

    // Word 6 and Word 95 name pages in two bytes, keep a one-byte style in
    // a paragraph's list and code properties in one byte (translated here
    // to their Word 97 form).
    enum class Dialect { Word97, Word6 };

    // Pages that cannot be read are left out; their text keeps the style's formatting.
    void read(Kind kind, const QByteArray& wordDocument, const QByteArray& table, quint32 offset,
              quint32 length, Dialect dialect = Dialect::Word97);
    // The run covering a file offset, or null.
    const WordFkpRun* find(quint32 fc) const;
    qsizetype size() const { return m_runs.size(); }

private:
    void readPage(Kind kind, const QByteArray& page, Dialect dialect);

    QList<WordFkpRun> m_runs;
};

} // namespace quillon::word
