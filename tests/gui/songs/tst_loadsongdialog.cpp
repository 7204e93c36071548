// The open song dialog: titles in table order, first selected, open, cancel.

#include "app/appstate.h"
#include "app/scriptedprompter.h"
#include "songs/loadsongdialog.h"
#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace quillon;

namespace {
struct Env {
    Env()
        : data(temp.folder()), settings(temp.settingsFile()), songs(data),
          state(data, settings, songs, prompter)
    {
        songs.open();
    }
    test::TempDataFolder temp;
    DataFolder data;
    Settings settings;
    SongStore songs;
    ScriptedPrompter prompter;
    AppState state;
};

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
};

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

QTEST_MAIN(TstLoadSongDialog)
#include "tst_loadsongdialog.moc"
