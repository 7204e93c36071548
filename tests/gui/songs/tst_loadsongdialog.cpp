// The open song dialog: titles in table order, first selected, open, cancel.

#include "app/appstate.h"
#include "app/scriptedprompter.h"
#include "songs/loadsongdialog.h"
#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <QListWidget>
#include <QPushButton>
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

QStringList itemTexts(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
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
    d.show();
    QCOMPARE(itemTexts(d.list()), QStringList({kTrainingSong, "Zebra", "Apple", "Mango"}));
    QCOMPARE(d.list()->currentRow(), 0);
    // Built anew on every showing.
    d.hide();
    QVERIFY(e.songs.create(NewSong{"Kiwi", {}, {}, {}}));
    d.show();
    QCOMPARE(d.list()->count(), 5);
}

void TstLoadSongDialog::openSetsSongAndSlotOne()
{
    Env e;
    QVERIFY(e.songs.create(NewSong{"It's Only Rock", {}, {}, {}}));
    e.state.currentDeviceIndex = 7;
    LoadSongDialog d(e.state);
    QTimer::singleShot(0, &d, [&d] {
        d.list()->setCurrentRow(1);
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
    QListWidget* list = d.list();
    const QRect rect = list->visualItemRect(list->item(0));
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

QTEST_MAIN(TstLoadSongDialog)
#include "tst_loadsongdialog.moc"
