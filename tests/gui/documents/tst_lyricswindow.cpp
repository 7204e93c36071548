#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "documents/documenteditor.h"
#include "documents/documentlimits.h"
#include "documents/lyricswindow.h"
#include "documentwindowprobes.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <tuple>

using namespace quillon;

namespace {

// One program run: its own store connection and state on a shared folder.
struct Run {
    explicit Run(const test::TempDataFolder& tmp)
        : folder(tmp.folder()), settings(tmp.settingsFile()), songs(folder),
          state(folder, settings, songs, prompter)
    {
        songs.open();
    }
    void load(const QString& title)
    {
        state.currentSong = title;
        state.currentSongDetails.readFrom(*songs.song(title));
    }
    DataFolder folder;
    Settings settings;
    SongStore songs;
    ScriptedPrompter prompter;
    AppState state;
};

QTextEdit* editOf(LyricsWindow& w)
{
    return w.editor()->textEdit();
}

void selectAll(QTextEdit* edit)
{
    QTextCursor c = edit->textCursor();
    c.select(QTextCursor::Document);
    edit->setTextCursor(c);
}

QString panel(LyricsWindow& w, const char* name)
{
    return w.findChild<QLabel*>(name)->text();
}

} // namespace

class TestLyricsWindow final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDataFolder> m_tmp;

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<test::TempDataFolder>();
        SongStore songs(m_tmp->folder());
        QVERIFY(songs.open());
        QVERIFY(songs.create({"Blue", "Ann Writer", "Bob Composer", "01.02.2003"}));
        QVERIFY(songs.updateFields(
            "Blue", {{"Key", "E minor"}, {"Style", "Blues"}, {"Length", "00:03:30"}}));
    }

    void nullLyricsOpenEmptyAndClean()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        QCOMPARE(w.windowTitle(), QString("Lyrics [Blue]"));
        QCOMPARE(w.objectName(), QString("frmLyricsNew"));
        QCOMPARE(panel(w, "Songtitelpanel"), QString("Blue"));
        QCOMPARE(panel(w, "autorpanel"), QString("Ann Writer"));
        QCOMPARE(panel(w, "Musicpanel"), QString("Bob Composer"));
        QCOMPARE(panel(w, "Keypanel"), QString("E minor"));
        QCOMPARE(panel(w, "Stylepanel"), QString("Blues"));
        QCOMPARE(panel(w, "Lengthpanel"), QString("00:03:30"));
        QVERIFY(w.document().isEmpty());
        QVERIFY(!w.isChanged());
        QVERIFY(w.isEditable());
        QVERIFY(run.state.lyricsWindowOpen);
        QVERIFY(w.close());
        QVERIFY(run.prompter.asked().isEmpty());
        QVERIFY(!run.state.lyricsWindowOpen);
    }

    void typingStraightAfterOpeningGoesIntoTheText()
    {
        Run run(*m_tmp);
        run.load("Blue");
        QPointer<LyricsWindow> w = LyricsWindow::openModeless(run.state); // as the menu does
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The ruler spans the text from the first paint, before any click.
        const auto [painted, wanted] = test::rulerTextRight(*w->editor());
        QVERIFY2(qAbs(painted - wanted) <= 2,
                 qPrintable(QString("%1 %2").arg(painted).arg(wanted)));
        QWidget* typing = QApplication::focusWidget();
        QVERIFY(typing);
        QTest::keyClicks(typing, "Straight in");
        QTest::keyClick(typing, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!w->isChanged());
        QCOMPARE(test::storedText(run.songs.song("Blue")->text("lyrics")), QString("Straight in"));
        w->close();
        QTRY_VERIFY(!w);
    }

    void panelsDoNotFollowLaterChanges()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        run.state.currentSongDetails.composer = "Someone Else";
        QCOMPARE(panel(w, "Musicpanel"), QString("Bob Composer"));
        w.close();
    }

    void formattedLyricsSurviveARestartAndARename()
    {
        {
            Run run(*m_tmp);
            run.load("Blue");
            LyricsWindow w(run.state);
            w.show();
            QTest::keyClicks(editOf(w), "Verse one");
            QVERIFY(w.isChanged());
            selectAll(editOf(w));
            w.editor()->setBold(true);
            QTextCharFormat red;
            red.setForeground(QColor(200, 0, 0));
            editOf(w)->mergeCurrentCharFormat(red);
            w.editor()->setAlignment(Qt::AlignHCenter);
            w.findChild<QAction*>("mnuSave")->trigger();
            QVERIFY(!w.isChanged());
            QVERIFY(run.prompter.asked().isEmpty()); // saved without a message
            QVERIFY(w.close());
            QVERIFY(run.prompter.asked().isEmpty());
        }
        for (const QString& title : {QString("Blue"), QString("Green")}) {
            Run run(*m_tmp); // as after a restart: a new connection on the same files
            if (title == "Green")
                QVERIFY(run.songs.rename("Blue", "Green"));
            run.load(title);
            LyricsWindow w(run.state);
            QCOMPARE(w.document().text(), QString("Verse one"));
            QVERIFY(!w.isChanged());
            const QTextBlock block = w.document().textDocument()->begin();
            QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                     Qt::Alignment(Qt::AlignHCenter));
            const QTextCharFormat f = block.begin().fragment().charFormat();
            QCOMPARE(f.fontWeight(), int(QFont::Bold));
            QCOMPARE(f.foreground().color(), QColor(200, 0, 0));
            w.close();
        }
    }

    void anotherRoomsLyricsAreNotOverwrittenUntold()
    {
        Run here(*m_tmp);
        Run there(*m_tmp); // another room on the same catalogue
        here.load("Blue");
        LyricsWindow w(here.state);
        w.show();
        QVERIFY(there.songs.updateFields("Blue", {{"lyrics", "theirs"}}));
        QTest::keyClicks(editOf(w), "mine");
        QVERIFY(!w.save());
        QVERIFY(here.prompter.askedTexts().value(0).contains("was changed in another room"));
        QCOMPARE(w.document().text(), QString("mine"));
        QVERIFY(w.save());
        QCOMPARE(test::storedText(there.songs.song("Blue")->text("lyrics")), QString("mine"));
        QVERIFY(w.close());
    }

    void closingAfterTypingAsksAndNoKeepsTheText()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(editOf(w), "draft");
        run.prompter.answer(QMessageBox::No);
        QVERIFY(!w.close());
        QCOMPARE(run.prompter.askedTexts(),
                 QStringList{"Lyrics changed!\rDo you want to exit anyway?"});
        QCOMPARE(run.prompter.asked().first().buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(w.isVisible());
        QCOMPARE(w.document().text(), QString("draft"));
        QVERIFY(run.state.lyricsWindowOpen);

        run.prompter.answer(QMessageBox::Yes);
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QVERIFY(!run.state.lyricsWindowOpen);
        // Yes closes without storing.
        QVERIFY(run.songs.song("Blue")->isNull("lyrics"));
    }

    void exitButtonAndMenuGoThroughTheQuestion()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(editOf(w), "x");
        run.prompter.answer(QMessageBox::No);
        w.findChild<QPushButton*>("cmdClose")->click();
        run.prompter.answer(QMessageBox::No);
        w.findChild<QAction*>("mnuExit")->trigger();
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(run.prompter.asked().size(), 2);
        QVERIFY(w.isVisible());
        run.prompter.answer(QMessageBox::Yes);
        w.findChild<QAction*>("mnuExit")->trigger();
        QVERIFY(!w.isVisible());
    }

    void menusHaveTheirCaptionsAndShortcuts()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        QStringList menus;
        for (QAction* a : w.findChild<QMenuBar*>()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "F&ormat", "&Adjust"}));
        const QList<std::tuple<const char*, QString, QString>> items{
            {"mnuSave", "Save", "Ctrl+S"},         {"mnuImport", "&Import...", "Ctrl+I"},
            {"mnuExport", "&Export...", "Ctrl+R"}, {"mnuPreview", "Print pre&view", ""},
            {"mnuPrint", "&Print", "Ctrl+P"},      {"mnuExit", "E&xit", "Ctrl+E"},
            {"mnuCut", "Cu&t", "Ctrl+X"},          {"mnuCopy", "&Copy", "Ctrl+C"},
            {"mnuPaste", "&Paste", "Ctrl+V"},      {"mnuCharacter", "&Character...", ""},
            {"mnuParagraph", "Paragraph...", ""},  {"mnuZoom", "&Adjust", ""}};
        for (const auto& [name, text, keys] : items) {
            QAction* a = w.findChild<QAction*>(name);
            QVERIFY2(a, name);
            QCOMPARE(a->text(), text);
            QCOMPARE(a->shortcut().toString(), keys);
        }
        QVERIFY(!w.findChild<QAction*>("mnuParagraph")->isVisible());
        QVERIFY(!w.findChild<QAction*>("mnuZoom")->isVisible());
        QVERIFY(w.findChild<QAction*>("mnuCharacter")->isVisible());
        w.close();
    }

    void editMenuCutsCopiesAndPastes()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(editOf(w), "la");
        selectAll(editOf(w));
        w.findChild<QAction*>("mnuCopy")->trigger();
        editOf(w)->moveCursor(QTextCursor::End);
        w.findChild<QAction*>("mnuPaste")->trigger();
        QCOMPARE(w.document().text(), QString("lala"));
        selectAll(editOf(w));
        w.findChild<QAction*>("mnuCut")->trigger();
        QVERIFY(w.document().isEmpty());
        QVERIFY(w.isChanged());
        run.prompter.answer(QMessageBox::Yes);
        w.close();
    }

    void onTopSwitchesCaptionColourAndHint()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        auto* button = w.findChild<QPushButton*>("cmdOnTop");
        QCOMPARE(button->text(), QString("On Top"));
        QCOMPARE(button->toolTip(), QString("Stay on top of all other Programs"));
        button->click();
        QVERIFY(w.isOnTop());
        QCOMPARE(button->text(), QString("Off"));
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w.isVisible());
        button->click();
        QVERIFY(!w.isOnTop());
        QCOMPARE(button->text(), QString("On"));
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(0, 0, 0));
        QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
        w.close();
    }

    void showQuillonAsksForTheMainWindow()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        QSignalSpy spy(&w, &LyricsWindow::showMainWindowRequested);
        auto* button = w.findChild<QPushButton*>("cmdShowQuillon");
        QCOMPARE(button->toolTip(), QString("Show Quillon"));
        button->click();
        QCOMPARE(spy.count(), 1);
        w.close();
    }

    void placeIsReadAtOpenAndWrittenAtClose()
    {
        Run run(*m_tmp);
        run.load("Blue");
        {
            LyricsWindow w(run.state);
            w.show();
            QCOMPARE(w.minimumWidth(), 742); // 11130 twips at 96 dpi
            QCOMPARE(w.minimumHeight(), 574);
            w.resize(800, 640);
            w.move(60, 45);
            w.close();
        }
        QCOMPARE(run.settings.text("LyricsMainLeft"), QString("900"));
        QCOMPARE(run.settings.text("LyricsMainTop"), QString("675"));
        QCOMPARE(run.settings.text("LyricsMainWidth"), QString("12000"));
        QCOMPARE(run.settings.text("LyricsMainHeight"), QString("9600"));
        LyricsWindow again(run.state);
        QCOMPARE(again.pos(), QPoint(60, 45));
        QCOMPARE(again.size(), QSize(800, 640));
        again.close();
    }

    void modelessWindowIsDeletedOnClose()
    {
        Run run(*m_tmp);
        run.load("Blue");
        run.state.lyricsWindowOpen = true; // as the lyrics command sets it
        QPointer<LyricsWindow> w = LyricsWindow::openModeless(run.state);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(!w->isModal());
        QVERIFY(!w->parent());
        QVERIFY(run.state.lyricsWindowOpen);
        w->close();
        QTRY_VERIFY(!w);
        QVERIFY(!run.state.lyricsWindowOpen);
    }

    void modalShowingReturnsAfterClose()
    {
        Run run(*m_tmp);
        run.load("Blue");
        bool wasModal = false;
        bool flagWhileOpen = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<LyricsWindow*>(QApplication::activeModalWidget());
            QVERIFY(w);
            wasModal = w->isModal();
            flagWhileOpen = run.state.lyricsWindowOpen;
            w->close();
        });
        LyricsWindow::openModal(run.state, nullptr);
        QVERIFY(wasModal);
        QVERIFY(flagWhileOpen);
        QVERIFY(!run.state.lyricsWindowOpen);
    }

    void modalShowingKeepsTheFlagOfAnOpenModelessWindow()
    {
        Run run(*m_tmp);
        run.load("Blue");
        QPointer<LyricsWindow> modeless = LyricsWindow::openModeless(run.state);
        QTimer::singleShot(0, [] {
            if (auto* w = QApplication::activeModalWidget())
                w->close();
        });
        LyricsWindow::openModal(run.state, nullptr);
        QVERIFY(run.state.lyricsWindowOpen);
        modeless->close();
        QTRY_VERIFY(!modeless);
        QVERIFY(!run.state.lyricsWindowOpen);
    }

    void reopenShowsTheNewSong()
    {
        Run run(*m_tmp);
        QVERIFY(run.songs.create({"Red", "Cy", "Di", ""}));
        run.load("Red");
        {
            LyricsWindow red(run.state);
            QTest::keyClicks(editOf(red), "Red words");
            QVERIFY(red.save());
            red.close();
        }
        run.load("Blue");
        LyricsWindow w(run.state);
        w.show();
        QTest::keyClicks(editOf(w), "unsaved");
        run.load("Red");
        run.prompter.answer(QMessageBox::No);
        QVERIFY(!w.reopenForCurrentSong());
        QCOMPARE(w.songTitle(), QString("Blue"));
        QCOMPARE(w.document().text(), QString("unsaved"));
        QCOMPARE(run.prompter.askedTexts(),
                 QStringList{"Lyrics changed!\rDo you want to exit anyway?"});

        run.prompter.answer(QMessageBox::Yes);
        QVERIFY(w.reopenForCurrentSong());
        QCOMPARE(w.songTitle(), QString("Red"));
        QCOMPARE(w.windowTitle(), QString("Lyrics [Red]"));
        QCOMPARE(panel(w, "Musicpanel"), QString("Di"));
        QCOMPARE(w.document().text(), QString("Red words"));
        QVERIFY(!w.isChanged());
        QVERIFY(run.state.lyricsWindowOpen);
        // Blue's draft was dropped as agreed, not stored.
        QVERIFY(run.songs.song("Blue")->isNull("lyrics"));
        w.close();
    }

    void textPastTheReadLimitsIsNotStoredAndTheStoredTextStaysReadable()
    {
        Run run(*m_tmp);
        run.load("Blue");
        {
            LyricsWindow w(run.state);
            QTest::keyClicks(editOf(w), "Verse one");
            QVERIFY(w.save());
            // A paste one character longer than a read accepts in a paragraph.
            QTextCursor end = editOf(w)->textCursor();
            end.movePosition(QTextCursor::End);
            end.insertText(QString(limits::kMaxParagraphCharacters, u'x'));
            QVERIFY(!w.save());
            QCOMPARE(run.prompter.asked().size(), 1);
            QVERIFY(run.prompter.askedTexts().first().contains("too large"));
            QVERIFY(w.isChanged()); // the text stays in the window, unsaved
            QCOMPARE(w.document().text().size(), 9 + limits::kMaxParagraphCharacters);
        }
        LyricsWindow again(run.state);
        QVERIFY(again.isEditable());
        QCOMPARE(again.document().text(), QString("Verse one"));
    }

    void reloadingTheSameSongKeepsUnsavedText()
    {
        Run run(*m_tmp);
        run.load("Blue");
        LyricsWindow w(run.state);
        QTest::keyClicks(editOf(w), "keep me");
        run.state.currentSongDetails.key = "A major";
        QVERIFY(w.reopenForCurrentSong());
        QVERIFY(run.prompter.asked().isEmpty());
        QCOMPARE(w.document().text(), QString("keep me"));
        QVERIFY(w.isChanged());
        QCOMPARE(panel(w, "Keypanel"), QString("A major"));
        run.prompter.answer(QMessageBox::Yes);
        w.close();
    }
};

QTEST_MAIN(TestLyricsWindow)
#include "tst_lyricswindow.moc"
