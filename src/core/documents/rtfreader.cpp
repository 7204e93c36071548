#include "documents/codepage.h"
#include "documents/documentlimits.h"
#include "documents/rtfformat.h"
#include "documents/rtfkeywords.h"
#include "documents/rtfstate.h"
#include "documents/rtftokenizer.h"
#include "documents/textformat.h"

#include <utility>

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>

namespace quillon::rtf {

namespace {

// Groups nested deeper than this are read as if they were flat; real files
// stay far below it and hostile ones cannot exhaust memory.
constexpr int kMaxDepth = 200;

struct FontEntry {
    QString name;
    int codePage = 0;
};

class Reader {
public:
    Reader(const QByteArray& data, QTextDocument* document)
        : m_tokens(data), m_document(document), m_cursor(document)
    {
    }

    void run();
    const DocumentBudget& budget() const { return m_budget; }

private:
    void handleWord(const Token& t);
    bool handleDestinationWord(const QByteArray& w);
    void handleFontTableWord(const Token& t);
    void handleColorTableWord(const Token& t);
    void handleCharOrParaWord(const Token& t);
    void text(const QString& s);
    void commitFont(const State& entry);
    void rawBytes(const QByteArray& b);
    void flushBytes();
    void flushText();
    void endParagraph();
    void applyBlockFormat();
    QTextCharFormat charFormat() const;
    int currentCodePage() const;
    State& st() { return m_stack.back(); }

    Tokenizer m_tokens;
    QTextDocument* m_document;
    QTextCursor m_cursor;
    QList<State> m_stack;
    int m_overflow = 0;
    int m_skipAfterUnicode = 0;
    bool m_starred = false; // the word before opened an optional destination
    int m_ansiCodePage = 1252;
    int m_defaultFont = -1;
    QHash<int, FontEntry> m_fonts;
    QList<QColor> m_colors;
    bool m_colorEntryHasValue = false;
    int m_red = 0, m_green = 0, m_blue = 0;
    QByteArray m_pendingBytes;
    QString m_pendingText;
    QString m_fontName;
    bool m_blockHasContent = false;
    // The current paragraph follows a \page.
    bool m_breakBefore = false;
    bool m_anyContent = false;
    DocumentBudget m_budget;
    // The format of the last text inserted into the current paragraph.
    std::optional<QTextCharFormat> m_runFormat;
    // The current paragraph has been counted. A paragraph counts once it has
    // text or is ended, so the empty one after the last \par does not.
    bool m_paragraphCounted = false;
};

void Reader::run()
{
    m_stack.append(State{});
    m_cursor.movePosition(QTextCursor::Start);
    // One edit for the whole read: otherwise the document lays out its
    // paragraph again after every insertion, which grows with the square
    // of the number of runs.
    m_cursor.beginEditBlock();
    bool rootOpened = false;
    Token t;
    bool finished = false;
    while (!finished && !m_budget.exceeded() && m_tokens.next(t)) {
        // After \uN the next uc characters are the fallback for readers
        // without Unicode; braces end the skipping.
        if (m_skipAfterUnicode > 0 && t.kind != Token::GroupOpen && t.kind != Token::GroupClose) {
            if (t.kind == Token::Text) {
                const qsizetype n = std::min<qsizetype>(m_skipAfterUnicode, t.bytes.size());
                m_skipAfterUnicode -= int(n);
                t.bytes = t.bytes.mid(n);
                if (t.bytes.isEmpty())
                    continue;
            } else {
                --m_skipAfterUnicode;
                continue;
            }
        }
        switch (t.kind) {
        case Token::GroupOpen:
            m_skipAfterUnicode = 0;
            flushBytes();
            if (!rootOpened) {
                rootOpened = true;
            } else if (m_stack.size() >= kMaxDepth) {
                ++m_overflow;
            } else {
                m_stack.append(m_stack.back());
            }
            break;
        case Token::GroupClose:
            m_skipAfterUnicode = 0;
            flushBytes();
            if (m_overflow > 0) {
                --m_overflow;
            } else if (m_stack.size() > 1) {
                if (st().dest == Destination::Text)
                    flushText();
                const State inner = m_stack.takeLast();
                // Some writers end a font entry with its group, not with ";".
                if (inner.dest == Destination::FontTable)
                    commitFont(inner);
            } else {
                // The root group closed: the document ends here.
                finished = true;
            }
            break;
        case Token::ControlWord:
            handleWord(t);
            break;
        case Token::HexByte:
            m_pendingBytes.append(t.bytes);
            break;
        case Token::Text:
            rawBytes(t.bytes);
            break;
        }
    }
    flushBytes();
    flushText();
    // \par ends a paragraph; an empty block after the last one is no paragraph.
    if (!m_blockHasContent && m_document->blockCount() > 1 && m_cursor.block().text().isEmpty() &&
        m_cursor.atEnd()) {
        // Merging the empty block away must leave the previous paragraph's
        // format (Qt keeps the later block's when the earlier one is empty).
        const QTextBlock previous = m_cursor.block().previous();
        const QTextBlockFormat keep = previous.blockFormat();
        const QTextCharFormat keepChar = previous.charFormat();
        m_cursor.deletePreviousChar();
        m_cursor.setBlockFormat(keep);
        m_cursor.setBlockCharFormat(keepChar);
    } else {
        applyBlockFormat();
    }
    m_cursor.endEditBlock();
}

int Reader::currentCodePage() const
{
    const State& s = m_stack.back();
    const auto it = m_fonts.constFind(s.font);
    if (it != m_fonts.cend() && it->codePage > 0)
        return it->codePage;
    return m_ansiCodePage;
}

void Reader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString s = codepage::decode(m_pendingBytes, currentCodePage());
    m_pendingBytes.clear();
    text(s);
}

void Reader::rawBytes(const QByteArray& b)
{
    // Line ends in the file are not content.
    QByteArray clean;
    clean.reserve(b.size());
    for (char c : b) {
        if (c == '\r' || c == '\n' || c == 0)
            continue;
        clean.append(c);
    }
    if (!clean.isEmpty())
        m_pendingBytes.append(clean);
}

void Reader::text(const QString& s)
{
    switch (st().dest) {
    case Destination::Text:
        m_pendingText.append(s);
        // Long text is inserted (and counted) piece by piece.
        if (m_pendingText.size() >= 65536)
            flushText();
        break;
    case Destination::FontTable:
        for (QChar c : s) {
            if (c == ';') {
                commitFont(st());
            } else if (m_fontName.size() < 200) {
                m_fontName.append(c);
            }
        }
        break;
    case Destination::ColorTable:
        for (QChar c : s) {
            if (c == ';' && m_colors.size() < limits::kMaxTableEntries) {
                m_colors.append(m_colorEntryHasValue ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = m_green = m_blue = 0;
                m_colorEntryHasValue = false;
            }
        }
        break;
    case Destination::Skip:
        break;
    }
}

void Reader::commitFont(const State& entry)
{
    const QString name = m_fontName.trimmed();
    m_fontName.clear();
    if (entry.fontNumber < 0 || name.isEmpty() ||
        (m_fonts.size() >= limits::kMaxTableEntries && !m_fonts.contains(entry.fontNumber)))
        return;
    FontEntry e{name, codepage::fromCharset(entry.fontCharset)};
    if (entry.fontCharset == 2 || entry.fontCharset == 255)
        e.codePage = 0; // symbol fonts: bytes stay as they are
    m_fonts.insert(entry.fontNumber, e);
}

QTextCharFormat Reader::charFormat() const
{
    const State& s = m_stack.back();
    QTextCharFormat f;
    const auto it = m_fonts.constFind(s.font >= 0 ? s.font : m_defaultFont);
    if (it != m_fonts.cend() && !it->name.isEmpty())
        f.setFontFamilies({it->name});
    f.setFontPointSize(s.halfPoints / 2.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.color > 0 && s.color < m_colors.size() && m_colors.at(s.color).isValid())
        f.setForeground(m_colors.at(s.color));
    if (s.highlight > 0 && s.highlight < m_colors.size() && m_colors.at(s.highlight).isValid())
        f.setBackground(m_colors.at(s.highlight));
    if (s.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

void Reader::flushText()
{
    flushBytes();
    if (m_pendingText.isEmpty())
        return;
    // A lone surrogate from a broken \u pair, a NUL or a frame marker is not text.
    const QString s = text::sanitized(std::move(m_pendingText));
    m_pendingText.clear();
    if (s.isEmpty())
        return;
    if (!m_paragraphCounted && !m_budget.addParagraph())
        return;
    m_paragraphCounted = true;
    const QTextCharFormat format = charFormat();
    if (m_runFormat != format && !m_budget.addRun())
        return;
    if (!m_budget.addCharacters(s.size()))
        return;
    m_runFormat = format;
    m_cursor.insertText(s, format);
    m_blockHasContent = true;
    m_anyContent = true;
}

void Reader::applyBlockFormat()
{
    const State& s = m_stack.back();
    QTextBlockFormat f;
    f.setAlignment(s.align);
    f.setLeftMargin(s.leftIndent / kTwipsPerUnit);
    f.setRightMargin(s.rightIndent / kTwipsPerUnit);
    f.setTextIndent(s.firstIndent / kTwipsPerUnit);
    f.setTopMargin(s.spaceBefore / kTwipsPerUnit);
    f.setBottomMargin(s.spaceAfter / kTwipsPerUnit);
    if (s.pageBreakBefore || m_breakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.setBlockFormat(f);
}

void Reader::endParagraph()
{
    flushText();
    if (!m_paragraphCounted && !m_budget.addParagraph())
        return;
    m_paragraphCounted = false;
    m_runFormat.reset();
    applyBlockFormat();
    m_cursor.setBlockCharFormat(charFormat());
    m_cursor.insertBlock(QTextBlockFormat(), charFormat());
    m_blockHasContent = false;
    m_breakBefore = false;
}

bool Reader::handleDestinationWord(const QByteArray& w)
{

    if (w == "fonttbl") {
        st().dest = Destination::FontTable;
        m_fontName.clear();
        return true;
    }
    if (w == "colortbl") {
        st().dest = Destination::ColorTable;
        m_colors.clear();
        m_colorEntryHasValue = false;
        m_red = m_green = m_blue = 0;
        return true;
    }
    if (isSkippedDestination(w)) {
        st().dest = Destination::Skip;
        return true;
    }
    return false;
}

void Reader::handleWord(const Token& t)
{
    const QByteArray& w = t.word;
    if (w == "*") {
        // An optional destination: readers that do not know it skip it. The
        // next word names it; font and colour tables never come this way.
        flushText();
        st().dest = Destination::Skip;
        m_starred = true;
        return;
    }
    // The properties of a nested table's row end that row: its cells are
    // text of the document, and so is whatever this group holds.
    const bool starred = std::exchange(m_starred, false);
    if (starred && w == "nesttableprops" && m_stack.size() > 1) {
        st().dest = m_stack.at(m_stack.size() - 2).dest;
        return;
    }
    if (w == "bin") {
        // Binary data follows; the tokenizer must not look into it.
        m_tokens.skipBytes(std::max(0, t.param));
        return;
    }
    if (w == "u" && t.hasParam) {
        flushBytes();
        int v = t.param;
        if (v < 0)
            v += 65536;
        if (v >= 0 && v <= 0xFFFF && v != 0)
            text(QString(QChar(char16_t(v))));
        m_skipAfterUnicode = st().uc;
        return;
    }
    if (st().dest == Destination::Skip)
        return;
    flushBytes();
    if (handleDestinationWord(w)) {
        flushText();
        return;
    }
    if (st().dest == Destination::FontTable) {
        handleFontTableWord(t);
        return;
    }
    if (st().dest == Destination::ColorTable) {
        handleColorTableWord(t);
        return;
    }
    handleCharOrParaWord(t);
}

void Reader::handleFontTableWord(const Token& t)
{
    if (t.word == "f" && t.hasParam) {
        st().fontNumber = t.param;
        m_fontName.clear();
    } else if (t.word == "fcharset") {
        st().fontCharset = t.param;
    } else if (t.word == "u" || t.word == "'") {
        // Handled before.
    } else if (t.word.size() == 1 && !QChar::isLetter(t.word.at(0))) {
        text(QString::fromLatin1(t.word));
    }
}

void Reader::handleColorTableWord(const Token& t)
{
    const int v = std::clamp(t.param, 0, 255);
    if (t.word == "red") {
        m_red = v;
        m_colorEntryHasValue = true;
    } else if (t.word == "green") {
        m_green = v;
        m_colorEntryHasValue = true;
    } else if (t.word == "blue") {
        m_blue = v;
        m_colorEntryHasValue = true;
    }
}

void Reader::handleCharOrParaWord(const Token& t)
{
    const QByteArray& w = t.word;
    State& s = st();
    // Literal characters and control symbols.

    if (const char16_t c = symbolCharacter(w)) {
        text(QString(QChar(c)));
        return;
    }
    if (w == "par" || w == "sect" || w == "row" || w == "nestrow") {
        endParagraph();
        return;
    }
    if (w == "page") {
        // A hard page break: the text after it starts a new page.
        if (m_blockHasContent || !m_pendingText.isEmpty() || !m_pendingBytes.isEmpty())
            endParagraph();
        m_breakBefore = true;
        return;
    }
    if (w == "ansicpg" && t.param > 0) {
        m_ansiCodePage = t.param;
        return;
    }
    if (w == "mac") {
        m_ansiCodePage = 10000;
        return;
    }
    if (w == "pc") {
        m_ansiCodePage = 437;
        return;
    }
    if (w == "pca") {
        m_ansiCodePage = 850;
        return;
    }
    if (w == "deff") {
        m_defaultFont = t.param;
        return;
    }
    if (w == "uc") {
        s.uc = std::clamp(t.param, 0, 10);
        return;
    }
    // Everything below changes the format of text still to come.
    flushText();
    s.applyFormatting(t, m_defaultFont);
}

} // namespace

bool looksLikeRtf(const QByteArray& data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() &&
           (data.at(i) == ' ' || data.at(i) == '\r' || data.at(i) == '\n' || data.at(i) == '\t'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

bool read(const QByteArray& data, QTextDocument* document, QString* error)
{
    if (!looksLikeRtf(data)) {
        if (error)
            *error = QStringLiteral("The file is not an RTF document.");
        return false;
    }
    document->clear();
    Reader reader(data.mid(data.indexOf('{')), document);
    reader.run();
    if (reader.budget().exceeded()) {
        document->clear();
        if (error)
            *error = reader.budget().error();
        return false;
    }
    return true;
}

} // namespace quillon::rtf
