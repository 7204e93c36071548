#include "documents/richtextdocument.h"
#include "documents/textformat.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace quillon;

class TestTextFormat final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void utf8WithAndWithoutMark()
    {
        const QByteArray plain = QString::fromUtf8("Grüße © 😀").toUtf8();
        QCOMPARE(text::decode(plain), QString::fromUtf8("Grüße © 😀"));
        QCOMPARE(text::decode("\xEF\xBB\xBF" + plain), QString::fromUtf8("Grüße © 😀"));
    }

    void utf16ByMark()
    {
        const QString s = QString::fromUtf8("äb\n😀");
        QByteArray le("\xFF\xFE", 2);
        QByteArray be("\xFE\xFF", 2);
        for (QChar c : s) {
            le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
        }
        QCOMPARE(text::decode(le), s);
        QCOMPARE(text::decode(be), s);
        // A truncated last unit and a lone surrogate do no harm.
        QCOMPARE(text::decode(le.left(le.size() - 1)),
                 QString::fromUtf8("äb\n") + QChar(QChar::ReplacementCharacter));
    }

    void windows1252Fallback()
    {
        // Not valid UTF-8: 0xE4 alone, 0x80 and 0x93/0x94.
        QCOMPARE(text::decode("M\xE4"
                              "dchen \x80 \x93x\x94"),
                 QString::fromUtf8("Mädchen € “x”"));
    }

    void lineEndsOnRead()
    {
        QCOMPARE(text::decode("a\r\nb\rc\nd"), QString("a\nb\nc\nd"));
        QCOMPARE(text::decode("a\r\r\nb"), QString("a\n\nb"));
    }

    void writesUtf8WithLf()
    {
        QTextDocument doc;
        doc.setPlainText(QString::fromUtf8("ä\nß"));
        QCOMPARE(text::write(doc), QByteArray("\xC3\xA4\n\xC3\x9F"));
        QCOMPARE(text::encode("a\r\nb\rc"), QByteArray("a\nb\nc"));
    }

    void nulAndFrameMarkersDropped()
    {
        QCOMPARE(text::decode(QByteArray("a\0b", 3)), QString("ab"));
        QCOMPARE(text::decode(QString(QChar(0xFDD0)).append('x').toUtf8()), QString("x"));
        // Found by fuzzing: a NUL then a UTF-8 mark read back as an empty file.
        QCOMPARE(text::decode(QByteArray("\0\xEF\xBB\xBF"
                                         "a",
                                         5)),
                 QString("a"));
    }

    void fileRoundTripThroughDocument()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("crlf.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("one\r\ntwo\r\nthr\xEE\r\n");
        f.close();
        RichTextDocument doc;
        QVERIFY(doc.loadFile(path, DocumentFormat::Text));
        QCOMPARE(doc.text(), QString::fromUtf8("one\ntwo\nthrî\n"));
        QCOMPARE(doc.textDocument()->blockCount(), 4);
        const QString out = dir.filePath("out.txt");
        QVERIFY(doc.saveFile(out, DocumentFormat::Text));
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(o.readAll(), QByteArray("one\ntwo\nthr\xC3\xAE\n"));
    }
};

QTEST_MAIN(TestTextFormat)
#include "tst_textformat.moc"
