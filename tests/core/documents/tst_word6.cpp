#include "documentprobes.h"
#include "documents/cfbstorage.h"
#include "documents/wordbytes.h"
#include "documents/wordformat.h"

#include <QTest>
#include <QTextDocument>

using namespace quillon;
using namespace quillon::test;

namespace {

void setU16(QByteArray& data, qsizetype at, quint16 value)
{
    data[at] = char(value & 0xFF);
    data[at + 1] = char(value >> 8);
}

void setU32(QByteArray& data, qsizetype at, quint32 value)
{
    setU16(data, at, quint16(value & 0xFFFF));
    setU16(data, at + 2, quint16(value >> 16));
}

// A Word 6 (nFib 101) or Word 95 (104) file of two paragraphs, "bytes"
// being the 8-bit text with "\r" ending each. The characters from `bold`
// for four are bold (one-byte code 85) in the second font of the table.
// Complex files keep the text in two pieces stored in the other order.
QByteArray word6File(quint16 nFib, quint16 lid, quint16 charset, const QByteArray& bytes,
                     quint32 bold, bool complex, quint16 flags = 0, quint32 ccpExtra = 0)
{
    constexpr quint32 kText = 0x200, kChpxPage = 2, kBinTable = 0x600, kFonts = 0x680,
                      kPapxBinTable = 0x6E0, kClx = 0x700, kPapxPage = 4;
    QByteArray doc(0xA00, '\0');
    setU16(doc, 0x00, 0xA5EC);
    setU16(doc, 0x02, nFib);
    setU16(doc, 0x06, lid);
    setU16(doc, 0x0A, flags | (complex ? 0x0004 : 0));
    setU16(doc, 0x14, charset);
    setU32(doc, 0x18, kText);
    setU32(doc, 0x1C, kText + quint32(bytes.size()));
    setU32(doc, 0x34, quint32(bytes.size()) + ccpExtra);
    const quint32 split = 6;
    if (complex) {
        // The second piece first in the file: cp 0..split after the rest.
        const QByteArray stored = bytes.mid(split) + bytes.left(split);
        doc.replace(kText, stored.size(), stored);
        QByteArray clx(1, '\x02');
        word::putU32(clx, 4 * 3 + 8 * 2);
        for (quint32 cp : {0u, split, quint32(bytes.size())})
            word::putU32(clx, cp);
        for (quint32 fc : {kText + quint32(bytes.size()) - split, kText}) {
            word::putU16(clx, 0);
            word::putU32(clx, fc);
            word::putU16(clx, 0);
        }
        doc.replace(kClx, clx.size(), clx);
        setU32(doc, 0x160, kClx);
        setU32(doc, 0x164, quint32(clx.size()));
    } else {
        doc.replace(kText, bytes.size(), bytes);
    }
    // One page of character runs: plain, bold in font 1, plain. Offsets
    // are file offsets, so a complex file's runs follow its stored order.
    const quint32 boldFc = complex ? (bold >= split ? kText + bold - split
                                                    : kText + quint32(bytes.size()) - split + bold)
                                   : kText + bold;
    QByteArray page(512, '\0');
    const quint32 fcs[] = {kText, boldFc, boldFc + 4, kText + quint32(bytes.size())};
    for (int i = 0; i < 4; ++i)
        setU32(page, 4 * i, fcs[i]);
    const qsizetype rgb = 4 * 4;
    page[rgb + 1] = char(0x100 / 2);                      // the bold run's properties at byte 0x100
    const QByteArray chpx("\x05\x55\x01\x5D\x01\x00", 6); // bold on, font 1
    page.replace(0x100, chpx.size(), chpx);
    page[511] = 3;
    doc.replace(kChpxPage * 512, 512, page);
    QByteArray bin;
    word::putU32(bin, kText);
    word::putU32(bin, kText + quint32(bytes.size()));
    word::putU16(bin, kChpxPage);
    doc.replace(kBinTable, bin.size(), bin);
    setU32(doc, 0xB8, kBinTable);
    setU32(doc, 0xBC, quint32(bin.size()));
    // One page of paragraph runs: the first paragraph centred (one-byte
    // code 5), the second without properties of its own.
    const quint32 firstMark = quint32(bytes.indexOf('\r'));
    const quint32 markFc = complex ? kText + firstMark - split : kText + firstMark;
    QByteArray papxPage(512, '\0');
    const quint32 paragraphFcs[] = {kText, markFc + 1, kText + quint32(bytes.size())};
    for (int i = 0; i < 3; ++i)
        setU32(papxPage, 4 * i, paragraphFcs[i]);
    papxPage[3 * 4] = char(0x100 / 2);            // the first entry's properties at byte 0x100
    const QByteArray papx("\x02\x00\x05\x01", 4); // two words: style 0, centred
    papxPage.replace(0x100, papx.size(), papx);
    papxPage[511] = 2;
    doc.replace(kPapxPage * 512, 512, papxPage);
    QByteArray papxBin;
    word::putU32(papxBin, kText);
    word::putU32(papxBin, kText + quint32(bytes.size()));
    word::putU16(papxBin, kPapxPage);
    doc.replace(kPapxBinTable, papxBin.size(), papxBin);
    setU32(doc, 0xC0, kPapxBinTable);
    setU32(doc, 0xC4, quint32(papxBin.size()));
    QByteArray fonts(2, '\0');
    for (const QByteArray name : {QByteArray("Times New Roman"), QByteArray("Courier New")}) {
        fonts.append(char(6 + name.size())); // size less one: 6 fixed bytes, name, zero
        fonts.append(QByteArray(5, '\0'));
        fonts.append(name).append('\0');
    }
    setU16(fonts, 0, quint16(fonts.size()));
    doc.replace(kFonts, fonts.size(), fonts);
    setU32(doc, 0xD0, kFonts);
    setU32(doc, 0xD4, quint32(fonts.size()));
    return word::CfbWriter::write({{"WordDocument", doc}}, {}, nullptr);
}

} // namespace

class TestWord6 final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The text in the document's code page (from its language, or the Mac
    // character set), paragraphs and the formatting of each run.
    void readsTextAndFormatting_data()
    {
        QTest::addColumn<quint16>("nFib");
        QTest::addColumn<quint16>("lid");
        QTest::addColumn<quint16>("charset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("complex");
        QTest::addColumn<QString>("text");
        QTest::newRow("Word 6, Western") << quint16(101) << quint16(0x0409) << quint16(0)
                                         << QByteArray("Caf\xe9 bold words\rsecond\r") << false
                                         << QString::fromUtf8("Café bold words\nsecond");
        QTest::newRow("Word 95, Russian") << quint16(104) << quint16(0x0419) << quint16(0)
                                          << QByteArray("\xcf\xf0\xe8 bold words\rsecond\r")
                                          << false << QString::fromUtf8("При bold words\nsecond");
        QTest::newRow("Word 6, Mac") << quint16(101) << quint16(0x0409) << quint16(256)
                                     << QByteArray("Caf\x8e bold words\rsecond\r") << false
                                     << QString::fromUtf8("Café bold words\nsecond");
        QTest::newRow("Word 95, in pieces") << quint16(104) << quint16(0x0409) << quint16(0)
                                            << QByteArray("Caf\xe9 bold words\rsecond\r") << true
                                            << QString::fromUtf8("Café bold words\nsecond");
    }

    void readsTextAndFormatting()
    {
        QFETCH(quint16, nFib);
        QFETCH(quint16, lid);
        QFETCH(quint16, charset);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, complex);
        QFETCH(QString, text);
        const QByteArray file =
            word6File(nFib, lid, charset, bytes, quint32(bytes.indexOf("bold")), complex);
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(file, &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), text);
        const QTextCharFormat bold = formatAt(document, "bold");
        QVERIFY(bold.fontWeight() >= QFont::DemiBold);
        QCOMPARE(familyOf(bold), QString("Courier New"));
        const QTextCharFormat plain = formatAt(document, "words");
        QVERIFY(plain.fontWeight() < QFont::DemiBold);
        QCOMPARE(familyOf(plain), QString("Times New Roman"));
        QCOMPARE(alignmentOf(document, "bold"), Qt::AlignHCenter);
        QCOMPARE(alignmentOf(document, "second"), Qt::AlignLeft);
    }

    // What cannot be read says it is a Word 6/95 document.
    void unreadableFilesSayTheirFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("encrypted") << word6File(101, 0x0409, 0, "x\r", 0, false, 0x0100)
                                   << "Word 6/95 document is protected by a password";
        QTest::newRow("text beyond the stream")
            << word6File(104, 0x0409, 0, "x\r", 0, false, 0, 0x10000) << "Word 6/95 document";
    }

    void unreadableFilesSayTheirFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QTextDocument document;
        QString why;
        QVERIFY(!word::read(file, &document, &why));
        QVERIFY2(why.contains(error), qPrintable(why));
    }
};

QTEST_MAIN(TestWord6)
#include "tst_word6.moc"
