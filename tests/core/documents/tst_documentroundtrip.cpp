#include "documents/documentdump.h"
#include "documents/richtextdocument.h"

#include <QTemporaryDir>
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
