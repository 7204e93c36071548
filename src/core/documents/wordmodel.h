#pragma once

#include <QColor>
#include <QList>
#include <QString>

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

// Replaces the document's content with the paragraphs.
void fillDocument(const QList<WordParagraph>& paragraphs, QTextDocument* document);

// The document's paragraphs with every run's formatting made explicit
// (the document's default font fills in what a run leaves open).
QList<WordParagraph> paragraphsOf(const QTextDocument& document);

} // namespace quillon::word
