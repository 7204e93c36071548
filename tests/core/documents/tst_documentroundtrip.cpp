#include "documentprobes.h"
#include "documents/documentdump.h"
#include "documents/richtextdocument.h"

#include <QTemporaryDir>

#include <functional>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillon;

namespace {

QTextCharFormat run(const QString& family, double size, bool bold = false, bool italic = false,
                    bool underline = false, QColor color = {})
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    if (color.isValid())
        f.setForeground(color);
    return f;
}

// Everything the editor's bars and dialogs can set, on three paragraphs.
void fill(RichTextDocument& doc)
{
    QTextCursor c(doc.textDocument());
    QTextBlockFormat center;
    center.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(center);
    c.insertText("Bold ", run("Arial", 14, true));
    c.insertText("italic ", run("Times New Roman", 11, false, true));
    c.insertText("under", run("Arial", 9, false, false, true));
    c.insertText(" red", run("Arial", 12, true, true, true, QColor(255, 0, 0)));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(48);
    right.setTextIndent(-12);
    right.setBottomMargin(8);
    c.insertBlock(right);
    c.insertText(QString::fromUtf8("ä ö ü ß é © 😀"),
                 run("Courier New", 10, false, false, false, QColor(0, 0, 255)));
    QTextBlockFormat justify;
    justify.setAlignment(Qt::AlignJustify);
    c.insertBlock(justify);
    c.insertText("Tab\there", run("DejaVu Sans", 20));
    c.insertText(QString(QChar(0x2028)) + "next line", run("DejaVu Sans", 20, false, true));
}

// One attribute the editor can give text or a paragraph: the value "marked"
// text gets, read back as a string, and what unmarked text must read.
struct Attribute {
    const char* name;
    std::function<void(QTextCharFormat&, QTextBlockFormat&)> apply;
    std::function<QString(const QTextCharFormat&, Qt::Alignment)> read;
};

QString yesNo(bool b)
{
    return b ? QStringLiteral("yes") : QStringLiteral("no");
}

const QList<Attribute>& attributes()
{
    using C = QTextCharFormat;
    using B = QTextBlockFormat;
    using A = Qt::Alignment;
    const auto vertical = [](const C& f, A) { return QString::number(f.verticalAlignment()); };
    // Right-aligned in HTML reads back as "absolute" right: the same for our text.
    const auto alignment = [](const C&, A a) {
        return QString::number(int(a & ~Qt::AlignAbsolute));
    };
    static const QList<Attribute> list{
        {"bold", [](C& f, B&) { f.setFontWeight(QFont::Bold); },
         [](const C& f, A) { return yesNo(f.fontWeight() >= QFont::DemiBold); }},
        {"italic", [](C& f, B&) { f.setFontItalic(true); },
         [](const C& f, A) { return yesNo(f.fontItalic()); }},
        {"underline", [](C& f, B&) { f.setFontUnderline(true); },
         [](const C& f, A) { return yesNo(f.fontUnderline()); }},
        {"strike-out", [](C& f, B&) { f.setFontStrikeOut(true); },
         [](const C& f, A) { return yesNo(f.fontStrikeOut()); }},
        {"superscript", [](C& f, B&) { f.setVerticalAlignment(C::AlignSuperScript); }, vertical},
        {"subscript", [](C& f, B&) { f.setVerticalAlignment(C::AlignSubScript); }, vertical},
        {"font", [](C& f, B&) { f.setFontFamilies({QStringLiteral("Liberation Mono")}); },
         [](const C& f, A) { return test::familyOf(f); }},
        {"size", [](C& f, B&) { f.setFontPointSize(17); },
         [](const C& f, A) { return QString::number(f.fontPointSize()); }},
        {"colour", [](C& f, B&) { f.setForeground(QColor(0x33, 0x66, 0xcc)); },
         [](const C& f, A) { return f.foreground().color().name(); }},
        {"centred", [](C&, B& b) { b.setAlignment(Qt::AlignHCenter); }, alignment},
        {"right", [](C&, B& b) { b.setAlignment(Qt::AlignRight); }, alignment},
        {"justified", [](C&, B& b) { b.setAlignment(Qt::AlignJustify); }, alignment},
    };
    return list;
}

// Writes through the format (a file where the format is a file) and reads back.
bool throughFormat(RichTextDocument& source, const QString& format, RichTextDocument* out)
{
    if (format == "rtf" || format == "stored") {
        const DocumentFormat f = format == "rtf" ? DocumentFormat::Rtf : DocumentFormat::Native;
        return out->loadBytes(source.saveBytes(f), f);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("lyrics." + format);
    return source.saveFile(path, DocumentFormat::Word) && out->loadFile(path, DocumentFormat::Word);
}

} // namespace

class TestDocumentRoundTrip final : public QObject {
    Q_OBJECT

private:
    static void checkSame(const RichTextDocument& a, const RichTextDocument& b)
    {
        const QStringList da = dumpDocument(*a.textDocument());
        const QStringList db = dumpDocument(*b.textDocument());
        QCOMPARE(db.join('\n'), da.join('\n'));
        // Indents and spacing of the second paragraph.
        const QTextBlockFormat fa = a.textDocument()->begin().next().blockFormat();
        const QTextBlockFormat fb = b.textDocument()->begin().next().blockFormat();
        QCOMPARE(fb.leftMargin(), fa.leftMargin());
        QCOMPARE(fb.textIndent(), fa.textIndent());
        QCOMPARE(fb.bottomMargin(), fa.bottomMargin());
    }

private Q_SLOTS:
    // Every attribute the editor offers, written and read again by every
    // format that can carry it: a writer or reader losing one fails here.
    void everyAttributeSurvivesEveryFormat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("attribute");
        for (const QString format : {"rtf", "doc", "docx", "stored"}) {
            for (int i = 0; i < attributes().size(); ++i)
                QTest::addRow("%s %s", qPrintable(format), attributes().at(i).name) << format << i;
        }
    }

    void everyAttributeSurvivesEveryFormat()
    {
        QFETCH(QString, format);
        QFETCH(int, attribute);
        const Attribute& a = attributes().at(attribute);
        // "plain" in a left-aligned paragraph, "marked" in its own paragraph.
        QTextCharFormat plain;
        plain.setFontFamilies({QStringLiteral("DejaVu Sans")});
        plain.setFontPointSize(12);
        QTextCharFormat marked = plain;
        QTextBlockFormat left, block;
        left.setAlignment(Qt::AlignLeft);
        block.setAlignment(Qt::AlignLeft);
        a.apply(marked, block);
        RichTextDocument source;
        QTextCursor c(source.textDocument());
        c.setBlockFormat(left);
        c.insertText("plain ", plain);
        c.insertText("words", marked);
        c.insertBlock(block);
        c.insertText("marked", marked);
        c.insertText(" plain", plain);

        RichTextDocument copy;
        QVERIFY2(throughFormat(source, format, &copy), qPrintable(copy.lastError()));
        const QTextDocument& d = *copy.textDocument();
        QCOMPARE(d.toPlainText(), QString("plain words\nmarked plain"));
        const auto value = [&](const QTextDocument& doc, const QString& text) {
            return a.read(test::formatAt(doc, text), test::alignmentOf(doc, text));
        };
        QCOMPARE(value(d, "marked"), value(*source.textDocument(), "marked"));
        QCOMPARE(value(d, "words"), value(*source.textDocument(), "words"));
        QCOMPARE(value(d, "plain "), value(*source.textDocument(), "plain "));
        QVERIFY(value(d, "marked") != value(d, "plain ")); // the attribute really differs
    }

    void dumpShowsTheFormatting()
    {
        RichTextDocument doc;
        fill(doc);
        const QStringList d = dumpDocument(*doc.textDocument());
        QCOMPARE(d.value(0), QString("paragraph 1 align=center"));
        QCOMPARE(d.value(1), QString("  run \"Bold \" font=\"Arial\" size=14 bold=yes italic=no "
                                     "underline=no color=auto"));
        QCOMPARE(d.value(4), QString("  run \" red\" font=\"Arial\" size=12 bold=yes italic=yes "
                                     "underline=yes color=#ff0000"));
        QCOMPARE(d.value(5), QString("paragraph 2 align=right"));
        QCOMPARE(d.last(), QString("  run \"\\nnext line\" font=\"DejaVu Sans\" size=20 bold=no "
                                   "italic=yes underline=no color=auto"));
    }

    void nativeToNative()
    {
        RichTextDocument a;
        fill(a);
        const QByteArray bytes = a.saveBytes(DocumentFormat::Native);
        RichTextDocument b;
        QVERIFY(b.loadBytes(bytes, DocumentFormat::Native));
        checkSame(a, b);
        // And once more: what was read writes the same again.
        RichTextDocument c;
        QVERIFY(c.loadBytes(b.saveBytes()));
        checkSame(a, c);
    }

    void nativeSurvivesOneCharacterPerByteStorage()
    {
        // The windows keep the bytes as text, one Latin-1 character per byte.
        RichTextDocument a;
        fill(a);
        const QString stored = QString::fromLatin1(a.saveBytes());
        RichTextDocument b;
        QVERIFY(b.loadBytes(stored.toLatin1()));
        checkSame(a, b);
    }

    void rtfToRtf()
    {
        QTemporaryDir dir;
        RichTextDocument a;
        fill(a);
        const QString path = dir.filePath("song.rtf");
        QVERIFY2(a.saveFile(path, DocumentFormat::Rtf), qPrintable(a.lastError()));
        RichTextDocument b;
        QVERIFY2(b.loadFile(path, DocumentFormat::Rtf), qPrintable(b.lastError()));
        checkSame(a, b);
        const QString again = dir.filePath("again.rtf");
        QVERIFY(b.saveFile(again, DocumentFormat::Rtf));
        RichTextDocument c;
        QVERIFY(c.loadFile(again, DocumentFormat::Rtf));
        checkSame(a, c);
    }

    void rtfIsSevenBitWithUnicodeEscapes()
    {
        RichTextDocument a;
        fill(a);
        const QByteArray rtf = a.saveBytes(DocumentFormat::Rtf);
        for (char ch : rtf)
            QVERIFY(static_cast<unsigned char>(ch) < 0x80);
        QVERIFY(rtf.contains("\\u228?"));             // ä
        QVERIFY(rtf.contains("\\u-10179?\\u-8704?")); // 😀 as a surrogate pair
        QVERIFY(rtf.startsWith("{\\rtf1"));
    }

    void emptyParagraphsSurviveRtf()
    {
        RichTextDocument a;
        a.setText("one\n\nthree\n");
        RichTextDocument b;
        QVERIFY(b.loadBytes(a.saveBytes(DocumentFormat::Rtf), DocumentFormat::Rtf));
        QCOMPARE(b.text(), QString("one\n\nthree\n"));
        RichTextDocument empty;
        RichTextDocument e2;
        QVERIFY(e2.loadBytes(empty.saveBytes(DocumentFormat::Rtf), DocumentFormat::Rtf));
        QCOMPARE(e2.text(), QString());
        QCOMPARE(e2.textDocument()->blockCount(), 1);
    }

    void rtfNamedDocIsReadAsRtf()
    {
        QTemporaryDir dir;
        RichTextDocument a;
        fill(a);
        const QString path = dir.filePath("lyrics.doc");
        QVERIFY(a.saveFile(dir.filePath("x.rtf"), DocumentFormat::Rtf));
        QVERIFY(QFile::copy(dir.filePath("x.rtf"), path));
        RichTextDocument b;
        QVERIFY2(b.loadFile(path, DocumentFormat::Word), qPrintable(b.lastError()));
        checkSame(a, b);
    }

    void failedLoadKeepsContent()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("plain.rtf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("just text");
        f.close();
        RichTextDocument doc;
        doc.setText("keep me");
        QVERIFY(!doc.loadFile(f.fileName(), DocumentFormat::Rtf));
        QVERIFY(doc.lastError().contains("plain.rtf"));
        QCOMPARE(doc.text(), QString("keep me"));
        QVERIFY(!doc.loadFile(dir.filePath("missing.txt"), DocumentFormat::Text));
        QCOMPARE(doc.text(), QString("keep me"));
    }

    void unreadableWordFileKeepsContent()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("broken.doc"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(100, '\x7f'));
        f.close();
        RichTextDocument doc;
        doc.setText("keep me");
        QVERIFY(!doc.loadFile(f.fileName(), DocumentFormat::Word));
        QVERIFY(doc.lastError().contains("broken.doc"));
        QCOMPARE(doc.text(), QString("keep me"));
    }

    void nativeBytesThatAreNotOursReadAsText()
    {
        RichTextDocument doc;
        QVERIFY(doc.loadBytes("Old lyrics\r\nline two \xE4"));
        QCOMPARE(doc.text(), QString::fromUtf8("Old lyrics\nline two ä"));
        QVERIFY(doc.loadBytes(QByteArray()));
        QVERIFY(doc.isEmpty());
    }

    void failedSaveTouchesNothing()
    {
        QTemporaryDir dir;
        RichTextDocument doc;
        doc.setText("x");
        QVERIFY(!doc.saveFile(dir.filePath("no/such/folder/x.rtf"), DocumentFormat::Rtf));
        QVERIFY(doc.lastError().contains("x.rtf"));
        QVERIFY(!QFile::exists(dir.filePath("no")));
    }
};

QTEST_MAIN(TestDocumentRoundTrip)
#include "tst_documentroundtrip.moc"
