#include "appfixture.h"
#include "songs/songdetailspreview.h"
#include "songs/songstore.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

struct Fixture : test::AppFixture {
    Fixture()
    {
        songs.create({"Blue", "Lyricist", "Composer", "03-04-2001"});
        songs.updateFields("Blue", {{"artist", "The Band"},
                                    {"publisher", "Pub House"},
                                    {"Key", "A minor"},
                                    {"notiz1", "Remember the organ"}});
        load("Blue");
    }
};

} // namespace

class TestSongDetailsPreview final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsEveryDetail()
    {
        Fixture f;
        SongDetailsPreview w(f.state);
        w.show();
        QCOMPARE(w.windowTitle(), QString("Songdetails"));
        QCOMPARE(w.label("lblSongtitle")->text(), QString("Blue"));
        QCOMPARE(w.label("lblArtist")->text(), QString("The Band"));
        QCOMPARE(w.label("lblWords")->text(), QString("Lyricist"));
        QCOMPARE(w.label("lblMusic")->text(), QString("Composer"));
        QCOMPARE(w.label("lblCompDate")->text(), QString("03-04-2001"));
        QCOMPARE(w.label("lblPublisher")->text(), QString("Pub House"));
        QCOMPARE(w.label("lblKey")->text(), QString("A minor"));
        QCOMPARE(w.label("lblSMPTEType")->text(), f.state.currentSongDetails.smpteType);
        QCOMPARE(w.label("lblDatum")->text(),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(w.label("capCounterFrom")->text(), QString("Tapecounter from"));
        QCOMPARE(w.noteBox()->toPlainText(), QString("Remember the organ"));
        QVERIFY(w.noteBox()->isReadOnly());
        // A song without session details shows them empty.
        QCOMPARE(w.label("lblProducer1")->text(), QString());
        QCOMPARE(w.label("lblTechnician3")->text(), QString());
        if (w.logicalDpiY() == 96)
            QCOMPARE(w.label("lblRecordcompany")->geometry(), QRect(96, 137, 582, 15));
        w.close();
    }

    void widthSpringsBackAndLowWindowIsRaised()
    {
        Fixture f;
        SongDetailsPreview w(f.state);
        w.show();
        if (w.logicalDpiY() != 96)
            QSKIP("geometry checks assume 96 dpi");
        w.resize(500, 700);
        QCOMPARE(w.width(), 763); // 11446 twips
        w.resize(1200, 400);      // below 8545 twips: raised to 8846
        QCOMPARE(w.width(), 763);
        QCOMPARE(w.height(), 590);
        w.resize(763, 800);
        QCOMPARE(w.height(), 800);
        QWidget* picture = w.findChild<QWidget*>("Picture1");
        QCOMPARE(picture->height(), 800 - 30);
        QCOMPARE(picture->width(), 763 - 78);
        QCOMPARE(w.noteBox()->height(), qRound((800 * 15 - 450 - 5550 - 100) / 15.0));
        w.close();
    }

    void closingOnScreenStoresGeometry()
    {
        Fixture f;
        {
            SongDetailsPreview w(f.state);
            w.show();
            w.resize(763, 720);
            QTest::mouseClick(w.label("lblArtist"), Qt::LeftButton); // a click closes
            QVERIFY(!w.isVisible());
        }
        const Placement p = f.settings.placement("SISE", {});
        QCOMPARE(qRound(p.height / 15), 720);
    }

    void printModePrintsOnePageAndKeepsGeometry()
    {
        Fixture f;
        const Placement stored{150, 300, 11745, 9000};
        f.settings.setPlacement("SISE", stored);
        f.state.printRequested = true;
        SongDetailsPreview w(f.state);
        QVERIFY(w.printMode());
        w.exec(); // prints and closes itself
        const QList<RecordedJob> jobs = f.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.first().pageCount(), 1);
        const QStringList texts = jobs.first().texts(0);
        QVERIFY(texts.contains("Blue"));
        QVERIFY(texts.contains("Pub House"));
        QVERIFY(texts.contains("Remember the organ"));
        QVERIFY(texts.contains("SMPTE Type:"));
        QVERIFY(!f.state.printRequested);
        QCOMPARE(f.settings.placement("SISE", {}), stored);
    }

    // Asked to print with no printer to print on, the sheet says so rather
    // than closing as if it had printed; print mode ends all the same.
    void printModeWithoutPrinterSaysSo()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        f.state.printRequested = true;
        SongDetailsPreview w(f.state);
        w.exec();
        QCOMPARE(f.prompter.askedTexts(), QStringList{Prompter::kNoPrinterText});
        QVERIFY(f.prompter.printedJobs().isEmpty());
        QVERIFY(!f.state.printRequested);
    }
};

QTEST_MAIN(TestSongDetailsPreview)
#include "tst_songdetailspreview.moc"
