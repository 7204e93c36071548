#include "appfixture.h"
#include "closeotherwise.h"
#include "songs/sessioninfodialog.h"
#include "songs/songinfodialog.h"
#include "songs/songstore.h"

#include <QApplication>
#include <QClipboard>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {

struct Fixture : test::AppFixture {
    Fixture()
    {
        songs.create({"Blue", {}, {}, {}});
        songs.updateFields("Blue", {{"Producer1", "Ann"}, {"Technician3", "Tom"}});
        load("Blue");
    }
};

} // namespace

class TestSessionInfoDialog final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTitleAndSessionTexts()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        QCOMPARE(d.windowTitle(), QString("Sessiondetails"));
        QCOMPARE(d.field(0)->text(), QString("Blue"));
        QVERIFY(d.field(0)->isReadOnly());
        QCOMPARE(d.field(1)->text(), QString("Ann"));
        QCOMPARE(d.field(2)->text(), QString());
        QCOMPARE(d.field(5)->text(), QString("Tom"));
        QCOMPARE(d.field(1)->maxLength(), 60);
        QCOMPARE(d.field(3)->maxLength(), 50);
    }

    void typingWritesIntoCurrentDetailsAtOnce()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        d.show();
        d.field(2)->setFocus();
        QTest::keyClicks(d.field(2), "Bob & Co.");
        QCOMPARE(f.state.currentSongDetails.producer2, QString("Bob & Co."));
        d.field(1)->clear();
        QCOMPARE(f.state.currentSongDetails.producer1, QString());
        QTest::keyClicks(d.field(4), "Eve");
        QCOMPARE(f.state.currentSongDetails.technician2, QString("Eve"));
        // The song row itself is the main window's business.
        QCOMPARE(f.songs.song("Blue")->text("Producer1"), QString("Ann"));
    }

    void charactersOutsideTheSetAreDropped()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        d.show();
        d.field(3)->clear();
        QTest::keyClicks(d.field(3), "Al!ex?#M");
        QCOMPARE(d.field(3)->text(), QString("AlexM"));
        QCOMPARE(f.state.currentSongDetails.technician1, QString("AlexM"));
    }

    void closingOtherwiseAsksWhetherToKeep_data() { test::addCloseOtherwiseRows(); }
    void closingOtherwiseAsksWhetherToKeep()
    {
        QFETCH(bool, escape);
        QFETCH(QMessageBox::StandardButton, answer);
        Fixture f;
        SessionInfoDialog d(f.state);
        d.show();
        d.field(5)->end(false);
        QTest::keyClicks(d.field(5), "my");
        QTest::keyClicks(d.field(2), "Bob");
        f.prompter.answer(answer);
        test::closeOtherwise(&d, d.field(5), escape);
        QCOMPARE(f.prompter.askedTexts(), QStringList{SongInfoDialog::kStoreQuestion});
        QCOMPARE(f.prompter.asked().first().defaultButton, QMessageBox::Yes);
        QCOMPARE(f.prompter.asked().first().title, QString("Sessiondetails"));
        QCOMPARE(d.isVisible(), answer == QMessageBox::Cancel);
        const bool kept = answer != QMessageBox::No;
        QCOMPARE(f.state.currentSongDetails.technician3, QString(kept ? "Tommy" : "Tom"));
        QCOMPARE(f.state.currentSongDetails.producer2, QString(kept ? "Bob" : ""));
    }

    void closingUnchangedAsksNothing()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        d.show();
        QTest::keyClick(d.field(1), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(f.prompter.asked().isEmpty());
    }

    void closeButtonCloses()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        QTimer::singleShot(0, &d, [&d] { d.findChild<QPushButton*>("cmdClose")->click(); });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
    }

    void pastedTextIsFilteredToo()
    {
        Fixture f;
        SessionInfoDialog d(f.state);
        d.field(5)->end(false);
        QApplication::clipboard()->setText("'s #2");
        d.field(5)->paste();
        QCOMPARE(d.field(5)->text(), QString("Toms 2"));
        QCOMPARE(d.field(5)->cursorPosition(), 6);
        QCOMPARE(f.state.currentSongDetails.technician3, QString("Toms 2"));
    }

    void overLongStoredTextIsShownWholeButNotLengthened()
    {
        Fixture f;
        f.state.currentSongDetails.producer2 = QString(70, 'p') + "'";
        SessionInfoDialog d(f.state);
        QCOMPARE(d.field(2)->text(), QString(70, 'p') + "'");
        d.field(2)->end(false);
        QTest::keyClicks(d.field(2), "q");
        QCOMPARE(d.field(2)->text(), QString(70, 'p') + "'");
        d.field(2)->home(false);
        QTest::keyClick(d.field(2), Qt::Key_Delete);
        QCOMPARE(f.state.currentSongDetails.producer2, QString(69, 'p') + "'");
    }
};

QTEST_MAIN(TestSessionInfoDialog)
#include "tst_sessioninfodialog.moc"
