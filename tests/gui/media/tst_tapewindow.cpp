#include "tapefixture.h"

#include "media/mediatree.h"

#include "store/catalogueevents.h"
#include "store/database.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QStatusBar>

using namespace quillon;
using namespace quillon::test;

namespace {
const QString kDuplicate = QStringLiteral(
    "There is already an item with that number/description !\rPlease use another name.");
const QString kEmpty = QStringLiteral(
    "You have to enter at least the number or description\rof the Tape,harddisk or CD");
QString today()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}
} // namespace

class TestTapeWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationDisplayName("QuillonSE"); }

    void treeHasRootAndSortedMedia()
    {
        TapeFixture f;
        f.add("reel b");
        f.add("Reel A", "4 - CDR/CDRW - DVD/DVDRW");
        f.add("Disk C", "1 - Harddisk");
        TapeWindow w(f.state);
        w.show();
        const MediaTree& tree = w.tree();
        QCOMPARE(w.objectName(), QString("frmTape"));
        QCOMPARE(w.windowTitle(), QString("Tapes, CDs, Harddisks"));
        QCOMPARE(tree.text(tree.root()), QString("Tapes, CDs, Harddisks"));
        QCOMPARE(tree.picture(tree.root()), 21);
        QCOMPARE(tree.mediumCount(), 3);
        const QModelIndex root = tree.root();
        QStringList labels, keys;
        for (int r = 0; r < 3; ++r) {
            labels << tree.text(tree.model()->index(r, 0, root));
            keys << tree.key(tree.model()->index(r, 0, root));
        }
        QCOMPARE(labels, QStringList({"Disk C", "Reel A", "reel b"}));
        QCOMPARE(keys, QStringList({"3M", "2M", "1M"}));
        QCOMPARE(tree.picture(tree.find("Reel A")), 4);
        QCOMPARE(tree.picture(tree.find("Disk C")), 1);
        QVERIFY(w.ui().tree->isExpanded(root));
        QCOMPARE(w.ui().tree->currentIndex(), root);
        QVERIFY(w.ui().hideAll->isVisible());
        QVERIFY(!w.ui().deleteButton->isEnabled());
        QVERIFY(!w.ui().saveButton->isEnabled());
        QCOMPARE(w.ui().count->text(), QString("3"));
        QCOMPARE(w.ui().panels.at(2)->text(), QString("Items: 3"));
        QCOMPARE(w.ui().type->count(), 10);
        QCOMPARE(box(w, 0)->maxLength(), 50);
        QCOMPARE(box(w, 3)->maxLength(), 15);
        QCOMPARE(box(w, 4)->maxLength(), 8);
        QCOMPARE(box(w, 5)->maxLength(), 20);
        QCOMPARE(box(w, 7)->maxLength(), 10);
        QCOMPARE(box(w, 0)->text(), QString("000"));
    }

    void otherRoomsMediaShowAndTheShownMediumStays()
    {
        TapeFixture f;
        f.add("Reel B");
        f.add("Reel D");
        CatalogueEvents events;
        f.state.events = &events;
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel D"));
        // Another room's changes, told as the server tells them.
        f.add("Reel A"); // sorted in before the shown medium
        QVERIFY(f.media.remove("Reel B"));
        emit events.changed(CatalogueEvents::kMedia, "Reel A");
        QTRY_VERIFY(w.tree().find("Reel A").isValid());
        QVERIFY(!w.tree().find("Reel B").isValid());
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel D"));
        QCOMPARE(w.ui().tree->currentIndex(), w.shownNode());
        // The shown medium deleted there: back to the root, as after a deletion here.
        QVERIFY(f.media.remove("Reel D"));
        emit events.changed(CatalogueEvents::kMedia, "Reel D");
        QTRY_COMPARE(w.shownNode(), w.tree().root());
        QCOMPARE(w.ui().tree->currentIndex(), w.tree().root());
        QVERIFY(w.ui().hideAll->isVisible());
    }

    void missingDatabaseKeepsOnlyTheRoot()
    {
        TapeFixture f;
        QVERIFY(QFile::remove(f.data.tapeDb()));
        TapeWindow w(f.state);
        w.show();
        QCOMPARE(f.prompter.askedTexts(), QStringList{"No database available"});
        QCOMPARE(f.prompter.asked().first().title, QString("ERROR"));
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QCOMPARE(w.tree().mediumCount(), 0);
    }

    void showsDetailsSongsAndPositions()
    {
        TapeFixture f;
        f.add("Reel 1");
        QVERIFY(f.songs.create({"First", "", "", ""}));
        QVERIFY(f.songs.create({"Second", "", "", ""}));
        QVERIFY(f.songs.updateFields("First", {{"Bandnummer", "Reel 1"},
                                               {"BandZählWerkVon", "120"},
                                               {"BandZählWerkBis", "340"},
                                               {"BandzeitVon", "00:01:00"},
                                               {"BandzeitBis", "00:04:30"},
                                               {"SMPTEZeit", "01:00:00"}}));
        QVERIFY(
            f.songs.updateFields("Second", {{"Bandnummer", "Reel 1"}, {"BandZählWerkVon", "500"}}));
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        QVERIFY(!w.ui().hideAll->isVisible());
        QCOMPARE(box(w, 0)->text(), QString("Reel 1"));
        QCOMPARE(box(w, 1)->text(), QString("Ampex"));
        QCOMPARE(box(w, 2)->text(), QString("SN-Reel 1"));
        QCOMPARE(w.ui().type->currentText(), QString("2 - Analog Tape"));
        QCOMPARE(w.detailPicture(), 2);
        QCOMPARE(w.ui().songs->count(), 2);
        QCOMPARE(w.ui().songs->currentRow(), 0);
        auto labels = [&] {
            QStringList t;
            for (QLabel* l : w.ui().positions)
                t << l->text();
            return t;
        };
        QCOMPARE(labels(), QStringList({"120", "340", "00:01:00", "00:04:30", "01:00:00"}));
        w.ui().songs->setCurrentRow(1);
        QCOMPARE(labels().first(), QString("500"));
        QVERIFY(w.ui().deleteButton->isEnabled());
        QVERIFY(!w.hasPendingEdits());
        // Back at the root the details are covered again.
        w.clickNode(w.tree().root());
        QVERIFY(w.ui().hideAll->isVisible());
        QVERIFY(!w.ui().deleteButton->isEnabled());
        QCOMPARE(labels(), QStringList({"000", "000", "00:00:00", "00:00:00", "00:00:00"}));
    }

    void duplicateNameIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("other case") << "REEL 2";
        QTest::newRow("blanks") << "  Reel 2  ";
        QTest::newRow("root text") << "tapes, cds, harddisks";
        QTest::newRow("own name, other case") << "reel 1";
    }
    void duplicateNameIsRefused()
    {
        QFETCH(QString, name);
        TapeFixture f;
        f.add("Reel 1");
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), name);
        QVERIFY(w.hasPendingEdits());
        click(w.ui().saveButton);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kDuplicate});
        QCOMPARE(box(w, 0)->text(), QString("Reel 1"));
        QCOMPARE(f.media.count(), 2);
        QVERIFY(f.media.find("Reel 1").has_value());
        QVERIFY(f.media.find("Reel 2").has_value());
    }

    void duplicateIsRefusedWhenAdding()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        click(w.ui().newButton);
        QVERIFY(w.isAdding());
        QCOMPARE(w.ui().newButton->text(), QString("&OK"));
        QCOMPARE(w.ui().saveButton->text(), QString("&Cancel"));
        QVERIFY(!w.ui().tree->isEnabled());
        QVERIFY(!w.ui().exitButton->isEnabled());
        QCOMPARE(box(w, 6)->text(), today());
        type(box(w, 0), " reel 1 ");
        click(w.ui().newButton);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kDuplicate});
        QVERIFY(w.isAdding());
        QCOMPARE(f.media.count(), 1);
        // An empty name is refused too.
        type(box(w, 0), "");
        click(w.ui().newButton);
        QCOMPARE(f.prompter.askedTexts().last(), kEmpty);
        QCOMPARE(f.media.count(), 1);
        // Cancel adds nothing.
        click(w.ui().saveButton);
        QVERIFY(!w.isAdding());
        QCOMPARE(w.ui().newButton->text(), QString("&New"));
        QCOMPARE(w.ui().saveButton->text(), QString("&Save"));
        QVERIFY(w.ui().tree->isEnabled());
        QVERIFY(w.ui().hideAll->isVisible());
        QCOMPARE(f.media.count(), 1);
    }

    void emptyNameIsRefusedOnSave()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), "   ");
        click(w.ui().saveButton);
        QCOMPARE(f.prompter.askedTexts(), QStringList{kEmpty});
        QCOMPARE(box(w, 0)->text(), QString("Reel 1"));
        QVERIFY(f.media.find("Reel 1").has_value());
    }

    void addingStoresTrimmedAndShowsTheNewMedium()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        click(w.ui().newButton);
        type(box(w, 0), "  New Disk  ");
        type(box(w, 1), "Maxtor");
        w.ui().type->setCurrentIndex(0);
        click(w.ui().newButton);
        QVERIFY(f.prompter.askedTexts().isEmpty());
        const Medium m = f.stored("New Disk");
        QCOMPARE(m.brand, QString("Maxtor"));
        QCOMPARE(m.type, QString("1 - Harddisk"));
        QCOMPARE(m.enteredOn, today());
        QCOMPARE(m.deleted, QString("0"));
        QCOMPARE(w.tree().text(w.shownNode()), QString("New Disk"));
        QCOMPARE(w.ui().tree->currentIndex(), w.shownNode());
        QCOMPARE(w.ui().count->text(), QString("2"));
        // Editing right after adding updates the new row.
        type(box(w, 2), "SER-77");
        click(w.ui().saveButton);
        QCOMPARE(f.stored("New Disk").serialNumber, QString("SER-77"));
        QCOMPARE(f.media.count(), 2);
    }

    void separatingAHarddisk()
    {
        TapeFixture f;
        f.add("Disk 1", "1 - Harddisk");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Disk 1"));
        QCOMPARE(w.detailPicture(), 1);
        click(w.ui().separated);
        QVERIFY(w.ui().separated->isChecked());
        // Shown at once, before anything is stored.
        QCOMPARE(w.detailPicture(), 11);
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), 11);
        QCOMPARE(box(w, 7)->text(), today());
        QCOMPARE(f.stored("Disk 1").deleted, QString("0"));
        click(w.ui().saveButton);
        const Medium m = f.stored("Disk 1");
        QCOMPARE(m.deleted, QString("1"));
        QCOMPARE(m.separatedOn, today());
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), 11);
        // Clearing the separation empties the date and stores "0".
        click(w.ui().separated);
        QCOMPARE(w.detailPicture(), 1);
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Disk 1").deleted, QString("0"));
        QCOMPARE(f.stored("Disk 1").separatedOn, QString());
        QCOMPARE(f.stored("Disk 1").brand, QString("Ampex"));
        // Another type shows its picture at once and reaches the node when stored.
        w.ui().type->setCurrentIndex(3);
        QCOMPARE(w.detailPicture(), 4);
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), 1);
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Disk 1").type, QString("4 - CDR/CDRW - DVD/DVDRW"));
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), 4);
    }

    void unsavedSeparationLeavesTheStoredPicture_data()
    {
        QTest::addColumn<bool>("separated");
        QTest::addColumn<QString>("leaveBy");
        for (const bool separated : {false, true})
            for (const char* leaveBy : {"medium", "root", "new"})
                QTest::newRow(
                    qPrintable(QString("%1, %2").arg(separated ? "separated" : "in use", leaveBy)))
                    << separated << QString(leaveBy);
    }
    void unsavedSeparationLeavesTheStoredPicture()
    {
        QFETCH(bool, separated);
        QFETCH(QString, leaveBy);
        TapeFixture f;
        Medium disk = TapeFixture::medium("Disk 1", "1 - Harddisk");
        disk.setSeparated(separated);
        QVERIFY(f.media.add(disk));
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Disk 1"));
        const int stored = separated ? 11 : 1;
        click(w.ui().separated);
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), separated ? 1 : 11);
        f.prompter.answer(QMessageBox::No);
        if (leaveBy == "medium")
            QVERIFY(clickMedium(w, "Reel 2"));
        else if (leaveBy == "root")
            w.clickNode(w.tree().root());
        else
            click(w.ui().newButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().defaultButton, QMessageBox::No);
        QCOMPARE(w.tree().picture(w.tree().find("Disk 1")), stored);
        QCOMPARE(f.stored("Disk 1").deleted, QString(separated ? "1" : "0"));
    }

    void datesFitTheBoxInEveryLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("hu_HU") << QLocale(QLocale::Hungarian, QLocale::Hungary) << true;
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << false;
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << false;
    }
    void datesFitTheBoxInEveryLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, tooLong);
        const QLocale saved;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&] { QLocale::setDefault(saved); });
        const QDate day = QDate::currentDate();
        const QString local = locale.toString(day, QLocale::ShortFormat);
        QCOMPARE(local.size() > 10, tooLong);
        const QString expected = tooLong ? day.toString("MM-dd-yyyy") : local;

        TapeFixture f;
        TapeWindow w(f.state);
        w.show();
        click(w.ui().newButton);
        QCOMPARE(box(w, 6)->text(), expected);
        type(box(w, 0), "Dated");
        click(w.ui().newButton);
        QCOMPARE(f.stored("Dated").enteredOn, expected);
        click(w.ui().separated);
        QCOMPARE(box(w, 7)->text(), expected);
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Dated").separatedOn, expected);
    }

    void recordingTimeTakesOnlyHoursMinutesSeconds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "abc"
                                 << "";
        QTest::newRow("a time") << "12:34:56"
                                << "12:34:56";
        QTest::newRow("too long") << "12:34:567"
                                  << "12:34:56";
        QTest::newRow("letters between") << "0x1:2y0"
                                         << "01:20";
        QTest::newRow("minutes above 59") << "00:7"
                                          << "00:";
    }
    void recordingTimeTakesOnlyHoursMinutesSeconds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 4), typed);
        QCOMPARE(box(w, 4)->text(), shown);
    }

    void aHalfTypedRecordingTimeIsNotStored()
    {
        TapeFixture f;
        Medium old = TapeFixture::medium("Reel 1");
        old.maxTime = "90 min"; // stored in another form
        QVERIFY(f.media.add(old));
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        QCOMPARE(box(w, 4)->text(), QString("90 min"));
        // Untouched, it is written back as it is.
        type(box(w, 1), "Other brand");
        click(w.ui().saveButton);
        QVERIFY(f.prompter.askedTexts().isEmpty());
        QCOMPARE(f.stored("Reel 1").maxTime, QString("90 min"));
        QCOMPARE(f.stored("Reel 1").brand, QString("Other brand"));
        // Half typed, it is refused by Save and by the save question.
        type(box(w, 4), "01:3");
        click(w.ui().saveButton);
        const QString refusal("Please enter the recording time as hh:mm:ss.");
        QCOMPARE(f.prompter.askedTexts(), QStringList{refusal});
        QCOMPARE(f.prompter.asked().last().icon, Prompter::Icon::Critical);
        QCOMPARE(f.stored("Reel 1").maxTime, QString("90 min"));
        f.prompter.answer(QMessageBox::Yes);
        QVERIFY(clickMedium(w, "Reel 2"));
        QCOMPARE(f.prompter.askedTexts().last(), refusal);
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel 1"));
        QCOMPARE(box(w, 4)->text(), QString("01:3"));
        QVERIFY(!w.close());
        type(box(w, 4), "01:30:00");
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Reel 1").maxTime, QString("01:30:00"));
        // A new medium with a half-typed time is not added.
        click(w.ui().newButton);
        type(box(w, 0), "Fresh");
        type(box(w, 4), "2");
        click(w.ui().newButton);
        QCOMPARE(f.prompter.askedTexts().last(), refusal);
        QVERIFY(w.isAdding());
        QVERIFY(!f.media.find("Fresh").has_value());
    }

    void yesToTheSaveQuestionStoresAndShowsTheNext()
    {
        TapeFixture f;
        f.add("Reel 1");
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 1), "Kept brand");
        f.prompter.answer(QMessageBox::Yes);
        QVERIFY(clickMedium(w, "Reel 2"));
        QCOMPARE(f.stored("Reel 1").brand, QString("Kept brand"));
        QCOMPARE(f.stored("Reel 2").brand, QString("Ampex"));
        QCOMPARE(box(w, 0)->text(), QString("Reel 2"));
        QCOMPARE(w.tree().text(w.shownNode()), QString("Reel 2"));
        QVERIFY(!w.hasPendingEdits());
    }

    // Another room stored the shown medium meanwhile: Save says why nothing
    // was stored and shows their values where nothing was typed; saving
    // again stores what was typed over them.
    void aMediumChangedInAnotherRoomIsShownAndTypingKept()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        Medium theirs = f.stored("Reel 1");
        theirs.brand = "Their brand";
        theirs.noiseReduction = "dbx";
        QVERIFY(MediaStore(f.tmp.folder()).update("Reel 1", theirs));
        type(box(w, 1), "My brand");
        click(w.ui().saveButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QVERIFY2(f.prompter.asked().first().text.contains("in another room"),
                 qPrintable(f.prompter.asked().first().text));
        QCOMPARE(box(w, 5)->text(), QString("dbx"));
        QCOMPARE(box(w, 1)->text(), QString("My brand"));
        QCOMPARE(f.stored("Reel 1"), theirs);
        click(w.ui().saveButton);
        theirs.brand = "My brand";
        QCOMPARE(f.stored("Reel 1"), theirs);
        QVERIFY(!w.hasPendingEdits());
    }

    void noToTheSaveQuestionLeavesTheMediumUnchanged()
    {
        TapeFixture f;
        f.add("Reel 1");
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 1), "Changed brand");
        f.prompter.answer(QMessageBox::No);
        QVERIFY(clickMedium(w, "Reel 2"));
        QCOMPARE(f.prompter.asked().size(), 1);
        const auto asked = f.prompter.asked().first();
        QCOMPARE(asked.text, QString("Item \rReel 1\rnot saved. Do you want to save the changes?"));
        QCOMPARE(asked.title, QString("Delete item"));
        QCOMPARE(asked.defaultButton, QMessageBox::No);
        QCOMPARE(asked.icon, Prompter::Icon::Question);
        QCOMPARE(box(w, 0)->text(), QString("Reel 2"));
        // Edit and save the medium now shown: only its row changes.
        type(box(w, 1), "Other brand");
        click(w.ui().saveButton);
        QCOMPARE(f.stored("Reel 2").brand, QString("Other brand"));
        QCOMPARE(f.stored("Reel 1").brand, QString("Ampex"));
    }

    void yesToTheSaveQuestionStoresTheLeftMedium()
    {
        TapeFixture f;
        f.add("Reel 1");
        f.add("Reel 2");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), "Reel 1b");
        type(box(w, 1), "Changed brand");
        f.prompter.answer(QMessageBox::Yes);
        w.clickNode(w.tree().root());
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.stored("Reel 1b").brand, QString("Changed brand"));
        QVERIFY(!f.media.find("Reel 1").has_value());
        QVERIFY(w.tree().find("Reel 1b").isValid());
        QVERIFY(w.ui().hideAll->isVisible());
        QVERIFY(!w.hasPendingEdits());
    }

    void newOffersToSavePendingChanges()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 1), "Typed brand");
        f.prompter.answer(QMessageBox::Yes);
        click(w.ui().newButton);
        QCOMPARE(f.prompter.askedTexts(),
                 QStringList{"Item \rReel 1\rnot saved. Do you want to save the changes?"});
        QVERIFY(w.isAdding());
        QCOMPARE(f.stored("Reel 1").brand, QString("Typed brand"));
        QCOMPARE(box(w, 1)->text(), QString());
    }

    void renamingBackIsNoChange()
    {
        TapeFixture f;
        f.add("Reel 1");
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        type(box(w, 0), "Reel 9");
        QVERIFY(w.ui().saveButton->isEnabled());
        type(box(w, 0), " Reel 1 ");
        QVERIFY(!w.hasPendingEdits());
        QVERIFY(!w.ui().saveButton->isEnabled());
    }

    void apostrophesAreNamesLikeAnyOther()
    {
        TapeFixture f;
        f.add("Plain");
        TapeWindow w(f.state);
        w.show();
        click(w.ui().newButton);
        type(box(w, 0), "O'Brien's Tape");
        click(w.ui().newButton);
        QVERIFY2(f.prompter.askedTexts().isEmpty(), qPrintable(f.prompter.askedTexts().join("|")));
        QVERIFY(f.media.find("O'Brien's Tape").has_value());
        QVERIFY(w.tree().find("O'Brien's Tape").isValid());
        // Rename.
        QVERIFY(clickMedium(w, "O'Brien's Tape"));
        type(box(w, 0), "Bob's 'best' reel");
        click(w.ui().saveButton);
        QVERIFY(f.media.find("Bob's 'best' reel").has_value());
        QVERIFY(!f.media.find("O'Brien's Tape").has_value());
        QCOMPARE(w.tree().text(w.shownNode()), QString("Bob's 'best' reel"));
        // Delete.
        f.prompter.answer(QMessageBox::Ok);
        click(w.ui().deleteButton);
        QCOMPARE(f.prompter.askedTexts().last(),
                 QString("Do you really want to remove\rBob's 'best' reel\rfrom the database?"));
        QVERIFY(!f.media.find("Bob's 'best' reel").has_value());
        QCOMPARE(f.media.count(), 1);
        QCOMPARE(w.tree().mediumCount(), 1);
    }

    void deleteQuestionCancelKeepsTheMedium()
    {
        TapeFixture f;
        f.add("Reel 1");
        QVERIFY(f.songs.create({"Song", "", "", ""}));
        QVERIFY(f.songs.updateFields("Song", {{"Bandnummer", "Reel 1"}}));
        TapeWindow w(f.state);
        w.show();
        QVERIFY(clickMedium(w, "Reel 1"));
        click(w.ui().deleteButton); // unscripted: the default, Cancel
        const auto asked = f.prompter.asked().last();
        QCOMPARE(asked.title, QString("Delete item"));
        QCOMPARE(asked.defaultButton, QMessageBox::Cancel);
        QCOMPARE(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(f.media.find("Reel 1").has_value());
        f.prompter.answer(QMessageBox::Ok);
        click(w.ui().deleteButton);
        QVERIFY(!f.media.find("Reel 1").has_value());
        QCOMPARE(w.ui().count->text(), QString("0"));
        // The song keeps naming the medium.
        QCOMPARE(f.songs.titlesOnMedium("Reel 1"), QStringList{"Song"});
    }

    void fiveThousandMediaBuild()
    {
        TapeFixture f;
        {
            Database db;
            QVERIFY(db.open(f.data.tapeDb()));
            QVERIFY(db.transaction());
            for (int i = 0; i < 5000; ++i)
                QVERIFY(db.exec("INSERT INTO Tape (bandnummer, bandtype, deleted) VALUES (?, ?, ?)",
                                {QString("Medium %1").arg(i, 4, 10, QChar('0')), "5 - DAT Tape",
                                 i % 7 == 0 ? "1" : "0"}));
            QVERIFY(db.commit());
        }
        QElapsedTimer timer;
        timer.start();
        TapeWindow w(f.state);
        w.show();
        QCOMPARE(w.tree().mediumCount(), 5000);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(w.tree().picture(w.tree().find("Medium 0007")), 15);
        QCOMPARE(w.tree().picture(w.tree().find("Medium 0008")), 5);
    }
};

QTEST_MAIN(TestTapeWindow)
#include "tst_tapewindow.moc"
