#include "documents/wordbinaryreader.h"

#include "documents/cfbstorage.h"
#include "documents/documentlimits.h"
#include "documents/symbolfonts.h"
#include "documents/word6format.h"
#include "documents/wordbytes.h"
#include "documents/wordfib.h"
#include "documents/wordfkp.h"
#include "documents/wordfonttable.h"
#include "documents/wordpiecetable.h"
#include "documents/wordstylesheet.h"

#include <QHash>

namespace quillon::word {

namespace {

constexpr char16_t kParagraphMark = 0x0D;
constexpr char16_t kCellMark = 0x07;
constexpr char16_t kLineBreak = 0x0B;
constexpr char16_t kPageBreak = 0x0C;
constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
constexpr char16_t kNonBreakingHyphen = 0x1E;
constexpr char16_t kNoteMark = 0x02; // an automatically numbered note reference
constexpr int kMaxFieldDepth = 64;

// Assembles paragraphs from the text, one character at a time, hiding field
// instructions (only a field's result is text the reader sees).
class ParagraphBuilder final {
public:
    ParagraphBuilder(const WordPieceTable& pieces, const WordFkpRuns& characters,
                     const WordFkpRuns& paragraphs, const WordStyleSheet& styles,
                     const QStringList& fonts)
        : m_pieces(pieces), m_characters(characters), m_paragraphs(paragraphs), m_styles(styles),
          m_fonts(fonts)
    {
    }

    // The marks note references and the notes themselves show, by
    // character position (the reference characters have none of their own).
    void setNoteMarks(const QHash<qsizetype, QString>& marks) { m_noteMarks = marks; }

    // Empty (with budget() saying why) when the text passes the limits.
    QList<WordParagraph> build(qsizetype from, qsizetype to)
    {
        QList<WordParagraph> result;
        const QString& text = m_pieces.text();
        qsizetype start = qBound<qsizetype>(0, from, text.size());
        to = qBound<qsizetype>(start, to, text.size());
        while (start < to) {
            qsizetype end = start;
            while (end < to && text[end] != kParagraphMark && text[end] != kCellMark)
                ++end;
            if (!m_budget.addParagraph() || !m_budget.addCharacters(end - start))
                return {};
            result.append(paragraph(start, end));
            if (m_budget.exceeded())
                return {};
            start = end + 1;
        }
        return result;
    }

    const DocumentBudget& budget() const { return m_budget; }
    bool hadTrackedChanges() const { return m_trackedChanges; }

private:
    // Characters [start, end) with the mark at end (or the end of the text).
    WordParagraph paragraph(qsizetype start, qsizetype end)
    {
        const QList<quint32>& offsets = m_pieces.fileOffsets();
        const qsizetype markIndex = qMin(end, offsets.size() - 1);
        const WordFkpRun* papx = m_paragraphs.find(offsets.at(markIndex));
        const int istd = papx ? papx->istd : 0;
        WordParagraph result;
        result.alignment = m_styles.alignment(istd).value_or(WordAlignment::Left);
        if (papx) {
            if (const auto own = paragraphAlignment(papx->grpprl))
                result.alignment = *own;
        }
        const QString& text = m_pieces.text();
        for (qsizetype i = start; i < end; ++i) {
            const char16_t c = text[i].unicode();
            if (!visible(c))
                continue;
            // Tracked changes are taken as accepted: deleted text is left out.
            const auto [marked, deleted] = revisionAt(offsets.at(i));
            m_trackedChanges = m_trackedChanges || marked;
            if (deleted)
                continue;
            QChar out;
            if (c == kLineBreak || c == kPageBreak)
                out = QChar::LineSeparator;
            else if (c == kNonBreakingHyphen)
                out = QChar(0x2011);
            else if (c == u'\t' || c >= 0x20)
                out = QChar(c);
            else if (c == kNoteMark && m_noteMarks.contains(i))
                out = QChar(kNoteMark);
            else
                continue; // object anchors, soft hyphens
            const WordCharFormat charFormat = format(offsets.at(i), istd);
            if (out == QChar(kNoteMark)) {
                WordCharFormat raised = charFormat;
                raised.vertical = 1;
                const qsizetype before = result.runs.size();
                result.append(m_noteMarks.value(i), raised);
                if (result.runs.size() > before && !m_budget.addRun())
                    break;
                continue;
            }
            QString shown(out);
            // An inserted symbol stands in the text as "(" with the symbol in
            // its properties; text in a symbol font shows that font's pictures.
            if (const QString symbol = symbolAt(offsets.at(i)); !symbol.isEmpty())
                shown = symbol;
            else if (c >= 0x20 && symbolfonts::isSymbolFont(charFormat.font))
                shown = symbolfonts::character(charFormat.font, c);
            const qsizetype runs = result.runs.size();
            result.append(shown, charFormat);
            if (result.runs.size() > runs && !m_budget.addRun())
                break;
        }
        return result;
    }

    bool visible(char16_t c)
    {
        if (c == kFieldBegin) {
            if (m_fields.size() < kMaxFieldDepth)
                m_fields.append(true);
            return false;
        }
        if (c == kFieldSeparator) {
            if (!m_fields.isEmpty())
                m_fields.last() = false;
            return false;
        }
        if (c == kFieldEnd) {
            if (!m_fields.isEmpty())
                m_fields.removeLast();
            return false;
        }
        return !m_fields.contains(true);
    }

    // Whether the character is a tracked insertion or deletion, and whether deleted.
    std::pair<bool, bool> revisionAt(quint32 fc) const
    {
        const WordFkpRun* chpx = m_characters.find(fc);
        bool inserted = false, deleted = false;
        if (chpx) {
            forEachSprm(chpx->grpprl, [&](const WordSprm& sprm) {
                if (sprm.code == kSprmCFRMarkDel)
                    deleted = sprm.byteOperand() != 0;
                else if (sprm.code == kSprmCFRMarkIns)
                    inserted = sprm.byteOperand() != 0;
            });
        }
        return {inserted || deleted, deleted};
    }

    QString symbolAt(quint32 fc) const
    {
        const WordFkpRun* chpx = m_characters.find(fc);
        QString symbol;
        if (!chpx)
            return symbol;
        forEachSprm(chpx->grpprl, [&](const WordSprm& sprm) {
            if (sprm.code != kSprmCSymbol || sprm.operand.size() < 4)
                return;
            const int font = quint8(sprm.operand[0]) | (quint8(sprm.operand[1]) << 8);
            const uint code = quint8(sprm.operand[2]) | (quint8(sprm.operand[3]) << 8);
            if (font < m_fonts.size())
                symbol = symbolfonts::character(m_fonts.at(font), code);
        });
        return symbol;
    }

    WordCharFormat format(quint32 fc, int istd)
    {
        const WordFkpRun* chpx = m_characters.find(fc);
        const QPair<const void*, int> key(chpx, istd);
        const auto cached = m_formats.constFind(key);
        if (cached != m_formats.constEnd())
            return cached.value();
        const WordCharProps base = m_styles.charProps(istd);
        WordCharProps props = base;
        if (chpx) {
            // A character style named in the run lies between paragraph style and run.
            forEachSprm(chpx->grpprl, [&](const WordSprm& sprm) {
                if (sprm.code == kSprmCIstd)
                    props.overrideWith(m_styles.charProps(sprm.wordOperand(), false));
            });
            props.apply(chpx->grpprl, base);
        }
        const WordCharFormat result = props.resolved(m_fonts);
        m_formats.insert(key, result);
        return result;
    }

    const WordPieceTable& m_pieces;
    const WordFkpRuns& m_characters;
    const WordFkpRuns& m_paragraphs;
    const WordStyleSheet& m_styles;
    const QStringList& m_fonts;
    QList<bool> m_fields;
    QHash<qsizetype, QString> m_noteMarks;
    QHash<QPair<const void*, int>, WordCharFormat> m_formats;
    DocumentBudget m_budget;
    bool m_trackedChanges = false;
};

// Where each note's reference and text lie: the references' positions
// (PlcfRef) and the notes' stretches within their part (PlcfTxt) pair up
// in order.
WordNotes noteLayout(const WordFib& fib, const QByteArray& table, const QString& text)
{
    constexpr qint64 kMaxNotes = 10000;
    WordNotes notes;
    const WordBytes bytes(table);
    const quint32 footnotesStart = fib.ccpText;
    const quint32 endnotesStart = fib.ccpText + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn;
    for (const bool endnote : {false, true}) {
        const int ref = endnote ? kFibPlcfendRef : kFibPlcffndRef;
        const int txt = endnote ? kFibPlcfendTxt : kFibPlcffndTxt;
        const quint32 partStart = endnote ? endnotesStart : footnotesStart;
        const quint32 refLength = fib.lcb[ref], txtLength = fib.lcb[txt];
        if (refLength < 10 || (refLength - 4) % 6 != 0 || txtLength < 8 ||
            !bytes.has(fib.fc[ref], refLength) || !bytes.has(fib.fc[txt], txtLength))
            continue;
        const qint64 count =
            std::min({qint64(refLength - 4) / 6, qint64(txtLength) / 4 - 1, kMaxNotes});
        for (qint64 k = 0; k < count; ++k) {
            quint32 refCp = 0, from = 0, to = 0;
            bytes.u32(fib.fc[ref] + 4 * k, &refCp);
            bytes.u32(fib.fc[txt] + 4 * k, &from);
            bytes.u32(fib.fc[txt] + 4 * (k + 1), &to);
            const qint64 start = qint64(partStart) + from, end = qint64(partStart) + to;
            if (from >= to || end > text.size())
                continue;
            const QString mark = noteMark(endnote, int(k) + 1);
            if (refCp < fib.ccpText && text.at(refCp) == kNoteMark)
                notes.marks.insert(refCp, mark);
            if (text.at(start) == kNoteMark)
                notes.marks.insert(start, mark);
            notes.ranges.append({start, end});
        }
    }
    return notes;
}

} // namespace

bool WordBinaryReader::read(const QByteArray& data, QList<WordParagraph>* paragraphs,
                            QString* error)
{
    m_trackedChanges = false;
    CfbReader cfb;
    if (!cfb.open(data, error))
        return false;
    if (!cfb.hasStream("WordDocument")) {
        if (error) {
            // A password-protected .docx is an encrypted package inside a
            // compound file.
            if (cfb.hasStream("EncryptedPackage"))
                *error = QStringLiteral("The Word document is protected by a password.");
            else
                *error = QStringLiteral("The file is an Office file but not a Word document.");
        }
        return false;
    }
    QByteArray document;
    if (!cfb.stream("WordDocument", &document, error))
        return false;
    WordFib fib;
    if (!fib.read(document, error))
        return false;
    if (fib.word6)
        return readWord6(document, paragraphs, error);
    // The text is counted before it is read: a piece table may name the
    // same bytes again and again.
    if (qint64(fib.ccpText) > limits::kMaxCharacters) {
        if (error)
            *error = DocumentBudget::tooLarge(QStringLiteral("characters"), limits::kMaxCharacters);
        return false;
    }
    QByteArray table;
    if (!cfb.stream(fib.tableIs1Table ? "1Table" : "0Table", &table, error))
        return false;

    WordPieceTable pieces;
    if (!pieces.read(document, table, fib.fc[kFibClx], fib.lcb[kFibClx], fib.ccpText, error))
        return false;
    // Footnotes and endnotes follow the main text through the same piece
    // table; notes that cannot be read leave the main text as it is.
    WordNotes notes;
    const quint64 ccpAll =
        quint64(fib.ccpText) + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn + fib.ccpEdn;
    if ((fib.ccpFtn > 0 || fib.ccpEdn > 0) && ccpAll <= quint64(limits::kMaxCharacters)) {
        WordPieceTable all;
        if (all.read(document, table, fib.fc[kFibClx], fib.lcb[kFibClx], quint32(ccpAll),
                     nullptr)) {
            notes = noteLayout(fib, table, all.text());
            if (!notes.ranges.isEmpty())
                pieces = all;
        }
    }
    WordStyleSheet styles;
    styles.read(table, fib.fc[kFibStshf], fib.lcb[kFibStshf]);
    const QStringList fonts =
        WordFontTable::read(table, fib.fc[kFibSttbfFfn], fib.lcb[kFibSttbfFfn]);
    WordFkpRuns characters;
    characters.read(WordFkpRuns::Kind::Character, document, table, fib.fc[kFibPlcfBteChpx],
                    fib.lcb[kFibPlcfBteChpx]);
    WordFkpRuns paragraphRuns;
    paragraphRuns.read(WordFkpRuns::Kind::Paragraph, document, table, fib.fc[kFibPlcfBtePapx],
                       fib.lcb[kFibPlcfBtePapx]);

    return build(pieces, fib.ccpText, notes, characters, paragraphRuns, styles, fonts, paragraphs,
                 error);
}

bool WordBinaryReader::readWord6(const QByteArray& document, QList<WordParagraph>* paragraphs,
                                 QString* error)
{
    // Everything lives in the one WordDocument stream.
    word6::Fib fib;
    if (!fib.read(document, error))
        return false;
    if (qint64(fib.ccpText) > limits::kMaxCharacters) {
        if (error)
            *error = DocumentBudget::tooLarge(QStringLiteral("characters"), limits::kMaxCharacters);
        return false;
    }
    QString text;
    QList<quint32> offsets;
    if (!word6::readText(document, fib, &text, &offsets, error))
        return false;
    WordPieceTable pieces;
    pieces.setText(text, offsets);
    const QStringList fonts = word6::readFonts(document, fib.fcSttbfffn, fib.lcbSttbfffn);
    WordFkpRuns characters;
    characters.read(WordFkpRuns::Kind::Character, document, document, fib.fcPlcfbteChpx,
                    fib.lcbPlcfbteChpx, WordFkpRuns::Dialect::Word6);
    WordFkpRuns paragraphRuns;
    paragraphRuns.read(WordFkpRuns::Kind::Paragraph, document, document, fib.fcPlcfbtePapx,
                       fib.lcbPlcfbtePapx, WordFkpRuns::Dialect::Word6);
    // The style sheet of Word 6 is not read: text keeps its own formatting.
    return build(pieces, text.size(), WordNotes(), characters, paragraphRuns, WordStyleSheet(),
                 fonts, paragraphs, error);
}

bool WordBinaryReader::build(const WordPieceTable& pieces, qsizetype mainLength,
                             const WordNotes& notes, const WordFkpRuns& characters,
                             const WordFkpRuns& paragraphRuns, const WordStyleSheet& styles,
                             const QStringList& fonts, QList<WordParagraph>* paragraphs,
                             QString* error)
{
    ParagraphBuilder builder(pieces, characters, paragraphRuns, styles, fonts);
    builder.setNoteMarks(notes.marks);
    QList<WordParagraph> result = builder.build(0, mainLength);
    if (result.isEmpty() && !builder.budget().exceeded())
        result.append(WordParagraph());
    // The notes at the end, as lyrics have no place of their own for them.
    for (const auto& [from, to] : notes.ranges) {
        if (builder.budget().exceeded())
            break;
        result.append(builder.build(from, to));
    }
    if (builder.budget().exceeded()) {
        if (error)
            *error = builder.budget().error();
        return false;
    }
    m_trackedChanges = builder.hadTrackedChanges();
    *paragraphs = std::move(result);
    return true;
}

} // namespace quillon::word
