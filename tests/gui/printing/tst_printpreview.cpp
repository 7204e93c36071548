#include "common/appstate.h"
#include "common/configuredprinter.h"
#include "common/scriptedprompter.h"
#include "common/twipsscale.h"
#include "documents/richtextdocument.h"
#include "pdfpages.h"
#include "printing/previewpage.h"
#include "printing/printpreview.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::PrintChoice)

namespace {

// Everything a preview needs around it.
struct Env {
    test::TempDataFolder tmp{false};
    DataFolder folder{tmp.folder()};
    Settings settings{tmp.settingsFile()};
    SongStore songs{folder};
    ScriptedPrompter prompter;
    AppState state{folder, settings, songs, prompter};
};

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1").arg(i);
    return lines.join('\n');
}

// The page on which a whole line of the document lies.
int pageOfLine(const RichTextDocument& doc, const QString& line)
{
    const int at = int((QChar('\n') + doc.text() + QChar('\n')).indexOf('\n' + line + '\n'));
    return at < 0 ? -1 : doc.pageOfPosition(at);
}

bool hasInk(const QImage& image)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    // Skip the one-pixel edge the picture draws around the sheet.
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                return true;
    return false;
}

template <typename T> T* part(const QWidget& preview, const char* name)
{
    T* found = preview.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no part %s", name);
    return found;
}

QPushButton* button(const QWidget& preview, const char* name)
{
    return part<QPushButton>(preview, name);
}

// What pdfinfo says of a PDF file ("Pages", "Page size", "Title"); empty
// when it cannot be run.
QMap<QString, QString> pdfInfo(const QString& path)
{
    QMap<QString, QString> info;
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        return info;
    QProcess run;
    run.start("pdfinfo", {path});
    if (!run.waitForFinished(20000))
        return info;
    for (const QString& line : QString::fromUtf8(run.readAllStandardOutput()).split('\n')) {
        const int colon = int(line.indexOf(':'));
        if (colon > 0)
            info.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return info;
}

// Pages of a PDF file: pdfinfo's count, else its page objects counted.
int pdfPages(const QString& path)
{
    const QMap<QString, QString> info = pdfInfo(path);
    if (info.contains("Pages"))
        return info.value("Pages").toInt();
    return test::pdfPageCount(path);
}

// The document page each recorded sheet shows, by the lines on it.
QList<int> printedPages(const RichTextDocument& doc, const RecordedJob& job)
{
    QList<int> pages;
    for (int sheet = 0; sheet < job.pageCount(); ++sheet) {
        const QStringList texts = job.texts(sheet);
        pages << (texts.isEmpty() ? 0 : pageOfLine(doc, texts.first()));
    }
    return pages;
}

QString label(const QWidget& preview)
{
    return part<QLabel>(preview, "lblPage")->text();
}

} // namespace

class TestPrintPreview final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void germanTextsAndOnePageDocument()
    {
        Env env;
        RichTextDocument doc;
        doc.setText("A single short page");
        QCOMPARE(doc.pageCount(), 1);
        PrintPreview preview(env.state, doc);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCOMPARE(preview.windowTitle(), QString("Druckvorschau"));
        QCOMPARE(preview.objectName(), QString("frmPrintPreview"));
        QCOMPARE(button(preview, "btnPrint")->text(), QString("&Drucken"));
        QCOMPARE(button(preview, "btnNext")->text(), QString("&Nächste"));
        QCOMPARE(button(preview, "btnPrevious")->text(), QString("&Vorherige"));
        QCOMPARE(button(preview, "btnPages")->text(), QString("&Zwei Seiten"));
        QCOMPARE(button(preview, "btnZoomIn")->text(), QString("Ver&größern"));
        QCOMPARE(button(preview, "btnZoomOut")->text(), QString("Ver&kleinern"));
        QCOMPARE(button(preview, "btnClose")->text(), QString("&Schließen"));

        QCOMPARE(label(preview), QString("Seite 1 von 1"));
        QVERIFY(!button(preview, "btnNext")->isEnabled());
        QVERIFY(!button(preview, "btnPrevious")->isEnabled());
        QVERIFY(!button(preview, "btnPages")->isEnabled());
        QVERIFY(button(preview, "btnZoomIn")->isEnabled());
        QVERIFY(!button(preview, "btnZoomOut")->isEnabled());
        QVERIFY(!part<QWidget>(preview, "picPage2")->isVisible());
        QVERIFY(!part<QScrollBar>(preview, "ScrollV")->isVisible());
        QVERIFY(!part<QScrollBar>(preview, "ScrollH")->isVisible());
        QVERIFY(hasInk(part<QWidget>(preview, "picPage1")->grab().toImage()));
    }

    void pagingAndTheLabel()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        const int n = doc.pageCount();
        QVERIFY(n >= 4);
        PrintPreview preview(env.state, doc);
        preview.show();
        QCOMPARE(label(preview), QString("Seite 1 von %1").arg(n));
        QVERIFY(button(preview, "btnPages")->isEnabled());
        button(preview, "btnNext")->click();
        QCOMPARE(preview.currentPage(), 2);
        QCOMPARE(label(preview), QString("Seite 2 von %1").arg(n));
        QVERIFY(button(preview, "btnPrevious")->isEnabled());
        for (int i = 2; i < n; ++i)
            button(preview, "btnNext")->click();
        QCOMPARE(preview.currentPage(), n);
        QVERIFY(!button(preview, "btnNext")->isEnabled());
        button(preview, "btnNext")->click(); // disabled: stays on the last page
        QCOMPARE(preview.currentPage(), n);
        button(preview, "btnPrevious")->click();
        QCOMPARE(label(preview), QString("Seite %1 von %2").arg(n - 1).arg(n));
    }

    void pagesButtonSwitchesViewAndCaption()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        PrintPreview preview(env.state, doc);
        preview.show();
        QPushButton* pages = button(preview, "btnPages");
        auto* page2 = part<QWidget>(preview, "picPage2");
        pages->click();
        QVERIFY(preview.twoPageView());
        QCOMPARE(pages->text(), QString("&Eine Seite"));
        QVERIFY(page2->isVisible());
        QCOMPARE(page2->size(), part<QWidget>(preview, "picPage1")->size());
        QVERIFY(page2->x() > part<QWidget>(preview, "picPage1")->geometry().right());

        // Disabled while magnified, enabled again in the fitted view.
        button(preview, "btnZoomIn")->click();
        QCOMPARE(preview.zoomLevel(), 1);
        QVERIFY(!pages->isEnabled());
        QVERIFY(!page2->isVisible());
        button(preview, "btnZoomIn")->click();
        QCOMPARE(preview.zoomLevel(), 2);
        QVERIFY(!button(preview, "btnZoomIn")->isEnabled());
        button(preview, "btnZoomOut")->click();
        button(preview, "btnZoomOut")->click();
        QCOMPARE(preview.zoomLevel(), 0);
        QVERIFY(pages->isEnabled());
        QVERIFY(page2->isVisible());

        pages->click();
        QVERIFY(!preview.twoPageView());
        QCOMPARE(pages->text(), QString("&Zwei Seiten"));
        QVERIFY(!page2->isVisible());
    }

    void clickOnTheRightPageShowsItAloneAtThreeQuarters()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        PrintPreview preview(env.state, doc);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        button(preview, "btnPages")->click();
        auto* page1 = part<QWidget>(preview, "picPage1");
        auto* page2 = part<QWidget>(preview, "picPage2");
        QTest::mouseClick(page2, Qt::LeftButton, {},
                          QPoint(page2->width() / 2, page2->height() / 2));

        QCOMPARE(preview.currentPage(), 2);
        QCOMPARE(preview.zoomLevel(), 1);
        QVERIFY(!page2->isVisible());
        QCOMPARE(label(preview), QString("Seite 2 von %1").arg(doc.pageCount()));
        const QSize expected(qRound(0.75 * doc.pageWidth()), qRound(0.75 * doc.pageHeight()));
        QCOMPARE(preview.geometryTwips().page1.size(), expected);
        const TwipsScale units = TwipsScale::forWidget(&preview);
        QCOMPARE(page1->size(),
                 QSize(units.toPixelsX(expected.width()), units.toPixelsY(expected.height())));
        QVERIFY(part<QScrollBar>(preview, "ScrollV")->isVisible());
        // Scrolled towards the middle where the click was.
        const PreviewScrollBar& v = preview.geometryTwips().scrollV;
        QVERIFY(v.max > 0);
        QVERIFY(qAbs(v.value - v.max / 2) <= v.max / 20 + 1);
        QCOMPARE(preview.geometryTwips().page1.top(), 100 - v.value);

        const QImage shown = page1->grab().toImage();
        QCOMPARE(doc.scalePercent(), 75);
        QCOMPARE(doc.renderTarget(), page1);
        QVERIFY(hasInk(shown));
    }

    void clicksThatChangeNothing()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        PrintPreview preview(env.state, doc);
        preview.show();
        auto* page1 = part<QWidget>(preview, "picPage1");
        // Shift-click in the fitted view.
        QTest::mouseClick(page1, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
        QCOMPARE(preview.zoomLevel(), 0);
        // Right button.
        QTest::mouseClick(page1, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(preview.zoomLevel(), 0);
        // Left click at 100 %.
        preview.setZoomLevel(2);
        const PreviewGeometry before = preview.geometryTwips();
        QTest::mouseClick(page1, Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(preview.zoomLevel(), 2);
        QCOMPARE(preview.geometryTwips().page1, before.page1);
        QCOMPARE(preview.geometryTwips().scrollV.value, before.scrollV.value);
        // Shift-click zooms out one level.
        QTest::mouseClick(page1, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 40));
        QCOMPARE(preview.zoomLevel(), 1);
        // A plain click on the fitted page zooms in.
        preview.setZoomLevel(0);
        QTest::mouseClick(page1, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(preview.zoomLevel(), 1);
        // Levels outside 0..2 are ignored.
        preview.setZoomLevel(7);
        QCOMPARE(preview.zoomLevel(), 1);
    }

    void rightPageAtTheEndIsBlankAndClicksDoNothing()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(130));
        const int n = doc.pageCount();
        QVERIFY(n >= 2);
        PrintPreview preview(env.state, doc);
        preview.show();
        button(preview, "btnPages")->click();
        for (int i = 1; i < n; ++i)
            button(preview, "btnNext")->click();
        QCOMPARE(preview.currentPage(), n);
        auto* page2 = part<QWidget>(preview, "picPage2");
        QVERIFY(page2->isVisible());
        QVERIFY(!hasInk(page2->grab().toImage()));
        QVERIFY(hasInk(part<QWidget>(preview, "picPage1")->grab().toImage()));
        QTest::mouseClick(page2, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(preview.currentPage(), n);
        QCOMPARE(preview.zoomLevel(), 0);
        // Shift on the right page does nothing either.
        button(preview, "btnPrevious")->click();
        QTest::mouseClick(page2, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
        QCOMPARE(preview.currentPage(), n - 1);
        QCOMPARE(preview.zoomLevel(), 0);
    }

    void scrollBarsMoveTheMagnifiedPage()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(100));
        PrintPreview preview(env.state, doc);
        preview.resize(500, 400);
        preview.show();
        preview.setZoomLevel(2);
        auto* bar = part<QScrollBar>(preview, "ScrollV");
        QVERIFY(bar->isVisible() && bar->isEnabled());
        QVERIFY(bar->maximum() > 600);
        bar->setValue(600);
        QCOMPARE(preview.geometryTwips().page1.top(), 100 - 600);
        const TwipsScale units = TwipsScale::forWidget(&preview);
        QCOMPARE(part<QWidget>(preview, "picPage1")->y(), units.toPixelsY(-500));
        auto* hbar = part<QScrollBar>(preview, "ScrollH");
        QVERIFY(hbar->isEnabled());
        hbar->setValue(300);
        QCOMPARE(preview.geometryTwips().page1.left(), -200);
    }

    void wheelScrollsOnlyAMagnifiedPage()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(100));
        PrintPreview preview(env.state, doc);
        preview.show();
        auto* page1 = part<QWidget>(preview, "picPage1");
        // Real wheel events climb from the page to the window; a sent one
        // does not, so it goes to the window directly.
        const auto wheel = [&] {
            const QPointF at = page1->mapTo(&preview, QPointF(10, 10));
            QWheelEvent event(at, preview.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&preview, &event);
        };
        wheel();
        QCOMPARE(preview.zoomLevel(), 0);
        QCOMPARE(preview.geometryTwips().scrollV.value, 0);
        preview.setZoomLevel(2);
        const int top = preview.geometryTwips().page1.top();
        wheel();
        QVERIFY(preview.geometryTwips().scrollV.value > 0);
        QCOMPARE(preview.geometryTwips().page1.top(), 100 - preview.geometryTwips().scrollV.value);
        QVERIFY(preview.geometryTwips().page1.top() < top);
    }

    void printsTwoCopiesOfPagesTwoToThree()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        QVERIFY(doc.pageCount() >= 4);
        doc.setScalePercent(120);
        PrintPreview preview(env.state, doc, nullptr, "Lyrics");
        preview.show();
        part<QWidget>(preview, "picPage1")->grab();
        const int fitted = doc.scalePercent();
        QVERIFY(fitted != 120);

        env.prompter.answerPrint(PrintChoice{2, 3, 2, {}});
        button(preview, "btnPrint")->click();
        const QList<RecordedJob> jobs = env.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        const RecordedJob& job = jobs.first();
        QCOMPARE(job.name, QString("Lyrics"));
        QCOMPARE(job.pageCount(), 4);
        const int expected[] = {2, 3, 2, 3};
        for (int sheet = 0; sheet < 4; ++sheet) {
            const QStringList texts = job.texts(sheet);
            QVERIFY(!texts.isEmpty());
            for (const QString& t : texts)
                QCOMPARE(pageOfLine(doc, t), expected[sheet]);
        }
        QCOMPARE(job.texts(0), job.texts(2));
        // No printer chosen in the dialog: the default one.
        QCOMPARE(env.prompter.printersOpened(), QStringList{"Recorder"});
        // A printer chosen in the dialog is the one that prints.
        env.prompter.answerPrint(PrintChoice{1, 1, 1, "Studio Laser"});
        button(preview, "btnPrint")->click();
        QCOMPARE(env.prompter.printersOpened(), QStringList({"Recorder", "Studio Laser"}));
        QCOMPARE(env.prompter.printedJobs().size(), 2);
        // Printed at the document's own scale; the preview takes it again
        // when it repaints.
        QCOMPARE(doc.scalePercent(), 120);
        part<QWidget>(preview, "picPage1")->grab();
        QCOMPARE(doc.scalePercent(), fitted);
    }

    // Every page choice of the dialog reaches the paper as chosen.
    void printsExactlyTheChosenPages_data()
    {
        using Set = PageSelection::PageSet;
        QTest::addColumn<PrintChoice>("choice");
        QTest::addColumn<QList<int>>("sheets");
        const auto choice = [](int from, int to, const QString& list, Set set, int copies,
                               bool collate, bool reverse) {
            PrintChoice c{from, to, copies, {}};
            c.pages = QPageRanges::fromString(list);
            c.pageSet = set;
            c.collate = collate;
            c.lastPageFirst = reverse;
            return c;
        };
        QTest::newRow("page list 1,3")
            << choice(1, 3, "1,3", Set::All, 1, true, false) << QList<int>{1, 3};
        QTest::newRow("list with a range and beyond the end")
            << choice(2, 99, "4-5,2,99", Set::All, 1, true, false) << QList<int>{2, 4, 5};
        QTest::newRow("odd pages")
            << choice(1, 5, {}, Set::Odd, 1, true, false) << QList<int>{1, 3, 5};
        QTest::newRow("even pages of 2-5")
            << choice(2, 5, {}, Set::Even, 1, true, false) << QList<int>{2, 4};
        QTest::newRow("uncollated copies")
            << choice(2, 3, {}, Set::All, 2, false, false) << QList<int>{2, 2, 3, 3};
        QTest::newRow("collated copies, last page first")
            << choice(1, 3, {}, Set::All, 2, true, true) << QList<int>{3, 2, 1, 3, 2, 1};
    }
    void printsExactlyTheChosenPages()
    {
        QFETCH(PrintChoice, choice);
        QFETCH(QList<int>, sheets);
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        QVERIFY(doc.pageCount() >= 5);
        PrintPreview preview(env.state, doc, nullptr, "Lyrics");
        preview.show();
        env.prompter.answerPrint(choice);
        button(preview, "btnPrint")->click();
        QCOMPARE(env.prompter.printedJobs().size(), 1);
        QCOMPARE(printedPages(doc, env.prompter.printedJobs().first()), sheets);
    }

    // Print to file works without any printer: the PDF holds exactly the
    // chosen pages.
    void printToFileWritesThePdf()
    {
        Env env;
        env.prompter.setHasPrinter(false);
        QTemporaryDir dir;
        const QString path = dir.filePath("lyrics.pdf");
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        PrintPreview preview(env.state, doc, nullptr, "Lyrics");
        preview.show();
        PrintChoice choice{1, 3, 1, {}};
        choice.pages = QPageRanges::fromString("1,3");
        choice.outputFile = path;
        env.prompter.answerPrint(choice);
        button(preview, "btnPrint")->click();
        QVERIFY(env.prompter.asked().isEmpty());
        QVERIFY(QFile::exists(path));
        QCOMPARE(pdfPages(path), 2);
        const QMap<QString, QString> info = pdfInfo(path);
        if (!info.isEmpty()) {
            QCOMPARE(info.value("Title"), QString("Lyrics"));
            // No printer known: A4.
            QVERIFY2(info.value("Page size").startsWith("595 x 842"),
                     qPrintable(info.value("Page size")));
        }
    }

    // A printer set up the way the print dialog leaves it for a file: its
    // paper and orientation are kept, the page list is honoured once and the
    // copies are the program's (the printer is told to make one).
    void dialogSettingsReachThePrinter()
    {
        Env env;
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.pdf");
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setPrinterName(QString());
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(QPageLayout::Landscape);
        printer->setColorMode(QPrinter::GrayScale);
        printer->setCopyCount(2);
        printer->setPrintRange(QPrinter::PageRange);
        printer->setPageRanges(QPageRanges::fromString("1,3"));
        RichTextDocument doc;
        doc.setText(numberedLines(300));
        const int a4Pages = doc.pageCount();
        const PrintChoice choice = ConfiguredPrinter::takeChoice(printer, 1, a4Pages);
        QCOMPARE(choice.pages.toString(), QString("1,3"));
        QCOMPARE(choice.copies, 2);
        QCOMPARE(choice.outputFile, path);
        QCOMPARE(printer->copyCount(), 1);
        QCOMPARE(printer->printRange(), QPrinter::AllPages);

        PrintPreview preview(env.state, doc, nullptr, "Notes");
        preview.show();
        env.prompter.answerPrint(choice);
        button(preview, "btnPrint")->click();
        QVERIFY(env.prompter.asked().isEmpty());
        QCOMPARE(env.prompter.printersOpened(), QStringList{path});
        QCOMPARE(pdfPages(path), 4); // pages 1 and 3, twice
        const QMap<QString, QString> info = pdfInfo(path);
        if (!info.isEmpty())
            QVERIFY2(info.value("Page size").startsWith("792 x 612"),
                     qPrintable(info.value("Page size")));
        // The preview's own pagination is handed back.
        QCOMPARE(doc.pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(doc.pageCount(), a4Pages);
    }

    void rangeBeyondTheDocumentPrintsWhatExists()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(130));
        const int n = doc.pageCount();
        PrintPreview preview(env.state, doc);
        preview.show();
        env.prompter.answerPrint(PrintChoice{0, 99, 0, {}});
        button(preview, "btnPrint")->click();
        QCOMPARE(env.prompter.printedJobs().size(), 1);
        QCOMPARE(env.prompter.printedJobs().first().pageCount(), n);
        QVERIFY(env.prompter.asked().isEmpty());
    }

    void cancelledDialogPrintsNothing()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(130));
        doc.setScalePercent(120);
        PrintPreview preview(env.state, doc);
        preview.show();
        part<QWidget>(preview, "picPage1")->grab();
        const int fitted = doc.scalePercent();
        env.prompter.answerPrint(std::nullopt);
        button(preview, "btnPrint")->click();
        QVERIFY(env.prompter.printedJobs().isEmpty());
        QVERIFY(env.prompter.asked().isEmpty());
        QCOMPARE(doc.scalePercent(), fitted);
    }

    void missingPrinterIsReported()
    {
        Env env;
        env.prompter.setHasPrinter(false);
        RichTextDocument doc;
        doc.setText("text");
        PrintPreview preview(env.state, doc);
        preview.show();
        env.prompter.answerPrint(PrintChoice{1, 1, 1, {}});
        button(preview, "btnPrint")->click();
        QVERIFY(env.prompter.printedJobs().isEmpty());
        QCOMPARE(env.prompter.askedTexts(), QStringList{"Es ist kein Drucker eingerichtet."});
    }

    void closingHandsTheDocumentBack()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(numberedLines(130));
        doc.setScalePercent(140);
        QImage editorSurface(10, 10, QImage::Format_RGB32);
        doc.setRenderTarget(&editorSurface);
        {
            PrintPreview preview(env.state, doc);
            preview.show();
            part<QWidget>(preview, "picPage1")->grab();
            QVERIFY(doc.scalePercent() != 140);
            QVERIFY(doc.renderTarget() != &editorSurface);
            QCOMPARE(preview.savedScale(), 140);
            button(preview, "btnClose")->click();
            QVERIFY(!preview.isVisible());
            QCOMPARE(doc.scalePercent(), 140);
            QCOMPARE(doc.renderTarget(), &editorSurface);
        }
        QCOMPARE(doc.scalePercent(), 140);
        QCOMPARE(doc.renderTarget(), &editorSurface);
    }

    void geometryStoredOnCloseAndRestored()
    {
        Env env;
        env.settings.setText("PreviewLeft", "3000");
        env.settings.setText("PreviewTop", "1500");
        env.settings.setText("PreviewWidth", "9000");
        env.settings.setText("PreviewHeight", "7500");
        RichTextDocument doc;
        doc.setText("text");
        PrintPreview preview(env.state, doc);
        const TwipsScale units = TwipsScale::forWidget(&preview);
        QCOMPARE(preview.pos(), QPoint(units.toPixelsX(3000), units.toPixelsY(1500)));
        QCOMPARE(preview.size(), QSize(units.toPixelsX(9000), units.toPixelsY(7500)));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        preview.move(units.toPixelsX(4500), units.toPixelsY(2400));
        preview.resize(units.toPixelsX(7200), units.toPixelsY(6000));
        QTRY_COMPARE(preview.pos(), QPoint(units.toPixelsX(4500), units.toPixelsY(2400)));
        preview.close();
        QCOMPARE(env.settings.text("PreviewLeft"), QString("4500"));
        QCOMPARE(env.settings.text("PreviewTop"), QString("2400"));
        QCOMPARE(env.settings.text("PreviewWidth"), QString("7200"));
        QCOMPARE(env.settings.text("PreviewHeight"), QString("6000"));
    }

    void defaultGeometryAndNothingStoredWithoutShowing()
    {
        Env env;
        RichTextDocument doc;
        {
            PrintPreview preview(env.state, doc);
            const TwipsScale units = TwipsScale::forWidget(&preview);
            QCOMPARE(preview.size(), QSize(units.toPixelsX(10110), units.toPixelsY(8000)));
            preview.reject();
        }
        QVERIFY(!env.settings.contains("PreviewLeft"));
        // An unusable stored size falls back to the default.
        env.settings.setText("PreviewWidth", "0");
        PrintPreview preview(env.state, doc);
        const TwipsScale units = TwipsScale::forWidget(&preview);
        QCOMPARE(preview.width(), units.toPixelsX(10110));
    }
};

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
