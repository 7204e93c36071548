#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "common/twipsscale.h"
#include "documents/richtextdocument.h"
#include "printing/printpreview.h"
#include "printing/showpreview.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <functional>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

struct Env {
    test::TempDataFolder tmp{false};
    DataFolder folder{tmp.folder()};
    Settings settings{tmp.settingsFile()};
    SongStore songs{folder};
    ScriptedPrompter prompter;
    AppState state{folder, settings, songs, prompter};
};

// Runs `step` on the preview once ShowPreview has shown it; `ran` tells
// whether it did.
void whenShown(std::function<void(PrintPreview&)> step, bool& ran)
{
    QTimer::singleShot(0, [step, &ran] {
        auto* preview = qobject_cast<PrintPreview*>(QApplication::activeModalWidget());
        if (!preview)
            return;
        ran = true;
        step(*preview);
        // Whatever the step did, the preview must go so the test goes on.
        if (preview->isVisible())
            preview->findChild<QPushButton*>("btnClose")->click();
    });
}

QString lines(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("Device %1").arg(i);
    return list.join('\n');
}

} // namespace

class TestShowPreview final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsModallyAndReturnsAfterClose()
    {
        Env env;
        RichTextDocument doc;
        doc.setFontName("Courier New");
        doc.setText(lines(150));
        doc.setScalePercent(100);
        bool ran = false;
        QString text;
        bool modal = false;
        whenShown(
            [&](PrintPreview& preview) {
                modal = preview.isModal();
                text = preview.findChild<QLabel*>("lblPage")->text();
                preview.findChild<QPushButton*>("btnZoomIn")->click();
                preview.grab();
                QCOMPARE(doc.scalePercent(), 75);
                preview.findChild<QPushButton*>("btnClose")->click();
            },
            ran);
        ShowPreview(env.state, doc, nullptr, "Studio-Geraete");
        QVERIFY(ran);
        QVERIFY(modal);
        QCOMPARE(text, QString("Seite 1 von %1").arg(doc.pageCount()));
        QCOMPARE(doc.scalePercent(), 100);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void printsUnderTheCallersJobName()
    {
        Env env;
        RichTextDocument doc;
        doc.setText(lines(150));
        env.prompter.answerPrint(PrintChoice{1, 1, 1, {}});
        bool ran = false;
        whenShown(
            [](PrintPreview& preview) { preview.findChild<QPushButton*>("btnPrint")->click(); },
            ran);
        ShowPreview(env.state, doc, nullptr, "Tapes-HD-CD");
        QVERIFY(ran);
        QCOMPARE(env.prompter.printedJobs().size(), 1);
        QCOMPARE(env.prompter.printedJobs().first().name, QString("Tapes-HD-CD"));
        QCOMPARE(env.prompter.printedJobs().first().pageCount(), 1);
    }

    // The pages shown and printed are those of the default printer's paper,
    // with that paper's margins; A4 when no printer is known.
    void paginatesOnThePrintersPaper_data()
    {
        QTest::addColumn<bool>("hasPrinter");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<double>("marginInches");
        QTest::newRow("Letter printer") << true << int(QPageSize::Letter) << 12240 << 1.0;
        QTest::newRow("A4 printer") << true << int(QPageSize::A4) << 11906 << 25 / 25.4;
        QTest::newRow("no printer") << false << int(QPageSize::Letter) << 11906 << 25 / 25.4;
    }
    void paginatesOnThePrintersPaper()
    {
        QFETCH(bool, hasPrinter);
        QFETCH(int, paper);
        QFETCH(int, pageWidth);
        QFETCH(double, marginInches);
        Env env;
        env.prompter.setHasPrinter(hasPrinter);
        env.prompter.setPaperSize(QPageSize(QPageSize::PageSizeId(paper)));
        RichTextDocument doc;
        doc.setText(lines(150));
        int shownWidth = 0;
        bool ran = false;
        whenShown(
            [&](PrintPreview& preview) {
                shownWidth =
                    preview.findChild<QWidget*>("picPage1")->width() > 0 ? doc.pageWidth() : -1;
                env.prompter.answerPrint(PrintChoice{1, 1, 1, {}});
                preview.findChild<QPushButton*>("btnPrint")->click();
            },
            ran);
        ShowPreview(env.state, doc);
        QVERIFY(ran);
        QCOMPARE(shownWidth, pageWidth);
        QCOMPARE(qRound(doc.pageLayout().margins(QPageLayout::Inch).left() * 100),
                 qRound(marginInches * 100));
        if (hasPrinter) {
            QCOMPARE(env.prompter.printedJobs().size(), 1);
            QCOMPARE(int(env.prompter.printedJobs().first().pageLayout.pageSize().id()), paper);
        }
    }

    void nextShowingOpensWhereTheLastClosed()
    {
        Env env;
        RichTextDocument doc;
        doc.setText("text");
        bool ran = false;
        QPoint placed;
        whenShown(
            [&](PrintPreview& preview) {
                const TwipsScale units = TwipsScale::forWidget(&preview);
                placed = QPoint(units.toPixelsX(2250), units.toPixelsY(3000));
                preview.move(placed);
            },
            ran);
        ShowPreview(env.state, doc);
        QVERIFY(ran);
        QCOMPARE(env.settings.text("PreviewTop"), QString("3000"));

        // A fresh window: first page, fitted view, at the stored place.
        ran = false;
        QPoint reopened;
        int page = 0, zoom = -1;
        whenShown(
            [&](PrintPreview& preview) {
                reopened = preview.pos();
                page = preview.currentPage();
                zoom = preview.zoomLevel();
            },
            ran);
        ShowPreview(env.state, doc);
        QVERIFY(ran);
        QCOMPARE(reopened, placed);
        QCOMPARE(page, 1);
        QCOMPARE(zoom, 0);
    }
};

QTEST_MAIN(TestShowPreview)
#include "tst_showpreview.moc"
