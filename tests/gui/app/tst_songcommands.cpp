// Creating, opening, closing, saving and deleting songs from the main window,
// the menus and the help command.

#include "mainwindowfixture.h"

#include "app/menubuilder.h"
#include "app/songcommands.h"
#include "app/statuspanels.h"
#include "app/trackgrid.h"
#include "app/windowcommands.h"
#include "songs/loadsongdialog.h"
#include "songs/newsongdialog.h"
#include "store/database.h"
#include "store/songconstants.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quillon;

namespace {
void activate(QWidget& w)
{
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

int rowsFor(const QString& file, const QString& table, const QString& title)
{
    Database db;
    if (!db.open(file))
        return -1;
    QSqlQuery q = db.prepare(QString("SELECT count(*) FROM %1 WHERE songtitle = ?").arg(table));
    q.addBindValue(title);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

// Runs `then` on the modal dialog of type T as soon as it is shown.
template <typename T> void whenModal(std::function<void(T*)> then)
{
    QTimer::singleShot(0, [then] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        then(dialog);
    });
}
} // namespace

class TstSongCommands : public QObject {
    Q_OBJECT
private slots:
    void menusAsSpecified();
    void ctrlSSavesAndPreviewOnlyShowsIt();
    void ctrlNCreatesAndLoads();
    void cancelNewSongKeepsCover();
    void openStartsOnSlotOne();
    void closeThenOpenSameSong();
    void deleteAsksWithCapitalsAndNoPreselected();
    void deleteRemovesEverythingAndShowsCover();
    void trainingSongCannotBeDeleted();
    void apostropheTitleThroughWholePath();
    void loadFollowsStoreComparison();
    void readSongDetailsSubstitutes();
    void sessionDetailsAreWrittenBack();
    void sessionDetailsChangedElsewhereAreShownAgain();
    void helpProgramMissing();
    void helpProgramPresent();
    void helpProgramIsBuilt();
};

void TstSongCommands::menusAsSpecified()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    QStringList tops;
    for (QAction* a : w.menuBar()->actions())
        tops << a->text() + "|" + a->menu()->objectName();
    QCOMPARE(tops, QStringList({"&File|MenuFile", "&Edit|MenuEdit", "&Options|MenuOptions",
                                "&Info|MenuInfo"}));
    auto items = [&](const QString& menu) {
        QStringList out;
        for (QAction* a : w.menus().menu(menu)->actions())
            out << (a->isSeparator() ? QString("-")
                                     : w.menus().caption(a->objectName()) + "|" + a->objectName());
        return out;
    };
    QCOMPARE(
        items("MenuFile"),
        QStringList({"&New Song...|new", "&Open Song|open", "&Close Song|close", "-", "&Save|save",
                     "-", "General Info|general_info", "-", "Preview Tracksheet|preview_ts",
                     "Preview Songdetails...|display_songdetails", "-", "&Print...|print",
                     "&Setup Printer...|setup_printer", "-", "&Exit|exit"}));
    QCOMPARE(items("MenuEdit"),
             QStringList({"&Delete Song|delete_song", "-", "Edit Songstyle...|edit_songstyle", "-",
                          "&Find...|find"}));
    QCOMPARE(
        items("MenuOptions"),
        QStringList({"&Songdetails...|songdetails", "S&essiondetails...|sessiondetails", "-",
                     "&Recordingdevices...|recdev_details", "Tape/Disc-Details...|tape_details",
                     "-", "&Lyrics...|lyrics", "-", "Settings...|settings"}));
    QCOMPARE(items("MenuInfo"), QStringList({"&Help...|help", "-", "&About...|about"}));
    QCOMPARE(w.menus().action("new")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(w.menus().action("save")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(w.menus().action("print")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(w.menus().action("exit")->shortcut(), QKeySequence(Qt::Key_F4));
    // The preview item shows Ctrl+S beside its caption without owning the key.
    QVERIFY(w.menus().action("preview_ts")->shortcut().isEmpty());
    QCOMPARE(w.menus().action("preview_ts")->text().section('\t', 1),
             QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText));
}

void TstSongCommands::ctrlSSavesAndPreviewOnlyShowsIt()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Save Song");
    activate(w);
    QStringList opened;
    w.commands().setShowHook([&](const QString& window) { opened << window; });
    w.selectorClicked(13);
    w.bankClicked(3);
    QCOMPARE(f.state.currentDeviceIndex, 3);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.state.currentDeviceIndex, 1);
    QCOMPARE(f.state.currentTrackBank, 1);
    QCOMPARE(f.box(1)->text(), generatedTrackText("Save Song", 1, 1));
    QVERIFY(opened.isEmpty()); // the track sheet did not open
    QCOMPARE(w.status().text("infopanel"), StatusPanels::productNotice());
}

void TstSongCommands::ctrlNCreatesAndLoads()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    activate(w);
    whenModal<NewSongDialog>([](NewSongDialog* d) {
        QCOMPARE(d->windowTitle(), QString("New Song"));
        QTest::keyClicks(d->titleBox(), "  Moonlight Drive  ");
        QTest::keyClicks(d->wordsBox(), "jim");
        QTest::keyClick(d->titleBox(), Qt::Key_Return);
    });
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.state.currentSong, QString("Moonlight Drive"));
    QCOMPARE(w.windowTitle(), QString("Quillon 05 [Moonlight Drive]"));
    QCOMPARE(f.state.currentDeviceIndex, 1);
    for (int i = 1; i <= 24; ++i)
        QCOMPARE(f.box(i)->text(), "Moonlight Drive Dev  1  Track" + numberText(i));
    QCOMPARE(w.status().text("rcPanel"), QString("Songs: 2"));
    QVERIFY(!f.find<QWidget>("picHideAll")->isVisible());
    QCOMPARE(f.settings.recentSong(), QString("Moonlight Drive"));
    QCOMPARE(f.find<QLabel>("lblWords")->text(), QString("jim"));
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(rowsFor(f.data.trackDb(n), QString("rd%1").arg(n), "Moonlight Drive"), 1);
}

void TstSongCommands::cancelNewSongKeepsCover()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    whenModal<NewSongDialog>([](NewSongDialog* d) { d->reject(); });
    f.find<QPushButton>("cmdCreateSong")->click();
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QCOMPARE(f.songs.count(), 1);
    // With a song loaded, cancel reloads that song.
    f.createAndLoad("Stay Loaded");
    whenModal<NewSongDialog>([](NewSongDialog* d) { d->reject(); });
    w.menus().action("new")->trigger();
    QCOMPARE(f.state.currentSong, QString("Stay Loaded"));
    QVERIFY(!f.find<QWidget>("picHideAll")->isVisible());
}

void TstSongCommands::openStartsOnSlotOne()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("First Song");
    f.songs.create(NewSong{"Second Song", {}, {}, {}});
    w.selectorClicked(15);
    w.bankClicked(2);
    whenModal<LoadSongDialog>([](LoadSongDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Choose Songtitle"));
        QCOMPARE(d->list()->model()->rowCount(), 3);
        QCOMPARE(d->list()->currentIndex().row(), 0);
        d->list()->setCurrentIndex(d->list()->model()->index(2, 0));
        d->findChild<QPushButton*>("cmdOpen")->click();
    });
    w.menus().action("open")->trigger();
    QCOMPARE(f.state.currentSong, QString("Second Song"));
    QCOMPARE(f.state.currentDeviceIndex, 1);
    QCOMPARE(f.state.currentTrackBank, 1);
    QCOMPARE(f.box(1)->text(), generatedTrackText("Second Song", 1, 1));
    // Cancel leaves the song as it was.
    whenModal<LoadSongDialog>([](LoadSongDialog* d) {
        d->list()->setCurrentIndex(d->list()->model()->index(0, 0));
        d->findChild<QPushButton*>("cmdCancel")->click();
    });
    f.find<QPushButton>("cmdOpenSong")->click();
    QCOMPARE(f.state.currentSong, QString("Second Song"));
}

void TstSongCommands::closeThenOpenSameSong()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Round Trip");
    w.selectorClicked(14);
    w.menus().action("close")->trigger();
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    QCOMPARE(w.windowTitle(), QString("Quillon 05 [No Song loaded]"));
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QVERIFY(!w.menus().action("close")->isEnabled());
    whenModal<LoadSongDialog>([](LoadSongDialog* d) {
        d->list()->setCurrentIndex(d->list()->model()->index(1, 0));
        emit d->list()->doubleClicked(d->list()->currentIndex());
    });
    w.menus().action("open")->trigger();
    QCOMPARE(f.state.currentSong, QString("Round Trip"));
    QCOMPARE(f.state.currentDeviceIndex, 1);
    QCOMPARE(f.box(24)->text(), generatedTrackText("Round Trip", 1, 24));
}

void TstSongCommands::deleteAsksWithCapitalsAndNoPreselected()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString title = "a very long song title that goes on and on";
    f.createAndLoad(title);
    f.prompter.answer(QMessageBox::No);
    w.menus().action("delete_song")->trigger();
    QCOMPARE(f.prompter.asked().size(), 1);
    const auto& asked = f.prompter.asked().first();
    QCOMPARE(
        asked.text,
        QString("Do you really want to erase this song ?\r\r'A VERY LONG SONG TITLE THAT GO'"));
    QCOMPARE(asked.defaultButton, QMessageBox::No);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(asked.icon, Prompter::Icon::Question);
    QCOMPARE(f.state.currentSong, title);
    QCOMPARE(f.songs.count(), 2);
}

void TstSongCommands::deleteRemovesEverythingAndShowsCover()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Doomed");
    QCOMPARE(f.songs.count(), 2);
    f.prompter.answer(QMessageBox::Yes);
    w.menus().action("delete_song")->trigger();
    QCOMPARE(f.songs.count(), 1);
    QCOMPARE(w.status().text("rcPanel"), QString("Songs: 1"));
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    QCOMPARE(w.windowTitle(), QString("Quillon 05 [No Song loaded]"));
    QWidget* cover = f.find<QWidget>("picHideAll");
    QVERIFY(cover->isVisible());
    QCOMPARE(w.centralWidget()->children().last(), cover);
    QCOMPARE(rowsFor(f.data.songDb(), "xtrax", "Doomed"), 0);
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(rowsFor(f.data.trackDb(n), QString("rd%1").arg(n), "Doomed"), 0);
}

void TstSongCommands::trainingSongCannotBeDeleted()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.state.currentSong = kTrainingSong;
    w.loadSong();
    w.menus().action("delete_song")->trigger();
    QCOMPARE(f.prompter.askedTexts(), QStringList{"You can't erase your 'Training Song' !"});
    QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
    QCOMPARE(f.songs.count(), 1);
    QCOMPARE(f.state.currentSong, kTrainingSong);
}

void TstSongCommands::apostropheTitleThroughWholePath()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString title = "Don't Stop 'Til; -- \"Enough\"";
    // The dialog's character set has no apostrophe, so the title is set directly.
    whenModal<NewSongDialog>([title](NewSongDialog* d) {
        d->titleBox()->setValidator(nullptr);
        d->titleBox()->setText(title);
        d->confirm();
    });
    w.menus().action("new")->trigger();
    QCOMPARE(f.state.currentSong, title);
    QCOMPARE(w.windowTitle(), "Quillon 05 [" + title + "]");
    QCOMPARE(f.box(2)->text(), generatedTrackText(title, 1, 2));
    f.box(2)->setText("Rhodes");
    QVERIFY(w.grid().writeBank());
    w.songCommands().closeSong();
    f.state.currentSong = title;
    w.loadSong();
    QCOMPARE(f.box(2)->text(), QString("Rhodes"));
    f.prompter.answer(QMessageBox::Yes);
    w.songCommands().deleteSong();
    QVERIFY(!f.songs.song(title));
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(rowsFor(f.data.trackDb(n), QString("rd%1").arg(n), title), 0);
}

void TstSongCommands::loadFollowsStoreComparison()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Exact Case");
    f.state.currentSong = "EXACT CASE";
    w.loadSong();
    // Titles are compared exactly when loading: no song, no message, and the
    // title bar keeps the title that was looked up.
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    QCOMPARE(w.windowTitle(), QString("Quillon 05 [EXACT CASE]"));
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QVERIFY(!w.menus().action("save")->isEnabled());
    QVERIFY(f.prompter.asked().isEmpty());
    QVERIFY(f.box(1)->text().isEmpty());
}

void TstSongCommands::readSongDetailsSubstitutes()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Detail Song");
    f.songs.updateFields("Detail Song", {{"artist", "The Band"}, {"Lengthft", QVariant()}});
    SongDetails seen;
    w.commands().setShowHook([&](const QString&) { seen = f.state.currentSongDetails; });
    w.menus().action("preview_ts")->trigger();
    QCOMPARE(seen.artist, QString("The Band")); // read afresh, not from the loaded row
    QCOMPARE(seen.length, QString("00:00:00"));
    QCOMPARE(seen.lengthFeet, QString("0"));
    QCOMPARE(seen.lengthTime, QString("00:00:00"));
    QCOMPARE(seen.composer, QString("Composer"));
    QCOMPARE(seen.deviceName, w.deviceLabelText(1));
    // No song: nothing is read.
    w.songCommands().closeSong();
    f.state.currentSongDetails = SongDetails();
    w.readSongDetails();
    QVERIFY(f.state.currentSongDetails.composer.isEmpty());
}

void TstSongCommands::sessionDetailsAreWrittenBack()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Session Song");
    w.commands().setShowHook([&](const QString& window) {
        QCOMPARE(window, QString("sessiondetails"));
        f.state.currentSongDetails.producer1 = "George";
        f.state.currentSongDetails.technician3 = "Geoff";
    });
    w.menus().action("sessiondetails")->trigger();
    const auto row = f.songs.song("Session Song");
    QVERIFY(row);
    QCOMPARE(row->text("Producer1"), QString("George"));
    QCOMPARE(row->text("Technician3"), QString("Geoff"));
}

void TstSongCommands::sessionDetailsChangedElsewhereAreShownAgain()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Session Song");
    SongStore there(f.data); // another room
    QVERIFY(there.open());
    QStringList shown;
    w.commands().setShowHook([&](const QString&) {
        SongDetails& d = f.state.currentSongDetails;
        shown << d.producer1 + "|" + d.producer2;
        if (shown.size() == 1) {
            QVERIFY(there.updateFields("Session Song", {{"Producer2", "Theirs"}}));
            d.producer1 = "George";
        }
    });
    w.menus().action("sessiondetails")->trigger();
    QCOMPARE(shown, QStringList({"|", "George|Theirs"}));
    QVERIFY(f.prompter.askedTexts().value(0).contains("was changed in another room"));
    QCOMPARE(f.songs.song("Session Song")->text("Producer1"), QString("George"));
    QCOMPARE(f.songs.song("Session Song")->text("Producer2"), QString("Theirs"));
}

void TstSongCommands::helpProgramMissing()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    QVERIFY(!QFile::exists(f.data.helpProgram()));
    w.menus().action("help")->trigger();
    QCOMPARE(f.prompter.askedTexts(),
             QStringList{" 53 -File not found\r\rError loading the Help File! File maybe deleted "
                         "or corrupted."});
    QVERIFY(w.isVisible());
    // A file that is there but cannot be run gives the short text.
    QFile file(f.data.helpProgram());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a program");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.prompter.clear();
    w.menus().action("help")->trigger();
    QCOMPARE(f.prompter.askedTexts(), QStringList{" 75 -Path/File access error"});
}

void TstSongCommands::helpProgramPresent()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString marker = f.temp.path() + "/help-started";
    QFile script(f.data.helpProgram());
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    w.menus().action("help")->trigger();
    QVERIFY(f.prompter.asked().isEmpty());
    QTRY_VERIFY(QFile::exists(marker));
}

void TstSongCommands::helpProgramIsBuilt()
{
    QVERIFY(QFile::exists(QString(QUILLON_BIN_DIR) + "/Help-Quillon05"));
}

QTEST_MAIN(TstSongCommands)
#include "tst_songcommands.moc"
