// The track grid, the bank buttons, the track list and the device panel.

#include "mainwindowfixture.h"
#include "otherroom.h"

#include "app/devicepanel.h"
#include "app/sidebar.h"
#include "app/statuspanels.h"
#include "app/trackgrid.h"
#include "app/windowcommands.h"
#include "devices/devicecell.h"
#include "devices/deviceregister.h"
#include "devices/floatingbar.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "store/songconstants.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using namespace quillon;

namespace {
// Reads one track afresh, past the program's own connection.
QString storedTrack(const DataFolder& data, int slot, const QString& title, int track)
{
    SongStore store(data);
    if (!store.open())
        return "<not open>";
    bool found = false;
    const QStringList row = store.trackRow(title, slot, &found);
    return found ? row.at(track - 1) : "<no row>";
}

// Answers the modal windows of a device rename as the user would: in the
// print dialog it prints the device list, in the device form it types name
// and presses OK.
void answerRename(const QString& name, int* formsSeen)
{
    QTimer::singleShot(0, [name, formsSeen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal->objectName() == "frmPrinter") {
            modal->findChild<QAbstractButton*>("repname_3")->click();
            answerRename(name, formsSeen);
            modal->findChild<QPushButton*>("cmdPrint")->click();
            return;
        }
        if (modal->objectName() != "frmRecDev")
            return;
        ++*formsSeen;
        auto* box = modal->findChild<QLineEdit*>("txtFields0");
        box->selectAll();
        QTest::keyClicks(box, name);
        modal->findChild<QPushButton*>("cmdClose")->click();
    });
}

void activate(QWidget& w)
{
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}
} // namespace

class TstTrackEntry : public QObject {
    Q_OBJECT
private slots:
    void gridShowsBankOneOfSlotOne();
    void tabStoresWholeBankInColumn29();
    void bankFourLabels();
    void noWriteWhileFilling();
    void litSelectorDoesNothing();
    void unlitSelectorSwitchesSlot();
    void selectorKeepsTypedTextOfPreviousSlot();
    void missingTrackRowIsRecreated();
    void failedWriteIsReported();
    void trackListFormats();
    void longDeviceNamesAreCut();
    void deviceLabelDoubleClickRefreshesName();
    void renameShowsEverywhere_data();
    void renameShowsEverywhere();
    void bankButtonWithoutSong();
    void dragCursorsAndDrop();
    void titleBoxPassesFocusToFirstTrack();
    void anotherRoomsChangeRefusesTheWrite_data();
    void anotherRoomsChangeRefusesTheWrite();
    void otherRoomsChangesShow_data();
    void otherRoomsChangesShow();
};

void TstTrackEntry::gridShowsBankOneOfSlotOne()
{
    test::MainWindowFixture f;
    f.start();
    f.createAndLoad("Grid Song");
    for (int i = 1; i <= 24; ++i) {
        QCOMPARE(f.box(i)->text(), generatedTrackText("Grid Song", 1, i));
        QCOMPARE(f.find<QLabel>(QString("Notr_%1").arg(i))->text(), QString::number(i));
    }
    QCOMPARE(f.box(1)->text(), QString("Grid Song Dev  1  Track 1"));
    QVERIFY(!f.find<QPushButton>("cmdTS1_1")->isEnabled());
    QVERIFY(f.find<QPushButton>("cmdTS1_2")->isEnabled());
    QCOMPARE(f.find<QPushButton>("cmdTS1_4")->toolTip(), QString("Show Tracks 73 to 96"));
}

void TstTrackEntry::tabStoresWholeBankInColumn29()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Tab Song");
    activate(w);
    f.find<QPushButton>("cmdTS1_2")->click();
    QCOMPARE(f.find<QLabel>("Notr_5")->text(), QString("29"));
    QCOMPARE(f.box(5)->text(), generatedTrackText("Tab Song", 1, 29));
    f.box(5)->setFocus();
    QVERIFY(f.box(5)->hasFocus());
    f.box(5)->clear();
    QTest::keyClicks(f.box(5), "Lead Vocal");
    f.box(7)->setText("Tambourine"); // the whole bank is written, not only the box left
    QTest::keyClick(f.box(5), Qt::Key_Tab);
    QVERIFY(f.box(6)->hasFocus());
    QCOMPARE(storedTrack(f.data, 1, "Tab Song", 29), QString("Lead Vocal"));
    QCOMPARE(storedTrack(f.data, 1, "Tab Song", 31), QString("Tambourine"));
    QCOMPARE(storedTrack(f.data, 1, "Tab Song", 5), generatedTrackText("Tab Song", 1, 5));
    QCOMPARE(storedTrack(f.data, 2, "Tab Song", 29), generatedTrackText("Tab Song", 2, 29));
    // The cursor of the entered box goes to the start of its text.
    QTRY_COMPARE(f.box(6)->cursorPosition(), 0);
    QVERIFY(!f.box(6)->hasSelectedText());
}

void TstTrackEntry::bankFourLabels()
{
    test::MainWindowFixture f;
    f.start();
    f.createAndLoad("Bank Song");
    f.find<QPushButton>("cmdTS1_4")->click();
    QCOMPARE(f.state.currentTrackBank, 4);
    for (int i = 1; i <= 24; ++i) {
        QCOMPARE(f.find<QLabel>(QString("Notr_%1").arg(i))->text(), QString::number(72 + i));
        QCOMPARE(f.box(i)->text(), QString()); // tracks 49..96 start empty
    }
    QVERIFY(!f.find<QPushButton>("cmdTS1_4")->isEnabled());
    QVERIFY(f.find<QPushButton>("cmdTS1_1")->isEnabled());
}

void TstTrackEntry::noWriteWhileFilling()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Fill Song");
    f.box(3)->setText("Not to be stored");
    f.state.trackFillInProgress = true;
    QVERIFY(!w.grid().writeBank());
    f.state.trackFillInProgress = false;
    QCOMPARE(storedTrack(f.data, 1, "Fill Song", 3), generatedTrackText("Fill Song", 1, 3));
    // Nor with no song loaded.
    w.songCommands(); // keep the window's commands alive
    f.state.currentSong = kNoSongLoaded;
    QVERIFY(!w.grid().writeBank());
}

void TstTrackEntry::litSelectorDoesNothing()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Lit Song");
    f.box(2)->setText("typed but not left");
    QTest::mouseClick(f.find<QLabel>("Picture1_1"), Qt::LeftButton);
    QCOMPARE(f.state.currentDeviceIndex, 1);
    QCOMPARE(f.box(2)->text(), QString("typed but not left")); // no reload
    QCOMPARE(w.devicePanel().litSlot(), 1);
}

void TstTrackEntry::unlitSelectorSwitchesSlot()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Slot Song");
    QLabel* unlit3 = f.find<QLabel>("Picture1_13");
    QVERIFY(unlit3->isVisible());
    QTest::mouseClick(unlit3, Qt::LeftButton);
    QCOMPARE(f.state.currentDeviceIndex, 3);
    QCOMPARE(w.devicePanel().litSlot(), 3);
    QVERIFY(f.find<QLabel>("Picture1_3")->isVisible());
    QVERIFY(!unlit3->isVisible());
    QVERIFY(!f.find<QLabel>("Picture1_1")->isVisible());
    QVERIFY(f.find<QLabel>("Picture1_11")->isVisible());
    QCOMPARE(f.box(1)->text(), generatedTrackText("Slot Song", 3, 1));
    QCOMPARE(f.state.currentSongDetails.deviceName, w.deviceLabelText(3));
}

void TstTrackEntry::selectorKeepsTypedTextOfPreviousSlot()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Keep Song");
    activate(w);
    f.box(4)->setFocus();
    f.box(4)->setText("Kick");
    // Selectors take no focus: the typed text is written before the slot changes.
    QTest::mouseClick(f.find<QLabel>("Picture1_12"), Qt::LeftButton);
    QCOMPARE(storedTrack(f.data, 1, "Keep Song", 4), QString("Kick"));
    QCOMPARE(storedTrack(f.data, 2, "Keep Song", 4), generatedTrackText("Keep Song", 2, 4));
}

void TstTrackEntry::missingTrackRowIsRecreated()
{
    if (test::TempDataFolder::serverEngine())
        QSKIP("the track files are the data folder's");
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Broken Song");
    {
        Database db;
        QVERIFY(db.open(f.data.trackDb(1)));
        QVERIFY(db.exec("DELETE FROM rd1 WHERE songtitle = ?", {"Broken Song"}));
    }
    f.box(1)->setText("Bass");
    QVERIFY(w.grid().writeBank());
    QCOMPARE(storedTrack(f.data, 1, "Broken Song", 1), QString("Bass"));
    QVERIFY(f.prompter.asked().isEmpty());
}

void TstTrackEntry::failedWriteIsReported()
{
    if (test::TempDataFolder::serverEngine())
        QSKIP("the track files are the data folder's");
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Doomed Song");
    {
        Database db;
        QVERIFY(db.open(f.data.trackDb(1)));
        QVERIFY(db.exec("DROP TABLE rd1"));
    }
    f.box(1)->setText("Guitar");
    QVERIFY(!w.grid().writeBank());
    QTRY_COMPARE(f.prompter.asked().size(), 1);
    QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
    QVERIFY(f.prompter.asked().first().text.startsWith("The tracks could not be stored:"));
    QVERIFY(f.prompter.asked().first().text.contains("no such table"));
    QCOMPARE(f.box(1)->text(), QString("Guitar")); // the text stays
}

void TstTrackEntry::trackListFormats()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("List Song");
    QListWidget* list = f.find<QListWidget>("List1");
    QVERIFY(list->isHidden());
    f.find<QPushButton>("cmdTrackList")->click();
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 96);
    QCOMPARE(list->item(0)->text(), " 1-" + generatedTrackText("List Song", 1, 1));
    QCOMPARE(list->item(95)->text(), QString(" 96-"));
    // A selector switch refills it in the long format.
    QTest::mouseClick(f.find<QLabel>("Picture1_12"), Qt::LeftButton);
    QCOMPARE(list->item(0)->text(), "Track 1 - " + generatedTrackText("List Song", 2, 1));
    QCOMPARE(list->item(60)->text(), QString("Track 61 - "));
    f.find<QPushButton>("cmdTrackList")->click();
    QVERIFY(list->isHidden());
    Q_UNUSED(w);
}

void TstTrackEntry::longDeviceNamesAreCut()
{
    test::MainWindowFixture f;
    DeviceRegister reg(f.data);
    DeviceRecord first = reg.all().first();
    const QString oldName = first.name;
    first.name = "Studer A827 Multitrack Recorder";
    QVERIFY(reg.update(oldName, first));
    MainWindow& w = f.start();
    QCOMPARE(f.find<QLabel>("lblRecMaPanel_1")->text(), QString("Studer A827 Mu"));
    QCOMPARE(f.state.deviceNames.first(), QString("Studer A827 Multitrack Recorder"));
    f.createAndLoad("Device Song");
    w.readSongDetails();
    QCOMPARE(f.state.currentSongDetails.deviceName, QString("Studer A827 Mu"));
}

void TstTrackEntry::deviceLabelDoubleClickRefreshesName()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString before = f.state.deviceNames.value(1);
    QString shownWith;
    w.commands().setShowHook([&](const QString& window) {
        if (window != "frmRecDev")
            return;
        shownWith = f.state.currentDeviceName;
        f.state.currentDeviceName = "Renamed Machine Number Two";
    });
    QTest::mouseDClick(f.find<QLabel>("lblRecMaPanel_2"), Qt::LeftButton);
    QCOMPARE(shownWith, before);
    QCOMPARE(f.state.deviceNames.value(1), QString("Renamed Machine Number Two"));
    QCOMPARE(f.find<QLabel>("lblRecMaPanel_2")->text(), QString("Renamed Machin"));
}

void TstTrackEntry::renameShowsEverywhere_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("shownChars");
    QTest::newRow("device label") << "label" << 2 << 14;
    QTest::newRow("device button") << "cmdEditDev" << 1 << 14;
    QTest::newRow("options menu") << "recdev_details" << 1 << 14;
    QTest::newRow("print dialog") << "print" << 1 << 14;
    QTest::newRow("devices bar, other slot") << "bar" << 3 << 20;
    QTest::newRow("devices bar, current slot") << "bar" << 1 << 20;
}

void TstTrackEntry::renameShowsEverywhere()
{
    QFETCH(QString, way);
    QFETCH(int, slot);
    QFETCH(int, shownChars);
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Rename Song");
    // The docked panel is the one to double-click; otherwise the bar is out
    // and shows the names as well.
    if (way != "label")
        f.find<QPushButton>("cmdBar")->click();
    FloatingBar* bar = w.commands().floatingBar();
    const QStringList before = f.state.deviceNames;
    const QString name = "Fostex G24S Studio Recorder"; // 27 characters
    int forms = 0;
    answerRename(name, &forms);
    if (way == "label")
        QTest::mouseDClick(f.find<QLabel>(QString("lblRecMaPanel_%1").arg(slot)), Qt::LeftButton);
    else if (way == "cmdEditDev")
        f.find<QPushButton>("cmdEditDev")->click();
    else if (way == "bar")
        QTest::mouseDClick(bar->cell(slot)->nameLabel(), Qt::LeftButton);
    else
        w.menuClicked(way);
    QCOMPARE(forms, 1);

    QStringList expected = before;
    expected[slot - 1] = name;
    QCOMPARE(f.state.deviceNames, expected);
    const QString shown = name.left(shownChars);
    QCOMPARE(f.find<QLabel>(QString("lblRecMaPanel_%1").arg(slot))->text(), shown);
    if (bar)
        QCOMPARE(bar->deviceLabelText(slot), shown);
    // The current device (slot 1) is named in the status bar and the song details.
    const QString current = slot == 1 ? shown : before.first().left(14);
    QCOMPARE(w.status().text("adpanel"), current);
    QCOMPARE(f.state.currentSongDetails.deviceName, current);
    for (int other : {2, 5}) {
        if (other != slot)
            QCOMPARE(f.find<QLabel>(QString("lblRecMaPanel_%1").arg(other))->text(),
                     before.at(other - 1).left(14));
    }
}

void TstTrackEntry::bankButtonWithoutSong()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    w.bankClicked(2);
    QCOMPARE(f.prompter.askedTexts(), QStringList{"You first have to enter a new song !"});
    QVERIFY(!f.state.trackFillInProgress);
}

void TstTrackEntry::dragCursorsAndDrop()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Drag Song");
    QCOMPARE(f.find<QWidget>("picDevices")->cursor().shape(), Qt::OpenHandCursor);
    QCOMPARE(f.find<QWidget>("lblRecMaPanel_1")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.find<QWidget>("Picture1_11")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.find<QWidget>("Picture5")->cursor().shape(), Qt::PointingHandCursor);

    QMimeData mime;
    mime.setData(DevicePanel::mimeType(), "picDevices");
    QWidget* target = f.box(7);
    QDragEnterEvent enter(QPoint(2, 2), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(2, 2), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(f.state.floatingBarOn);
    QVERIFY(w.commands().floatingBarVisible());
    QVERIFY(f.find<QWidget>("picDevices")->isHidden());
    QCOMPARE(f.box(7)->text(), generatedTrackText("Drag Song", 1, 7)); // no text dropped in

    // The toggle puts the panel back.
    f.find<QPushButton>("cmdBar")->click();
    QVERIFY(!f.state.floatingBarOn);
    QVERIFY(!f.find<QWidget>("picDevices")->isHidden());
    // Other drags are not taken for the panel.
    QMimeData text;
    text.setText("hello");
    QDropEvent other(QPointF(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.statusBar(), &other);
    QVERIFY(!f.state.floatingBarOn);
}

void TstTrackEntry::titleBoxPassesFocusToFirstTrack()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Focus Song");
    activate(w);
    QTest::mouseClick(f.find<QLineEdit>("Songtitleinput"), Qt::LeftButton);
    QVERIFY(f.box(1)->hasFocus());
    f.find<QLineEdit>("Songtitleinput")->setFocus();
    QVERIFY(!f.find<QLineEdit>("Songtitleinput")->hasFocus());
}

void TstTrackEntry::anotherRoomsChangeRefusesTheWrite_data()
{
    QTest::addColumn<bool>("byBankButton");
    QTest::newRow("leaving the box") << false;
    QTest::newRow("bank button") << true;
}

void TstTrackEntry::anotherRoomsChangeRefusesTheWrite()
{
    QFETCH(bool, byBankButton);
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString title = "Shared Song";
    f.createAndLoad(title);
    activate(w);
    SongStore there(f.data);
    QVERIFY(there.open());
    f.box(5)->setFocus();
    QTest::keyClicks(f.box(5), "(typed) ");
    const QString typed = "(typed) " + generatedTrackText(title, 1, 5);
    QVERIFY(there.writeTracks(title, 1, 2, {"Their Bass"}));
    const auto leave = [&] {
        if (byBankButton) {
            w.bankClicked(2);
        } else {
            f.box(5)->setFocus();
            QTest::keyClick(f.box(5), Qt::Key_Tab);
        }
    };
    const auto stored = [&](int track) { return storedTrack(f.data, 1, title, track); };
    leave();
    QTRY_COMPARE(f.prompter.asked().size(), 1);
    QVERIFY(f.prompter.asked().first().text.contains("was changed in another room"));
    QCOMPARE(f.box(2)->text(), QString("Their Bass"));
    QCOMPARE(f.box(5)->text(), typed);
    QCOMPARE(stored(5), generatedTrackText(title, 1, 5));
    QCOMPARE(f.state.currentTrackBank, 1); // the typed text stays in front
    leave();
    QCOMPARE(stored(5), typed);
    QCOMPARE(stored(2), QString("Their Bass"));
    QCOMPARE(f.state.currentTrackBank, byBankButton ? 2 : 1);
    QCOMPARE(f.prompter.asked().size(), 1);
}

void TstTrackEntry::otherRoomsChangesShow_data()
{
    QTest::addColumn<QString>("change");
    for (const char* change : {"tracks", "tracks while typing", "fields", "rename", "delete"})
        QTest::newRow(change) << QString(change);
}

void TstTrackEntry::otherRoomsChangesShow()
{
    QFETCH(QString, change);
    test::MainWindowFixture f;
    CatalogueEvents events;
    f.state.events = &events;
    MainWindow& w = f.start();
    const QString title = "Shared Song";
    const QString renamed = "Their Title";
    f.createAndLoad(title);
    activate(w);
    test::OtherRoom there(events, f.data);
    QSignalSpy heard(&events, &CatalogueEvents::changed);
    f.box(5)->setFocus();
    QCoreApplication::processEvents(); // the box entered puts its cursor home
    f.box(5)->setCursorPosition(3);
    const bool typing = change == "tracks while typing";
    if (typing)
        QTest::keyClicks(f.box(5), "typed");
    bool done = false;
    if (change.startsWith("tracks"))
        done = there.does([&](SongStore& s) { return s.writeTracks(title, 1, 3, {"Their Keys"}); },
                          CatalogueEvents::kSong, title);
    else if (change == "fields")
        done = there.does(
            [&](SongStore& s) {
                return s.updateFields(title, {{"composer", "Them"}});
            },
            CatalogueEvents::kSong, title);
    else if (change == "rename")
        done = there.does([&](SongStore& s) { return s.rename(title, renamed); },
                          CatalogueEvents::kSongs, title + '\t' + renamed);
    else
        done = there.does([&](SongStore& s) { return s.remove(title); }, CatalogueEvents::kSongs,
                          title);
    QVERIFY(done);
    QTRY_COMPARE(heard.size(), 1);
    if (change == "tracks") {
        QTRY_COMPARE(f.box(3)->text(), QString("Their Keys"));
        QVERIFY(f.box(5)->hasFocus()); // neither the focus nor the cursor moved
        QCOMPARE(f.box(5)->cursorPosition(), 3);
    } else if (typing) {
        QCoreApplication::processEvents();
        QCOMPARE(f.box(3)->text(), generatedTrackText(title, 1, 3)); // not under the typing
        QTest::keyClick(f.box(5), Qt::Key_Tab);
        QCOMPARE(f.box(3)->text(), QString("Their Keys"));
        QVERIFY(f.box(5)->text().contains("typed"));
    } else if (change == "fields") {
        QTRY_COMPARE(f.find<QLabel>("lblComposer")->text(), QString("Them"));
    } else if (change == "rename") {
        QTRY_COMPARE(f.state.currentSong, renamed);
        QTRY_COMPARE(w.windowTitle(), "Quillon 05 [" + renamed + "]");
        QTest::keyClicks(f.box(5), "typed");
        QTest::keyClick(f.box(5), Qt::Key_Tab);
        QVERIFY(f.songs.trackRow(renamed, 1).at(4).contains("typed"));
    } else {
        QTRY_VERIFY(!f.state.songLoaded());
        QVERIFY(f.prompter.askedTexts().last().contains("was deleted in another room"));
        QCOMPARE(w.status().text("rcPanel"), "Songs:" + numberText(f.songs.count()));
    }
}

QTEST_MAIN(TstTrackEntry)
#include "tst_trackentry.moc"
