#include "appfixture.h"
#include "closeotherwise.h"
#include "songs/songinfodialog.h"
#include "songs/songinfonotedialog.h"
#include "songs/songstore.h"

#include <QApplication>
#include <QClipboard>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

struct Fixture : test::AppFixture {
    Fixture()
    {
        songs.create({"Blue", {}, {}, {}});
        load("Blue");
    }
};

} // namespace

class TestSongInfoNoteDialog final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noteStoredByCloseIsFoundAgain()
    {
        Fixture f;
        {
            SongInfoNoteDialog d(f.state);
            QCOMPARE(d.windowTitle(), QString("Song Info  -  Notes"));
            QCOMPARE(d.noteBox()->toPlainText(), QString());
            d.noteBox()->setPlainText("Take 3 was best\nbass (again)");
            QCOMPARE(f.state.currentSongDetails.note, QString("Take 3 was best\nbass (again)"));
            QTimer::singleShot(0, &d, [&d] { d.findChild<QPushButton*>("cmdClose")->click(); });
            QCOMPARE(d.exec(), int(QDialog::Accepted));
        }
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString("Take 3 was best\nbass (again)"));
        SongInfoNoteDialog again(f.state);
        QCOMPARE(again.noteBox()->toPlainText(), QString("Take 3 was best\nbass (again)"));
    }

    void failedStoreKeepsTheWindowAndTheText()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.show();
        d.noteBox()->setPlainText("precious");
        f.songs.setFaultInjector([](const QString&) { return true; });
        QVERIFY(!d.storeAndClose());
        QVERIFY(d.isVisible());
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(d.noteBox()->toPlainText(), QString("precious"));
        f.songs.setFaultInjector({});
        QVERIFY(d.storeAndClose());
        QVERIFY(!d.isVisible());
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString("precious"));
    }

    void anotherRoomsNoteIsNotOverwrittenUntold()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.show();
        SongStore there(f.data);
        QVERIFY(there.open() && there.updateFields("Blue", {{"notiz1", "theirs"}}));
        d.noteBox()->setPlainText("mine");
        QVERIFY(!d.storeAndClose());
        QVERIFY(f.prompter.askedTexts().value(0).contains("was changed in another room"));
        QCOMPARE(d.noteBox()->toPlainText(), QString("mine"));
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString("theirs"));
        QVERIFY(d.storeAndClose());
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString("mine"));
    }

    void closingOtherwiseAsksToStore_data() { test::addCloseOtherwiseRows(); }
    void closingOtherwiseAsksToStore()
    {
        QFETCH(bool, escape);
        QFETCH(QMessageBox::StandardButton, answer);
        Fixture f;
        f.songs.updateFields("Blue", {{"notiz1", "old"}});
        f.state.currentSongDetails.note = "old";
        SongInfoNoteDialog d(f.state);
        d.show();
        d.noteBox()->moveCursor(QTextCursor::End);
        QTest::keyClicks(d.noteBox(), " and new");
        f.prompter.answer(answer);
        test::closeOtherwise(&d, d.noteBox(), escape);
        QCOMPARE(f.prompter.askedTexts(), QStringList{SongInfoDialog::kStoreQuestion});
        QCOMPARE(f.prompter.asked().first().defaultButton, QMessageBox::Yes);
        QCOMPARE(f.prompter.asked().first().title, QString("Song Info  -  Notes"));
        QCOMPARE(d.isVisible(), answer == QMessageBox::Cancel);
        const QString stored = answer == QMessageBox::Yes ? "old and new" : "old";
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), stored);
        QCOMPARE(f.state.currentSongDetails.note,
                 QString(answer == QMessageBox::No ? "old" : "old and new"));
        QCOMPARE(d.noteBox()->toPlainText(), QString("old and new"));
    }

    void closingUnchangedAsksNothing()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.show();
        QTest::keyClick(d.noteBox(), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(f.prompter.asked().isEmpty());
    }

    void typedCharactersOutsideTheSetAreDropped()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.show();
        QTest::keyClicks(d.noteBox(), "ab?c!D");
        QTest::keyClick(d.noteBox(), Qt::Key_Return);
        QTest::sendKeyEvent(QTest::Click, d.noteBox(), Qt::Key_unknown, QString("ö"),
                            Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, d.noteBox(), Qt::Key_unknown, QString("§"),
                            Qt::NoModifier);
        QCOMPARE(d.noteBox()->toPlainText(), QString("abcD\nö"));
    }

    void pastedTextIsFilteredAndStoredTextKept()
    {
        Fixture f;
        f.songs.updateFields("Blue", {{"notiz1", "it's"}});
        SongInfoNoteDialog d(f.state);
        QCOMPARE(d.noteBox()->toPlainText(), QString("it's"));
        d.noteBox()->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText("\nmix 'B' @ 3\n");
        d.noteBox()->paste();
        QCOMPARE(d.noteBox()->toPlainText(), QString("it's\nmix B  3\n"));
        QCOMPARE(f.state.currentSongDetails.note, QString("it's\nmix B  3\n"));
        QVERIFY(d.storeAndClose());
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString("it's\nmix B  3\n"));
    }

    void printoutHasItsLinesInOrder()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.noteBox()->setPlainText("first line\nsecond line");
        d.findChild<QPushButton*>("cmdPrint")->click();
        const QList<RecordedJob> jobs = f.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.first().pageCount(), 1);
        const QString rule(59, '-');
        const QString songinfo = jobs.first().texts(0).value(2);
        QCOMPARE(jobs.first().texts(0),
                 QStringList({rule, "Blue", songinfo, rule, "first line", "second line"}));
        QVERIFY(songinfo.startsWith("Songinfo"));
        QVERIFY(songinfo.endsWith(QDate::currentDate().toString("MM-dd-yyyy")));
        // Printing stores nothing.
        QCOMPARE(f.songs.song("Blue")->text("notiz1"), QString());
    }

    // The printer setup chooses where and how this window prints: the
    // printer and its copies are used by Print, and the next setup starts
    // from that choice. A cancelled setup keeps it.
    void printerSetupChoosesThePrinterForPrint()
    {
        Fixture f;
        SongInfoNoteDialog d(f.state);
        d.noteBox()->setPlainText("note");
        PrintChoice laser;
        laser.printerName = "Studio Laser";
        laser.copies = 2;
        f.prompter.answerPrinterSetup(laser);
        d.findChild<QPushButton*>("cmdPrinterSetup")->click();
        d.findChild<QPushButton*>("cmdPrint")->click();
        QCOMPARE(f.prompter.printersOpened(), QStringList{"Studio Laser"});
        QCOMPARE(f.prompter.printedJobs().size(), 1);
        QCOMPARE(f.prompter.printedJobs().first().pageCount(), 2); // a sheet per copy
        QCOMPARE(f.prompter.printedJobs().first().texts(1),
                 f.prompter.printedJobs().first().texts(0));

        f.prompter.answerPrinterSetup(std::optional<PrintChoice>());
        d.findChild<QPushButton*>("cmdPrinterSetup")->click();
        QCOMPARE(f.prompter.setupsShown().size(), 2);
        QCOMPARE(f.prompter.setupsShown().at(1).printerName, QString("Studio Laser"));
        d.findChild<QPushButton*>("cmdPrint")->click();
        QCOMPARE(f.prompter.printersOpened(), QStringList({"Studio Laser", "Studio Laser"}));
    }

    // A setup that chose printing into a file writes the note there, even
    // where no printer is installed.
    void printerSetupToFileWritesThePdf()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        QTemporaryDir dir;
        PrintChoice file;
        file.outputFile = dir.filePath("note.pdf");
        SongInfoNoteDialog d(f.state);
        f.prompter.answerPrinterSetup(file);
        d.findChild<QPushButton*>("cmdPrinterSetup")->click();
        d.findChild<QPushButton*>("cmdPrint")->click();
        QVERIFY(f.prompter.asked().isEmpty());
        QVERIFY(QFileInfo(file.outputFile).size() > 0);
    }

    // With no printer to print on the window says so and stays open.
    void noPrinterIsSaid()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        SongInfoNoteDialog d(f.state);
        d.show();
        d.findChild<QPushButton*>("cmdPrint")->click();
        QCOMPARE(f.prompter.askedTexts(), QStringList{Prompter::kNoPrinterText});
        QVERIFY(d.isVisible());
        d.findChild<QPushButton*>("cmdClose")->click();
    }
};

QTEST_MAIN(TestSongInfoNoteDialog)
#include "tst_songinfonotedialog.moc"
