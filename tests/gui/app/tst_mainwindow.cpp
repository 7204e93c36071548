// Start-up, the two states, geometry, exit and the tray.

#include "mainwindowfixture.h"

#include "app/menubuilder.h"
#include "app/songcommands.h"
#include "app/startuproutine.h"
#include "app/statuspanels.h"
#include "app/traycontroller.h"
#include "app/welcomepanel.h"
#include "app/windowcommands.h"
#include "devices/floatingbar.h"
#include "store/songconstants.h"

#include "documents/documenteditor.h"
#include "documents/generalinfowindow.h"
#include "documents/lyricswindow.h"
#include "notebook/notebookstore.h"
#include <QTextEdit>
#include <QTimer>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace quillon;

namespace {
const QStringList kSongItems{"save",        "preview_ts",     "close",  "delete_song",
                             "songdetails", "sessiondetails", "lyrics", "display_songdetails"};
const QStringList kAlwaysItems{"new",           "open",     "general_info",   "print",
                               "setup_printer", "exit",     "edit_songstyle", "recdev_details",
                               "tape_details",  "settings", "help",           "about"};

QWidget* topLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}
} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithWelcomeBoxAndSongCount();
    void firstStartUsesDefaultGeometry();
    void minimisedGeometryIsCorrected();
    void offScreenOrDamagedGeometryComesBackVisible();
    void exitNoKeepsRunning();
    void exitYesClosesAndStoresGeometryAndRecentSong();
    void exitWithoutSongStoresSentinel();
    void exitWithUnsavedLyricsAsksBeforeClosingAnything_data();
    void exitWithUnsavedLyricsAsksBeforeClosingAnything();
    void trayExitWithUnsavedNotesAsksBeforeClosingAnything();
    void reopensRecentSongAtStart();
    void deletedRecentSongStartsWithoutSong();
    void activationBringsCoverBack();
    void hideButtonHidesOnlyWelcomeBox();
    void songLoadedStateEnablesItems();
    void deviceBarAtStartOnlyWithSong();
    void sidebarSettingAtStart();
    void splashClosedAtFirstActivation();
    void splashShowsBeforeTheMainWindowLoads();
    void openLastSongFromTheWelcomeBox();
    void trayFallsBackToMinimise();
    void trayShowAndExit();
    void trayExitAnsweredNoKeepsRunning();
    void trayDoubleClickRestores();
    void showQuillonDoesWhatTheTrayDoubleClickDoes_data();
    void showQuillonDoesWhatTheTrayDoubleClickDoes();
};

void TstMainWindow::startsWithWelcomeBoxAndSongCount()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    QCOMPARE(w.windowTitle(), QString("QuillonSE"));
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QVERIFY(f.find<QWidget>("Picture2")->isVisible());
    for (const char* name : {"cmdCreateSong", "cmdOpenSong", "roCommand1", "cmdCancel"})
        QVERIFY2(f.find<QPushButton>(name)->isVisible(), name);
    QCOMPARE(f.find<QLabel>("cmdCreateSongCaption")->text(), QString("Create a New Song"));
    QCOMPARE(f.find<QLabel>("cmdCancelCaption")->text(), QString("Hide"));
    QCOMPARE(w.status().text("rcPanel"), QString("Songs: 1"));
    QCOMPARE(f.state.songCount, 1);
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    for (const QString& key : StatusPanels::keys())
        QVERIFY2(f.find<QLabel>(key), qPrintable(key));
    QVERIFY(!f.find<QLabel>("datepanel")->text().isEmpty());
    for (const QString& key : kSongItems)
        QVERIFY2(!w.menus().action(key)->isEnabled(), qPrintable(key));
    for (const QString& key : kAlwaysItems)
        QVERIFY2(w.menus().action(key)->isEnabled(), qPrintable(key));
    // The welcome box lies centred on the cover panel.
    const QWidget* box = f.find<QWidget>("Picture2");
    const QWidget* cover = f.find<QWidget>("picHideAll");
    QVERIFY(qAbs(box->geometry().center().x() - cover->width() / 2) < 20);
}

void TstMainWindow::firstStartUsesDefaultGeometry()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const TwipsScale s = f.scale();
    QCOMPARE(w.frameGeometry().topLeft(), QPoint(s.toPixels(10), s.toPixels(10)));
    // 7680 twips lies below the minimum height, so the first layout snaps it.
    QCOMPARE(w.frameGeometry().size(), QSize(s.toPixels(11100), s.toPixels(7701)));
}

void TstMainWindow::minimisedGeometryIsCorrected()
{
    test::MainWindowFixture f;
    f.settings.setText("MainLeft", "-32000");
    f.settings.setText("MainTop", "5");
    f.settings.setText("MainWidth", "12000");
    f.settings.setText("MainHeight", "9000");
    MainWindow& w = f.start();
    const TwipsScale s = f.scale();
    QCOMPARE(w.frameGeometry().topLeft(), QPoint(s.toPixels(10), s.toPixels(10)));
    QCOMPARE(w.frameGeometry().width(), s.toPixels(12000));
    f.prompter.answer(QMessageBox::Yes);
    QVERIFY(w.close());
    QVERIFY(f.settings.number("MainLeft", -1) >= 0);
    QVERIFY(f.settings.number("MainTop", -1) >= 10);
}

void TstMainWindow::offScreenOrDamagedGeometryComesBackVisible()
{
    test::MainWindowFixture f;
    // Saved on a second screen that is gone now, with a size of nothing.
    f.settings.setText("MainLeft", "900000");
    f.settings.setText("MainTop", "700000");
    f.settings.setText("MainWidth", "-5");
    f.settings.setText("MainHeight", "garbage");
    MainWindow& w = f.start();
    const TwipsScale s = f.scale();
    QCOMPARE(w.frameGeometry().topLeft(), QPoint(s.toPixels(10), s.toPixels(10)));
    // The default size, snapped to the minimum height as at a first start.
    QCOMPARE(w.frameGeometry().size(), QSize(s.toPixels(11100), s.toPixels(7701)));
}

void TstMainWindow::exitNoKeepsRunning()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Keep Me");
    f.prompter.answer(QMessageBox::No);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.state.currentSong, QString("Keep Me"));
    QCOMPARE(f.prompter.asked().size(), 1);
    const auto& asked = f.prompter.asked().first();
    QCOMPARE(asked.text, QString("Do you really want to exit QUILLON ?"));
    QCOMPARE(asked.title, QString("Quillon 05 [Keep Me]"));
    QCOMPARE(asked.icon, Prompter::Icon::Question);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(!f.settings.contains("MainLeft"));
    // The exit button and the menu command ask the same question.
    f.prompter.answer(QMessageBox::No);
    f.find<QPushButton>("cmdExit")->click();
    f.prompter.answer(QMessageBox::No);
    w.menus().action("exit")->trigger();
    QCOMPARE(f.prompter.asked().size(), 3);
    QVERIFY(w.isVisible());
}

void TstMainWindow::exitYesClosesAndStoresGeometryAndRecentSong()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Last One");
    w.move(f.scale().toPixels(1500), f.scale().toPixels(900));
    f.settings.setRecentSong("something else");
    f.prompter.answer(QMessageBox::Yes);
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(f.settings.recentSong(), QString("Last One"));
    QVERIFY(qAbs(f.settings.number("MainLeft", 0) - 1500) < 16);
    QVERIFY(qAbs(f.settings.number("MainTop", 0) - 900) < 16);
    QVERIFY(qAbs(f.settings.number("MainWidth", 0) - 11100) < 16);
    QVERIFY(qAbs(f.settings.number("MainHeight", 0) - 7680) < 16);
}

void TstMainWindow::exitWithoutSongStoresSentinel()
{
    test::MainWindowFixture f;
    f.settings.setOpenRecentSong(true);
    f.settings.setRecentSong(kTrainingSong);
    MainWindow& w = f.start();
    QCOMPARE(f.state.currentSong, kTrainingSong);
    w.songCommands().closeSong();
    f.prompter.answer(QMessageBox::Yes);
    QVERIFY(w.close());
    QCOMPARE(f.settings.recentSong(), kNoSongLoaded);
}

void TstMainWindow::exitWithUnsavedLyricsAsksBeforeClosingAnything_data()
{
    QTest::addColumn<QString>("route");
    for (const char* route : {"close box", "cmdExit", "File > Exit", "tray Exit"})
        QTest::newRow(route) << QString(route);
}

void TstMainWindow::exitWithUnsavedLyricsAsksBeforeClosingAnything()
{
    QFETCH(QString, route);
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Words");
    w.menus().action("lyrics")->trigger();
    QPointer<LyricsWindow> lyrics = f.topLevel<LyricsWindow>();
    QVERIFY(lyrics && lyrics->isVisible());
    QTest::keyClicks(lyrics->editor()->textEdit(), "unsaved verse");
    w.toggleDevicesBar();
    QVERIFY(w.commands().floatingBar()->isVisible());
    const auto exit = [&] {
        if (route == "close box")
            w.close();
        else if (route == "cmdExit")
            f.find<QPushButton>("cmdExit")->click();
        else if (route == "File > Exit")
            w.menus().action("exit")->trigger();
        else
            w.tray().menuCommand("exit");
    };
    const QString exitQuestion = "Do you really want to exit QUILLON ?";
    const QString lyricsQuestion = "Lyrics changed!\rDo you want to exit anyway?";

    f.prompter.answer(QMessageBox::Yes);
    f.prompter.answer(QMessageBox::No);
    exit();
    QCOMPARE(f.prompter.askedTexts(), (QStringList{exitQuestion, lyricsQuestion}));
    // Nothing has been closed, stored or dropped.
    QVERIFY(w.isVisible());
    QVERIFY(lyrics && lyrics->isVisible());
    QCOMPARE(lyrics->document().text(), QString("unsaved verse"));
    QVERIFY(lyrics->isChanged());
    QVERIFY(f.state.lyricsWindowOpen);
    QVERIFY(w.commands().floatingBar() && w.commands().floatingBar()->isVisible());
    QCOMPARE(f.state.currentSong, QString("Words"));
    QVERIFY(!f.settings.contains("MainLeft"));

    // Yes to both: the program ends and the draft is dropped, not stored.
    f.prompter.answer(QMessageBox::Yes);
    f.prompter.answer(QMessageBox::Yes);
    exit();
    QCOMPARE(f.prompter.askedTexts(),
             (QStringList{exitQuestion, lyricsQuestion, exitQuestion, lyricsQuestion}));
    QVERIFY(!w.isVisible());
    QTRY_VERIFY(!lyrics);
    QVERIFY(!f.state.lyricsWindowOpen);
    QVERIFY(f.settings.contains("MainLeft"));
    QVERIFY(f.songs.song("Words")->isNull("lyrics"));
}

void TstMainWindow::trayExitWithUnsavedNotesAsksBeforeClosingAnything()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QString exitQuestion = "Do you really want to exit QUILLON ?";
    const QString noteQuestion = "Note changed!\rDo you want to exit anyway?";
    bool keptAfterNo = false;
    // The notebook is modal: only the tray's exit reaches the program then.
    QTimer::singleShot(0, [&] {
        auto* notes = qobject_cast<GeneralInfoWindow*>(QApplication::activeModalWidget());
        if (!notes)
            return;
        QTest::keyClicks(notes->editor()->textEdit(), "note draft");
        f.prompter.answer(QMessageBox::Yes);
        f.prompter.answer(QMessageBox::No);
        w.tray().menuCommand("exit");
        keptAfterNo = notes->isVisible() && w.isVisible() &&
                      notes->document().text() == "note draft" &&
                      f.prompter.askedTexts() == QStringList{exitQuestion, noteQuestion};
        f.prompter.answer(QMessageBox::Yes);
        f.prompter.answer(QMessageBox::Yes);
        w.tray().menuCommand("exit");
        if (notes->isVisible())
            notes->closeDiscarding();
    });
    w.menus().action("general_info")->trigger();
    QVERIFY(keptAfterNo);
    QCOMPARE(f.prompter.askedTexts(),
             (QStringList{exitQuestion, noteQuestion, exitQuestion, noteQuestion}));
    QVERIFY(!w.isVisible());
    QVERIFY(NotebookStore(f.data.note1Db()).read()->isNull);
}

void TstMainWindow::reopensRecentSongAtStart()
{
    test::MainWindowFixture f;
    f.settings.setOpenRecentSong(true);
    f.settings.setRecentSong(kTrainingSong);
    MainWindow& w = f.start();
    QCOMPARE(w.windowTitle(), "Quillon 05 [" + kTrainingSong + "]");
    QVERIFY(!f.find<QWidget>("picHideAll")->isVisible());
    QCOMPARE(f.find<QLineEdit>("Songtitleinput")->text(), kTrainingSong);
    QCOMPARE(f.state.currentDeviceIndex, 1);
    QCOMPARE(f.state.currentTrackBank, 1);
    for (const QString& key : kSongItems)
        QVERIFY2(w.menus().action(key)->isEnabled(), qPrintable(key));
}

void TstMainWindow::deletedRecentSongStartsWithoutSong()
{
    test::MainWindowFixture f;
    f.settings.setOpenRecentSong(true);
    f.settings.setRecentSong("Gone Song");
    MainWindow& w = f.start();
    QCOMPARE(f.state.currentSong, kNoSongLoaded);
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QVERIFY(!w.menus().action("save")->isEnabled());
    // Without OpenRecentSong the stored title is not even looked at.
    test::MainWindowFixture g;
    g.settings.setRecentSong(kTrainingSong);
    g.start();
    QCOMPARE(g.state.currentSong, kNoSongLoaded);
}

void TstMainWindow::activationBringsCoverBack()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    QWidget* cover = f.find<QWidget>("picHideAll");
    cover->hide();
    w.formActivate();
    QVERIFY(cover->isVisible());
    QCOMPARE(w.centralWidget()->children().last(), cover); // on top
}

void TstMainWindow::hideButtonHidesOnlyWelcomeBox()
{
    test::MainWindowFixture f;
    f.start();
    f.find<QPushButton>("cmdCancel")->click();
    QVERIFY(!f.find<QWidget>("Picture2")->isVisible());
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
}

void TstMainWindow::songLoadedStateEnablesItems()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Enabled");
    for (const QString& key : kSongItems)
        QVERIFY2(w.menus().action(key)->isEnabled(), qPrintable(key));
    w.setNoSongLoaded();
    for (const QString& key : kSongItems)
        QVERIFY2(!w.menus().action(key)->isEnabled(), qPrintable(key));
    for (const QString& key : kAlwaysItems)
        QVERIFY2(w.menus().action(key)->isEnabled(), qPrintable(key));
}

void TstMainWindow::deviceBarAtStartOnlyWithSong()
{
    {
        test::MainWindowFixture f;
        f.settings.setShowDeviceBar(true);
        MainWindow& w = f.start();
        QVERIFY(!w.commands().floatingBarVisible());
        QVERIFY(!f.state.floatingBarOn);
    }
    test::MainWindowFixture f;
    f.settings.setShowDeviceBar(true);
    f.settings.setOpenRecentSong(true);
    f.settings.setRecentSong(kTrainingSong);
    QStringList opened;
    MainWindow& w = f.start();
    QVERIFY(w.commands().floatingBarVisible());
    QVERIFY(f.state.floatingBarOn);
    QVERIFY(f.find<QWidget>("picDevices")->isHidden());
}

void TstMainWindow::sidebarSettingAtStart()
{
    {
        test::MainWindowFixture f;
        f.start();
        QVERIFY(!f.find<QWidget>("picTB1")->isHidden());
        QCOMPARE(f.find<QWidget>("cmdTB1")->toolTip(), QString("Hide Sidebar"));
    }
    test::MainWindowFixture f;
    f.settings.setShowSidebar(false);
    MainWindow& w = f.start();
    QVERIFY(f.find<QWidget>("picTB1")->isHidden());
    QCOMPARE(f.find<QWidget>("cmdTB1")->toolTip(), QString("Show Sidebar"));
    f.find<QPushButton>("cmdTB1")->click();
    QVERIFY(!f.find<QWidget>("picTB1")->isHidden());
    QCOMPARE(f.find<QWidget>("cmdHide")->toolTip(), QString("Hide Siedebar"));
    f.find<QPushButton>("cmdHide")->click();
    QVERIFY(f.find<QWidget>("picTB1")->isHidden());
    Q_UNUSED(w);
}

void TstMainWindow::splashClosedAtFirstActivation()
{
    test::MainWindowFixture f;
    auto window = std::make_unique<MainWindow>(f.state);
    QPointer<QWidget> made;
    window->setSplashFactory([&made] {
        made = new QWidget;
        made->setObjectName("frmInfo");
        return made.data();
    });
    window->showSplash();
    QVERIFY(made && made->isVisible());
    window->show();
    QVERIFY(QTest::qWaitFor([&f] { return !f.state.firstActivation; }));
    QVERIFY(!made);
}

void TstMainWindow::splashShowsBeforeTheMainWindowLoads()
{
    test::MainWindowFixture f;
    QPointer<QWidget> made;
    bool windowBuiltFirst = true;
    bool splashShownMeanwhile = false;
    f.window = startMainWindow(
        f.state,
        [&] {
            windowBuiltFirst = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                windowBuiltFirst = windowBuiltFirst || qobject_cast<MainWindow*>(w);
            made = new QWidget;
            made->setObjectName("frmInfo");
            return made.data();
        },
        [&] { splashShownMeanwhile = made && made->isVisible(); });
    QVERIFY(!windowBuiltFirst);
    QVERIFY(splashShownMeanwhile);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.window->splash(), made.data());
    QVERIFY(QTest::qWaitFor([&f] { return !f.state.firstActivation; }));
    QVERIFY(!made);
}

void TstMainWindow::openLastSongFromTheWelcomeBox()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    auto* button = f.find<QPushButton>("roCommand1");
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->toolTip(), QString("No song has been opened yet"));

    f.createAndLoad("Last Take");
    for (int round = 1; round <= 4; ++round) {
        w.menuClicked("close");
        QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
        QVERIFY(button->isEnabled());
        QCOMPARE(button->toolTip(), QString("Open Last Song: Last Take"));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(f.state.currentSong, QString("Last Take"));
        QCOMPARE(w.windowTitle(), QString("Quillon 05 [Last Take]"));
        QVERIFY(f.find<QWidget>("picHideAll")->isHidden());
    }

    // Gone since (deleted elsewhere): offered no more, and the tooltip says why.
    w.menuClicked("close");
    QVERIFY(f.songs.remove("Last Take"));
    w.formActivate();
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->toolTip(), QString("The last song, \"Last Take\", no longer exists"));
}

void TstMainWindow::trayFallsBackToMinimise()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    w.tray().setTrayAvailableOverride(false);
    f.find<QPushButton>("cmdStandby")->click();
    QVERIFY(w.isMinimized());
    QVERIFY(!w.tray().isInTray());
    QVERIFY(!w.tray().lastBalloon());
}

void TstMainWindow::trayShowAndExit()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.settings.setShowMinimized(true);
    w.tray().setTrayAvailableOverride(true);
    w.tray().sendToTray();
    QVERIFY(w.tray().isInTray());
    QCOMPARE(w.tray().lastBalloon()->title, QString("active ..."));
    QCOMPARE(w.tray().lastBalloon()->text, QString("[No Song loaded] - Quillon 05"));
    QCOMPARE(w.tray().toolTip(), QString("Quillon 05 [No Song loaded]\nactive ..."));
    QStringList captions;
    for (QAction* a : w.tray().menu()->actions())
        captions << (a->isSeparator() ? QString("-") : a->text());
    QCOMPARE(captions, QStringList({"&Show", "-", "&Options", "-", "&Exit"}));

    f.find<QWidget>("picHideAll")->hide();
    w.tray().menuCommand("show_quillon");
    QVERIFY(!w.tray().isInTray());
    QVERIFY(!w.isMinimized());
    QVERIFY(f.find<QWidget>("picHideAll")->isVisible());
    QCOMPARE(f.settings.text("ShowMinimized"), QString("0"));

    f.settings.setShowMinimized(true);
    w.tray().sendToTray();
    f.prompter.answer(QMessageBox::Yes);
    w.tray().menuCommand("exit");
    QVERIFY(!w.tray().isInTray());
    QCOMPARE(f.settings.text("ShowMinimized"), QString("0"));
    QVERIFY(!w.isVisible());
    QCOMPARE(f.prompter.askedTexts(), QStringList{"Do you really want to exit QUILLON ?"});
}

void TstMainWindow::trayExitAnsweredNoKeepsRunning()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Still Here");
    w.tray().setTrayAvailableOverride(true);
    w.tray().sendToTray();
    f.prompter.answer(QMessageBox::No);
    w.tray().menuCommand("exit");
    QVERIFY(w.isVisible());
    QVERIFY(!w.isMinimized());
    QCOMPARE(f.state.currentSong, QString("Still Here"));
    QCOMPARE(f.prompter.askedTexts(), QStringList{"Do you really want to exit QUILLON ?"});
}

void TstMainWindow::trayDoubleClickRestores()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    w.tray().setTrayAvailableOverride(true);
    w.tray().sendToTray();
    QVERIFY(w.isMinimized());
    w.tray().doubleClicked();
    QVERIFY(!w.isMinimized());
    QVERIFY(!w.tray().isInTray());
    QVERIFY(!w.commands().floatingBarVisible());
}

void TstMainWindow::showQuillonDoesWhatTheTrayDoubleClickDoes_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("tray icon") << "tray";
    QTest::newRow("devices bar") << "bar";
    QTest::newRow("lyrics window") << "lyrics";
}

void TstMainWindow::showQuillonDoesWhatTheTrayDoubleClickDoes()
{
    QFETCH(QString, from);
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Tray Song");
    f.find<QPushButton>("cmdBar")->click();
    FloatingBar* bar = w.commands().floatingBar();
    QVERIFY(bar);
    auto* barShow = bar->findChild<QAbstractButton*>("cmdShowQuillon");
    if (from == "lyrics")
        w.menuClicked("lyrics");
    QWidget* lyrics = topLevel("frmLyricsNew");
    QCOMPARE(lyrics != nullptr, from == "lyrics");

    w.tray().setTrayAvailableOverride(true);
    w.tray().sendToTray();
    QVERIFY(w.isMinimized());
    QVERIFY(w.tray().isInTray());
    QVERIFY(barShow->isEnabled());
    if (from == "tray")
        w.tray().doubleClicked();
    else if (from == "bar")
        barShow->click();
    else
        lyrics->findChild<QAbstractButton*>("cmdShowQuillon")->click();
    QVERIFY(!w.isMinimized());
    QVERIFY(!w.tray().isInTray());
    QVERIFY(!barShow->isEnabled());
    // The panel is still undocked, so the bar stays.
    QVERIFY(bar->isVisible());
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
