#include "documents/richtextdocument.h"
#include "printing/pdfpagesink.h"
#include "printing/recordingpagesink.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace quillon;

namespace {

// "Line 1" ... "Line n", one paragraph each.
QString lines(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("Line %1").arg(i);
    return l.join('\n');
}

bool hasInk(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

// Draws a page at 10 % on a white image of the page's size at that scale.
QImage renderAtTenPercent(RichTextDocument& doc, int page, bool* drawn)
{
    QImage img(doc.pageWidth() / 10 / 15 + 1, doc.pageHeight() / 10 / 15 + 1, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    doc.setScalePercent(10);
    doc.setRenderTarget(&img);
    *drawn = doc.renderPage(page);
    return img;
}

} // namespace

class TestRichTextDocument final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageSizesOfA4AndLetter()
    {
        RichTextDocument doc;
        QCOMPARE(doc.pageWidth(), 11906);
        QCOMPARE(doc.pageHeight(), 16838);
        doc.setPageLayout(RichTextDocument::defaultPageLayout(QPageSize::Letter));
        QCOMPARE(doc.pageWidth(), 12240);
        QCOMPARE(doc.pageHeight(), 15840);
    }

    void paginationFollowsContentAndPaper()
    {
        RichTextDocument doc;
        QCOMPARE(doc.pageCount(), 1); // empty
        doc.setText(lines(10));
        QCOMPARE(doc.pageCount(), 1);
        doc.setText(lines(300));
        const int a4 = doc.pageCount();
        QVERIFY2(a4 >= 4, qPrintable(QString::number(a4)));
        // Lines are never cut: each page starts with a whole line and every
        // line lies on one page, in order.
        int previous = 1;
        for (int i = 1; i <= 300; ++i) {
            const int pos = int(doc.text().indexOf(QStringLiteral("Line %1\n").arg(i)));
            const int page = doc.pageOfPosition(pos < 0 ? int(doc.text().size()) - 1 : pos);
            QVERIFY(page >= previous && page <= previous + 1);
            previous = page;
        }
        QCOMPARE(previous, a4);
        // Letter is shorter than A4: more pages.
        doc.setPageLayout(RichTextDocument::defaultPageLayout(QPageSize::Letter));
        QVERIFY(doc.pageCount() >= a4);
        // Bigger type, more pages.
        doc.setPageLayout(RichTextDocument::defaultPageLayout(QPageSize::A4));
        QTextCursor all(doc.textDocument());
        all.select(QTextCursor::Document);
        QTextCharFormat big;
        big.setFontPointSize(24);
        all.mergeCharFormat(big);
        QVERIFY(doc.pageCount() > a4);
    }

    void hardPageBreakStartsANewPage()
    {
        RichTextDocument doc;
        QVERIFY(doc.loadBytes("{\\rtf1 verse\\page chorus}", DocumentFormat::Rtf));
        QCOMPARE(doc.pageCount(), 2);
        QCOMPARE(doc.pageOfPosition(int(doc.text().indexOf("chorus"))), 2);
    }

    void renderPageBeyondTheLastDrawsNothing()
    {
        RichTextDocument doc;
        doc.setText(lines(80));
        const int n = doc.pageCount();
        QVERIFY(n >= 2);
        bool drawn = false;
        QVERIFY(hasInk(renderAtTenPercent(doc, n, &drawn)));
        QVERIFY(drawn);
        QVERIFY(!hasInk(renderAtTenPercent(doc, n + 1, &drawn)));
        QVERIFY(!drawn);
        QVERIFY(!hasInk(renderAtTenPercent(doc, 0, &drawn)));
        QVERIFY(!drawn);
        doc.setRenderTarget(nullptr);
        QVERIFY(!doc.renderPage(1));
    }

    void renderPageDrawsOnlyItsOwnLines()
    {
        RichTextDocument doc;
        doc.setText(lines(200));
        RecordingPageSink sink(QSizeF(doc.pageWidth(), doc.pageHeight()));
        QVERIFY(sink.beginJob("t"));
        QVERIFY(doc.renderPage(2, *sink.painter()));
        QVERIFY(sink.endJob());
        const QStringList texts = sink.jobs().first().texts(0);
        QVERIFY(!texts.isEmpty());
        QVERIFY(!texts.contains("Line 1"));
        for (const QString& t : texts) {
            const int n = t.mid(5).toInt();
            const int pos = int(doc.text().indexOf(t + '\n'));
            QCOMPARE(doc.pageOfPosition(pos), 2);
            QVERIFY(n > 1);
        }
    }

    void printTwoCopiesOfPagesTwoToThree()
    {
        RichTextDocument doc;
        doc.setText(lines(300));
        QVERIFY(doc.pageCount() >= 4);
        doc.setScalePercent(37); // printing ignores the preview's scale
        RecordingPageSink sink;
        QVERIFY(doc.printPages(sink, "Lyrics", 2, 3, 2));
        QCOMPARE(sink.jobs().size(), 1);
        const RecordedJob& job = sink.jobs().first();
        QCOMPARE(job.name, QString("Lyrics"));
        QCOMPARE(job.pageCount(), 4); // no blank sheet after the last page
        const QStringList s0 = job.texts(0), s1 = job.texts(1);
        QVERIFY(!s0.isEmpty() && !s1.isEmpty());
        QCOMPARE(doc.pageOfPosition(int(doc.text().indexOf(s0.first() + '\n'))), 2);
        QCOMPARE(doc.pageOfPosition(int(doc.text().indexOf(s1.first() + '\n'))), 3);
        QCOMPARE(job.texts(2), s0);
        QCOMPARE(job.texts(3), s1);
        QCOMPARE(doc.scalePercent(), 37);
    }

    void printsToPdf()
    {
        QTemporaryDir dir;
        RichTextDocument doc;
        doc.setText(lines(120));
        PdfPageSink sink(dir.filePath("lyrics.pdf"));
        QVERIFY(doc.printPages(sink, "Lyrics", 1, doc.pageCount(), 1));
        QFile pdf(dir.filePath("lyrics.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(int(bytes.count("/Type /Page\n")) + int(bytes.count("/Type /Page\r")) +
                     int(bytes.count("/Type /Page ")) + int(bytes.count("/Type /Page>")),
                 doc.pageCount());
    }

    void printRangeIsClampedAndEmptyRangeRefused()
    {
        RichTextDocument doc;
        doc.setText("only page");
        RecordingPageSink sink;
        QVERIFY(doc.printPages(sink, "Tapes-HD-CD", 1, 9, 1));
        QCOMPARE(sink.jobs().first().pageCount(), 1);
        QCOMPARE(sink.jobs().first().texts(0), QStringList{"only page"});
        QVERIFY(!doc.printPages(sink, "x", 3, 2, 1));
        QCOMPARE(sink.jobs().size(), 1);
    }

    void changeNotificationOnlyForEdits()
    {
        RichTextDocument doc;
        QSignalSpy spy(&doc, &RichTextDocument::contentChanged);
        doc.setText("abc");
        doc.setFontName("Courier New");
        QVERIFY(doc.loadBytes(doc.saveBytes()));
        QCOMPARE(spy.count(), 0);
        QTextCursor c(doc.textDocument());
        c.insertText("x");
        QCOMPARE(spy.count(), 1);
        c.select(QTextCursor::Document);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
        QCOMPARE(spy.count(), 2);
    }

    void fontNameAppliesToAllText()
    {
        RichTextDocument doc;
        doc.setFontName("Courier New");
        doc.setText("a\nb");
        QCOMPARE(doc.fontName(), QString("Courier New"));
        QTextCursor c(doc.textDocument());
        c.movePosition(QTextCursor::End);
        QCOMPARE(c.charFormat().font().families().value(0), QString("Courier New"));
        // Setting it after the text changes the text too.
        doc.setText("plain");
        doc.setFontName("DejaVu Serif");
        QTextCursor d(doc.textDocument());
        d.movePosition(QTextCursor::End);
        QCOMPARE(d.charFormat().fontFamilies().toStringList().value(0), QString("DejaVu Serif"));
    }

    void clipboardCutCopyPaste()
    {
        RichTextDocument doc;
        doc.setText("hello world");
        QTextCursor c(doc.textDocument());
        QVERIFY(!doc.clipboardAction(RichTextDocument::ClipboardAction::Copy)); // no selection
        c.setPosition(0);
        c.setPosition(5, QTextCursor::KeepAnchor);
        doc.setCursor(c);
        QVERIFY(doc.clipboardAction(RichTextDocument::ClipboardAction::Copy));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("hello"));
        QCOMPARE(doc.text(), QString("hello world"));
        QVERIFY(doc.clipboardAction(RichTextDocument::ClipboardAction::Cut));
        QCOMPARE(doc.text(), QString(" world"));
        QTextCursor end(doc.textDocument());
        end.movePosition(QTextCursor::End);
        doc.setCursor(end);
        QVERIFY(doc.clipboardAction(RichTextDocument::ClipboardAction::Paste));
        QCOMPARE(doc.text(), QString(" worldhello"));
    }
};

QTEST_MAIN(TestRichTextDocument)
#include "tst_richtextdocument.moc"
