#include "documents/documentdump.h"
#include "documents/rtfformat.h"

#include "documentprobes.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

using namespace quillon;

namespace {

// The format of the character at a plain-text position.
QTextCharFormat formatAt(const QTextDocument& doc, int pos)
{
    const QTextBlock b = doc.findBlock(pos);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (pos >= f.position() && pos < f.position() + f.length())
            return f.charFormat();
    }
    return {};
}

} // namespace

class TestRtfReader final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rejectsNonRtf()
    {
        QTextDocument doc;
        doc.setPlainText("keep");
        QString error;
        QVERIFY(!rtf::read("hello {\\rtf1 x}", &doc, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(doc.toPlainText(), QString("keep"));
    }

    void hexEscapesUseWindows1252ByDefault()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\ansi M\\'e4dchen \\'80 \\'93x\\'94}", &doc));
        QCOMPARE(doc.toPlainText(), QString::fromUtf8("Mädchen € “x”"));
    }

    // Bytes are text in the code page the font's character set or else the
    // document names, Mac and Far East pages included.
    void hexEscapesFollowTheCodePage_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        const auto font = [](const char* charset, const char* bytes) {
            return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset" + QByteArray(charset) + " F;}}\\f0 " +
                   QByteArray(bytes) + "}";
        };
        QTest::newRow("Windows Cyrillic page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << "При";
        QTest::newRow("ANSI font in a Cyrillic document")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}"
                          "\\f0 \\'cf\\'f0\\'e8}")
            << "При";
        QTest::newRow("old Mac document")
            << QByteArray("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset0 Times;}}\\f0 caf\\'8e}")
            << "café";
        QTest::newRow("Mac Japanese page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg10001 \\'82\\'a0\\'82\\'a2}") << "あい";
        QTest::newRow("Shift-JIS font") << font("128", "\\'93\\'fa\\'96\\'7b") << "日本";
        QTest::newRow("Mac Japanese font") << font("78", "\\'93\\'fa\\'96\\'7b") << "日本";
        QTest::newRow("Mac Cyrillic font") << font("89", "\\'8f\\'f0\\'e8") << "При";
        QTest::newRow("Greek font") << font("161", "\\'e1\\'e2\\'e3") << "αβγ";
        QTest::newRow("Mac Greek font") << font("85", "\\'e1\\'e2") << "αβ";
        QTest::newRow("GBK font") << font("134", "\\'d6\\'d0\\'ce\\'c4") << "中文";
        QTest::newRow("Big5 font") << font("136", "\\'a4\\'a4\\'a4\\'e5") << "中文";
    }

    void hexEscapesFollowTheCodePage()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument doc;
        QVERIFY(rtf::read(rtf, &doc));
        QCOMPARE(doc.toPlainText(), text);
    }

    void fontCharsetOverridesCodePage()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
                          "\\f1 \\'9c\\f0 \\'9c}",
                          &doc));
        // 0x9c is "ś" in Windows-1250 and "œ" in Windows-1252.
        QCOMPARE(doc.toPlainText(), QString::fromUtf8("śœ"));
    }

    // A nested table's row ends in its optional properties group; the plain
    // text repeating it for older readers is not read a second time.
    void nestedTablesKeepTheirCellTextOnce()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\ansi\\trowd\\cellx4000\\cellx8000\n"
                          "\\pard\\intbl Outer\\cell\\pard\\intbl Before\\par\n"
                          "\\pard\\intbl\\itap2 Inner A\\nestcell Inner B\\nestcell\n"
                          "{\\*\\nesttableprops\\trowd\\cellx2000\\cellx4000\\nestrow}\n"
                          "{\\nonesttables Inner A Inner B\\par}\n"
                          "\\pard\\intbl After\\cell\\row}",
                          &doc));
        QCOMPARE(doc.toPlainText(), QString("Outer\tBefore\nInner A\tInner B\t\nAfter\t"));
    }

    void unicodeSkipsFallbackByUc()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a\\u252?b\\uc2\\u233\\'e9\\'e9c{\\uc0\\u169 d}"
                          "\\uc1\\u-10179?\\u-8704?}",
                          &doc));
        QCOMPARE(doc.toPlainText(), QString::fromUtf8("aübéc©d😀"));
    }

    void unicodeFallbackStopsAtGroupEnd()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 {\\uc3\\u8364 x}y}", &doc));
        QCOMPARE(doc.toPlainText(), QString::fromUtf8("€y"));
    }

    void starredDestinationsAndPicturesSkipped()
    {
        QTextDocument doc;
        QVERIFY(
            rtf::read("{\\rtf1 A{\\*\\generator Foo 1.0;}B{\\pict\\pngblip 89504e47{\\nested x}}C"
                      "{\\*\\unknownthing {deep {deeper}} text}D{\\info{\\title T}}E"
                      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}",
                      &doc));
        QCOMPARE(doc.toPlainText(), QString("ABCDElink"));
    }

    void binaryDataSkipped()
    {
        QTextDocument doc;
        QVERIFY(rtf::read(QByteArray("{\\rtf1 a{\\pict\\bin4 }{\\}b}c}"), &doc));
        QCOMPARE(doc.toPlainText(), QString("ac"));
    }

    void nestedGroupsRestoreFormatting()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 {\\b a{\\i b{\\ul c}d}e}f}", &doc));
        QCOMPARE(doc.toPlainText(), QString("abcdef"));
        const auto bold = [&](int p) { return formatAt(doc, p).fontWeight() >= QFont::DemiBold; };
        QVERIFY(bold(0) && bold(1) && bold(2) && bold(3) && bold(4));
        QVERIFY(!bold(5));
        QVERIFY(formatAt(doc, 1).fontItalic());
        QVERIFY(formatAt(doc, 2).fontUnderline());
        QVERIFY(!formatAt(doc, 3).fontUnderline());
        QVERIFY(!formatAt(doc, 4).fontItalic());
    }

    void fontAndColourTables()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
                          "{\\f1\\fswiss{\\*\\panose 020b0604020202020204}Arial{\\*\\falt Helv};}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
                          "\\f1\\fs30\\cf2\\highlight1 x\\plain y\\strike z}",
                          &doc));
        const QTextCharFormat x = formatAt(doc, 0);
        QCOMPARE(x.fontFamilies().toStringList().value(0), QString("Arial"));
        QCOMPARE(x.fontPointSize(), 15.0);
        QCOMPARE(x.foreground().color(), QColor(0, 128, 0));
        QCOMPARE(x.background().color(), QColor(255, 0, 0));
        const QTextCharFormat y = formatAt(doc, 1);
        QCOMPARE(y.fontFamilies().toStringList().value(0), QString("Times New Roman"));
        QCOMPARE(y.fontPointSize(), 12.0);
        QVERIFY(!y.hasProperty(QTextFormat::ForegroundBrush));
        QVERIFY(formatAt(doc, 2).fontStrikeOut());
    }

    void fontEntriesWithoutSemicolon()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1{\\fonttbl{\\f0 Alpha}{\\f1 Beta;}\\f2 Gamma;\\f3 Delta}"
                          "\\f0 a\\f1 b\\f2 c\\f3 d}",
                          &doc));
        QStringList families;
        for (int i = 0; i < 4; ++i)
            families << formatAt(doc, i).fontFamilies().toStringList().value(0);
        QCOMPARE(families, QStringList({"Alpha", "Beta", "Gamma", "Delta"}));
    }

    void paragraphsAlignmentAndIndents()
    {
        QTextDocument doc;
        QVERIFY(
            rtf::read("{\\rtf1\\pard\\qc one\\par\\pard\\qr\\li1440\\ri720\\fi-360\\sb240\\sa120 "
                      "two\\line three\\tab four\\par\\pard\\qj five\\par}",
                      &doc));
        QCOMPARE(doc.blockCount(), 3);
        const QTextBlock b1 = doc.begin();
        const QTextBlock b2 = b1.next();
        const QTextBlock b3 = b2.next();
        QCOMPARE(b1.text(), QString("one"));
        QCOMPARE(b2.text(), QString("two") + QChar(0x2028) + "three\tfour");
        QCOMPARE(b3.text(), QString("five"));
        QVERIFY(b1.blockFormat().alignment() & Qt::AlignHCenter);
        QVERIFY(b2.blockFormat().alignment() & Qt::AlignRight);
        QVERIFY(b3.blockFormat().alignment() & Qt::AlignJustify);
        QCOMPARE(b2.blockFormat().leftMargin(), 96.0);
        QCOMPARE(b2.blockFormat().rightMargin(), 48.0);
        QCOMPARE(b2.blockFormat().textIndent(), -24.0);
        QCOMPARE(b2.blockFormat().topMargin(), 16.0);
        QCOMPARE(b2.blockFormat().bottomMargin(), 8.0);
    }

    void pageBreaks()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a\\page b\\par\\pard\\pagebb c\\par\\pard d\\par\\page\\par}",
                          &doc));
        QCOMPARE(doc.toPlainText(), QString("a\nb\nc\nd\n"));
        QStringList policies;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            policies << QString::number(int(b.blockFormat().pageBreakPolicy()));
        QCOMPARE(policies, QStringList({"0", "1", "1", "0", "1"}));
        QTextDocument again;
        QVERIFY(rtf::read(rtf::write(doc), &again));
        QStringList after;
        for (QTextBlock b = again.begin(); b.isValid(); b = b.next())
            after << QString::number(int(b.blockFormat().pageBreakPolicy()));
        QCOMPARE(after, policies);
    }

    void lastParagraphWithoutParKept()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a\\par b}", &doc));
        QCOMPARE(doc.blockCount(), 2);
        QCOMPARE(doc.toPlainText(), QString("a\nb"));
        QVERIFY(rtf::read("{\\rtf1 a\\par\\par}", &doc));
        QCOMPARE(doc.toPlainText(), QString("a\n"));
    }

    void malformedAndTruncatedInputKeepsWhatWasRead()
    {
        const QList<QByteArray> inputs = {
            "{\\rtf1 Hello \\b wor",
            "{\\rtf1 Hello}}}}} trailing",
            "{\\rtf1 Hello \\'",
            "{\\rtf1 Hello \\'4",
            "{\\rtf1 Hello \\u",
            "{\\rtf1 Hello \\u-99999999999999999999?",
            "{\\rtf1 Hello \\bin999999999 ",
            "{\\rtf1 Hello \\fs-5 \\fs99999999 \\f99 \\cf77 \\highlight-3 x",
            "{\\rtf1{\\fonttbl{\\f0 Unclosed",
            "{\\rtf1{\\colortbl;\\red999\\green-1;",
            "{\\rtf1 Hello \\",
            "{\\rtf1 Hello \\uc99999 \\u65 abc",
        };
        for (const QByteArray& in : inputs) {
            QTextDocument doc;
            QVERIFY2(rtf::read(in, &doc), in.constData());
            QVERIFY2(doc.toPlainText().startsWith("Hello") || doc.toPlainText().isEmpty(),
                     in.constData());
        }
        QTextDocument doc;
        rtf::read("{\\rtf1 Hello \\b wor", &doc);
        QCOMPARE(doc.toPlainText(), QString("Hello wor"));
    }

    void deepNestingDoesNotExhaustAnything()
    {
        QByteArray in = "{\\rtf1 ";
        in += QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "y}";
        QTextDocument doc;
        QVERIFY(rtf::read(in, &doc));
        QCOMPARE(doc.toPlainText(), QString("xy"));
    }

    void hostileCharactersNeverReachTheDocument()
    {
        QTextDocument doc;
        QVERIFY(rtf::read("{\\rtf1 a\\u-560?\\u-559?\\u-4?\\u-10179?b}", &doc));
        QCOMPARE(doc.toPlainText(), QString("a") + QChar(QChar::ReplacementCharacter) + "b");
    }

    void libreOfficeFileImports()
    {
        const QByteArray data = test::documentFixture("libreoffice.rtf");
        QVERIFY(!data.isEmpty());
        QTextDocument doc;
        QVERIFY(rtf::read(data, &doc));
        const QStringList dump = dumpDocument(doc);
        const QString all = dump.join('\n');
        QVERIFY2(all.contains("paragraph 1 align=center"), qPrintable(all));
        QVERIFY2(all.contains(QRegularExpression("run \"Blue Moon\" font=\"Liberation Serif\" "
                                                 "size=18 bold=yes italic=no")),
                 qPrintable(all));
        QVERIFY2(all.contains(QString::fromUtf8("run \"Grüße\" font=\"Liberation Sans\"")),
                 qPrintable(all));
        QVERIFY2(all.contains(QRegularExpression("run \"Köln\".*underline=yes")), qPrintable(all));
        QVERIFY2(all.contains(QRegularExpression("run \"Red line\".*color=#ff0000")),
                 qPrintable(all));
        QVERIFY(doc.toPlainText().contains(QString::fromUtf8("© é ß")));
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
