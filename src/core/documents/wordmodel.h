#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

class QTextDocument;

namespace quillon::word {

// The formatting both Word dialects carry for a run of text. A zero size,
// an empty font name or an invalid colour mean "not given".
struct WordCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0; // 1 superscript, -1 subscript
    double pointSize = 0;
    QString font;
    QColor color;

    bool operator==(const WordCharFormat&) const = default;
};

// The run properties both Word dialects state in layers (document
// defaults, paragraph style, character style, the run's own): each may be
// left open, so that a later layer changes only what it says. Size and font
// differ in kind between the dialects and live in the derived structures.
struct WordRunLayer {
    std::optional<bool> bold, italic, underline, strike;
    std::optional<int> vertical; // as WordCharFormat::vertical
    std::optional<QColor> color;

    // What `other` states wins; what it leaves open stays.
    void overrideWith(const WordRunLayer& other);
    // Sets these properties of `format`, "off" and "no colour" where open.
    void resolveInto(WordCharFormat* format) const;
};

// Lays `other` over `value` when it is given.
template <typename T> void overrideIfGiven(std::optional<T>& value, const std::optional<T>& other)
{
    if (other)
        value = other;
}

struct WordRun {
    QString text; // tabs as '\t', line breaks as QChar::LineSeparator
    WordCharFormat format;
};

enum class WordAlignment { Left, Center, Right, Justify };

struct WordParagraph {
    WordAlignment alignment = WordAlignment::Left;
    QList<WordRun> runs;

    void append(const QString& text, const WordCharFormat& format);
};

// The mark of the number'th footnote (1, 2, 3...) or endnote (i, ii,
// iii..., as Word numbers them unless told otherwise).
QString noteMark(bool endnote, int number);

// Replaces the document's content with the paragraphs.
void fillDocument(const QList<WordParagraph>& paragraphs, QTextDocument* document);

// The document's paragraphs with every run's formatting made explicit
// (the document's default font fills in what a run leaves open).
QList<WordParagraph> paragraphsOf(const QTextDocument& document);

} // namespace quillon::word
