#include "appfixture.h"
#include "closeotherwise.h"
#include "media/mediastore.h"
#include "songs/songinfodialog.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "store/database.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

struct Fixture : test::AppFixture {
    void addSong(const QString& title, const QVariantMap& fields = {})
    {
        QVERIFY2(songs.create({title, "Words", "Music", "01.02.2003"}),
                 qPrintable(songs.lastError()));
        if (!fields.isEmpty())
            QVERIFY(songs.updateFields(title, fields));
    }
    QString stored(const QString& title, const QString& field)
    {
        const auto song = songs.song(title);
        return song ? song->text(field) : QString("<no song>");
    }
};

void setText(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void pressClose(SongInfoDialog& d)
{
    QTest::mouseClick(d.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
}

const QString kExists = QStringLiteral("  Songtitle already exists   ");

} // namespace

class TestSongInfo final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationDisplayName("QuillonSE"); }

    void showsTheSongInTwentyCaptionedBoxes()
    {
        Fixture f;
        f.addSong("Blue", {{"artist", "The Band"},
                           {"tempo", 120.0},
                           {"Key", "Am"},
                           {"Style", "Rock*loud"},
                           {"Bandnummer", "Reel 9"},
                           {"SmpteType", "25"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        QCOMPARE(d.objectName(), QString("frmSongInfo"));
        QCOMPARE(d.windowTitle(), QString("Songdetails"));
        const QStringList captions{"Songtitle",
                                   "Artist",
                                   "Words by",
                                   "Music by",
                                   "Publisher",
                                   "Recordcompany",
                                   "Date of composition",
                                   "Key",
                                   "Measure",
                                   "Tempo",
                                   "Noisered.",
                                   "Length",
                                   "Style",
                                   "Tape/HD/CD",
                                   "Counter from",
                                   "Tapetime from",
                                   "SMPTE-Time",
                                   "SMPTE-Type",
                                   "Counter to",
                                   "Tapetime to"};
        for (int i = 0; i < SongInfoDialog::kFieldCount; ++i) {
            QCOMPARE(d.findChild<QLabel*>(QString("lblCaption%1").arg(i))->text(), captions.at(i));
            QVERIFY(d.field(i));
        }
        QCOMPARE(d.field(0)->text(), QString("Blue"));
        QCOMPARE(d.field(1)->text(), QString("The Band"));
        QCOMPARE(d.field(2)->text(), QString("Words"));
        QCOMPARE(d.field(3)->text(), QString("Music"));
        QCOMPARE(d.field(6)->text(), QString("01.02.2003"));
        QCOMPARE(d.field(7)->text(), QString("Am"));
        QCOMPARE(d.field(9)->text(), QString("120"));
        QCOMPARE(d.field(11)->text(), QString("00:00:00"));
        QCOMPARE(d.field(12)->text(), QString("Rock*loud"));
        QCOMPARE(d.field(13)->text(), QString("Reel 9"));
        QCOMPARE(d.field(14)->text(), QString("0"));
        QCOMPARE(d.field(16)->text(), QString("00:00:00:00 "));
        QCOMPARE(d.field(17)->text(), QString("25"));
        QCOMPARE(d.field(19)->text(), QString("00:00:00"));
        QVERIFY(d.field(14)->alignment() & Qt::AlignRight);
        QVERIFY(!(d.field(1)->alignment() & Qt::AlignRight));
        QCOMPARE(d.findChild<QLabel*>("lblTempoUnit")->text(), QString("bpm"));
        QCOMPARE(d.findChild<QPushButton*>("cmdMoreSongInfo")->text(), QString("&More ..."));
        QCOMPARE(d.findChild<QPushButton*>("cmdStyle")->text(), QString("Styles ..."));
        QCOMPARE(d.findChild<QPushButton*>("cmdClose")->text(), QString("&Close"));
        QVERIFY(d.field(0)->isEnabled());
    }

    void styleDropDownCutsEntriesToAHundred()
    {
        Fixture f;
        f.addSong("Blue");
        const QString longEntry = "Epic*" + QString(200, 'x');
        StyleList styles(f.data);
        QVERIFY(styles.writeEntries({"Ballad*", longEntry, "Punk*fast", "Hidden*"}));
        QVERIFY(styles.writeNumber(3));
        f.load("Blue");
        SongInfoDialog d(f.state);
        QComboBox* box = d.styleBox();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->itemText(0), QString("Styles"));
        QVERIFY(!(qobject_cast<QStandardItemModel*>(box->model())->item(0)->flags() &
                  Qt::ItemIsEnabled));
        QCOMPARE(box->itemText(1), QString("Ballad*"));
        QCOMPARE(box->itemText(2), longEntry.left(100));
        QCOMPARE(box->itemText(3), QString("Punk*fast"));
        // The box still shows the song's own style, here none.
        QCOMPARE(d.field(12)->text(), QString());
        box->setCurrentIndex(2);
        QCOMPARE(d.field(12)->text(), longEntry.left(100));
    }

    void mediaDropDownListsTheMediaNames()
    {
        Fixture f;
        f.addSong("Blue");
        MediaStore media(f.data);
        for (const QString n : {"Reel 9", "cd 2", "Bob's HD"}) {
            Medium m;
            m.name = n;
            m.type = "1 - Harddisk";
            QVERIFY(media.add(m));
        }
        f.load("Blue");
        SongInfoDialog d(f.state);
        QComboBox* box = d.mediumBox();
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, QStringList({"Tape/HD/CD", "Bob's HD", "cd 2", "Reel 9"}));
        QCOMPARE(d.field(13)->text(), QString("0"));
    }

    void missingStyleAndMediaFilesLeaveEmptyLists()
    {
        Fixture f;
        f.addSong("Blue");
        QFile::remove(f.data.stnumDat());
        QFile::remove(f.data.stylesDat());
        QVERIFY(QFile::remove(f.data.tapeDb()));
        f.load("Blue");
        SongInfoDialog d(f.state);
        QCOMPARE(d.styleBox()->count(), 1);
        QCOMPARE(d.mediumBox()->count(), 1);
        QVERIFY(f.prompter.asked().isEmpty());
    }

    void boxesAdmitTheirCharactersInEitherCase()
    {
        Fixture f;
        f.addSong("Blue");
        f.load("Blue");
        SongInfoDialog d(f.state);
        setText(d.field(0), "Hello World!* ÄÖÜ & (c)");
        QCOMPARE(d.field(0)->text(), QString("Hello World ÄÖÜ & (c)"));
        setText(d.field(7), "C#m/G");
        QCOMPARE(d.field(7)->text(), QString("Cm/G"));
        setText(d.field(8), "12/345");
        QCOMPARE(d.field(8)->text(), QString("12/34"));
        setText(d.field(9), "1a20");
        QCOMPARE(d.field(9)->text(), QString("120"));
        setText(d.field(11), "01:02:03:04");
        QCOMPARE(d.field(11)->text(), QString("01:02:03"));
        setText(d.field(12), "Rock*fast/slow");
        QCOMPARE(d.field(12)->text(), QString("Rock*fastslow"));
        setText(d.field(13), "Bob's " + QString(60, 'x'));
        QCOMPARE(d.field(13)->text(), "Bob's " + QString(44, 'x'));
        // A stored value longer than its box allows is kept as it is.
        QCOMPARE(d.field(16)->text(), QString("00:00:00:00 "));
    }

    void onlyALetterCaseChangeIsRefused()
    {
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), "BLUE");
        setText(d.field(1), "New");
        pressClose(d);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kExists});
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(f.prompter.asked().first().title, QString("Quillon05"));
        QVERIFY(d.isVisible());
        QVERIFY(d.result() != QDialog::Accepted);
        QCOMPARE(f.stored("Blue", "artist"), QString("Old"));
        QVERIFY(!f.songs.song("BLUE"));
        QCOMPARE(f.state.currentSong, QString("Blue"));
        QCOMPARE(d.field(0)->text(), QString("BLUE"));
    }

    void anotherSongsTitleIsRefusedWithoutBlanksOrCase()
    {
        Fixture f;
        f.addSong("Blue");
        f.addSong("Green");
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), "  gREEN ");
        // The caption is the application title, as in the new song dialog,
        // also while the displayed name is another.
        QApplication::setApplicationDisplayName("Recording Mediums Quillon");
        pressClose(d);
        QApplication::setApplicationDisplayName("QuillonSE");
        QCOMPARE(f.prompter.askedTexts(), QStringList{kExists});
        QCOMPARE(f.prompter.asked().first().title, QString("Quillon05"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(f.songs.song("Blue"));
        QVERIFY(d.isVisible());
    }

    void aBlankedTitleKeepsTheOldOneAndStoresTheRest()
    {
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), "   ");
        setText(d.field(1), "New Artist");
        setText(d.field(10), "Dolby");
        setText(d.field(14), "0123");
        setText(d.field(19), "00:03:10");
        pressClose(d);
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().text,
                 QString("WARNING:       Missing songtitle         \r\r"
                         "SONGTITLE will not be changed !\r\r"
                         "All other changes will be saved !"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(f.prompter.asked().first().title, QString("Quillon05"));
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.field(0)->text(), QString("Blue"));
        QCOMPARE(f.state.currentSong, QString("Blue"));
        QCOMPARE(f.stored("Blue", "artist"), QString("New Artist"));
        QCOMPARE(f.stored("Blue", "NoiseReduction"), QString("Dolby"));
        QCOMPARE(f.stored("Blue", "bandzählwerkvon"), QString("0123"));
        QCOMPARE(f.stored("Blue", "BandzeitBis"), QString("00:03:10"));
        QCOMPARE(f.state.currentSongDetails.artist, QString("New Artist"));
        QCOMPARE(f.songs.count(), 2);
    }

    void aRenameCarriesTracksLyricsNoteAndSessionDetails()
    {
        Fixture f;
        f.addSong("Blue's", {{"lyrics", "{\\rtf1 la la}"},
                             {"notiz1", "remember the click"},
                             {"Producer1", "Pat"},
                             {"Producer2", "Sam"},
                             {"Technician1", "Kim"},
                             {"Technician3", "Lou"}});
        QVERIFY(f.songs.writeTracks("Blue's", 3, 95, {"Tuba", "Triangle"}));
        f.load("Blue's");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), "Green");
        setText(d.field(4), "Publishing Co");
        pressClose(d);
        QVERIFY2(f.prompter.asked().isEmpty(), qPrintable(f.prompter.askedTexts().join('|')));
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(f.state.currentSong, QString("Green"));
        QVERIFY(!f.songs.song("Blue's"));
        QCOMPARE(f.stored("Green", "lyrics"), QString("{\\rtf1 la la}"));
        QCOMPARE(f.stored("Green", "notiz1"), QString("remember the click"));
        QCOMPARE(f.stored("Green", "Producer1"), QString("Pat"));
        QCOMPARE(f.stored("Green", "Producer2"), QString("Sam"));
        QCOMPARE(f.stored("Green", "Technician1"), QString("Kim"));
        QCOMPARE(f.stored("Green", "Technician3"), QString("Lou"));
        QCOMPARE(f.stored("Green", "publisher"), QString("Publishing Co"));
        for (int n = 1; n <= 10; ++n) {
            bool found = false;
            const QStringList tracks = f.songs.trackRow("Green", n, &found);
            QVERIFY(found);
            QCOMPARE(tracks.at(0), QString("Blue's Dev  %1  Track 1").arg(n));
            bool oldFound = true;
            f.songs.trackRow("Blue's", n, &oldFound);
            QVERIFY(!oldFound);
        }
        QCOMPARE(f.songs.trackRow("Green", 3).mid(94), QStringList({"Tuba", "Triangle"}));
    }

    void aTitleWithBlanksIsCheckedWithoutThemButStoredWithThem()
    {
        Fixture f;
        f.addSong("Blue");
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), " Red ");
        pressClose(d);
        QVERIFY(f.prompter.asked().isEmpty());
        QVERIFY(f.songs.song(" Red "));
        QCOMPARE(f.state.currentSong, QString(" Red "));
    }

    void theTrainingSongsTitleCannotBeEdited()
    {
        Fixture f;
        f.load(kTrainingSong);
        SongInfoDialog d(f.state);
        d.show();
        QVERIFY(d.showsTrainingSong());
        QVERIFY(!d.field(0)->isEnabled());
        QCOMPARE(d.focusWidget(), d.field(1));
        QTest::keyClicks(d.field(0), "x");
        QCOMPARE(d.field(0)->text(), kTrainingSong);
        setText(d.field(1), "Session Players");
        pressClose(d);
        QVERIFY(f.prompter.asked().isEmpty());
        QCOMPARE(f.state.currentSong, kTrainingSong);
        QCOMPARE(f.stored(kTrainingSong, "artist"), QString("Session Players"));
        QVERIFY(!d.showsTrainingSong());
    }

    void anOrdinarySongStartsInTheTitleBox()
    {
        Fixture f;
        f.addSong("Blue");
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        QVERIFY(!d.showsTrainingSong());
        QCOMPARE(d.focusWidget(), d.field(0));
    }

    void tempoIsStoredAsANumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("tempo");
        QTest::newRow("120") << "120" << 120.0;
        QTest::newRow("empty") << "" << 0.0;
    }
    void tempoIsStoredAsANumber()
    {
        QFETCH(QString, typed);
        QFETCH(double, tempo);
        Fixture f;
        f.addSong("Blue", {{"tempo", 99.0}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(9), typed);
        pressClose(d);
        Database db;
        QVERIFY(db.open(f.data.songDb()));
        QSqlQuery q = db.prepare("SELECT tempo, typeof(tempo) FROM xtrax WHERE songtitle = ?");
        q.addBindValue("Blue");
        QVERIFY(q.exec() && q.next());
        QCOMPARE(q.value(1).toString(), QString("real"));
        QCOMPARE(q.value(0).toDouble(), tempo);
    }

    void leadingNumber()
    {
        QCOMPARE(SongInfoDialog::leadingNumber("120"), 120.0);
        QCOMPARE(SongInfoDialog::leadingNumber(" 96 bpm"), 96.0);
        QCOMPARE(SongInfoDialog::leadingNumber("12.5x"), 12.5);
        QCOMPARE(SongInfoDialog::leadingNumber(".5"), 0.5);
        QCOMPARE(SongInfoDialog::leadingNumber("."), 0.0);
        QCOMPARE(SongInfoDialog::leadingNumber("fast"), 0.0);
        QCOMPARE(SongInfoDialog::leadingNumber(""), 0.0);
    }

    void aFailedStoreKeepsTheWindowAndTheTypedText()
    {
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        f.songs.setFaultInjector([](const QString& stage) { return stage == "track4"; });
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(0), "Green");
        setText(d.field(1), "New");
        pressClose(d);
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().text, f.songs.lastError());
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(d.isVisible());
        QVERIFY(d.result() != QDialog::Accepted);
        QCOMPARE(d.field(0)->text(), QString("Green"));
        QCOMPARE(d.field(1)->text(), QString("New"));
        QCOMPARE(f.state.currentSong, QString("Blue"));
        QCOMPARE(f.state.currentSongDetails.artist, QString("Old"));
        QCOMPARE(f.stored("Blue", "artist"), QString("Old"));
        QVERIFY(!f.songs.song("Green"));
        // Once the store works again the same window stores it all.
        f.songs.setFaultInjector({});
        pressClose(d);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(f.stored("Green", "artist"), QString("New"));
    }

    // A second store stands for another room on the same catalogue.
    void anotherRoomsChangeIsShownAndTheTypedTextKept_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("fields changed") << false;
        QTest::newRow("song deleted") << true;
    }
    void anotherRoomsChangeIsShownAndTheTypedTextKept()
    {
        QFETCH(bool, deleted);
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        SongStore there(f.data);
        QVERIFY(there.open());
        QVERIFY(deleted ? there.remove("Blue")
                        : there.updateFields("Blue", {{"artist", "Theirs"}, {"tempo", 99.0}}));
        setText(d.field(3), "Typed");
        pressClose(d);
        QCOMPARE(f.prompter.asked().size(), 1);
        QVERIFY(f.prompter.asked().first().text.contains(deleted ? "deleted or renamed in another"
                                                                 : "was changed in another room"));
        QCOMPARE(d.isVisible(), !deleted);
        if (deleted)
            return;
        QCOMPARE(d.field(1)->text(), QString("Theirs"));
        QCOMPARE(d.field(9)->text(), QString("99"));
        QCOMPARE(d.field(3)->text(), QString("Typed"));
        QCOMPARE(f.stored("Blue", "composer"), QString("Music"));
        pressClose(d);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(f.stored("Blue", "composer"), QString("Typed"));
        QCOMPARE(f.stored("Blue", "artist"), QString("Theirs"));
    }

    void closingOtherwiseAsksToStore_data() { test::addCloseOtherwiseRows(); }
    void closingOtherwiseAsksToStore()
    {
        QFETCH(bool, escape);
        QFETCH(QMessageBox::StandardButton, answer);
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(1), "New");
        f.prompter.answer(answer);
        test::closeOtherwise(&d, d.field(1), escape);
        QCOMPARE(f.prompter.askedTexts(), QStringList{SongInfoDialog::kStoreQuestion});
        const auto asked = f.prompter.asked().first();
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(asked.defaultButton, QMessageBox::Yes);
        QCOMPARE(asked.icon, Prompter::Icon::Question);
        QCOMPARE(d.isVisible(), answer == QMessageBox::Cancel);
        QCOMPARE(f.stored("Blue", "artist"), QString(answer == QMessageBox::Yes ? "New" : "Old"));
        QCOMPARE(d.field(1)->text(), QString("New"));
        QCOMPARE(f.state.currentSong, QString("Blue"));
    }

    void closingUnchangedAsksNothing()
    {
        Fixture f;
        f.addSong("Blue", {{"artist", "Old"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(1), "New");
        setText(d.field(1), "Old");
        QTest::keyClick(d.field(1), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(f.prompter.asked().isEmpty());
    }

    void measureTakesTheMaskedForm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits only") << "12345"
                                     << "12";
        QTest::newRow("four four") << "4/4"
                                   << "4/4";
        QTest::newRow("twelve eight") << "12/8"
                                      << "12/8";
        QTest::newRow("two slashes") << "3//4"
                                     << "3/4";
        QTest::newRow("three digits after") << "7/168"
                                            << "7/16";
    }
    void measureTakesTheMaskedForm()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        f.addSong("Blue");
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(8), typed);
        QCOMPARE(d.field(8)->text(), shown);
    }

    void aHalfTypedMeasureIsNotStored()
    {
        Fixture f;
        f.addSong("Blue", {{"Signature", "4/4 swing"}, {"artist", "Old"}});
        f.load("Blue");
        {
            // A stored value of another form is shown and kept as it is.
            SongInfoDialog d(f.state);
            d.show();
            QCOMPARE(d.field(8)->text(), QString("4/4 swing"));
            setText(d.field(1), "New");
            pressClose(d);
            QVERIFY(f.prompter.asked().isEmpty());
            QCOMPARE(f.stored("Blue", "Signature"), QString("4/4 swing"));
        }
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        setText(d.field(1), "Newer");
        setText(d.field(8), "3/");
        pressClose(d);
        QCOMPARE(f.prompter.askedTexts(),
                 QStringList{"Please enter the measure as ##/##, for example 4/4."});
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(d.isVisible());
        QCOMPARE(f.stored("Blue", "artist"), QString("New"));
        QTest::keyClicks(d.field(8), "4");
        pressClose(d);
        QVERIFY(!d.isVisible());
        QCOMPARE(f.stored("Blue", "Signature"), QString("3/4"));
        QCOMPARE(f.stored("Blue", "artist"), QString("Newer"));
    }

    void stylesButtonOpensTheStyleWindowModally()
    {
        Fixture f;
        StyleList styles(f.data);
        QVERIFY(styles.writeEntries({"Rock*loud"}));
        QVERIFY(styles.writeNumber(1));
        f.addSong("Blue", {{"Style", "Rock*loud"}});
        f.load("Blue");
        SongInfoDialog d(f.state);
        d.show();
        QCOMPARE(d.styleBox()->count(), 2); // the heading and the style
        QString seen;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen = modal->objectName();
            // A style added there is offered here once the window closes.
            QTest::mouseClick(modal->findChild<QPushButton*>("cmdNew"), Qt::LeftButton);
            QTest::keyClicks(modal->findChild<QLineEdit*>("TB_Stylename"), "Ballad");
            QTest::mouseClick(modal->findChild<QPushButton*>("cmdOKNew"), Qt::LeftButton);
            QTest::mouseClick(modal->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::mouseClick(d.findChild<QPushButton*>("cmdStyle"), Qt::LeftButton);
        QCOMPARE(seen, QString("frmStyle"));
        QVERIFY(d.isVisible());
        QCOMPARE(d.styleBox()->count(), 3);
        QCOMPARE(d.styleBox()->itemText(2), QString("Ballad*"));
        QCOMPARE(d.field(12)->text(), QString("Rock*loud"));
    }

    void moreButtonAsksForTheNote()
    {
        Fixture f;
        f.addSong("Blue");
        f.load("Blue");
        SongInfoDialog d(f.state);
        QSignalSpy spy(&d, &SongInfoDialog::noteRequested);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdMoreSongInfo"), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestSongInfo)
#include "tst_songinfo.moc"
