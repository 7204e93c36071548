#include "tapefixture.h"

#include "media/mediatree.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>

using namespace quillon;
using namespace quillon::test;

namespace {
const QString kEditing =
    QStringLiteral("You cannot exit the program because you are editing an item.");
const QString kEntering =
    QStringLiteral("You cannot exit the program because you are entering a new item.");
// Shows the window active, with a preview that takes the focus away while
// it is open, as the real one does. False when the platform activates no
// window.
bool showWithAPreviewThatTakesTheFocus(TapeWindow& w)
{
    w.setShowPreview([](const QString&) {
        QWidget preview;
        preview.show();
        preview.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
    });
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

} // namespace

class TestTapeWindowClose final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationDisplayName("QuillonSE"); }

    void closingWhileTheNameChangedIsRefused()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), "Reel 2");
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(f.prompter.askedTexts(), QStringList{kEditing});
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(f.prompter.asked().first().title, w.windowTitle());
        // The Exit button and Escape go the same way.
        click(w.ui().exitButton);
        QVERIFY(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QCOMPARE(f.prompter.askedTexts().size(), 3);
        QVERIFY(f.media.find("Reel 1").has_value());
        QVERIFY(!f.settings.contains("TapeLeft"));
    }

    void closingWithAnEmptyNameIsRefused()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), "");
        QVERIFY(!w.close());
        QCOMPARE(f.prompter.askedTexts(), QStringList{kEditing});
    }

    void closingWhileAddingIsRefused()
    {
        TapeFixture f;
        TapeWindow w(f.state);
        w.show();
        click(w.ui().newButton);
        type(box(w, 0), "Fresh");
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(f.prompter.askedTexts(), QStringList{kEntering});
        QCOMPARE(f.media.count(), 0);
        // After cancelling, the window closes (the root shows nothing to edit).
        click(w.ui().saveButton);
        QVERIFY(w.close());
    }

    void closingWithOtherChangesSavesThem()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 5), "dbx");
        QVERIFY(w.close());
        QVERIFY(f.prompter.askedTexts().isEmpty());
        QCOMPARE(f.stored("Reel 1").noiseReduction, QString("dbx"));
    }

    void placementIsReadAndStored()
    {
        TapeFixture f;
        f.settings.setPlacement("Tape", {1500, 3000, 12000, 9000});
        TapeWindow w(f.state);
        QCOMPARE(w.size(), QSize(800, 600));
        w.show();
        w.resize(750, 500);
        QVERIFY(w.close());
        const Placement p = f.settings.placement("Tape", {});
        QCOMPARE(p.width, 750.0 * 15);
        QCOMPARE(p.height, 500.0 * 15);
        QCOMPARE(f.settings.text("TapeWidth"), QString("11250"));
    }

    void defaultPlacement()
    {
        TapeFixture f;
        TapeWindow w(f.state);
        QCOMPARE(w.size(), QSize(qRound(10600 / 15.0), qRound(7300 / 15.0)));
    }

    void resizeKeepsTheDetailsAtTheRightEdge()
    {
        TapeFixture f;
        TapeWindow w(f.state);
        w.show();
        w.resize(1000, 700);
        QGroupBox* frame = w.ui().details;
        const QSize frameSize = frame->size();
        QCOMPARE(frame->geometry().right() + 1, 1000 - 17);
        const int treeBottom = w.ui().tree->geometry().bottom();
        QVERIFY(treeBottom > 600);
        QVERIFY(w.ui().hideAll->x() == frame->x());
        QCOMPARE(w.ui().hideAll->y(), w.ui().tree->y() - 3);
        // Below the designed size nothing moves.
        const QRect frameBefore = frame->geometry();
        const QRect treeBefore = w.ui().tree->geometry();
        w.resize(600, 400);
        QCOMPARE(frame->geometry(), frameBefore);
        QCOMPARE(w.ui().tree->geometry(), treeBefore);
        QCOMPARE(frame->size(), frameSize);
    }

    void activationKeepsUnsavedChanges()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 1), "Unsaved");
        click(w.ui().separated);
        w.reload();
        QVERIFY(f.prompter.askedTexts().isEmpty());
        QVERIFY(w.hasPendingEdits());
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel 1"));
        QCOMPARE(box(w, 1)->text(), QString("Unsaved"));
        QVERIFY(!w.ui().hideAll->isVisible());
        QCOMPARE(w.tree().picture(w.tree().find("Reel 1")), 12);
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Reel 1").brand, QString("Unsaved"));
        QCOMPARE(f.stored("Reel 1").deleted, QString("1"));
        // With nothing pending the tree is rebuilt and shows what is new.
        f.add("Reel 2");
        w.reload();
        QCOMPARE(w.tree().mediumCount(), 2);
        QCOMPARE(w.ui().tree->currentIndex(), w.tree().root());
        QVERIFY(w.ui().hideAll->isVisible());
    }

    void returnFromThePreviewKeepsWhatWasTyped_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::newRow("editing a medium") << false;
        QTest::newRow("entering a new one") << true;
    }
    void returnFromThePreviewKeepsWhatWasTyped()
    {
        QFETCH(bool, adding);
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        if (!showWithAPreviewThatTakesTheFocus(w))
            QSKIP("this platform does not activate windows");
        if (adding) {
            click(w.ui().newButton);
            type(box(w, 0), "Fresh");
        } else {
            QVERIFY(clickMedium(w, "Reel 1"));
        }
        type(box(w, 1), "Typed brand");
        click(w.ui().previewButton);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCoreApplication::processEvents();
        QCOMPARE(box(w, 1)->text(), QString("Typed brand"));
        QCOMPARE(w.isAdding(), adding);
        QCOMPARE(w.windowTitle(), QString("Tapes, CDs, Harddisks"));
        QVERIFY(f.prompter.askedTexts().isEmpty());
        // What was typed is stored as usual afterwards.
        click(adding ? w.ui().newButton : w.ui().saveButton);
        QCOMPARE(f.stored(adding ? "Fresh" : "Reel 1").brand, QString("Typed brand"));
    }

    void anotherWindowInFrontRebuildsOnReturn()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            QSKIP("this platform does not activate windows");
        QVERIFY(clickMedium(w, "Reel 1"));
        // One of our message boxes coming and going is no new activation.
        f.prompter.onMessage([&](const ScriptedPrompter::Asked&) {
            QWidget box;
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
        });
        type(box(w, 0), "");
        click(w.ui().saveButton);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel 1"));
        f.prompter.onMessage({});
        // A window of the program in front (the print preview, say) does.
        {
            QWidget preview;
            preview.show();
            preview.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&preview));
        }
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(w.shownNode(), QModelIndex(w.tree().root()));
    }

    void previewReturnRebuildsButListMessagesDoNot()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        if (!showWithAPreviewThatTakesTheFocus(w))
            QSKIP("this platform does not activate windows");
        // A failing export shows a message box in front; coming back from it
        // keeps the medium shown.
        QVERIFY(clickMedium(w, "Reel 1"));
        QVERIFY(QDir().mkpath(f.data.mediaListTxt()));
        f.prompter.onMessage([&](const ScriptedPrompter::Asked&) {
            QWidget box;
            box.show();
            box.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&box));
        });
        click(w.ui().exportButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel 1"));
        // The preview is another window: the tree is rebuilt on return.
        f.prompter.onMessage({});
        QVERIFY(QDir(f.data.mediaListTxt()).removeRecursively());
        click(w.ui().previewButton);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(w.shownNode(), QModelIndex(w.tree().root()));
        QCOMPARE(w.windowTitle(), QString("Tapes, CDs, Harddisks"));
    }
};

QTEST_MAIN(TestTapeWindowClose)
#include "tst_tapewindowclose.moc"
