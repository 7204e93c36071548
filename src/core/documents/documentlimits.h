#pragma once

#include <QString>
#include <QtGlobal>

class QTextDocument;

namespace quillon {

// How large a document may become once read, whatever its format. A lyric
// sheet or a notebook stays far below each of these; a file beyond them is
// refused, because a few kilobytes of packed or repeated markup can
// otherwise expand to gigabytes of text and paragraphs.
namespace limits {

// Bytes read from one file, and bytes of one part unpacked from a .docx.
inline constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
// Characters of text, paragraph ends included: about a thousand dense pages.
inline constexpr qsizetype kMaxCharacters = 2'000'000;
inline constexpr qsizetype kMaxParagraphs = 50'000;
// Characters of one paragraph: about fifty pages. Breaking a paragraph into
// lines takes time growing with the square of its length when it has no
// blanks.
inline constexpr qsizetype kMaxParagraphCharacters = 100'000;
// Stretches of text in one formatting. Laying out a paragraph slows down
// sharply with their number.
inline constexpr qsizetype kMaxRuns = 100'000;
// Tags opened in the stored form; each costs the HTML reader about a kilobyte.
inline constexpr qsizetype kMaxMarkupTags = 200'000;
// Entries of one font, colour or style table.
inline constexpr qsizetype kMaxTableEntries = 4096;
// Elements nested in one another in XML or HTML. The readers' memory and
// time grow with the depth (the HTML reader's with its square).
inline constexpr int kMaxNesting = 256;

} // namespace limits

// Counts what a reader produces against the limits. Once one is passed it
// stays passed, and error() says which in a sentence for the user.
class DocumentBudget final {
public:
    // Characters of the current paragraph (the one last added).
    bool addCharacters(qsizetype count);
    // Starts a new paragraph; its end counts as a character.
    bool addParagraph();
    bool addRun();
    // Plain text, its lines ("\n" or U+2029) taken as paragraphs.
    bool addText(const QString& text);
    // Counts a finished document (for readers that cannot count as they go).
    bool addDocument(const QTextDocument& document);
    // The tags of HTML: false beyond limits::kMaxMarkupTags opening tags or
    // limits::kMaxNesting levels of elements left open.
    bool addMarkup(const QString& html);

    bool exceeded() const { return !m_error.isEmpty(); }
    // The sentence for a document with more than `limit` of `what`.
    static QString tooLarge(const QString& what, qsizetype limit);
    QString error() const { return m_error; }

private:
    bool refuse(const QString& what, qsizetype limit);

    qsizetype m_characters = 0;
    qsizetype m_paragraphs = 0;
    qsizetype m_paragraphCharacters = 0;
    qsizetype m_runs = 0;
    QString m_error;
};

} // namespace quillon
