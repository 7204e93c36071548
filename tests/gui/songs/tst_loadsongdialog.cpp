// The open song dialog: titles in table order, first selected, open, cancel.

#include "appfixture.h"
#include "otherroom.h"
#include "songs/loadsongdialog.h"
#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "store/songconstants.h"

#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace quillon;

namespace {
using Env = test::AppFixture;

// What the view shows, read through the view's own model.
QStringList itemTexts(QListView* list)
{
    QStringList out;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->rowCount(); ++i)
        out << model->index(i, 0).data().toString();
    return out;
}

int rows(QListView* list)
{
    return list->model()->rowCount();
}

void selectRow(QListView* list, int row)
{
    list->setCurrentIndex(list->model()->index(row, 0));
}

// 1000 titles after the training song: "Song n" at row n, but for the
// titles given, each at its row, all of them past the first batch read.
bool insertTitles(SongStore& songs, const QMap<int, QString>& special)
{
    Database& db = songs.database();
    if (!db.transaction())
        return false;
    for (int row = 1; row <= 1000; ++row)
        if (!db.exec("INSERT INTO xtrax (songtitle) VALUES (?)",
                     {special.value(row, QString("Song %1").arg(row))}))
            return false;
    return db.commit();
}

QString currentTitle(QListView* list)
{
    return list->currentIndex().data().toString();
}
} // namespace

class TstLoadSongDialog : public QObject {
    Q_OBJECT
private slots:
    void listsTitlesInTableOrder();
    void openSetsSongAndSlotOne();
    void doubleClickOpens();
    void cancelKeepsCurrentSong();
    void emptyTableOpensNothing();
    void longListReadsAsScrolled();
    void failedReadIsShown();
    void initTestCase();
    void typingFindsATitleNotYetRead();
    void typedPrefixOfNoTitleLeavesTheCurrentRow();
    void typingFindsAwkwardTitles_data();
    void typingFindsAwkwardTitles();
    void newSearchStartsAfterTheCurrentTitle();
    void otherRoomsSongsShowAndTheChoiceStays();
};

void TstLoadSongDialog::initTestCase()
{
    // Letters typed in one go make one search however long a search takes
    // on a slow machine; every search here has a dialog of its own.
    QApplication::setKeyboardInputInterval(60000);
}

void TstLoadSongDialog::listsTitlesInTableOrder()
{
    Env e;
    for (const char* t : {"Zebra", "Apple", "Mango"})
        QVERIFY(e.songs.create(NewSong{t, {}, {}, {}}));
    LoadSongDialog d(e.state);
    QCOMPARE(d.objectName(), QString("frmLoadSong"));
    QCOMPARE(d.windowTitle(), QString("Choose Songtitle"));
    QCOMPARE(d.findChild<QPushButton*>("cmdOpen")->toolTip(), QString("Open chosen Song"));
    QCOMPARE(d.findChild<QPushButton*>("cmdCancel")->toolTip(),
             QString("Close window without loading"));
    QCOMPARE(d.list()->objectName(), QString("SongtitleList"));
    QCOMPARE(d.list()->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(d.list()->model(), d.model());
    d.show();
    QCOMPARE(itemTexts(d.list()), QStringList({kTrainingSong, "Zebra", "Apple", "Mango"}));
    QCOMPARE(d.list()->currentIndex().row(), 0);
    QCOMPARE(d.list()->selectionModel()->selectedIndexes().size(), 1);
    // Built anew on every showing, with the first title selected again.
    selectRow(d.list(), 2);
    d.hide();
    QVERIFY(e.songs.create(NewSong{"Kiwi", {}, {}, {}}));
    d.show();
    QCOMPARE(rows(d.list()), 5);
    QCOMPARE(itemTexts(d.list()).last(), QString("Kiwi"));
    QCOMPARE(d.list()->currentIndex().row(), 0);
}

void TstLoadSongDialog::openSetsSongAndSlotOne()
{
    Env e;
    QVERIFY(e.songs.create(NewSong{"It's Only Rock", {}, {}, {}}));
    e.state.currentDeviceIndex = 7;
    LoadSongDialog d(e.state);
    QTimer::singleShot(0, &d, [&d] {
        selectRow(d.list(), 1);
        d.findChild<QPushButton*>("cmdOpen")->click();
    });
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(e.state.currentSong, QString("It's Only Rock"));
    QCOMPARE(e.state.currentDeviceIndex, 1);
}

void TstLoadSongDialog::doubleClickOpens()
{
    Env e;
    LoadSongDialog d(e.state);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QListView* list = d.list();
    const QRect rect = list->visualRect(list->model()->index(0, 0));
    QVERIFY(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(e.state.currentSong, kTrainingSong);
}

void TstLoadSongDialog::cancelKeepsCurrentSong()
{
    Env e;
    e.state.currentSong = kNoSongLoaded;
    e.state.currentDeviceIndex = 4;
    LoadSongDialog d(e.state);
    QTimer::singleShot(0, &d, [&d] { d.findChild<QPushButton*>("cmdCancel")->click(); });
    QCOMPARE(d.exec(), int(QDialog::Rejected));
    QCOMPARE(e.state.currentSong, kNoSongLoaded);
    QCOMPARE(e.state.currentDeviceIndex, 4);
}

void TstLoadSongDialog::emptyTableOpensNothing()
{
    Env e;
    QVERIFY(e.songs.remove(kTrainingSong));
    e.state.currentSong = kNoSongLoaded;
    LoadSongDialog d(e.state);
    QTimer::singleShot(0, &d, [&d] { d.findChild<QPushButton*>("cmdOpen")->click(); });
    QCOMPARE(d.exec(), int(QDialog::Rejected));
    QCOMPARE(e.state.currentSong, kNoSongLoaded);
}

void TstLoadSongDialog::longListReadsAsScrolled()
{
    Env e;
    Database& db = e.songs.database();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 1000; ++i)
        QVERIFY(db.exec("INSERT INTO xtrax (songtitle) VALUES (?)", {QString("Song %1").arg(i)}));
    QVERIFY(db.commit());
    LoadSongDialog d(e.state);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QListView* list = d.list();
    // Only the first batch is read to open the dialog.
    QCOMPARE(rows(list), SongTitleModel::kDefaultBatchSize);
    QCOMPARE(list->currentIndex().row(), 0);
    // Scrolled to the end of what is read, the view asks for the next batch.
    QScrollBar* bar = list->verticalScrollBar();
    for (int guard = 0; rows(list) < 1001 && guard < 100; ++guard) {
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
    }
    QCOMPARE(rows(list), 1001);
    QCOMPARE(d.model()->title(1000), QString("Song 1000"));
    // The last title opens like any other.
    selectRow(list, 1000);
    d.findChild<QPushButton*>("cmdOpen")->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(e.state.currentSong, QString("Song 1000"));
}

void TstLoadSongDialog::failedReadIsShown()
{
    Env e;
    e.songs.close();
    e.state.currentSong = "Before";
    LoadSongDialog d(e.state);
    d.show();
    QCOMPARE(rows(d.list()), 0);
    QTRY_COMPARE(e.prompter.asked().size(), 1);
    QCOMPARE(e.prompter.asked().first().icon, Prompter::Icon::Critical);
    QVERIFY(!e.prompter.asked().first().text.isEmpty());
    d.openChosen();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(e.state.currentSong, QString("Before"));
}

void TstLoadSongDialog::typingFindsATitleNotYetRead()
{
    Env e;
    QVERIFY(insertTitles(e.songs, {{400, "Quartz Beyond"}, {900, "Quartz Later"}}));
    LoadSongDialog d(e.state);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QListView* list = d.list();
    QCOMPARE(rows(list), SongTitleModel::kDefaultBatchSize);
    QTest::keyClicks(list, "quar");
    QCOMPARE(list->currentIndex().row(), 400);
    QCOMPARE(currentTitle(list), QString("Quartz Beyond"));
    QVERIFY(list->selectionModel()->isSelected(list->currentIndex()));
    // Read only as far as the title found, and brought into sight.
    QVERIFY(rows(list) < 1001);
    QVERIFY(list->viewport()->rect().intersects(list->visualRect(list->currentIndex())));
    // It is the one opened.
    d.findChild<QPushButton*>("cmdOpen")->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(e.state.currentSong, QString("Quartz Beyond"));
}

void TstLoadSongDialog::typedPrefixOfNoTitleLeavesTheCurrentRow()
{
    Env e;
    QVERIFY(insertTitles(e.songs, {{650, "Quartz Beyond"}}));
    LoadSongDialog d(e.state);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QListView* list = d.list();
    selectRow(list, 7);
    QTest::keyClicks(list, "Xylo");
    QCOMPARE(list->currentIndex().row(), 7);
    QCOMPARE(currentTitle(list), QString("Song 7"));
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), 1);
    // Not for want of looking: every title was read to be sure.
    QCOMPARE(rows(list), 1001);
    QVERIFY(e.prompter.asked().isEmpty());
}

void TstLoadSongDialog::typingFindsAwkwardTitles_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("row");
    QTest::newRow("quote and semicolon") << "'; drop" << 610;
    QTest::newRow("per cent and underscore") << "100% _" << 620;
    QTest::newRow("backslash") << "back\\s" << 630;
    QTest::newRow("accents, other case") << "ÜBER Ä" << 640;
    QTest::newRow("double quote") << "say \"h" << 660;
    QTest::newRow("leading blanks") << "  blan" << 670;
}

void TstLoadSongDialog::typingFindsAwkwardTitles()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    Env e;
    const QMap<int, QString> awkward{{610, "'; DROP TABLE xtrax; --"},
                                     {620, "100% _wild_"},
                                     {630, "Back\\slash"},
                                     {640, "Über Ärger ß"},
                                     {660, "Say \"Hi\""},
                                     {670, "  blanks around  "}};
    QVERIFY(insertTitles(e.songs, awkward));
    LoadSongDialog d(e.state);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QListView* list = d.list();
    QTest::keyClicks(list, typed);
    QCOMPARE(list->currentIndex().row(), row);
    QCOMPARE(currentTitle(list), awkward.value(row));
    QCOMPARE(e.songs.count(), 1001);
}

void TstLoadSongDialog::newSearchStartsAfterTheCurrentTitle()
{
    Env e;
    QVERIFY(insertTitles(e.songs, {{2, "Apple"}, {700, "Avocado"}}));
    // Typing the first letter of the current title goes on to the next title
    // with it, read or not, and only past the last one back to the first.
    const QList<QPair<int, int>> steps{{2, 700}, {700, 2}};
    for (const auto& [from, to] : steps) {
        LoadSongDialog d(e.state);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QListView* list = d.list();
        while (rows(list) <= from)
            d.model()->fetchMore({});
        selectRow(list, from);
        QTest::keyClicks(list, "a");
        QCOMPARE(list->currentIndex().row(), to);
    }
}

void TstLoadSongDialog::otherRoomsSongsShowAndTheChoiceStays()
{
    Env e;
    CatalogueEvents events;
    e.state.events = &events;
    for (const char* t : {"Apple", "Mango"})
        QVERIFY(e.songs.create(NewSong{t, {}, {}, {}}));
    LoadSongDialog d(e.state);
    d.show();
    selectRow(d.list(), 2);
    test::OtherRoom there(events, e.data);
    const QString songs = CatalogueEvents::kSongs;
    QVERIFY(there.does([](SongStore& s) { return s.create({"Kiwi", {}, {}, {}}); }, songs, "Kiwi"));
    QVERIFY(there.does([](SongStore& s) { return s.rename("Mango", "Papaya"); }, songs,
                       "Mango\tPapaya"));
    QVERIFY(there.does([](SongStore& s) { return s.remove("Apple"); }, songs, "Apple"));
    QTRY_COMPARE(itemTexts(d.list()), QStringList({kTrainingSong, "Papaya", "Kiwi"}));
    QCOMPARE(currentTitle(d.list()), QString("Papaya"));
}

QTEST_MAIN(TstLoadSongDialog)
#include "tst_loadsongdialog.moc"
