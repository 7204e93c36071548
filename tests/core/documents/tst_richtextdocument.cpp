#include "documentprobes.h"
#include "documents/documentlimits.h"
#include "documents/docxpackage.h"
#include "documents/richtextdocument.h"
#include "documents/wordformat.h"
#include "printing/pdfpagesink.h"
#include "printing/recordingpagesink.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <sys/stat.h>

using namespace quillon;
using limits::kMaxMarkupTags;
using limits::kMaxParagraphCharacters;
using limits::kMaxParagraphs;
using limits::kMaxRuns;

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

bool hasRed(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0))
                return true;
    return false;
}

QByteArray repeated(const QByteArray& piece, qsizetype times)
{
    QByteArray out;
    out.reserve(piece.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A .docx whose body is `inner`, preceded by `prolog` (a DOCTYPE, say).
QByteArray docx(const QByteArray& inner, const QByteArray& prolog = {})
{
    const QByteArray xml =
        "<?xml version='1.0'?>" + prolog +
        "<w:document xmlns:w='http://schemas.openxmlformats.org/wordprocessingml/2006/main'>"
        "<w:body>" +
        inner + "</w:body></w:document>";
    return word::DocxPackageWriter::write({{QStringLiteral("word/document.xml"), xml}}, nullptr);
}

QByteArray docWithParagraphs(qsizetype paragraphs)
{
    QTextDocument many;
    many.setPlainText(QString(paragraphs - 1, QLatin1Char('\n')));
    return word::writeDoc(many);
}

} // namespace

class TestRichTextDocument final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Devices, pipes and folders are no documents: /dev/zero never ends, and
    // a pipe without a writer would block the program for good.
    void specialFilesAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("error");
        const QString fifo = m_dir.filePath("pipe.txt");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QFile::link("/dev/zero", m_dir.filePath("zero.doc")));
        QVERIFY(QDir(m_dir.path()).mkdir("folder.rtf"));
        QFile big(m_dir.filePath("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(limits::kMaxFileBytes + 1));
        const int text = int(DocumentFormat::Text), rtf = int(DocumentFormat::Rtf);
        const QString notADocument = "is not a document file";
        QTest::newRow("zero") << "/dev/zero" << text << notADocument;
        QTest::newRow("urandom") << "/dev/urandom" << rtf << notADocument;
        QTest::newRow("pipe") << fifo << text << notADocument;
        QTest::newRow("link to zero")
            << m_dir.filePath("zero.doc") << int(DocumentFormat::Word) << notADocument;
        QTest::newRow("folder") << m_dir.filePath("folder.rtf") << rtf << notADocument;
        QTest::newRow("too large") << big.fileName() << text << "too large";
    }

    void specialFilesAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(int, format);
        QFETCH(QString, error);
        RichTextDocument doc;
        doc.setText("keep me");
        QVERIFY(!doc.loadFile(path, DocumentFormat(format)));
        QVERIFY2(doc.lastError().contains(error), qPrintable(doc.lastError()));
        QCOMPARE(doc.text(), QString("keep me"));
    }

    // A few kilobytes must not become gigabytes: what a document expands to
    // is counted, and beyond the limits it is refused with a reason.
    void explodingDocumentsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("error");
        const int text = int(DocumentFormat::Text), rtf = int(DocumentFormat::Rtf),
                  word = int(DocumentFormat::Word), native = int(DocumentFormat::Native);
        const QString paragraphs = "more than 50000 paragraphs";
        const QString runs = "more than 100000 changes of formatting";
        QTest::newRow("text line ends") << QByteArray(kMaxParagraphs, '\n') << text << paragraphs;
        QTest::newRow("text CR line ends")
            << QByteArray(kMaxParagraphs, '\r') << text << paragraphs;
        QTest::newRow("text one long line")
            << QByteArray(kMaxParagraphCharacters + 1, 'a') << text << "in one paragraph";
        QTest::newRow("text characters") << repeated(QByteArray(99, 'a') + '\n', 20001) << text
                                         << "more than 2000000 characters";
        QTest::newRow("rtf paragraphs")
            << "{\\rtf1 " + repeated("\\par ", kMaxParagraphs + 1) + "}" << rtf << paragraphs;
        QTest::newRow("rtf runs") << "{\\rtf1 " +
                                         repeated("{\\b x}y{\\i z}\\par ", kMaxRuns / 3 + 1) + "}"
                                  << rtf << runs;
        QTest::newRow("docx entities")
            << docx("<w:p><w:r><w:t>" + repeated("&e;", 1000) + "</w:t></w:r></w:p>",
                    "<!DOCTYPE d [<!ENTITY e '" + QByteArray(4000, 'x') + "'>]>")
            << word << "declares a document type";
        QTest::newRow("docx nesting")
            << docx("<w:p>" + repeated("<w:x>", limits::kMaxNesting) + "</w:p>") << word
            << "nests elements more than 256 deep";
        QTest::newRow("docx paragraphs")
            << docx(repeated("<w:p/>", kMaxParagraphs + 1)) << word << paragraphs;
        QTest::newRow("doc paragraphs")
            << docWithParagraphs(kMaxParagraphs + 1) << word << paragraphs;
        QTest::newRow("stored tags")
            << "<html><body>" + repeated("<b>x</b>", kMaxMarkupTags + 1) << native << "tags";
        QTest::newRow("stored nesting")
            << "<html><body><p>" + repeated("<span>", limits::kMaxNesting) + "x" << native
            << "more than 256 levels of nested formatting";
        QTest::newRow("stored paragraphs")
            << "<html><body>" + repeated("<p>x</p>", kMaxParagraphs + 1) << native << paragraphs;
    }

    void explodingDocumentsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QString, error);
        RichTextDocument doc;
        doc.setText("keep me");
        QVERIFY(!doc.loadBytes(bytes, DocumentFormat(format)));
        QVERIFY2(doc.lastError().contains(error), qPrintable(doc.lastError()));
        QCOMPARE(doc.text(), QString("keep me"));
    }

    // Right at the limits everything is still read.
    void largestDocumentsAreRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("paragraphs");
        QTest::newRow("text") << QByteArray(kMaxParagraphs - 1, '\n') << int(DocumentFormat::Text)
                              << int(kMaxParagraphs);
        QTest::newRow("long line")
            << QByteArray(kMaxParagraphCharacters, 'a') << int(DocumentFormat::Text) << 1;
        QTest::newRow("rtf") << "{\\rtf1 " + repeated("{\\b x}y\\par ", kMaxParagraphs) + "}"
                             << int(DocumentFormat::Rtf) << int(kMaxParagraphs);
        QTest::newRow("stored line breaks")
            << "<html><body><p>" + repeated("a<br>", 1000) + "</p><p>b<br /></p></body></html>"
            << int(DocumentFormat::Native) << 2;
        QTest::newRow("doc") << docWithParagraphs(kMaxParagraphs) << int(DocumentFormat::Word)
                             << int(kMaxParagraphs);
    }

    void largestDocumentsAreRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(int, paragraphs);
        RichTextDocument doc;
        QVERIFY2(doc.loadBytes(bytes, DocumentFormat(format)), qPrintable(doc.lastError()));
        QCOMPARE(doc.textDocument()->blockCount(), paragraphs);
    }

    // Editing can grow a document past what a read accepts; what the
    // program stores or writes must always open again.
    void documentsGrownPastTheLimitsAreNotStored()
    {
        RichTextDocument doc;
        doc.setText(QString(kMaxParagraphCharacters, u'a'));
        QByteArray stored;
        QString error;
        QVERIFY2(doc.storedBytes(&stored, &error), qPrintable(error));
        RichTextDocument back;
        QVERIFY2(back.loadBytes(stored), qPrintable(back.lastError()));

        QTextCursor c(doc.textDocument());
        c.movePosition(QTextCursor::End);
        c.insertText("a");
        stored = "kept";
        QVERIFY(!doc.storedBytes(&stored, &error));
        QVERIFY(error.contains("in one paragraph"));
        QCOMPARE(stored, QByteArray("kept"));
        const QTemporaryDir dir;
        QVERIFY(!doc.saveFile(dir.filePath("long.rtf"), DocumentFormat::Rtf));
        QVERIFY(doc.lastError().contains("in one paragraph"));
        QVERIFY(!QFile::exists(dir.filePath("long.rtf")));
    }

    // Stored text is HTML, and HTML names style sheets and images by path.
    // Nothing is fetched: not when reading, drawing, paginating or pasting.
    void storedTextLoadsNothingFromOutside()
    {
        const QString sheet = m_dir.filePath("red.css");
        QFile css(sheet);
        QVERIFY(css.open(QIODevice::WriteOnly));
        css.write("p, span { color: #ff0000; background-color: #ff0000 }");
        css.close();
        QImage red(60, 60, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString png = m_dir.filePath("red.png");
        QVERIFY(red.save(png));
        const QString html =
            QString("<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">"
                    "</head><body><p>Words <img src=\"%2\"></p>"
                    "<p style=\"background-image: url(%2)\">Lines</p></body></html>")
                .arg(QUrl::fromLocalFile(sheet).toString(), png);

        RichTextDocument doc;
        QVERIFY(doc.loadBytes(html.toUtf8(), DocumentFormat::Native));
        QCOMPARE(test::formatAt(*doc.textDocument(), "Words").foreground().color(),
                 QColor(Qt::black));
        QImage shown(800, 400, QImage::Format_RGB32);
        shown.fill(Qt::white);
        QPainter painter(&shown);
        doc.textDocument()->drawContents(&painter); // as the editor draws it
        painter.end();
        QVERIFY(!hasRed(shown));
        QImage page(doc.pageWidth() / 15, doc.pageHeight() / 15, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(3780);
        page.setDotsPerMeterY(3780);
        doc.setRenderTarget(&page);
        QVERIFY(doc.renderPage(1)); // as the preview and the printer draw it
        QVERIFY(!hasRed(page));

        auto* mime = new QMimeData;
        mime->setHtml(html);
        QGuiApplication::clipboard()->setMimeData(mime);
        QTextCursor end(doc.textDocument());
        end.movePosition(QTextCursor::End);
        doc.setCursor(end);
        QVERIFY(doc.clipboardAction(RichTextDocument::ClipboardAction::Paste));
        QVERIFY(test::formatAt(*doc.textDocument(), "Lines").foreground().color() !=
                QColor(Qt::red));
        // Pasted HTML nested beyond the limits comes in as its plain text.
        auto* deep = new QMimeData;
        deep->setHtml("<p>" + QString("<span>").repeated(limits::kMaxNesting + 1) + "deep");
        deep->setText("flat");
        QGuiApplication::clipboard()->setMimeData(deep);
        QVERIFY(doc.clipboardAction(RichTextDocument::ClipboardAction::Paste));
        QVERIFY2(doc.text().endsWith("flat"), qPrintable(doc.text()));
    }

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
