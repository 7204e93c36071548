#include "appfixture.h"
#include "devices/devicecell.h"
#include "devices/deviceregister.h"
#include "devices/floatingbar.h"
#include "devices/recdevwindow.h"
#include "devices/selectorpictures.h"
#include "songs/songstore.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace quillon;

namespace {
struct Fixture : test::AppFixture {
    DeviceRegister reg{tmp.folder()};

    Fixture()
    {
        state.currentSong = "Night Train";
        state.deviceNames = reg.names();
    }
    // Gives slot a name in the register and in the shared state.
    void rename(int slot, const QString& name)
    {
        DeviceRecord d = *reg.findSlot(slot);
        d.name = name;
        reg.updateSlot(slot, d);
        state.deviceNames[slot - 1] = name;
    }
};

// Answers the device form the bar opens: types name (if any) and presses OK.
void answerDeviceForm(const QString& name, bool* seen)
{
    QTimer::singleShot(0, [name, seen] {
        auto* form = qobject_cast<RecDevWindow*>(QApplication::activeModalWidget());
        if (!form)
            return;
        *seen = true;
        if (!name.isNull()) {
            auto* box = form->findChild<QLineEdit*>("txtFields0");
            box->selectAll();
            QTest::keyClicks(box, name);
        }
        form->findChild<QPushButton*>("cmdClose")->click();
    });
}

QList<int> litSlots(const FloatingBar& bar)
{
    QList<int> lit;
    for (int k = 1; k <= FloatingBar::kSlots; ++k)
        if (bar.cell(k)->isLit())
            lit << k;
    return lit;
}
} // namespace

class TestFloatingBar final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadShowsTitleNamesAndTrackGroups()
    {
        Fixture fx;
        fx.rename(2, "Otari MTR-90 Mk II"); // 18 characters
        fx.state.currentDeviceIndex = 4;
        fx.state.currentTrackBank = 2;
        FloatingBar bar(fx.state);
        QCOMPARE(bar.windowTitle(), QString("Quillon - Devices Bar"));
        QCOMPARE(bar.songTitleText(), QString("Night Train  "));
        QCOMPARE(bar.deviceLabelText(1), QString("24-Track Tape"));
        QCOMPARE(bar.deviceLabelText(2), QString("Otari MTR-90 M"));
        QCOMPARE(bar.deviceLabelText(10), QString("Master Recorder").left(14));
        auto* list = bar.findChild<QListWidget*>("List1");
        QCOMPARE(list->count(), 4);
        QStringList groups;
        for (int i = 0; i < list->count(); ++i)
            groups << list->item(i)->text();
        QCOMPARE(groups, QStringList({"1-24", "25-48", "49-72", "73-96"}));
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(list->isHidden());
        QCOMPARE(litSlots(bar), QList<int>{4});
        QCOMPARE(bar.findChild<QPushButton*>("cmdOnTop")->text(), QString("On"));
        QVERIFY(!bar.isOnTop());
    }

    void renamingSlot3FromTheBarChangesOnlySlot3()
    {
        Fixture fx;
        fx.state.currentDeviceIndex = 1;
        FloatingBar bar(fx.state);
        bar.show();
        QSignalSpy renamed(&bar, &FloatingBar::deviceRenamed);
        QSignalSpy selected(&bar, &FloatingBar::slotSelected);
        const QStringList before = fx.state.deviceNames;
        bool seen = false;
        answerDeviceForm("Fostex G24S Studio Recorder", &seen); // 27 characters
        QTest::mouseDClick(bar.cell(3)->nameLabel(), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(renamed.size(), 1);
        QCOMPARE(renamed.first().first().toInt(), 3);
        QCOMPARE(selected.size(), 0);
        QStringList expected = before;
        expected[2] = "Fostex G24S Studio Recorder";
        QCOMPARE(fx.state.deviceNames, expected);
        QCOMPARE(fx.state.currentDeviceName, QString("Fostex G24S Studio Recorder"));
        QCOMPARE(bar.deviceLabelText(3), QString("Fostex G24S Studio R"));
        QCOMPARE(bar.deviceLabelText(1), QString("24-Track Tape"));
        QCOMPARE(bar.deviceLabelText(4), QString("ADAT 2"));
        QCOMPARE(fx.state.currentDeviceIndex, 1);
        QCOMPARE(litSlots(bar), QList<int>{1});
        QCOMPARE(fx.reg.findSlot(3)->name, QString("Fostex G24S Studio Recorder"));
        QCOMPARE(fx.reg.findSlot(1)->name, QString("24-Track Tape"));
    }

    // Two slots carrying the same name: the edit lands on the slot clicked.
    void editingAChosenSlotWhenNamesRepeat()
    {
        Fixture fx;
        fx.rename(4, "ADAT 1");
        FloatingBar bar(fx.state);
        bar.show();
        bool seen = false;
        answerDeviceForm("ADAT B", &seen);
        QTest::mouseDClick(bar.cell(4)->nameLabel(), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(fx.reg.findSlot(3)->name, QString("ADAT 1"));
        QCOMPARE(fx.reg.findSlot(4)->name, QString("ADAT B"));
        QCOMPARE(fx.state.deviceNames.at(2), QString("ADAT 1"));
        QCOMPARE(fx.state.deviceNames.at(3), QString("ADAT B"));
    }

    void namesShow14AtLoadAndUpTo20AfterAnEdit()
    {
        Fixture fx;
        fx.rename(3, "Otari MTR-90 Mk II");
        FloatingBar bar(fx.state);
        bar.show();
        QCOMPARE(bar.deviceLabelText(3), QString("Otari MTR-90 M"));
        bool seen = false;
        answerDeviceForm(QString(), &seen); // OK without a change
        QTest::mouseDClick(bar.cell(3)->nameLabel(), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(bar.deviceLabelText(3), QString("Otari MTR-90 Mk II"));
        QCOMPARE(fx.state.deviceNames.at(2), QString("Otari MTR-90 Mk II"));
        // The main window's load rule again when it hands all names over.
        bar.setDeviceNames(fx.state.deviceNames);
        QCOMPARE(bar.deviceLabelText(3), QString("Otari MTR-90 M"));
    }

    void choosingASlotLightsItAlone()
    {
        Fixture fx;
        FloatingBar bar(fx.state);
        bar.show();
        QSignalSpy selected(&bar, &FloatingBar::slotSelected);
        QTest::mouseClick(bar.cell(7)->unlitPicture(), Qt::LeftButton);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().first().toInt(), 7);
        QCOMPARE(fx.state.currentDeviceIndex, 7);
        QCOMPARE(litSlots(bar), QList<int>{7});
        QCOMPARE(bar.selectedSlot(), 7);
        // The lit selector of the current slot does nothing.
        QTest::mouseClick(bar.cell(7)->litPicture(), Qt::LeftButton);
        QCOMPARE(selected.size(), 1);
        // Mirroring the main window's choice does not echo back.
        bar.setSelectedSlot(2);
        QCOMPARE(litSlots(bar), QList<int>{2});
        QCOMPARE(selected.size(), 1);
        QCOMPARE(fx.state.currentDeviceIndex, 7);
    }

    void choosingATrackGroupEmitsAndClosesTheList()
    {
        Fixture fx;
        FloatingBar bar(fx.state);
        bar.show();
        QSignalSpy banks(&bar, &FloatingBar::bankSelected);
        auto* list = bar.findChild<QListWidget*>("List1");
        auto* tracks = bar.findChild<QToolButton*>("cmdTracks");
        QTest::mouseClick(tracks, Qt::LeftButton);
        QVERIFY(list->isVisible());
        QTest::mouseClick(tracks, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QTest::mouseClick(tracks, Qt::LeftButton);
        QListWidgetItem* item = list->item(2);
        QCOMPARE(item->text(), QString("49-72"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        QCOMPARE(banks.size(), 1);
        QCOMPARE(banks.first().first().toInt(), 3);
        QCOMPARE(fx.state.currentTrackBank, 3);
        QCOMPARE(bar.bank(), 3);
        QVERIFY(!list->isVisible());
        // The main window's bank shown in the list, without an echo.
        bar.setBank(4);
        QCOMPARE(list->currentRow(), 3);
        QCOMPARE(banks.size(), 1);
    }

    void onTopTogglesCaptionAndFlag()
    {
        Fixture fx;
        FloatingBar bar(fx.state);
        bar.show();
        auto* button = bar.findChild<QPushButton*>("cmdOnTop");
        QVERIFY(!(bar.windowFlags() & Qt::WindowStaysOnTopHint));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QString("Off"));
        QVERIFY(bar.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(bar.isOnTop());
        QVERIFY(button->isChecked());
        QVERIFY(bar.isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QString("On"));
        QVERIFY(!(bar.windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(!button->isChecked());
        QVERIFY(bar.isVisible());
    }

    void dockAndShowMainAreHandedToTheMainWindow()
    {
        Fixture fx;
        fx.state.floatingBarOn = true;
        FloatingBar bar(fx.state);
        bar.show();
        QSignalSpy docked(&bar, &FloatingBar::dockRequested);
        QSignalSpy showMain(&bar, &FloatingBar::showMainRequested);
        QTest::mouseClick(bar.findChild<QToolButton*>("cmdShowQuillon"), Qt::LeftButton);
        QCOMPARE(showMain.size(), 1);
        QVERIFY(bar.isVisible());
        QTest::mouseClick(bar.findChild<QToolButton*>("cmdHide"), Qt::LeftButton);
        QCOMPARE(docked.size(), 1);
        QVERIFY(!bar.isVisible());
        QVERIFY(!fx.state.floatingBarOn);
    }

    void songTitleFollowsTheMainWindow()
    {
        Fixture fx;
        FloatingBar bar(fx.state);
        bar.setSongTitle("Blue Hour");
        QCOMPARE(bar.songTitleText(), QString("Blue Hour  "));
    }

    void twentySelectorPictures()
    {
        QCOMPARE(SelectorPictures::kCount, 20);
        for (int i = 1; i <= 20; ++i) {
            const QPixmap p = SelectorPictures::picture(i);
            QVERIFY(!p.isNull());
            QCOMPARE(p.size(), SelectorPictures::size());
        }
        QVERIFY(SelectorPictures::picture(0).isNull());
        QVERIFY(SelectorPictures::picture(21).isNull());
        // Lit and unlit pictures of a slot differ, and slots differ by number.
        QVERIFY(SelectorPictures::lit(3).toImage() != SelectorPictures::unlit(3).toImage());
        QVERIFY(SelectorPictures::lit(3).toImage() != SelectorPictures::lit(4).toImage());
        QCOMPARE(SelectorPictures::picture(13).toImage(), SelectorPictures::unlit(3).toImage());
    }
};

QTEST_MAIN(TestFloatingBar)
#include "tst_floatingbar.moc"
