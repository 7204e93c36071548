#include "cases.h"

#include "benchapp.h"
#include "documents/richtextdocument.h"
#include "documents/rtfformat.h"
#include "printing/printpreview.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace quillon::bench {

namespace {

constexpr int kRtfMegabytes = 1;
constexpr int kPreviewPages = 100;

// Lyrics as a studio keeps them: verses with bold and italic runs, colours,
// sizes and a few characters outside ASCII, repeated to the wanted size.
QByteArray megabyteOfRtf(QString* html)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({"DejaVu Sans"});
    plain.setFontPointSize(11);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    italic.setForeground(QColor(0x80, 0x20, 0x20));
    QTextCharFormat heading = bold;
    heading.setFontPointSize(16);
    QByteArray rtf;
    for (int verse = 0; rtf.size() < kRtfMegabytes * 1024 * 1024; ++verse) {
        cursor.insertText(QString("Verse %1 (Ä major, ½ time)").arg(verse), heading);
        cursor.insertBlock();
        for (int line = 0; line < 8; ++line) {
            cursor.insertText("Chorus ", bold);
            cursor.insertText(QString("line %1 of the night we drove to Zürich, ").arg(line),
                              plain);
            cursor.insertText("whispered over the tape hiss", italic);
            cursor.insertText(" and the last take of the evening.", plain);
            cursor.insertBlock();
        }
        if (verse % 50 == 49)
            rtf = rtf::write(doc);
    }
    *html = doc.toHtml();
    return rtf;
}

// The same document built once for every run of the cases.
struct Documents {
    QByteArray rtf;
    QString html;
    Documents() { rtf = megabyteOfRtf(&html); }
};

const Documents& documents()
{
    static const Documents docs;
    return docs;
}

// Paragraphs enough for exactly kPreviewPages pages of the default layout.
void fillPages(RichTextDocument& doc, int pages)
{
    const auto textOf = [](int paragraphs) {
        QStringList lines;
        for (int i = 0; i < paragraphs; ++i)
            lines << QString("Line %1: the bass comes in on the second bar, harmonies on the "
                             "third, fade out after the fourth chorus.")
                         .arg(i);
        return lines.join('\n');
    };
    int low = 1;
    int high = 64;
    doc.setText(textOf(high));
    while (doc.pageCount() < pages) {
        low = high;
        high *= 2;
        doc.setText(textOf(high));
    }
    while (low < high) {
        const int mid = (low + high) / 2;
        doc.setText(textOf(mid));
        if (doc.pageCount() < pages)
            low = mid + 1;
        else
            high = mid;
    }
    doc.setText(textOf(low));
}

void previewCase(benchmark::State& s, BenchContext& ctx)
{
    WindowState w(ctx.folder(ctx.sizes().front()));
    RichTextDocument doc;
    fillPages(doc, kPreviewPages);
    if (doc.pageCount() != kPreviewPages)
        return s.SkipWithError("the document does not have the wanted pages");
    for (auto _ : s) {
        auto preview = std::make_unique<PrintPreview>(w.state, doc);
        preview->show();
        QCoreApplication::processEvents();
        auto* next = preview->findChild<QPushButton*>("btnNext");
        auto* page = preview->findChild<QWidget*>("picPage1");
        timeIteration(s, ctx, "preview_pages", kPreviewPages, false, [&] {
            page->repaint();
            for (int p = 2; p <= kPreviewPages; ++p) {
                next->click();
                page->repaint();
            }
        });
        const bool ok = preview->currentPage() == kPreviewPages;
        preview.reset();
        if (!ok)
            return s.SkipWithError("the preview did not reach the last page");
    }
}

// Qt drawing the same pages of the same text onto an image of the same size.
void previewBaseline(benchmark::State& s, BenchContext& ctx)
{
    RichTextDocument doc;
    fillPages(doc, kPreviewPages);
    std::unique_ptr<QTextDocument> text(doc.textDocument()->clone());
    const QSizeF pageSize(doc.pageWidth() / 15.0, doc.pageHeight() / 15.0);
    text->setPageSize(pageSize);
    // The preview's fitted page at its default window size is about this big.
    const QSize picture(480, 680);
    for (auto _ : s) {
        timeIteration(s, ctx, "preview_pages", kPreviewPages, true, [&] {
            QImage image(picture, QImage::Format_ARGB32_Premultiplied);
            for (int p = 0; p < text->pageCount(); ++p) {
                image.fill(Qt::white);
                QPainter painter(&image);
                const double scale = picture.width() / pageSize.width();
                painter.scale(scale, scale);
                painter.translate(0, -p * pageSize.height());
                text->drawContents(&painter, QRectF(0, p * pageSize.height(), pageSize.width(),
                                                    pageSize.height()));
            }
        });
    }
}

} // namespace

void registerDocumentCases(BenchContext& ctx)
{
    addPair(
        ctx, "rtf_import", kRtfMegabytes, 20,
        [&ctx](benchmark::State& s) {
            const QByteArray& rtf = documents().rtf;
            for (auto _ : s) {
                RichTextDocument doc;
                bool ok = false;
                timeIteration(s, ctx, "rtf_import", kRtfMegabytes, false,
                              [&] { ok = doc.loadBytes(rtf, DocumentFormat::Rtf); });
                if (!ok || doc.isEmpty())
                    return s.SkipWithError("the RTF was not read");
            }
        },
        [&ctx](benchmark::State& s) {
            const QString& html = documents().html;
            for (auto _ : s) {
                QTextDocument doc;
                timeIteration(s, ctx, "rtf_import", kRtfMegabytes, true,
                              [&] { doc.setHtml(html); });
            }
        });
    addPair(
        ctx, "rtf_export", kRtfMegabytes, 20,
        [&ctx](benchmark::State& s) {
            RichTextDocument doc;
            if (!doc.loadBytes(documents().rtf, DocumentFormat::Rtf))
                return s.SkipWithError("the RTF was not read");
            for (auto _ : s) {
                QByteArray bytes;
                timeIteration(s, ctx, "rtf_export", kRtfMegabytes, false,
                              [&] { bytes = doc.saveBytes(DocumentFormat::Rtf); });
                if (bytes.size() < documents().rtf.size() / 2)
                    return s.SkipWithError("the RTF was not written");
            }
        },
        [&ctx](benchmark::State& s) {
            QTextDocument doc;
            doc.setHtml(documents().html);
            for (auto _ : s) {
                QString html;
                timeIteration(s, ctx, "rtf_export", kRtfMegabytes, true,
                              [&] { html = doc.toHtml(); });
                benchmark::DoNotOptimize(html);
            }
        });
    addPair(
        ctx, "preview_pages", kPreviewPages, 5,
        [&ctx](benchmark::State& s) { previewCase(s, ctx); },
        [&ctx](benchmark::State& s) { previewBaseline(s, ctx); });
}

} // namespace quillon::bench
