#include "documentprobes.h"
#include "documents/docxpackage.h"
#include "documents/richtextdocument.h"
#include "documents/wordformat.h"
#include "documents/wordmodel.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillon;
using namespace quillon::test;
using word::DocxPackageReader;
using word::DocxPackageWriter;

namespace {

const char kContentTypes[] =
    "<?xml version='1.0'?><Types "
    "xmlns='http://schemas.openxmlformats.org/package/2006/content-types'/>";

QByteArray package(const QByteArray& documentXml, const QByteArray& stylesXml = {})
{
    QList<word::DocxPart> parts{{QStringLiteral("[Content_Types].xml"), kContentTypes}};
    if (!documentXml.isNull())
        parts.append({QStringLiteral("word/document.xml"), documentXml});
    if (!stylesXml.isNull())
        parts.append({QStringLiteral("word/styles.xml"), stylesXml});
    return DocxPackageWriter::write(parts, nullptr);
}

QByteArray wordMl()
{
    return "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
}

QByteArray body(const QByteArray& inner)
{
    return "<?xml version='1.0'?><w:document "
           "xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'><w:body>" +
           inner + "</w:body></w:document>";
}

} // namespace

class TestDocxFormat final : public QObject {
    Q_OBJECT

private slots:
    void readsDocumentWrittenByLibreOffice()
    {
        const QByteArray data = documentFixture(QStringLiteral("docx-lyrics.docx"));
        QVERIFY(!data.isEmpty());
        QVERIFY(word::looksLikeWord(data));
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(data, &document, &error), qPrintable(error));
        const QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), QStringLiteral("Moonlight Session"));
        QCOMPARE(lines.at(3), QString::fromUtf8("Umlaute: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F "
                                                "\xC3\xA9 \xC2\xA9 2026"));
        QVERIFY(formatAt(document, QStringLiteral("bold words")).fontWeight() >= QFont::Bold);
        QVERIFY(formatAt(document, QStringLiteral("Plain words")).fontWeight() < QFont::DemiBold);
        QVERIFY(formatAt(document, QStringLiteral("italic words")).fontItalic());
        QVERIFY(formatAt(document, QStringLiteral("underlined words")).fontUnderline());
        QVERIFY(!formatAt(document, QStringLiteral("Plain words")).fontUnderline());
        QCOMPARE(formatAt(document, QStringLiteral("Small print")).fontPointSize(), 10.0);
        QCOMPARE(formatAt(document, QStringLiteral("large Arial")).fontPointSize(), 14.0);
        QCOMPARE(formatAt(document, QStringLiteral("Plain words")).fontPointSize(), 12.0);
        QCOMPARE(familyOf(formatAt(document, QStringLiteral("large Arial"))),
                 QStringLiteral("Arial"));
        QCOMPARE(familyOf(formatAt(document, QStringLiteral("Plain words"))),
                 QStringLiteral("Times New Roman"));
        QCOMPARE(formatAt(document, QStringLiteral("Red line")).foreground().color(),
                 QColor(200, 0, 0));
        QCOMPARE(alignmentOf(document, QStringLiteral("Moonlight")), Qt::AlignHCenter);
        QCOMPARE(alignmentOf(document, QStringLiteral("Umlaute")), Qt::AlignRight);
    }

    // What matters is the content: a .docx saved under a .doc name is read as .docx.
    void docxNamedDocIsRecognisedByContent()
    {
        const QByteArray data = documentFixture(QStringLiteral("word-docx-named.doc"));
        QVERIFY(word::looksLikeWord(data));
        QTextDocument document;
        QVERIFY(word::read(data, &document));
        QVERIFY(document.toPlainText().startsWith(QStringLiteral("Moonlight Session")));
    }

    void roundTripKeepsTextAndFormatting()
    {
        QTextDocument original;
        QTextCursor cursor(&original);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(centred);
        QTextCharFormat title;
        title.setFontFamilies(QStringList{QStringLiteral("Liberation Sans")});
        title.setFontPointSize(20);
        title.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("Title"), title);
        cursor.insertBlock(QTextBlockFormat());
        QTextCharFormat plain;
        plain.setFontFamilies(QStringList{QStringLiteral("Liberation Serif")});
        plain.setFontPointSize(11);
        QTextCharFormat italicUnderline = plain;
        italicUnderline.setFontItalic(true);
        italicUnderline.setFontUnderline(true);
        italicUnderline.setForeground(QColor(0, 0, 200));
        cursor.insertText(QString::fromUtf8("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xC3\xA9 \xC2\xA9 "),
                          plain);
        cursor.insertText(QStringLiteral("slanted <&> \"marks\""), italicUnderline);
        cursor.insertText(QStringLiteral("\ttab") + QChar(QChar::LineSeparator) +
                              QStringLiteral("next  line"),
                          plain);

        QString error;
        const QByteArray bytes = word::writeDocx(original, &error);
        QVERIFY2(!bytes.isEmpty(), qPrintable(error));
        QVERIFY(DocxPackageReader::looksLikeZip(bytes));
        QTextDocument copy;
        QVERIFY2(word::read(bytes, &copy, &error), qPrintable(error));
        QCOMPARE(copy.toRawText(), original.toRawText());
        const QTextCharFormat t = formatAt(copy, QStringLiteral("Title"));
        QVERIFY(t.fontWeight() >= QFont::Bold);
        QCOMPARE(t.fontPointSize(), 20.0);
        QCOMPARE(familyOf(t), QStringLiteral("Liberation Sans"));
        QCOMPARE(alignmentOf(copy, QStringLiteral("Title")), Qt::AlignHCenter);
        QCOMPARE(alignmentOf(copy, QStringLiteral("slanted")), Qt::AlignLeft);
        const QTextCharFormat s = formatAt(copy, QStringLiteral("slanted"));
        QVERIFY(s.fontItalic());
        QVERIFY(s.fontUnderline());
        QVERIFY(s.fontWeight() < QFont::DemiBold);
        QCOMPARE(s.foreground().color(), QColor(0, 0, 200));
        const QTextCharFormat u = formatAt(copy, QString::fromUtf8("\xC3\xB6\xC3\xBC"));
        QVERIFY(!u.fontItalic());
        QCOMPARE(u.fontPointSize(), 11.0);
        QCOMPARE(familyOf(u), QStringLiteral("Liberation Serif"));
    }

    // Files saved as "Strict Open XML" name the same vocabulary otherwise.
    void stylesAndDefaultsApply_data()
    {
        QTest::addColumn<QByteArray>("wordNamespace");
        QTest::newRow("transitional")
            << QByteArray("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
        QTest::newRow("strict") << QByteArray("http://purl.oclc.org/ooxml/wordprocessingml/main");
    }

    void stylesAndDefaultsApply()
    {
        QFETCH(QByteArray, wordNamespace);
        const QByteArray transitional =
            "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
        QByteArray styles =
            "<?xml version='1.0'?><w:styles "
            "xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'>"
            "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii='Liberation Mono'/><w:sz "
            "w:val='22'/></w:rPr></w:rPrDefault></w:docDefaults>"
            "<w:style w:type='paragraph' w:default='1' w:styleId='Normal'><w:rPr><w:sz "
            "w:val='26'/></w:rPr></w:style>"
            "<w:style w:type='paragraph' w:styleId='Head'><w:basedOn w:val='Normal'/><w:pPr><w:jc "
            "w:val='center'/></w:pPr><w:rPr><w:b/><w:sz w:val='36'/></w:rPr></w:style>"
            "<w:style w:type='paragraph' w:styleId='Loop'><w:basedOn w:val='Loop'/></w:style>"
            "</w:styles>";
        QByteArray xml =
            body("<w:p><w:pPr><w:pStyle "
                 "w:val='Head'/></w:pPr><w:r><w:t>Heading</w:t></w:r><w:r><w:rPr><w:b "
                 "w:val='0'/></w:rPr><w:t>thin</w:t></w:r></w:p>"
                 "<w:p><w:hyperlink><w:r><w:t>linked</w:t></w:r></"
                 "w:hyperlink><w:del><w:r><w:delText>gone</w:delText></w:r></w:del></w:p>"
                 "<w:p><w:pPr><w:pStyle w:val='Loop'/></w:pPr><w:r><w:t>loop</w:t></w:r></w:p>");
        styles.replace(transitional, wordNamespace);
        xml.replace(transitional, wordNamespace);
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(package(xml, styles), &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("Headingthin\nlinked\nloop"));
        const QTextCharFormat heading = formatAt(document, QStringLiteral("Heading"));
        QVERIFY(heading.fontWeight() >= QFont::Bold);
        QCOMPARE(heading.fontPointSize(), 18.0);
        QCOMPARE(familyOf(heading), QStringLiteral("Liberation Mono"));
        QVERIFY(formatAt(document, QStringLiteral("thin")).fontWeight() < QFont::DemiBold);
        QCOMPARE(alignmentOf(document, QStringLiteral("Heading")), Qt::AlignHCenter);
        QCOMPARE(formatAt(document, QStringLiteral("linked")).fontPointSize(), 13.0);
        QCOMPARE(formatAt(document, QStringLiteral("loop")).fontPointSize(), 11.0);
    }

    // Document defaults, then the paragraph style, then the character style,
    // then the run's own formatting: each later layer wins for what it says
    // and leaves the rest, whatever order the run names them in.
    void formattingLayersApplyInOrder_data()
    {
        QTest::addColumn<QByteArray>("pPr");
        QTest::addColumn<QByteArray>("rPr");
        QTest::addColumn<QString>("expected"); // font size bold italic underline
        const QByteArray p = "<w:pStyle w:val='P'/>";
        const QByteArray c = "<w:rStyle w:val='C'/>";
        const QByteArray direct = "<w:rFonts w:ascii='Direct'/><w:sz w:val='40'/><w:b/>";
        QTest::newRow("defaults") << QByteArray() << QByteArray() << "Defaults 10 no no no";
        QTest::newRow("paragraph style") << p << QByteArray() << "Para 12 yes no no";
        // The character style's own base style underlines.
        QTest::newRow("character style") << QByteArray() << c << "Char 14 no yes yes";
        QTest::newRow("character over paragraph style") << p << c << "Char 14 no yes yes";
        QTest::newRow("character style leaves what it does not say")
            << p << QByteArray("<w:rStyle w:val='Base'/>") << "Para 12 yes no yes";
        QTest::newRow("direct over both") << p << c + direct << "Direct 20 yes yes yes";
        QTest::newRow("direct named before the style")
            << p << direct + c << "Direct 20 yes yes yes";
        QTest::newRow("direct over paragraph style")
            << p << QByteArray("<w:b w:val='0'/><w:i/>") << "Para 12 no yes no";
    }

    void formattingLayersApplyInOrder()
    {
        QFETCH(QByteArray, pPr);
        QFETCH(QByteArray, rPr);
        QFETCH(QString, expected);
        const QByteArray styles =
            "<?xml version='1.0'?><w:styles "
            "xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'>"
            "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii='Defaults'/>"
            "<w:sz w:val='20'/></w:rPr></w:rPrDefault></w:docDefaults>"
            "<w:style w:type='paragraph' w:styleId='P'><w:rPr><w:rFonts w:ascii='Para'/>"
            "<w:b/><w:sz w:val='24'/></w:rPr></w:style>"
            "<w:style w:type='character' w:styleId='Base'><w:rPr><w:u w:val='single'/>"
            "</w:rPr></w:style>"
            "<w:style w:type='character' w:styleId='C'><w:basedOn w:val='Base'/><w:rPr>"
            "<w:rFonts w:ascii='Char'/><w:b w:val='0'/><w:i/><w:sz w:val='28'/></w:rPr>"
            "</w:style></w:styles>";
        const QByteArray xml = "<w:p><w:pPr>" + pPr + "</w:pPr><w:r><w:rPr>" + rPr +
                               "</w:rPr><w:t>x</w:t></w:r></w:p>";
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(package(body(xml), styles), &document, &error), qPrintable(error));
        const QTextCharFormat f = formatAt(document, QStringLiteral("x"));
        const auto yesNo = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(familyOf(f))
                     .arg(f.fontPointSize())
                     .arg(yesNo(f.fontWeight() >= QFont::DemiBold), yesNo(f.fontItalic()),
                          yesNo(f.fontUnderline())),
                 expected);
    }

    void fieldsTablesAndTextBoxes()
    {
        const QByteArray xml =
            body("<w:tbl><w:tr><w:tc><w:p><w:r><w:t>cell one</w:t></w:r></w:p></w:tc>"
                 "<w:tc><w:p><w:r><w:t>cell two</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
                 "<w:p><w:r><w:t xml:space='preserve'>Page </w:t></w:r>"
                 "<w:r><w:fldChar "
                 "w:fldCharType='begin'/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>"
                 "<w:r><w:fldChar w:fldCharType='separate'/></w:r><w:r><w:t>7</w:t></w:r>"
                 "<w:r><w:fldChar w:fldCharType='end'/></w:r>"
                 "<w:r><w:drawing><w:p><w:r><w:t>in a "
                 "box</w:t></w:r></w:p></w:drawing><w:t>!</w:t></w:r></w:p>");
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(package(xml), &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("cell one\ncell two\nPage 7!"));
    }

    // Inserted symbols name a font and its code; the character it shows is read.
    void symbolsReadAsTheCharactersTheyShow()
    {
        const QByteArray xml =
            body("<w:p><w:r><w:t>5</w:t><w:sym w:font='Symbol' w:char='F06D'/><w:t>F </w:t>"
                 "<w:sym w:font='Symbol' w:char='D2'/><w:sym w:font='Wingdings' w:char='F0E8'/>"
                 "<w:sym w:font='Wingdings' w:char='F0FC'/><w:sym w:font='Arial' w:char='41'/>"
                 "<w:sym w:font='Symbol' w:char='zz'/></w:r></w:p>");
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(package(xml), &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("5\u03BCF \u00AE\u27A1\u2713A"));
    }

    // Notes follow the text in the order it refers to them, each after its
    // mark; the marks stay in the text, raised.
    void notesFollowTheText()
    {
        const QByteArray notes = "<?xml version='1.0'?><w:%1s xmlns:w='" + wordMl() +
                                 "'><w:%1 w:type='separator' w:id='-1'><w:p><w:r><w:separator/>"
                                 "</w:r></w:p></w:%1>%2</w:%1s>";
        const auto note = [](const char* kind, const char* id, const char* text) {
            return QByteArray("<w:") + kind + " w:id='" + id + "'><w:p><w:r><w:" + kind +
                   "Ref/></w:r><w:r><w:t xml:space='preserve'> " + text +
                   "</w:t></w:r></w:p></w:" + kind + ">";
        };
        const QByteArray footnotes =
            QString::fromUtf8(notes)
                .arg("footnote", QString::fromUtf8(note("footnote", "7", "Unused") +
                                                   note("footnote", "3", "Second") +
                                                   note("footnote", "2", "First")))
                .toUtf8();
        const QByteArray endnotes =
            QString::fromUtf8(notes)
                .arg("endnote", QString::fromUtf8(note("endnote", "1", "End")))
                .toUtf8();
        const QByteArray xml =
            body("<w:p><w:r><w:t>Verse</w:t></w:r><w:r><w:footnoteReference w:id='2'/></w:r>"
                 "<w:r><w:t xml:space='preserve'> one</w:t><w:footnoteReference w:id='3'/>"
                 "<w:t xml:space='preserve'> end</w:t><w:endnoteReference w:id='1'/></w:r></w:p>");
        QList<word::DocxPart> parts{{"[Content_Types].xml", kContentTypes},
                                    {"word/document.xml", xml},
                                    {"word/footnotes.xml", footnotes},
                                    {"word/endnotes.xml", endnotes}};
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(DocxPackageWriter::write(parts, nullptr), &document, &error),
                 qPrintable(error));
        QCOMPARE(document.toPlainText(),
                 QStringLiteral("Verse1 one2 endi\n1 First\n2 Second\ni End"));
        QCOMPARE(formatAt(document, "1 one").verticalAlignment(),
                 QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(document, " one").verticalAlignment(), QTextCharFormat::AlignNormal);
    }

    // Tracked changes are taken as accepted, and the reader says so.
    void trackedChangesAreAcceptedWithANotice_data()
    {
        QTest::addColumn<QByteArray>("paragraph");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notice");
        QTest::newRow("insertion and deletion")
            << QByteArray("<w:p><w:r><w:t xml:space='preserve'>a </w:t></w:r><w:ins w:id='1'>"
                          "<w:r><w:t>new</w:t></w:r></w:ins><w:del w:id='2'><w:r><w:delText>"
                          "old</w:delText></w:r></w:del></w:p>")
            << "a new" << true;
        QTest::newRow("moved text")
            << QByteArray("<w:p><w:moveFrom><w:r><w:t>here</w:t></w:r></w:moveFrom></w:p>"
                          "<w:p><w:moveTo><w:r><w:t>there</w:t></w:r></w:moveTo></w:p>")
            << "\nthere" << true;
        QTest::newRow("no changes")
            << QByteArray("<w:p><w:r><w:t>plain</w:t></w:r></w:p>") << "plain" << false;
    }

    void trackedChangesAreAcceptedWithANotice()
    {
        QFETCH(QByteArray, paragraph);
        QFETCH(QString, text);
        QFETCH(bool, notice);
        RichTextDocument document;
        QVERIFY2(document.loadBytes(package(body(paragraph)), DocumentFormat::Word),
                 qPrintable(document.lastError()));
        QCOMPARE(document.text(), text);
        QCOMPARE(document.lastNotice().contains("tracked changes"), notice);
        // The notice belongs to one load only.
        QVERIFY(document.loadBytes("plain", DocumentFormat::Text));
        QVERIFY(document.lastNotice().isEmpty());
    }

    // Text boxes, DrawingML or VML, follow the paragraph they are anchored
    // in (once, though alternate content repeats them); ruby keeps its base.
    void textBoxesAndRubyKeepTheirText()
    {
        const QByteArray xml =
            "<?xml version='1.0'?><w:document xmlns:w='" + wordMl() +
            "' xmlns:mc='http://schemas.openxmlformats.org/markup-compatibility/2006'"
            " xmlns:wps='http://schemas.microsoft.com/office/word/2010/wordprocessingShape'"
            " xmlns:v='urn:schemas-microsoft-com:vml'><w:body>"
            "<w:p><w:r><w:t>Anchor</w:t></w:r><w:r><mc:AlternateContent>"
            "<mc:Choice Requires='wps'><w:drawing><wps:wsp><wps:txbx><w:txbxContent>"
            "<w:p><w:r><w:t>Box text</w:t></w:r></w:p></w:txbxContent></wps:txbx></wps:wsp>"
            "</w:drawing></mc:Choice><mc:Fallback><w:pict><v:shape><v:textbox><w:txbxContent>"
            "<w:p><w:r><w:t>Box text</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape>"
            "</w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>"
            "<w:p><w:r><w:pict><v:shape><v:textbox><w:txbxContent><w:p><w:r><w:t>Old box"
            "</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape></w:pict></w:r>"
            "<w:r><w:ruby><w:rubyPr/><w:rt><w:r><w:t>reading</w:t></w:r></w:rt><w:rubyBase>"
            "<w:r><w:t>Base</w:t></w:r></w:rubyBase></w:ruby></w:r><w:r><w:t>!</w:t></w:r></w:p>"
            "</w:body></w:document>";
        QTextDocument document;
        QString error;
        QVERIFY2(word::read(package(xml), &document, &error), qPrintable(error));
        QCOMPARE(document.toPlainText(), QStringLiteral("Anchor\nBox text\nBase!\nOld box"));
    }

    // The layering both Word readers share: a later layer changes only what
    // it states; what no layer states resolves to off.
    void runLayersChangeOnlyWhatTheyState()
    {
        word::WordRunLayer below;
        below.bold = true;
        below.italic = true;
        below.color = QColor(Qt::red);
        word::WordRunLayer above;
        above.italic = false;
        above.vertical = -1;
        below.overrideWith(above);
        word::WordCharFormat format;
        format.underline = true;
        below.resolveInto(&format);
        QVERIFY(format.bold);
        QVERIFY(!format.italic);
        QVERIFY(!format.underline);
        QVERIFY(!format.strike);
        QCOMPARE(format.vertical, -1);
        QCOMPARE(format.color, QColor(Qt::red));
        below.color = QColor();
        below.resolveInto(&format);
        QVERIFY(!format.color.isValid());
    }

    void zipWithoutDocumentXmlIsRefused()
    {
        const QByteArray data = package(QByteArray());
        QVERIFY(!data.isEmpty());
        QTextDocument document;
        document.setPlainText(QStringLiteral("unchanged"));
        QString error;
        QVERIFY(!word::read(data, &document, &error));
        QVERIFY(error.contains(QStringLiteral("document.xml")));
        QCOMPARE(document.toPlainText(), QStringLiteral("unchanged"));
    }

    void malformedXmlIsRefused()
    {
        QTextDocument document;
        QString error;
        QVERIFY(!word::read(package(body("<w:p><w:r><w:t>open")), &document, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!word::read(package("<notword/>"), &document, &error));
        QVERIFY(!word::read(package(body("<w:p><w:r><w:t>x</w:r></w:p>")), &document, &error));
    }

    void truncatedPackagesAreRefused()
    {
        const QByteArray data = documentFixture(QStringLiteral("docx-lyrics.docx"));
        for (qsizetype size : {qsizetype(4), qsizetype(100), data.size() / 2, data.size() - 30}) {
            QTextDocument document;
            QString error;
            QVERIFY(!word::read(data.left(size), &document, &error));
            QVERIFY(!error.isEmpty());
        }
    }

    void randomAndDamagedBytesNeverCrash()
    {
        QRandomGenerator random(4321);
        const QByteArray data = documentFixture(QStringLiteral("docx-lyrics.docx"));
        for (int round = 0; round < 200; ++round) {
            QByteArray damaged = data;
            for (int k = 0; k < 6; ++k)
                damaged[random.bounded(4, int(data.size()))] = char(random.generate());
            QTextDocument document;
            word::read(damaged, &document);
        }
        QByteArray noise(3000, '\0');
        for (char& c : noise)
            c = char(random.generate());
        noise.replace(0, 4, "PK\x03\x04");
        QTextDocument document;
        QVERIFY(!word::read(noise, &document));
    }
};

QTEST_MAIN(TestDocxFormat)
#include "tst_docxformat.moc"
