#include "../app/mainwindowfixture.h"
#include "app/menubuilder.h"
#include "app/songcommands.h"
#include "app/statuspanels.h"
#include "devices/deviceregister.h"
#include "documents/documenteditor.h"
#include "documents/generalinfowindow.h"
#include "documents/lyricswindow.h"
#include "maintenance/searchbuild.h"
#include "media/mediastore.h"
#include "media/tapewindow.h"
#include "notebook/notebookstore.h"
#include "search/markedtextdelegate.h"
#include "app/searchcommands.h"
#include "search/searchindexbuilder.h"
#include "search/searchwindow.h"
#include "songs/songinfonotedialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace quillon;
using Kind = SearchHit::Kind;

Q_DECLARE_METATYPE(SearchHit::Kind)

// The search window over the main window, on either engine: one word found
// in every kind of text, grouped; each hit opened where it is.
class TstSearchWindow final : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MainWindowFixture> m_f;
    SearchWindow* m_search = nullptr;

    // What the modal window in front shows: its name and the text found.
    static QString modalShows()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return {};
        const auto detail = [modal]() -> QString {
            if (auto* tape = qobject_cast<TapeWindow*>(modal))
                return tape->tree().isMedium(tape->shownNode())
                           ? tape->tree().text(tape->shownNode())
                           : QString();
            if (auto* note = qobject_cast<SongInfoNoteDialog*>(modal))
                return note->noteBox()->toPlainText();
            if (auto* notebook = qobject_cast<GeneralInfoWindow*>(modal))
                return notebook->editor()->textEdit()->toPlainText();
            for (const char* box : {"txtFields0", "txtFields(1)"}) // device name, producer 1
                if (auto* edit = modal->findChild<QLineEdit*>(box))
                    return edit->text();
            return QString();
        };
        // The media library chooses the medium once its tree is filled.
        QTest::qWaitFor([&] { return !detail().isEmpty(); }, 3000);
        const QString shown = modal->objectName() + ' ' + detail();
        modal->close();
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_f = std::make_unique<test::MainWindowFixture>();
        test::MainWindowFixture& f = *m_f;
        QVERIFY(f.songs.create({"Blue Night", "Ann Words", "Quasar Composer", "01-02-2003"}));
        QVERIFY(f.songs.writeTracks("Blue Night", 3, 37, {"quasar talkbox"}));
        QVERIFY(f.songs.updateFields("Blue Night", {{"Producer1", "Quasar Producer"},
                                                    {"notiz1", "quasar note"},
                                                    {"lyrics", "quasar moon"}}));
        Medium reel;
        reel.name = "Quasar Reel";
        reel.type = "2 - Analog Tape";
        QVERIFY(MediaStore(f.data).add(reel));
        DeviceRegister devices(f.data);
        DeviceRecord deck = devices.findSlot(4).value_or(DeviceRecord{});
        deck.name = "Quasar Deck";
        QVERIFY2(devices.updateSlot(4, deck), qPrintable(devices.lastError()));
        QVERIFY(NotebookStore(f.data).write("quasar memo"));
        SearchBuild build(f.data);
        QVERIFY2(build.run(), qPrintable(build.lastError()));
        MainWindow& w = f.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.menus().action("find")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        m_search = w.search().window();
        QVERIFY(m_search && m_search->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), m_search->searchBox());
    }

    void cleanupTestCase() { m_f.reset(); }

    void typingFindsEveryKindGrouped()
    {
        QTest::keyClicks(m_search->searchBox(), "quas");
        // One search once the typing pauses, not one for each key.
        QVERIFY(m_search->searchPending());
        QCOMPARE(m_search->results()->topLevelItemCount(), 0);
        SearchResultList* list = m_search->results();
        QTRY_COMPARE(list->topLevelItemCount(), 8);
        QStringList groups;
        for (int g = 0; g < list->topLevelItemCount(); ++g)
            groups << list->topLevelItem(g)->text(0);
        QCOMPARE(groups,
                 QStringList({"Songs (1)", "Tracks (1)", "Session details (1)", "Song notes (1)",
                              "Lyrics (1)", "Media (1)", "Devices (1)", "Notebook (1)"}));
        QTreeWidgetItem* track = list->group(Kind::Track)->child(0);
        QCOMPARE(track->text(0), QString("Blue Night - ADAT 1, Track 37"));
        QCOMPARE(track->text(1), QString("quasar talkbox"));
        QCOMPARE(track->data(1, MarkedTextDelegate::kMarksRole).value<QList<int>>(),
                 QList<int>({0, 6}));
        QVERIFY(!m_search->notice()->isVisible());
    }

    void eachHitOpensWhereItIs_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("opened");
        const struct {
            Kind kind;
            const char* opened;
        } rows[] = {
            {Kind::Song, "Blue Night; "},
            {Kind::Track, "Blue Night; device 3, bank 2, box 13 focused"},
            {Kind::Session, "Blue Night; frmSessionInfo Quasar Producer"},
            {Kind::Note, "Blue Night; frmSongInfoNote quasar note"},
            {Kind::Lyrics, "Blue Night; lyrics of Blue Night"},
            {Kind::Medium, "no song; frmTape Quasar Reel"},
            {Kind::Device, "no song; frmRecDev Quasar Deck"},
            {Kind::Notebook, "no song; frmGeneralInfo quasar memo"},
        };
        for (const auto& row : rows)
            for (const char* how : {"Enter", "double-click"})
                QTest::addRow("%s by %s", qPrintable(SearchHit::kindName(row.kind)), how)
                    << row.kind << QString(row.opened);
    }

    void eachHitOpensWhereItIs()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, opened);
        test::MainWindowFixture& f = *m_f;
        f.window->songCommands().closeSong();
        m_search->searchBox()->setText("quasar");
        m_search->searchNow();
        SearchResultList* list = m_search->results();
        QVERIFY(list->group(kind));
        QTreeWidgetItem* item = list->group(kind)->child(0);
        list->setCurrentItem(item);
        // A modal window that opens is looked at, and closed, from its own loop.
        QString shown;
        QTimer modal;
        modal.setInterval(5);
        connect(&modal, &QTimer::timeout, this, [&] {
            if (QApplication::activeModalWidget()) {
                modal.stop();
                shown = modalShows();
            }
        });
        modal.start();
        const bool enter = QString(QTest::currentDataTag()).endsWith("Enter");
        if (enter && kind == Kind::Song) {
            // Enter in the box: the first hit of what was typed, searched at once.
            m_search->searchBox()->clear();
            QTest::keyClicks(m_search->searchBox(), "quasar composer");
            QTest::keyClick(m_search->searchBox(), Qt::Key_Return);
        } else if (enter) {
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            const QPoint at = list->visualItemRect(item).center();
            // A double click arrives after the press of its first click.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        modal.stop();
        if (kind == Kind::Track) {
            QTRY_COMPARE(QApplication::focusWidget(), f.box(13));
            shown = QString("device %1, bank %2, box 13 focused")
                        .arg(f.state.currentDeviceIndex)
                        .arg(f.state.currentTrackBank);
        } else if (kind == Kind::Lyrics) {
            LyricsWindow* lyrics = test::MainWindowFixture::topLevel<LyricsWindow>();
            QVERIFY(lyrics && lyrics->isVisible());
            shown = "lyrics of " + lyrics->songTitle();
        }
        const QString song = f.state.songLoaded() ? f.state.currentSong : QString("no song");
        QCOMPARE(song + "; " + shown, opened);
    }

    // A catalogue without an index: built in the background, the progress
    // in the status bar and in the search window, both gone at the end.
    void aMissingIndexIsBuiltInTheBackground()
    {
        test::MainWindowFixture f;
        QVERIFY(f.songs.create({"Ember", "", "Late Composer", ""}));
        MainWindow& w = f.start();
        w.menus().action("find")->trigger();
        SearchWindow* window = w.search().window();
        QStringList seen;
        w.search().buildIndexIfMissing();
        SearchIndexBuilder* builder = w.search().builder();
        connect(builder, &SearchIndexBuilder::progressChanged, this, [&](int percent) {
            seen << w.status().text("infopanel") + " | " + window->notice()->text();
            QCOMPARE(w.status().text("infopanel"), SearchCommands::progressText(percent));
            QVERIFY(window->notice()->isVisible());
        });
        QSignalSpy finished(builder, &SearchIndexBuilder::finished);
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first(), SearchCommands::progressText(0) +
                                   " | The search index is still being built (0 %); results may "
                                   "be missing.");
        QCOMPARE(w.status().text("infopanel"), StatusPanels::productNotice());
        QVERIFY(!window->notice()->isVisible());
        QVERIFY(SearchBuild(f.data).complete());
        QTest::keyClicks(window->searchBox(), "late");
        QTRY_VERIFY(window->results()->group(Kind::Song));
        // A second start finds it complete: no build, nothing shown.
        SearchIndexBuilder again(f.data);
        QSignalSpy done(&again, &SearchIndexBuilder::finished);
        QSignalSpy progress(&again, &SearchIndexBuilder::progressChanged);
        again.start();
        QVERIFY(done.wait(10000));
        QCOMPARE(progress.count(), 0);
    }
};

QTEST_MAIN(TstSearchWindow)
#include "tst_searchwindow.moc"
