#include "documents/wordbinarywriter.h"

#include "documents/cfbstorage.h"
#include "documents/wordbytes.h"
#include "documents/wordfib.h"
#include "documents/wordfkpwriter.h"
#include "documents/wordfonttable.h"
#include "documents/wordsprm.h"
#include "documents/wordstylesheetwriter.h"

#include <QLocale>

namespace quillon::word {

namespace {

constexpr quint16 kWordIdent = 0xA5EC;
constexpr quint16 kNFib97 = 0x00C1;
constexpr quint16 kNFibBack = 0x00BF;
constexpr quint16 kLidEnglishUS = 0x0409;
constexpr quint16 kFlagsTable1ExtChar = 0x0200 | 0x1000;
constexpr quint16 kCsw = 14;
constexpr quint16 kCslw = 22;
constexpr qsizetype kTextStart = 0x400; // the FIB fits well below
constexpr qsizetype kPageSize = 512;
constexpr qsizetype kDopSize = 500;
constexpr quint32 kNoMacProperties = 0xFFFFFFFF;
constexpr quint16 kSprmSXaPage = 0xB01F;
constexpr quint16 kSprmSYaPage = 0xB020;
constexpr quint16 kSprmSDxaLeft = 0xB021;
constexpr quint16 kSprmSDxaRight = 0xB022;
constexpr quint16 kSprmSDyaTop = 0x9023;
constexpr quint16 kSprmSDyaBottom = 0x9024;
constexpr int kMarginTwips = 1440;
constexpr quint16 kSprmCHpsBi = 0x4A61;
constexpr quint8 kUnderlineSingle = 1;

// The class id Word gives the root of its documents.
const QByteArray kWordClassId = QByteArray::fromHex("0609020000000000C000000000000046");

quint32 fcOf(quint32 cp)
{
    return quint32(kTextStart) + 2 * cp;
}

void putSprm(QByteArray& out, quint16 code, const QByteArray& operand)
{
    putU16(out, code);
    out.append(operand);
}

QByteArray byteOperand(int value)
{
    QByteArray out;
    putU8(out, quint8(value));
    return out;
}

QByteArray wordOperand(int value)
{
    QByteArray out;
    putU16(out, quint16(value));
    return out;
}

int jcOf(WordAlignment alignment)
{
    switch (alignment) {
    case WordAlignment::Center:
        return 1;
    case WordAlignment::Right:
        return 2;
    case WordAlignment::Justify:
        return 3;
    case WordAlignment::Left:
        break;
    }
    return 0;
}

QByteArray piecetable(quint32 ccp)
{
    QByteArray plc;
    putU32(plc, 0);
    putU32(plc, ccp);
    putU16(plc, 0);                   // piece flags
    putU32(plc, quint32(kTextStart)); // Unicode piece: the plain byte offset
    putU16(plc, 0);                   // no property modifier
    QByteArray clx;
    putU8(clx, 0x02);
    putU32(clx, quint32(plc.size()));
    clx.append(plc);
    return clx;
}

// The one section's page: Letter where the locale measures in inches, A4
// elsewhere, with one-inch margins.
QByteArray sectionProperties()
{
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    QByteArray grpprl;
    putSprm(grpprl, kSprmSXaPage, wordOperand(letter ? 12240 : 11906));
    putSprm(grpprl, kSprmSYaPage, wordOperand(letter ? 15840 : 16838));
    for (const quint16 code : {kSprmSDxaLeft, kSprmSDxaRight, kSprmSDyaTop, kSprmSDyaBottom})
        putSprm(grpprl, code, wordOperand(kMarginTwips));
    QByteArray sepx;
    putU16(sepx, quint16(grpprl.size()));
    sepx.append(grpprl);
    return sepx;
}

QByteArray sectionTable(quint32 ccp, quint32 fcSepx)
{
    QByteArray plc;
    putU32(plc, 0);
    putU32(plc, ccp);
    putU16(plc, 0);
    putU32(plc, fcSepx);
    putU16(plc, 0);
    putU32(plc, kNoMacProperties);
    return plc;
}

QByteArray documentProperties()
{
    QByteArray dop(kDopSize, '\0');
    setU16(dop, 2, 1 << 2);  // footnotes numbered from 1
    setU16(dop, 10, 720);    // default tab stop every half inch
    setU16(dop, 52, 1 << 2); // endnotes numbered from 1
    return dop;
}

} // namespace

int WordBinaryWriter::fontIndex(const QString& font)
{
    const QString name = font.isEmpty() ? QStringLiteral("Times New Roman") : font;
    qsizetype index = m_fonts.indexOf(name);
    if (index < 0) {
        m_fonts.append(name);
        index = m_fonts.size() - 1;
    }
    return int(index);
}

QByteArray WordBinaryWriter::characterSprms(const WordCharFormat& format)
{
    QByteArray out;
    putSprm(out, kSprmCFBold, byteOperand(format.bold ? 1 : 0));
    putSprm(out, kSprmCFItalic, byteOperand(format.italic ? 1 : 0));
    putSprm(out, kSprmCFStrike, byteOperand(format.strike ? 1 : 0));
    putSprm(out, kSprmCKul, byteOperand(format.underline ? kUnderlineSingle : 0));
    putSprm(out, kSprmCIss, byteOperand(format.vertical > 0 ? 1 : format.vertical < 0 ? 2 : 0));
    if (format.pointSize > 0) {
        const int halfPoints = qBound(2, qRound(format.pointSize * 2), 3276);
        putSprm(out, kSprmCHps, wordOperand(halfPoints));
        putSprm(out, kSprmCHpsBi, wordOperand(halfPoints)); // complex scripts alike
    }
    // ASCII, East Asian and other scripts all get the run's font.
    const int font = fontIndex(format.font);
    putSprm(out, kSprmCRgFtc0, wordOperand(font));
    putSprm(out, kSprmCRgFtc1, wordOperand(font));
    putSprm(out, kSprmCRgFtc2, wordOperand(font));
    if (format.color.isValid()) {
        QByteArray cv;
        putU8(cv, quint8(format.color.red()));
        putU8(cv, quint8(format.color.green()));
        putU8(cv, quint8(format.color.blue()));
        putU8(cv, 0);
        putSprm(out, kSprmCCv, cv);
    }
    return out;
}

void WordBinaryWriter::collect(const QList<WordParagraph>& paragraphs)
{
    fontIndex(QStringLiteral("Times New Roman")); // the style sheet's default font
    QList<WordParagraph> list = paragraphs;
    if (list.isEmpty())
        list.append(WordParagraph());
    for (const WordParagraph& paragraph : list) {
        const quint32 paragraphStart = quint32(m_text.size());
        WordCharFormat last;
        for (const WordRun& run : paragraph.runs) {
            const quint32 start = quint32(m_text.size());
            for (const QChar c : run.text)
                m_text += c == QChar::LineSeparator ? QChar(0x0B) : c;
            m_characterSpans.append({start, quint32(m_text.size()), characterSprms(run.format)});
            last = run.format;
        }
        // The paragraph mark carries the formatting of the paragraph's last run.
        const quint32 mark = quint32(m_text.size());
        m_text += QChar(0x0D);
        m_characterSpans.append({mark, mark + 1, characterSprms(last)});
        QByteArray papx;
        putU16(papx, 0); // style Normal
        putSprm(papx, kSprmPJc80, byteOperand(jcOf(paragraph.alignment)));
        putSprm(papx, kSprmPJc, byteOperand(jcOf(paragraph.alignment)));
        m_paragraphSpans.append({paragraphStart, mark + 1, papx});
    }
}

QByteArray WordBinaryWriter::write(const QList<WordParagraph>& paragraphs, QString* error)
{
    m_text.clear();
    m_characterSpans.clear();
    m_paragraphSpans.clear();
    m_fonts.clear();
    collect(paragraphs);
    const quint32 ccp = quint32(m_text.size());

    QByteArray document(kTextStart, '\0');
    for (const QChar c : m_text)
        putU16(document, c.unicode());
    document.append(QByteArray((kPageSize - document.size() % kPageSize) % kPageSize, '\0'));

    auto toRuns = [](const QList<Span>& spans) {
        QList<WordFkpWriter::Run> runs;
        for (const Span& span : spans)
            runs.append({fcOf(span.cpStart), fcOf(span.cpEnd), span.grpprl});
        return runs;
    };
    const QByteArray chpxBin =
        WordFkpWriter::write(WordFkpWriter::Kind::Character, toRuns(m_characterSpans), &document);
    const QByteArray papxBin =
        WordFkpWriter::write(WordFkpWriter::Kind::Paragraph, toRuns(m_paragraphSpans), &document);
    const quint32 fcSepx = quint32(document.size());
    document.append(sectionProperties());

    // The table stream, each structure's place noted for the FIB.
    QByteArray table;
    quint32 fc[kFibEntryCount97] = {};
    quint32 lcb[kFibEntryCount97] = {};
    auto place = [&](int entry, const QByteArray& bytes) {
        fc[entry] = quint32(table.size());
        lcb[entry] = quint32(bytes.size());
        table.append(bytes);
    };
    place(kFibStshf, WordStyleSheetWriter::write(characterSprms(WordCharFormat{
                         false, false, false, false, 0, 12, m_fonts.first(), QColor()})));
    fc[0] = fc[kFibStshf]; // the original style sheet is the same
    lcb[0] = lcb[kFibStshf];
    place(kFibPlcfBteChpx, chpxBin);
    place(kFibPlcfBtePapx, papxBin);
    place(kFibPlcfSed, sectionTable(ccp, fcSepx));
    place(kFibDop, documentProperties());
    place(kFibClx, piecetable(ccp));
    place(kFibSttbfFfn, WordFontTable::write(m_fonts));

    QByteArray fib;
    putU16(fib, kWordIdent);
    putU16(fib, kNFib97);
    putU16(fib, 0);
    putU16(fib, kLidEnglishUS);
    putU16(fib, 0); // pnNext
    putU16(fib, kFlagsTable1ExtChar);
    putU16(fib, kNFibBack);
    putU32(fib, 0); // lKey
    putU8(fib, 0);  // envr
    putU8(fib, 0);
    putU16(fib, 0);
    putU16(fib, 0);
    putU32(fib, quint32(kTextStart));           // text start, for old readers
    putU32(fib, quint32(kTextStart) + 2 * ccp); // text end
    putU16(fib, kCsw);
    for (int i = 0; i < kCsw; ++i)
        putU16(fib, i == kCsw - 1 ? kLidEnglishUS : 0);
    putU16(fib, kCslw);
    putU32(fib, quint32(document.size())); // cbMac
    putU32(fib, 0);
    putU32(fib, 0);
    putU32(fib, ccp);
    for (int i = 4; i < kCslw; ++i)
        putU32(fib, 0);
    putU16(fib, kFibEntryCount97);
    for (int i = 0; i < kFibEntryCount97; ++i) {
        putU32(fib, fc[i]);
        putU32(fib, lcb[i]);
    }
    putU16(fib, 0); // no later FIB additions
    document.replace(0, fib.size(), fib);

    return CfbWriter::write({{"WordDocument", document}, {"1Table", table}}, kWordClassId, error);
}

} // namespace quillon::word
