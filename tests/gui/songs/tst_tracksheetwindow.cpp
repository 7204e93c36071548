#include "appfixture.h"
#include "songs/printtsoptionsdialog.h"
#include "songs/songstore.h"
#include "songs/tracksheetlayout.h"
#include "songs/tracksheetwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

// A data folder with one song whose slot 3 holds "T1" ... "T96".
struct Fixture : test::AppFixture {
    Fixture()
    {
        songs.create({"Blue", "Lyricist", "Composer", "03-04-2001"});
        QStringList tracks;
        for (int k = 1; k <= 96; ++k)
            tracks << QStringLiteral("T%1").arg(k);
        songs.writeTracks("Blue", 3, 1, tracks);
        songs.updateFields("Blue", {{"artist", "The Band"}, {"tempo", "120"}});
        load("Blue");
        state.currentDeviceIndex = 3;
        state.deviceNames = {"One", "Two", "Tascam"};
        state.currentSongDetails.deviceName = "Tascam";
    }

    // The track texts printed on each page of the only job.
    QList<QStringList> printedTracks() const
    {
        QList<QStringList> pages;
        const QList<RecordedJob> jobs = prompter.printedJobs();
        if (jobs.size() != 1)
            return pages;
        for (int p = 0; p < jobs.first().pageCount(); ++p) {
            QStringList tracks;
            for (const QString& t : jobs.first().texts(p)) {
                if (t.startsWith('T') && t.size() <= 3)
                    tracks << t;
            }
            pages << tracks;
        }
        return pages;
    }
};

QStringList expectedTracks(int page)
{
    QStringList out;
    for (int i = 0; i < 12; ++i)
        out << QStringLiteral("T%1").arg(12 * (page - 1) + i + 1);
    return out;
}

// Runs the print options dialog modally and presses Print with the given
// choice (0 = All, 1..8 = that entry under Selected).
void printThroughOptions(Fixture& f, int entry, QWidget* parent = nullptr)
{
    f.state.printRequested = true;
    PrintTSOptionsDialog options(f.state, parent);
    QTimer::singleShot(0, &options, [&options, entry] {
        if (entry > 0) {
            options.selectedOption()->click();
            options.pageList()->setCurrentIndex(entry - 1);
        }
        options.findChild<QPushButton*>("cmdPrint")->click();
    });
    options.exec();
}

} // namespace

class TestTrackSheetWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsHeaderAndFirstPage()
    {
        Fixture f;
        TrackSheetWindow w(f.state);
        w.show();
        QCOMPARE(w.windowTitle(), QString("Track Sheet (Tascam)"));
        QCOMPARE(w.page(), 1);
        QCOMPARE(w.label("lblSongtitle")->text(), QString("Blue"));
        QCOMPARE(w.label("words")->text(), QString("Lyricist"));
        QCOMPARE(w.label("music")->text(), QString("Composer"));
        QCOMPARE(w.label("artista")->text(), QString("The Band"));
        QCOMPARE(w.label("Label12")->text(), QString("120"));
        QCOMPARE(w.label("lblRD")->text(), QString("Tascam"));
        QCOMPARE(w.label("Label11")->text(), QString("03-04-2001"));
        QCOMPARE(w.label("datum")->text(), QDate::currentDate().toString("MM-dd-yyyy"));
        QCOMPARE(w.label("Label4")->text(), QString(" T R A C K S H E E T  -  Track 1 to 12"));
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(w.label(QString("Notr(%1)").arg(i))->text(), QString::number(i + 1));
            QCOMPARE(w.label(QString("Track(%1)").arg(i))->text(), QString("T%1").arg(i + 1));
        }
        // Design position of a header label, at 96 dpi one pixel is 15 twips.
        if (w.logicalDpiY() == 96)
            QCOMPARE(w.label("lblBandnummer")->geometry(), QRect(433, 23, 70, 15));
        w.close();
    }

    void nextWrapsAfterPageEight()
    {
        Fixture f;
        TrackSheetWindow w(f.state);
        w.show();
        for (int press = 1; press <= 7; ++press)
            w.nextButton()->click();
        QCOMPARE(w.page(), 8);
        QCOMPARE(w.label("Label4")->text(), QString(" T R A C K S H E E T  -  Track 85 to 96"));
        QCOMPARE(w.label("Notr(0)")->text(), QString("85"));
        QCOMPARE(w.label("Track(11)")->text(), QString("T96"));
        w.nextButton()->click();
        QCOMPARE(w.page(), 1);
        QCOMPARE(w.label("Track(0)")->text(), QString("T1"));
        w.close();
    }

    void clickOnTrackTextCloses()
    {
        Fixture f;
        TrackSheetWindow w(f.state);
        w.show();
        QVERIFY(w.isVisible());
        QTest::mouseClick(w.label("Notr(4)"), Qt::LeftButton);
        QVERIFY(w.isVisible()); // a track number is not a track text
        QTest::mouseClick(w.label("Track(4)"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void trackTextsUseTheGivenFont()
    {
        Fixture f;
        TrackSheetWindow w(f.state);
        QFont font("Courier New", 11);
        w.setTrackFont(font);
        w.show();
        QCOMPARE(w.label("Track(3)")->font().pointSizeF(), 11.0);
        QCOMPARE(w.label("Track(3)")->font().family(), QString("Courier New"));
        QVERIFY(w.label("Label4")->font().pointSizeF() != 11.0);
        w.close();
    }

    // Without an explicit font the sheet takes the main window's track box
    // font (through its parent) on screen and on paper, and where there is
    // no main window, the font a track box gets: never a fixed small font.
    void trackTextsUseTheTrackBoxFont()
    {
        Fixture f;
        const QFont appFont = QApplication::font("QLineEdit");
        QApplication::setFont(QFont("DejaVu Serif", 13), "QLineEdit");
        {
            TrackSheetWindow w(f.state);
            QCOMPARE(w.label("Track(0)")->font().family(), QString("DejaVu Serif"));
            QCOMPARE(w.label("Track(0)")->font().pointSizeF(), 13.0);
        }
        QApplication::setFont(appFont, "QLineEdit");

        QWidget main;
        auto* box = new QLineEdit(&main);
        box->setObjectName("trax_1");
        box->setFont(QFont("DejaVu Sans Mono", 15));
        printThroughOptions(f, 1, &main);
        const QList<RecordedJob> jobs = f.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        const QFont printed = jobs.first().textFont(0, "T1");
        QCOMPARE(printed.family(), QString("DejaVu Sans Mono"));
        QCOMPARE(printed.pointSizeF(), 15.0);
    }

    // The sheet names the device as the register does, not as the main
    // window's short label shows it.
    void deviceNameComesFromTheRegister()
    {
        Fixture f;
        f.state.deviceNames = {"One", "Two", "Otari MTR-90 II"};
        f.state.currentSongDetails.deviceName = "Otari MTR-90 I"; // the label's 14 characters
        {
            TrackSheetWindow w(f.state);
            QCOMPARE(w.windowTitle(), QString("Track Sheet (Otari MTR-90 II)"));
            QCOMPARE(w.label("lblRD")->text(), QString("Otari MTR-90 II"));
        }
        printThroughOptions(f, 1);
        QCOMPARE(f.prompter.printedJobs().size(), 1);
        QVERIFY(f.prompter.printedJobs().first().texts(0).contains("Otari MTR-90 II"));
    }

    // The sheet fills the paper of the default printer.
    void printsOnThePrintersPaper()
    {
        Fixture f;
        f.prompter.setPaperSize(QPageSize(QPageSize::Letter));
        printThroughOptions(f, 1);
        QCOMPARE(f.prompter.printedJobs().size(), 1);
        const RecordedJob job = f.prompter.printedJobs().first();
        QCOMPARE(job.pageLayout.pageSize().id(), QPageSize::Letter);
        // 8.5 inches less two 6 mm borders.
        QCOMPARE(qRound(job.pageSizeTwips.width()), qRound(8.5 * 1440 - 2 * 6 / 25.4 * 1440));
    }

    void missingTrackRowShowsEmptyTexts()
    {
        Fixture f;
        f.state.currentSong = "No such song";
        TrackSheetWindow w(f.state);
        w.show();
        QCOMPARE(w.label("Track(0)")->text(), QString());
        w.close();
    }

    void resizeRules()
    {
        Fixture f;
        TrackSheetWindow w(f.state);
        w.show();
        if (w.logicalDpiY() != 96)
            QSKIP("geometry checks assume 96 dpi");
        w.resize(100, 100); // held at 11836 x 7666 twips
        QCOMPARE(w.size(), QSize(789, 511));
        w.resize(900, 780); // 11700 twips high: track texts 11700/12 - 205 = 770
        QCOMPARE(w.label("Track(0)")->height(), 51);
        QCOMPARE(w.label("Track(0)")->width(), 900 - 27); // inner width less 400 twips
        QCOMPARE(w.label("Track(1)")->y() - w.label("Track(0)")->y(), 53); // 770 + 30 twips
        QCOMPARE(w.label("Notr(5)")->y(), w.label("Track(5)")->y());
        QCOMPARE(w.findChild<QWidget*>("Picture1")->height(), 780 - 30);
        QCOMPARE(w.nextButton()->geometry().right() + 1, 900 - 34);
        w.close();
    }

    void closingOnScreenStoresGeometry()
    {
        Fixture f;
        {
            TrackSheetWindow w(f.state);
            w.show();
            w.resize(1000, 700);
            w.close();
        }
        const Placement p = f.settings.placement("TSSE", {});
        QCOMPARE(qRound(p.width / 15), 1000);
        QCOMPARE(qRound(p.height / 15), 700);
    }

    void printAllGivesEightPagesInOrder()
    {
        Fixture f;
        printThroughOptions(f, 0);
        const QList<QStringList> pages = f.printedTracks();
        QCOMPARE(pages.size(), 8);
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(pages.at(k - 1), expectedTracks(k));
        const RecordedJob job = f.prompter.printedJobs().first();
        QVERIFY(job.texts(7).contains(" T R A C K S H E E T  -  Track 85 to 96"));
        QVERIFY(job.texts(0).contains("Tascam"));
        QVERIFY(!f.state.printRequested);
    }

    void printSelectedGivesOnlyThatPage_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("1 - 12") << 1;
        QTest::newRow("85 - 96") << 8;
    }
    void printSelectedGivesOnlyThatPage()
    {
        QFETCH(int, entry);
        Fixture f;
        printThroughOptions(f, entry);
        const QList<QStringList> pages = f.printedTracks();
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first(), expectedTracks(entry));
        QVERIFY(!f.state.printRequested);
    }

    void optionsShowPrinterAndRanges()
    {
        Fixture f;
        f.prompter.setPrinterName("Office Laser");
        f.prompter.setPrinterResolution(1200);
        f.state.printRequested = true;
        PrintTSOptionsDialog options(f.state);
        QCOMPARE(options.windowTitle(), QString("Print Options"));
        QCOMPARE(options.printerNameLabel()->text(), QString("Office Laser"));
        QCOMPARE(options.printerNumberLabel()->text(), QString("1200"));
        QCOMPARE(options.pageList()->count(), 8);
        QCOMPARE(options.pageList()->itemText(0), QString("1 - 12"));
        QCOMPARE(options.pageList()->itemText(1), QString("13 - 24"));
        QCOMPARE(options.pageList()->itemText(7), QString("85 - 96"));
        QVERIFY(options.allOption()->isChecked());
        QVERIFY(!options.pageList()->isEnabled());
        options.selectedOption()->click();
        QVERIFY(options.pageList()->isEnabled());
        options.pageList()->setCurrentIndex(2);
        QCOMPARE(options.printPage(), std::optional<int>(3));
        options.allOption()->click();
        QVERIFY(!options.pageList()->isEnabled());
        QCOMPARE(options.printPage(), std::nullopt);
    }

    void cancelLeavesPrintModeOff()
    {
        Fixture f;
        f.state.printRequested = true;
        {
            PrintTSOptionsDialog options(f.state);
            QTimer::singleShot(0, &options, [&options] {
                options.findChild<QPushButton*>("roCommand1")->click();
            });
            QCOMPARE(options.exec(), int(QDialog::Rejected));
        }
        QVERIFY(!f.state.printRequested);
        QVERIFY(f.prompter.printedJobs().isEmpty());
        // The next track sheet opens on screen.
        TrackSheetWindow w(f.state);
        QVERIFY(!w.printMode());
    }

    void closeBoxOnOptionsAlsoEndsPrintMode()
    {
        Fixture f;
        f.state.printRequested = true;
        PrintTSOptionsDialog options(f.state);
        QTimer::singleShot(0, &options, [&options] { options.close(); });
        options.exec();
        QVERIFY(!f.state.printRequested);
    }

    void printingDoesNotOverwriteGeometry()
    {
        Fixture f;
        const Placement stored{300, 450, 12000, 8000};
        f.settings.setPlacement("TSSE", stored);
        printThroughOptions(f, 0);
        QCOMPARE(f.prompter.printedJobs().size(), 1);
        QCOMPARE(f.settings.placement("TSSE", {}), stored);
    }

    // Without a print service the options say so and stay open: nothing
    // closes as if the sheets had been printed. Cancel then ends print mode.
    void noPrinterIsSaidAndTheOptionsStay()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        f.state.printRequested = true;
        PrintTSOptionsDialog options(f.state);
        options.show();
        options.findChild<QPushButton*>("cmdPrint")->click();
        QVERIFY(options.isVisible());
        QCOMPARE(f.prompter.askedTexts(), QStringList{Prompter::kNoPrinterText});
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(f.prompter.printedJobs().isEmpty());
        options.findChild<QPushButton*>("roCommand1")->click();
        QVERIFY(!f.state.printRequested);
    }

    // A sheet asked to print with no printer to print on says so too, and
    // still leaves print mode.
    void sheetWithoutPrinterSaysSoAndEndsPrintMode()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        f.state.printRequested = true;
        TrackSheetWindow w(f.state);
        w.exec();
        QCOMPARE(f.prompter.askedTexts(), QStringList{Prompter::kNoPrinterText});
        QVERIFY(!f.state.printRequested);
    }
};

QTEST_MAIN(TestTrackSheetWindow)
#include "tst_tracksheetwindow.moc"
