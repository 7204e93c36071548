#include "pdfpages.h"
#include "printing/formsheet.h"
#include "printing/pagefit.h"
#include "printing/pdfpagesink.h"
#include "printing/recordingpagesink.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using test::pdfPageCount;

class TestPageSinks final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordingKeepsPagesAndTextsInOrder()
    {
        RecordingPageSink sink(QSizeF(10000, 14000), "Rec");
        QVERIFY(sink.beginJob("job"));
        QVERIFY(!sink.beginJob("second")); // one job at a time
        sink.drawText(100, 300, "first", QFont());
        sink.drawText(100, 600, "second", QFont());
        QVERIFY(sink.newPage());
        sink.drawText(100, 300, "third", QFont());
        QVERIFY(sink.endJob());
        QCOMPARE(sink.jobs().size(), 1);
        const RecordedJob job = sink.jobs().first();
        QCOMPARE(job.name, QString("job"));
        QCOMPARE(job.pageCount(), 2);
        QCOMPARE(job.texts(0), QStringList({"first", "second"}));
        QCOMPARE(job.texts(1), QStringList({"third"}));
        QCOMPARE(sink.deviceName(), QString("Rec"));
        // The image is the page at the asked resolution, with ink on it.
        const QImage img = job.image(0, 96);
        QCOMPARE(img.size(), QSize(667, 934));
        bool ink = false;
        for (int y = 0; y < 40 && !ink; ++y)
            for (int x = 0; x < 200 && !ink; ++x)
                ink = qGray(img.pixel(x, y)) < 128;
        QVERIFY(ink);
    }

    void abortedRecordingKeepsNothing()
    {
        RecordingPageSink sink;
        QVERIFY(sink.beginJob("job"));
        sink.drawText(0, 200, "x", QFont());
        sink.abortJob();
        QVERIFY(sink.jobs().isEmpty());
        QVERIFY(!sink.endJob());
    }

    void pdfHasOnePagePerPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.pdf");
        PdfPageSink sink(path);
        // A4 less 15 mm margins each side: 180 mm = 10205 twips wide.
        QCOMPARE(qRound(sink.pageSizeTwips().width()), 10205);
        QVERIFY(sink.beginJob("three"));
        QVERIFY(!sink.beginJob("again"));
        for (int p = 0; p < 3; ++p) {
            if (p > 0)
                QVERIFY(sink.newPage());
            sink.drawText(0, 400, QString("page %1").arg(p + 1), QFont());
        }
        QVERIFY(sink.endJob());
        QCOMPARE(pdfPageCount(path), 3);
    }

    void abortedPdfLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.pdf");
        PdfPageSink sink(path);
        QVERIFY(sink.beginJob("job"));
        sink.drawText(0, 400, "x", QFont());
        sink.abortJob();
        QVERIFY(!QFile::exists(path));
    }

    void unwritablePdfFails()
    {
        PdfPageSink sink("/nonexistent-folder/out.pdf");
        QVERIFY(!sink.beginJob("job"));
        QVERIFY(sink.lastError().contains("/nonexistent-folder/out.pdf"));
    }

    void sheetFillsThePrintableWidth()
    {
        FormSheet sheet(QSizeF(12000, 6000));
        sheet.add("wide", QRectF(0, 0, 12000, 300), "x", SheetItem::Role::Caption);
        const QTransform t = fitToPage(sheet.size(), QSizeF(6000, 9000));
        QCOMPARE(t.map(QPointF(12000, 6000)), QPointF(6000, 3000));
        // A tall layout is limited by the page height instead.
        QCOMPARE(fitToPage(QSizeF(1000, 4000), QSizeF(6000, 2000)).m11(), 0.5);
        QVERIFY(fitToPage(QSizeF(), QSizeF(6000, 2000)).isIdentity());
    }
};

QTEST_MAIN(TestPageSinks)
#include "tst_pagesinks.moc"
