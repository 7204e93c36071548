// The new song dialog: captions, character sets, refusals, trimming, cancel.

#include "appfixture.h"
#include "common/characterfilter.h"
#include "songs/newsongdialog.h"
#include "songs/songfields.h"
#include "songs/songstore.h"
#include "store/songconstants.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace quillon;

namespace {
using Env = test::AppFixture;

// What a box keeps after the text was typed into it key by key.
QString typed(QLineEdit* box, const QString& text)
{
    box->clear();
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(box, c.toLatin1());
        } else { // QTest knows no keys for letters beyond ASCII
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    return box->text();
}
} // namespace

class TstNewSongDialog : public QObject {
    Q_OBJECT
private slots:
    void captionsAndLimits();
    void titleSetIgnoresCaseAndRefusesApostrophe();
    void wordsAndComposerSets();
    void pasteKeepsTheAdmittedRest();
    void blankTitleIsMissing();
    void existingTitleRefusedWhateverCase();
    void trimmedTitleIsCreatedAndCounted();
    void failedCreateKeepsCurrentSong();
    void cancelWritesNothing();
};

void TstNewSongDialog::captionsAndLimits()
{
    Env e;
    NewSongDialog d(e.state);
    QCOMPARE(d.objectName(), QString("frmNewSong"));
    QCOMPARE(d.windowTitle(), QString("New Song"));
    QCOMPARE(d.titleBox()->maxLength(), 50);
    QCOMPARE(d.dateBox()->maxLength(), 10);
    QCOMPARE(d.dateBox()->objectName(), QString("sevText2"));
    QVERIFY(d.findChild<QWidget*>("cmdDatePicker"));
    auto* ok = d.findChild<QPushButton*>("cmdOK");
    QCOMPARE(ok->text(), QString("&OK"));
    QCOMPARE(ok->toolTip(), QString("Confirm new Song"));
    QCOMPARE(d.findChild<QPushButton*>("cmdCancel")->text(), QString("&Cancel"));
    QStringList captions;
    for (QLabel* l : d.findChildren<QLabel*>())
        captions << l->text();
    for (const char* c : {"Songname", "Words by", "Composed by", "Date of composition"})
        QVERIFY2(captions.contains(c), c);
    QCOMPARE(typed(d.titleBox(), QString(60, 'a')).size(), 50);
}

void TstNewSongDialog::titleSetIgnoresCaseAndRefusesApostrophe()
{
    Env e;
    NewSongDialog d(e.state);
    QCOMPARE(typed(d.titleBox(), "Hey Jude (Take 2) & More"), QString("Hey Jude (Take 2) & More"));
    QCOMPARE(typed(d.titleBox(), "MÜLLER, ßig-üä+öx."), QString("MÜLLER, ßig-üä+öx."));
    QCOMPARE(typed(d.titleBox(), "Don't"), QString("Dont"));
    QCOMPARE(typed(d.titleBox(), "a;b\"c%d_e@f"), QString("abcdef"));
    const QString& set = songfields::titleCharacters();
    QVERIFY(CharacterFilter::admits(set, 'g') && CharacterFilter::admits(set, 'G') &&
            CharacterFilter::admits(set, 'a') && CharacterFilter::admits(set, 'A'));
    QVERIFY(!CharacterFilter::admits(set, '\''));
}

void TstNewSongDialog::wordsAndComposerSets()
{
    Env e;
    NewSongDialog d(e.state);
    QCOMPARE(typed(d.wordsBox(), "Paul@Home ®©"), QString("Paul@Home ®©"));
    QCOMPARE(typed(d.wordsBox(), "O'Brien"), QString("OBrien"));
    QCOMPARE(typed(d.composerBox(), "Lennon & McCartney"), QString("Lennon & McCartney"));
    QCOMPARE(typed(d.composerBox(), "A(b)@c'"), QString("Abc"));
    for (const QString& set : {songfields::titleCharacters(), songfields::textCharacters(),
                               songfields::composerCharacters()})
        QVERIFY(!set.contains('\''));
}

void TstNewSongDialog::pasteKeepsTheAdmittedRest()
{
    Env e;
    NewSongDialog d(e.state);
    QTest::keyClicks(d.titleBox(), "Ab");
    d.titleBox()->setCursorPosition(1);
    QApplication::clipboard()->setText("n't st");
    d.titleBox()->paste();
    QCOMPARE(d.titleBox()->text(), QString("Ant stb"));
    QCOMPARE(d.titleBox()->cursorPosition(), 6);
    QVERIFY(d.titleBox()->hasAcceptableInput());
}

void TstNewSongDialog::blankTitleIsMissing()
{
    Env e;
    NewSongDialog d(e.state);
    d.titleBox()->setText("     ");
    d.confirm();
    QCOMPARE(e.prompter.asked().size(), 1);
    QCOMPARE(e.prompter.asked().first().text, QString("   Missing songtitle   "));
    QCOMPARE(e.prompter.asked().first().title, QString("New song"));
    QCOMPARE(e.prompter.asked().first().icon, Prompter::Icon::Critical);
    QCOMPARE(e.prompter.asked().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(d.result(), 0);
    QCOMPARE(e.songs.count(), 1);
}

void TstNewSongDialog::existingTitleRefusedWhateverCase()
{
    Env e;
    NewSongDialog d(e.state);
    d.titleBox()->setText("  " + kTrainingSong.toLower() + " ");
    d.confirm();
    QCOMPARE(e.prompter.askedTexts(), QStringList{"  Songtitle already exists   "});
    QCOMPARE(e.prompter.asked().first().title, QString("Quillon05"));
    QCOMPARE(e.songs.count(), 1);
    QCOMPARE(e.state.currentSong, kNoSongLoaded);
    QVERIFY(!d.isVisible());
}

void TstNewSongDialog::trimmedTitleIsCreatedAndCounted()
{
    Env e;
    NewSongDialog d(e.state);
    QSignalSpy counted(&d, &NewSongDialog::songCountChanged);
    d.titleBox()->setText("   Across the Universe  ");
    d.wordsBox()->setText(" john ");
    d.composerBox()->setText("Lennon");
    d.dateBox()->setText("02-04-1968");
    d.confirm();
    QVERIFY(e.prompter.asked().isEmpty());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(e.state.currentSong, QString("Across the Universe"));
    QCOMPARE(e.state.songCount, 2);
    QCOMPARE(counted.size(), 1);
    QCOMPARE(counted.first().first().toInt(), 2);
    const auto row = e.songs.song("Across the Universe");
    QVERIFY(row);
    QCOMPARE(row->text("text"), QString(" john ")); // as typed, not trimmed
    QCOMPARE(row->text("composer"), QString("Lennon"));
    QCOMPARE(row->text("compodate"), QString("02-04-1968"));
    for (int n = 1; n <= 10; ++n) {
        bool found = false;
        e.songs.trackRow("Across the Universe", n, &found);
        QVERIFY(found);
    }
}

void TstNewSongDialog::failedCreateKeepsCurrentSong()
{
    Env e;
    e.state.currentSong = kTrainingSong;
    e.songs.setFaultInjector([](const QString& stage) { return stage == "track5"; });
    NewSongDialog d(e.state);
    d.titleBox()->setText("Half Written");
    d.confirm();
    QCOMPARE(e.prompter.asked().size(), 1);
    QCOMPARE(e.prompter.asked().first().icon, Prompter::Icon::Critical);
    QCOMPARE(e.state.currentSong, kTrainingSong);
    QVERIFY(!e.songs.song("Half Written"));
    QCOMPARE(d.result(), 0);
}

void TstNewSongDialog::cancelWritesNothing()
{
    Env e;
    e.state.currentSong = "Whatever Was Loaded";
    NewSongDialog d(e.state);
    d.titleBox()->setText("Never Stored");
    QTimer::singleShot(0, &d, [&d] { d.findChild<QPushButton*>("cmdCancel")->click(); });
    QCOMPARE(d.exec(), int(QDialog::Rejected));
    QCOMPARE(e.state.currentSong, QString("Whatever Was Loaded"));
    QVERIFY(!e.songs.song("Never Stored"));
    QCOMPARE(e.songs.count(), 1);
}

QTEST_MAIN(TstNewSongDialog)
#include "tst_newsongdialog.moc"
