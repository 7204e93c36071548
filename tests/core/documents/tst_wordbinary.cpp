#include "documentprobes.h"
#include "documents/cfbstorage.h"
#include "documents/wordbytes.h"
#include "documents/wordfib.h"
#include "documents/wordfkpwriter.h"
#include "documents/wordfonttable.h"
#include "documents/wordformat.h"
#include "documents/wordsprm.h"
#include "documents/wordstylesheetwriter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillon;
using namespace quillon::test;
using word::CfbReader;
using word::CfbWriter;

namespace {

// A document with everything the exporters must keep.
void fillSample(QTextDocument* document)
{
    QTextCursor cursor(document);
    QTextCharFormat plain;
    plain.setFontFamilies(QStringList{QStringLiteral("Liberation Serif")});
    plain.setFontPointSize(12);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat title = plain;
    title.setFontFamilies(QStringList{QStringLiteral("Liberation Sans")});
    title.setFontPointSize(18);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Song Title"), title);
    QTextBlockFormat left;
    left.setAlignment(Qt::AlignLeft);
    cursor.insertBlock(left);
    cursor.insertText(QStringLiteral("Plain then "), plain);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral("leaning"), italic);
    cursor.insertText(QStringLiteral(" and "), plain);
    QTextCharFormat underline = plain;
    underline.setFontUnderline(true);
    underline.setFontPointSize(9);
    cursor.insertText(QStringLiteral("underlined small"), underline);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    QTextCharFormat red = plain;
    red.setForeground(QColor(200, 0, 0));
    cursor.insertText(
        QString::fromUtf8("Gr\xC3\xBC\xC3\x9F\x65 \xC3\xA4\xC3\xB6 \xC3\xA9 \xC2\xA9"), red);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("second\tline ") +
                          QString::fromUtf8("\xF0\x9F\x8E\xB8"),
                      plain);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(justified);
    cursor.insertText(QStringLiteral("last"), plain);
}

QByteArray sprm(quint16 code, int operand)
{
    QByteArray out;
    word::putU16(out, code);
    if (((code >> 13) & 7) < 2)
        word::putU8(out, quint8(operand));
    else
        word::putU16(out, quint16(operand));
    return out;
}

// Style indexes and fonts of layeredDoc.
constexpr int kParaStyle = 15, kCharStyle = 16, kItalicStyle = 17;
enum { kDefaultsFont, kParaFont, kCharFont, kDirectFont };

// A .doc of the one paragraph "x" whose formatting comes in layers: the
// document default (font "Defaults", 10 pt), the paragraph style "Para"
// (bold, 12 pt) if asked for, and the run's own properties `chpx`, which may
// name the character styles "Char" (not bold, italic, 14 pt) or "Italic".
QByteArray layeredDoc(bool paragraphStyle, const QByteArray& chpx,
                      const QStringList& fonts = {"Defaults", "Para", "Char", "Direct"})
{
    using namespace quillon::word;
    QTextDocument sample;
    sample.setPlainText(QStringLiteral("x"));
    CfbReader cfb;
    QByteArray wordDocument, table;
    if (!cfb.open(writeDoc(sample), nullptr) ||
        !cfb.stream("WordDocument", &wordDocument, nullptr) ||
        !cfb.stream("1Table", &table, nullptr))
        return {};
    // Each structure is replaced by one appended to the table stream.
    const auto place = [&](int entry, const QByteArray& bytes) {
        const qsizetype fib = 154 + 8 * entry; // the offset/length pairs start there
        for (int k = 0; k < 4; ++k) {
            wordDocument[fib + k] = char((quint32(table.size()) >> (8 * k)) & 0xFF);
            wordDocument[fib + 4 + k] = char((quint32(bytes.size()) >> (8 * k)) & 0xFF);
        }
        table.append(bytes);
    };
    QByteArray stsh = WordStyleSheetWriter::write(QByteArray());
    setU16(stsh, 2, 18);
    QByteArray ownIndex;
    putU16(ownIndex, kParaStyle);
    for (const QByteArray& std :
         {WordStyleSheetWriter::style(100, 1, kParaStyle, QStringLiteral("Para"),
                                      {ownIndex, sprm(kSprmCRgFtc0, kParaFont) +
                                                     sprm(kSprmCFBold, 1) + sprm(kSprmCHps, 24)}),
          WordStyleSheetWriter::style(101, 2, kCharStyle, QStringLiteral("Char"),
                                      {sprm(kSprmCRgFtc0, kCharFont) + sprm(kSprmCFBold, 0) +
                                       sprm(kSprmCFItalic, 1) + sprm(kSprmCHps, 28)}),
          WordStyleSheetWriter::style(102, 2, kItalicStyle, QStringLiteral("Italic"),
                                      {sprm(kSprmCFItalic, 1)})}) {
        putU16(stsh, quint16(std.size()));
        stsh.append(std);
    }
    place(kFibStshf, stsh);
    place(kFibSttbfFfn, WordFontTable::write(fonts));
    wordDocument.append(QByteArray((512 - wordDocument.size() % 512) % 512, '\0'));
    QByteArray papx;
    putU16(papx, paragraphStyle ? kParaStyle : 0);
    const quint32 text = 0x400, end = text + 4; // "x" and the paragraph mark, UTF-16
    place(kFibPlcfBteChpx,
          WordFkpWriter::write(WordFkpWriter::Kind::Character, {{text, end, chpx}}, &wordDocument));
    place(kFibPlcfBtePapx,
          WordFkpWriter::write(WordFkpWriter::Kind::Paragraph, {{text, end, papx}}, &wordDocument));
    return CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
}

} // namespace

class TestWordBinary final : public QObject {
    Q_OBJECT

private slots:
    void readsDocumentWrittenByLibreOffice()
    {
        const QByteArray data = documentFixture(QStringLiteral("word-lyrics.doc"));
        QVERIFY(!data.isEmpty());
        QVERIFY(word::looksLikeWord(data));
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(data, &document, &error), qPrintable(error));
        const QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), QStringLiteral("Moonlight Session"));
        QCOMPARE(
            lines.at(1),
            QStringLiteral("Plain words, then bold words, italic words and underlined words."));
        QCOMPARE(lines.at(3), QString::fromUtf8("Umlaute: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F "
                                                "\xC3\xA9 \xC2\xA9 2026"));

        QVERIFY(formatAt(document, QStringLiteral("bold words")).fontWeight() >= QFont::Bold);
        QVERIFY(formatAt(document, QStringLiteral("Plain words")).fontWeight() < QFont::DemiBold);
        QVERIFY(formatAt(document, QStringLiteral("italic words")).fontItalic());
        QVERIFY(!formatAt(document, QStringLiteral("bold words")).fontItalic());
        QVERIFY(formatAt(document, QStringLiteral("underlined words")).fontUnderline());
        QVERIFY(!formatAt(document, QStringLiteral("italic words")).fontUnderline());
        QCOMPARE(formatAt(document, QStringLiteral("Plain words")).fontPointSize(), 12.0);
        QCOMPARE(formatAt(document, QStringLiteral("Small print")).fontPointSize(), 10.0);
        QCOMPARE(formatAt(document, QStringLiteral("large Arial")).fontPointSize(), 14.0);
        QCOMPARE(formatAt(document, QStringLiteral("Moonlight")).fontPointSize(), 16.0);
        QCOMPARE(familyOf(formatAt(document, QStringLiteral("large Arial"))),
                 QStringLiteral("Arial"));
        QCOMPARE(familyOf(formatAt(document, QStringLiteral("Small print"))),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(formatAt(document, QStringLiteral("Red line")).foreground().color(),
                 QColor(200, 0, 0));
        QCOMPARE(alignmentOf(document, QStringLiteral("Moonlight")), Qt::AlignHCenter);
        QCOMPARE(alignmentOf(document, QStringLiteral("Umlaute")), Qt::AlignRight);
        QCOMPARE(alignmentOf(document, QStringLiteral("Plain words")), Qt::AlignLeft);
    }

    void roundTripKeepsTextAndFormatting()
    {
        QTextDocument original;
        fillSample(&original);
        QString error;
        const QByteArray bytes = word::writeDoc(original, &error);
        QVERIFY2(!bytes.isEmpty(), qPrintable(error));
        QVERIFY(CfbReader::looksLikeCompoundFile(bytes));

        QTextDocument copy;
        QVERIFY2(word::read(bytes, &copy, &error), qPrintable(error));
        QCOMPARE(copy.toPlainText(), original.toPlainText());
        QCOMPARE(copy.blockCount(), 4);
        const QTextCharFormat title = formatAt(copy, QStringLiteral("Song Title"));
        QVERIFY(title.fontWeight() >= QFont::Bold);
        QCOMPARE(title.fontPointSize(), 18.0);
        QCOMPARE(familyOf(title), QStringLiteral("Liberation Sans"));
        QCOMPARE(alignmentOf(copy, QStringLiteral("Song Title")), Qt::AlignHCenter);
        const QTextCharFormat plain = formatAt(copy, QStringLiteral("Plain then"));
        QVERIFY(plain.fontWeight() < QFont::DemiBold);
        QVERIFY(!plain.fontItalic());
        QVERIFY(!plain.fontUnderline());
        QCOMPARE(familyOf(plain), QStringLiteral("Liberation Serif"));
        QCOMPARE(plain.fontPointSize(), 12.0);
        QVERIFY(formatAt(copy, QStringLiteral("leaning")).fontItalic());
        const QTextCharFormat underline = formatAt(copy, QStringLiteral("underlined small"));
        QVERIFY(underline.fontUnderline());
        QCOMPARE(underline.fontPointSize(), 9.0);
        const QTextCharFormat red = formatAt(copy, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F\x65"));
        QCOMPARE(red.foreground().color(), QColor(200, 0, 0));
        QCOMPARE(alignmentOf(copy, QStringLiteral("second")), Qt::AlignRight);
        QCOMPARE(alignmentOf(copy, QStringLiteral("last")), Qt::AlignJustify);
        QVERIFY(copy.toRawText().contains(QString(QChar::LineSeparator) +
                                          QStringLiteral("second\tline")));
    }

    void documentOfLibreOfficeSurvivesItsOwnRoundTrip()
    {
        QTextDocument first;
        QVERIFY(word::read(documentFixture(QStringLiteral("word-lyrics.doc")), &first));
        QTextDocument second;
        QVERIFY(word::read(word::writeDoc(first), &second));
        QCOMPARE(second.toPlainText(), first.toPlainText());
        for (const QString& text :
             {QStringLiteral("bold words"), QStringLiteral("italic words"),
              QStringLiteral("underlined words"), QStringLiteral("large Arial")}) {
            const QTextCharFormat a = formatAt(first, text);
            const QTextCharFormat b = formatAt(second, text);
            QCOMPARE(b.fontWeight(), a.fontWeight());
            QCOMPARE(b.fontItalic(), a.fontItalic());
            QCOMPARE(b.fontUnderline(), a.fontUnderline());
            QCOMPARE(b.fontPointSize(), a.fontPointSize());
            QCOMPARE(familyOf(b), familyOf(a));
        }
    }

    // Thousands of runs do not fit one formatted disk page; the writer must
    // spread them over several and the reader must find them all.
    void manyRunsSpanSeveralPages()
    {
        QTextDocument original;
        QTextCursor cursor(&original);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat normal;
        normal.setFontWeight(QFont::Normal);
        for (int i = 0; i < 600; ++i) {
            if (i)
                cursor.insertBlock();
            cursor.insertText(QStringLiteral("line %1 ").arg(i), normal);
            cursor.insertText(QStringLiteral("b%1").arg(i), bold);
        }
        QTextDocument copy;
        QVERIFY(word::read(word::writeDoc(original), &copy));
        QCOMPARE(copy.blockCount(), 600);
        QCOMPARE(copy.toPlainText(), original.toPlainText());
        QVERIFY(formatAt(copy, QStringLiteral("b599")).fontWeight() >= QFont::Bold);
        QVERIFY(formatAt(copy, QStringLiteral("line 599")).fontWeight() < QFont::DemiBold);
        QVERIFY(formatAt(copy, QStringLiteral("b0")).fontWeight() >= QFont::Bold);
    }

    void emptyDocumentRoundTrips()
    {
        QTextDocument empty;
        const QByteArray bytes = word::writeDoc(empty);
        QVERIFY(!bytes.isEmpty());
        QTextDocument copy;
        copy.setPlainText(QStringLiteral("old"));
        QVERIFY(word::read(bytes, &copy));
        QCOMPARE(copy.toPlainText(), QString());
    }

    void truncatedFilesAreRefused()
    {
        const QByteArray data = documentFixture(QStringLiteral("word-lyrics.doc"));
        QVERIFY(!data.isEmpty());
        for (qsizetype size : {qsizetype(0), qsizetype(8), qsizetype(511), qsizetype(512),
                               qsizetype(2048), data.size() / 2, data.size() - 512}) {
            QTextDocument document;
            document.setPlainText(QStringLiteral("unchanged"));
            QString error;
            QVERIFY(!word::read(data.left(size), &document, &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(document.toPlainText(), QStringLiteral("unchanged"));
        }
    }

    void randomBytesAreRefused()
    {
        QRandomGenerator random(1234);
        for (int round = 0; round < 50; ++round) {
            QByteArray data(4096, '\0');
            for (char& c : data)
                c = char(random.generate());
            if (round % 2)
                data.replace(0, 8, QByteArray::fromHex("D0CF11E0A1B11AE1"));
            QString error;
            QTextDocument document;
            QVERIFY(!word::read(data, &document, &error));
            QVERIFY(!error.isEmpty());
        }
    }

    // Damage anywhere in a real file must not crash the reader; whatever it
    // makes of it, it answers.
    void damagedBytesNeverCrash()
    {
        const QByteArray data = documentFixture(QStringLiteral("word-lyrics.doc"));
        QRandomGenerator random(99);
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = data;
            for (int k = 0; k < 8; ++k)
                damaged[random.bounded(512, int(data.size()))] = char(random.generate());
            QTextDocument document;
            word::read(damaged, &document);
        }
    }

    // Stream names compare without regard to case; a compound file without a
    // Word stream is refused, saying why.
    void compoundFilesOfOtherWriters_data()
    {
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QString>("textOrError");
        QTest::newRow("lower case") << QByteArrayList{"worddocument", "1table"} << "x";
        QTest::newRow("upper case") << QByteArrayList{"WORDDOCUMENT", "1TABLE"} << "x";
        QTest::newRow("spreadsheet") << QByteArrayList{"Workbook"} << "not a Word document";
        QTest::newRow("encrypted docx")
            << QByteArrayList{"EncryptionInfo", "EncryptedPackage"} << "protected by a password";
    }

    void compoundFilesOfOtherWriters()
    {
        QFETCH(QByteArrayList, names);
        QFETCH(QString, textOrError);
        QTextDocument sample;
        sample.setPlainText(QStringLiteral("x"));
        CfbReader cfb;
        QVERIFY(cfb.open(word::writeDoc(sample), nullptr));
        QList<word::CfbStream> streams;
        for (const QByteArray& name : names) {
            // The Word streams are found whatever the case of their names.
            QByteArray data;
            if (!cfb.stream(name.constData(), &data, nullptr))
                data = QByteArray(5000, 'x');
            streams.append({name, data});
        }
        QString error;
        const QByteArray file = CfbWriter::write(streams, QByteArray(), &error);
        QVERIFY2(!file.isEmpty(), qPrintable(error));
        QVERIFY(word::looksLikeWord(file));
        QTextDocument document;
        if (textOrError == u"x") {
            QVERIFY2(word::read(file, &document, &error), qPrintable(error));
            QCOMPARE(document.toPlainText(), textOrError);
        } else {
            QVERIFY(!word::read(file, &document, &error));
            QVERIFY2(error.contains(textOrError), qPrintable(error));
        }
    }

    void olderWordVersionIsRefused()
    {
        QTextDocument sample;
        sample.setPlainText(QStringLiteral("x"));
        const QByteArray doc = word::writeDoc(sample);
        CfbReader cfb;
        QVERIFY(cfb.open(doc, nullptr));
        QByteArray wordDocument, table;
        QVERIFY(cfb.stream("WordDocument", &wordDocument, nullptr));
        QVERIFY(cfb.stream("1Table", &table, nullptr));
        wordDocument[2] = char(0x2D); // Word 2 (Word 6 and 95 are read: tst_word6)
        wordDocument[3] = 0;
        const QByteArray old =
            CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
        QString error;
        QTextDocument document;
        QVERIFY(!word::read(old, &document, &error));
        QVERIFY(error.contains(QStringLiteral("before Word 6")));
    }

    // Hundreds of formatted paragraphs from another writer: their runs lie on
    // many formatted disk pages.
    void readsLongDocumentWrittenByLibreOffice()
    {
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(documentFixture(QStringLiteral("word-long.doc")), &document, &error),
                 qPrintable(error));
        QCOMPARE(document.blockCount(), 400);
        const QTextBlock last = document.lastBlock();
        QCOMPARE(last.text(), QString::fromUtf8("Verse 399:  marked 399 and plain "
                                                "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"));
        for (int i : {0, 1, 2, 3, 201, 398, 399}) {
            const QString marked = QStringLiteral("marked %1 ").arg(i);
            const QTextCharFormat format = formatAt(document, marked);
            QCOMPARE(format.fontWeight() >= QFont::Bold, i % 4 == 0);
            QCOMPARE(format.fontItalic(), i % 4 == 1);
            QCOMPARE(format.fontUnderline(), i % 4 == 2);
            QCOMPARE(format.fontPointSize(), i % 4 == 3 ? 9.0 : 12.0);
            QCOMPARE(familyOf(format), i % 4 == 3 ? QStringLiteral("Courier New")
                                                  : QStringLiteral("Times New Roman"));
            QCOMPARE(alignmentOf(document, QStringLiteral("Verse %1:").arg(i)),
                     i % 10 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
            QVERIFY(formatAt(document, QStringLiteral("Verse %1:").arg(i)).fontWeight() <
                    QFont::DemiBold);
        }
    }

    // Older writers store text as one byte per character in Windows-1252
    // ("compressed" pieces); the euro sign is where it differs from Latin-1.
    void readsCompressedPieces()
    {
        QTextDocument sample;
        sample.setPlainText(QStringLiteral("12345678"));
        const QByteArray doc = word::writeDoc(sample);
        CfbReader cfb;
        QVERIFY(cfb.open(doc, nullptr));
        QByteArray wordDocument, table;
        QVERIFY(cfb.stream("WordDocument", &wordDocument, nullptr));
        QVERIFY(cfb.stream("1Table", &table, nullptr));
        const auto u32 = [](const QByteArray& b, int at) {
            return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
                   quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
        };
        const quint32 fcClx = u32(wordDocument, 0x1A2);
        const quint32 textAt = quint32(wordDocument.size());
        wordDocument.append("Caf\xE9 \x80 5\r");
        const quint32 fc = (textAt * 2) | 0x40000000;
        const int pcdFc = int(fcClx) + 1 + 4 + 8 + 2;
        for (int k = 0; k < 4; ++k)
            table[pcdFc + k] = char((fc >> (8 * k)) & 0xFF);
        const QByteArray patched =
            CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(patched, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC 5"));

        // A piece that points past the end of the stream is refused, not read.
        const quint32 beyond = (quint32(wordDocument.size()) * 2) | 0x40000000;
        for (int k = 0; k < 4; ++k)
            table[pcdFc + k] = char((beyond >> (8 * k)) & 0xFF);
        const QByteArray broken =
            CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
        QVERIFY(!word::read(broken, &document, &error));
        QVERIFY(error.contains(QStringLiteral("damaged")));
    }

    // Fields show their result, not their instruction; a table cell mark ends
    // a paragraph like a paragraph mark.
    void fieldInstructionsAreHiddenAndCellsSplit()
    {
        QTextDocument sample;
        sample.setPlainText(QStringLiteral("A#PAGE#7#Z#cell"));
        const QByteArray doc = word::writeDoc(sample);
        CfbReader cfb;
        QVERIFY(cfb.open(doc, nullptr));
        QByteArray wordDocument, table;
        QVERIFY(cfb.stream("WordDocument", &wordDocument, nullptr));
        QVERIFY(cfb.stream("1Table", &table, nullptr));
        const char marks[] = {0x13, 0x14, 0x15, 0x07};
        int next = 0;
        for (int at = 0x400; next < 4 && at + 1 < wordDocument.size(); at += 2) {
            if (wordDocument[at] == '#' && wordDocument[at + 1] == 0)
                wordDocument[at] = marks[next++];
        }
        QCOMPARE(next, 4);
        const QByteArray patched =
            CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(patched, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("A7Z\ncell"));
    }

    // Document defaults, then the paragraph style, then the character style,
    // then the run's own properties: each later layer wins for what it says
    // and leaves the rest, whatever order the run names them in.
    void formattingLayersApplyInOrder_data()
    {
        using namespace quillon::word;
        QTest::addColumn<bool>("paragraphStyle");
        QTest::addColumn<QByteArray>("chpx");
        QTest::addColumn<QString>("expected"); // font size bold italic
        const QByteArray direct =
            sprm(kSprmCRgFtc0, kDirectFont) + sprm(kSprmCHps, 40) + sprm(kSprmCFBold, 1);
        const QByteArray charStyle = sprm(kSprmCIstd, kCharStyle);
        QTest::newRow("defaults") << false << QByteArray() << "Defaults 10 no no";
        QTest::newRow("paragraph style") << true << QByteArray() << "Para 12 yes no";
        QTest::newRow("character style") << false << charStyle << "Char 14 no yes";
        QTest::newRow("character over paragraph style") << true << charStyle << "Char 14 no yes";
        QTest::newRow("character style leaves what it does not say")
            << true << sprm(kSprmCIstd, kItalicStyle) << "Para 12 yes yes";
        QTest::newRow("direct over both") << true << charStyle + direct << "Direct 20 yes yes";
        QTest::newRow("direct named before the style")
            << true << direct + charStyle << "Direct 20 yes yes";
        QTest::newRow("direct over paragraph style")
            << true << sprm(kSprmCFBold, 0) + sprm(kSprmCFItalic, 1) << "Para 12 no yes";
    }

    void formattingLayersApplyInOrder()
    {
        QFETCH(bool, paragraphStyle);
        QFETCH(QByteArray, chpx);
        QFETCH(QString, expected);
        const QByteArray data = layeredDoc(paragraphStyle, chpx);
        QVERIFY(!data.isEmpty());
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(data, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("x"));
        const QTextCharFormat f = formatAt(document, QStringLiteral("x"));
        const auto yesNo = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(familyOf(f))
                     .arg(f.fontPointSize())
                     .arg(yesNo(f.fontWeight() >= QFont::DemiBold), yesNo(f.fontItalic())),
                 expected);
    }

    // Word's inserted symbols and text in a symbol font come in as the
    // characters they show.
    void symbolsReadAsTheCharactersTheyShow_data()
    {
        using namespace quillon::word;
        QTest::addColumn<QByteArray>("chpx");
        QTest::addColumn<QString>("expected");
        QByteArray inserted; // sprmCSymbol: font 3, code F06D
        for (const quint16 v : {quint16(kSprmCSymbol), quint16(3), quint16(0xF06D)})
            putU16(inserted, v);
        QTest::newRow("inserted symbol") << inserted << QStringLiteral("\u03BC");
        QTest::newRow("text in the Symbol font")
            << sprm(kSprmCRgFtc0, 3) << QStringLiteral("\u03BE"); // "x" is xi
        QTest::newRow("text in another font") << sprm(kSprmCRgFtc0, 2) << QStringLiteral("x");
    }

    void symbolsReadAsTheCharactersTheyShow()
    {
        QFETCH(QByteArray, chpx);
        QFETCH(QString, expected);
        const QByteArray data = layeredDoc(false, chpx, {"Defaults", "Para", "Char", "Symbol"});
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(data, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), expected);
    }

    // Tracked changes are taken as accepted, and the reader says so.
    void trackedChangesAreAcceptedWithANotice_data()
    {
        using namespace quillon::word;
        QTest::addColumn<QByteArray>("chpx");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notice");
        QTest::newRow("deleted") << sprm(kSprmCFRMarkDel, 1) << QString() << true;
        QTest::newRow("inserted") << sprm(kSprmCFRMarkIns, 1) << QStringLiteral("x") << true;
        QTest::newRow("unchanged") << QByteArray() << QStringLiteral("x") << false;
    }

    void trackedChangesAreAcceptedWithANotice()
    {
        QFETCH(QByteArray, chpx);
        QFETCH(QString, text);
        QFETCH(bool, notice);
        QTextDocument document;
        QString error, said;
        QVERIFY2(word::read(layeredDoc(false, chpx), &document, &error, &said), qPrintable(error));
        QCOMPARE(document.toPlainText(), text);
        QCOMPARE(said.contains(QStringLiteral("tracked changes")), notice);
    }

    // A footnote's mark stays in the text, raised, and its text follows
    // the document: the notes' part comes after the main text.
    void footnotesFollowTheText()
    {
        using namespace quillon::word;
        QTextDocument sample;
        sample.setPlainText(QStringLiteral("Verse# one\n# Note"));
        CfbReader cfb;
        QByteArray wordDocument, table;
        QVERIFY(cfb.open(writeDoc(sample), nullptr));
        QVERIFY(cfb.stream("WordDocument", &wordDocument, nullptr));
        QVERIFY(cfb.stream("1Table", &table, nullptr));
        // The automatic note marks (character 2) where the text has "#".
        wordDocument.replace(QByteArray("#\0", 2), QByteArray("\x02\0", 2));
        const auto set32 = [&](qsizetype at, quint32 value) {
            for (int k = 0; k < 4; ++k)
                wordDocument[at + k] = char((value >> (8 * k)) & 0xFF);
        };
        set32(76, 11); // main text: "Verse# one" and its paragraph mark
        set32(80, 7);  // notes: "# Note" and its mark
        const auto place = [&](int entry, const QByteArray& bytes) {
            set32(154 + 8 * entry, quint32(table.size()));
            set32(158 + 8 * entry, quint32(bytes.size()));
            table.append(bytes);
        };
        QByteArray references, texts;
        for (const quint32 cp : {5u, 11u})
            putU32(references, cp);
        putU16(references, 1); // numbered automatically
        for (const quint32 cp : {0u, 7u})
            putU32(texts, cp);
        place(kFibPlcffndRef, references);
        place(kFibPlcffndTxt, texts);
        const QByteArray file =
            CfbWriter::write({{"WordDocument", wordDocument}, {"1Table", table}}, {}, nullptr);
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(file, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("Verse1 one\n1 Note"));
        QCOMPARE(formatAt(document, QStringLiteral("1 one")).verticalAlignment(),
                 QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(document, QStringLiteral(" one")).verticalAlignment(),
                 QTextCharFormat::AlignNormal);
    }

    void plainTextIsNotWord()
    {
        QVERIFY(!word::looksLikeWord(QByteArrayLiteral("{\\rtf1 hello}")));
        QString error;
        QTextDocument document;
        QVERIFY(!word::read(QByteArrayLiteral("{\\rtf1 hello}"), &document, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestWordBinary)
#include "tst_wordbinary.moc"
