#include "common/printerpagesink.h"
#include "pdfpages.h"
#include "printing/formsheet.h"
#include "printing/pagefit.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using test::pdfPageCount;

namespace {

std::unique_ptr<QPrinter> filePrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    return printer;
}

} // namespace

class TestPrinterPageSink final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printsPagesAtPrinterResolution()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("job.pdf");
        PrinterPageSink sink(filePrinter(path));
        QCOMPARE(sink.deviceName(), path);
        // A4 less 10 mm each side: 190 mm wide.
        QCOMPARE(qRound(sink.pageSizeTwips().width()), qRound(190 / 25.4 * 1440));
        QVERIFY(sink.beginJob("sheet"));
        QVERIFY(!sink.beginJob("again"));
        // One twip is resolution / 1440 device pixels.
        const double dpi = sink.printer().resolution();
        QCOMPARE(sink.painter()->transform().m11(), dpi / 1440.0);
        FormSheet sheet(QSizeF(11836, 7216));
        sheet.add("lbl", QRectF(100, 100, 3000, 300), "Hello", SheetItem::Role::Caption);
        QVERIFY(printSheetAsPage(sink, sheet, {}));
        QVERIFY(sink.newPage());
        QCOMPARE(sink.painter()->transform().m11(), dpi / 1440.0);
        QVERIFY(printSheetAsPage(sink, sheet, {}));
        QVERIFY(sink.endJob());
        QCOMPARE(pdfPageCount(path), 2);
    }

    void unusablePrinterFailsWithAReason()
    {
        PrinterPageSink sink(filePrinter("/nonexistent-folder/job.pdf"));
        QVERIFY(!sink.beginJob("sheet"));
        QVERIFY(!sink.lastError().isEmpty());
        QVERIFY(!sink.painter());
        QVERIFY(!sink.newPage());
        QVERIFY(!sink.endJob());
    }
};

QTEST_MAIN(TestPrinterPageSink)
#include "tst_printerpagesink.moc"
