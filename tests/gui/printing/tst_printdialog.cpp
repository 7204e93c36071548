#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "devices/equipmentlist.h"
#include "printing/printdialog.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {
// Everything a print dialog needs, on a fresh data folder.
struct Fixture {
    test::TempDataFolder tmp;
    DataFolder data{tmp.folder()};
    Settings settings{tmp.settingsFile()};
    SongStore songs{data};
    ScriptedPrompter prompter;
    AppState state{data, settings, songs, prompter};
};

// Which hand-over ran, and what the shared state looked like meanwhile.
struct Calls {
    QStringList names;
    QList<bool> requested;
    QList<bool> dialogVisible;
    QString deviceName;
};

PrintDialog::Handlers recordingHandlers(Calls& calls, AppState& state, PrintDialog& dialog)
{
    auto make = [&](const QString& name) {
        return [&calls, &state, &dialog, name] {
            calls.names << name;
            calls.requested << state.printRequested;
            calls.dialogVisible << dialog.isVisible();
            calls.deviceName = state.currentDeviceName;
        };
    };
    return {make("tracksheet"), make("songdetails"), make("lyrics"), make("devices")};
}
} // namespace

class TestPrintDialog final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingClearsTheRequest()
    {
        Fixture f;
        f.state.printRequested = true;
        PrintDialog dialog(f.state);
        QVERIFY(!f.state.printRequested);
        QCOMPARE(dialog.windowTitle(), QString("Print"));
        QCOMPARE(dialog.option(PrintDialog::Studioequipment)->text(), QString("Studioequipment"));
    }

    void noSongDisablesTheSongOptions()
    {
        Fixture f;
        PrintDialog dialog(f.state);
        QVERIFY(!dialog.option(PrintDialog::Tracksheet)->isEnabled());
        QVERIFY(!dialog.option(PrintDialog::Songdetails)->isEnabled());
        QVERIFY(!dialog.option(PrintDialog::Lyrics)->isEnabled());
        QVERIFY(dialog.option(PrintDialog::Recordingdevices)->isEnabled());
        QVERIFY(dialog.option(PrintDialog::Studioequipment)->isEnabled());
        QCOMPARE(dialog.selected(), PrintDialog::Recordingdevices);
    }

    void songLoadedOffersEverything()
    {
        Fixture f;
        f.state.currentSong = kTrainingSong;
        PrintDialog dialog(f.state);
        for (int i = 0; i < 5; ++i)
            QVERIFY(dialog.option(PrintDialog::Choice(i))->isEnabled());
        QCOMPARE(dialog.selected(), PrintDialog::Tracksheet);
    }

    void printerLabelFollowsEachActivation()
    {
        Fixture f;
        f.prompter.setPrinterName("First");
        PrintDialog dialog(f.state);
        QCOMPARE(dialog.printerLabel()->text(), QString("First"));
        f.prompter.setPrinterName("Second");
        QCOMPARE(dialog.printerLabel()->text(), QString("First"));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&dialog, &activate);
        QCOMPARE(dialog.printerLabel()->text(), QString("Second"));
    }

    void eachHandOverRunsItsHandlerWithTheRequestSet_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("handler");
        QTest::newRow("tracksheet") << int(PrintDialog::Tracksheet) << "tracksheet";
        QTest::newRow("songdetails") << int(PrintDialog::Songdetails) << "songdetails";
        QTest::newRow("lyrics") << int(PrintDialog::Lyrics) << "lyrics";
        QTest::newRow("devices") << int(PrintDialog::Recordingdevices) << "devices";
    }

    void eachHandOverRunsItsHandlerWithTheRequestSet()
    {
        QFETCH(int, choice);
        QFETCH(QString, handler);
        Fixture f;
        f.state.currentSong = kTrainingSong;
        PrintDialog dialog(f.state);
        Calls calls;
        dialog.setHandlers(recordingHandlers(calls, f.state, dialog));
        dialog.show();
        dialog.option(PrintDialog::Choice(choice))->setChecked(true);
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QCOMPARE(calls.names, QStringList{handler});
        QCOMPARE(calls.requested, QList<bool>{true});
        // The dialog has closed before the next window opens.
        QCOMPARE(calls.dialogVisible, QList<bool>{false});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Nothing is left asking a later preview to print.
        QVERIFY(!f.state.printRequested);
        QVERIFY(f.prompter.printedJobs().isEmpty());
    }

    // The track sheet and the song details print on the default printer
    // without asking; with none to print on the dialog says so and stays
    // for another choice instead of closing as if they had printed.
    void sheetsWithoutPrinterSaySoAndTheDialogStays_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("tracksheet") << int(PrintDialog::Tracksheet);
        QTest::newRow("songdetails") << int(PrintDialog::Songdetails);
    }
    void sheetsWithoutPrinterSaySoAndTheDialogStays()
    {
        QFETCH(int, choice);
        Fixture f;
        f.prompter.setHasPrinter(false);
        f.state.currentSong = kTrainingSong;
        PrintDialog dialog(f.state);
        Calls calls;
        dialog.setHandlers(recordingHandlers(calls, f.state, dialog));
        dialog.show();
        dialog.option(PrintDialog::Choice(choice))->setChecked(true);
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QVERIFY(calls.names.isEmpty());
        QVERIFY(dialog.isVisible());
        QCOMPARE(f.prompter.askedTexts(), QStringList{Prompter::kNoPrinterText});
        QVERIFY(!f.state.printRequested);
    }

    void devicesMakeTheMainWindowsDeviceCurrent()
    {
        Fixture f;
        f.state.deviceNames = QStringList{"Tape", "DAW", "ADAT"};
        f.state.currentDeviceIndex = 2;
        f.state.currentDeviceName = "Tape";
        PrintDialog dialog(f.state);
        Calls calls;
        dialog.setHandlers(recordingHandlers(calls, f.state, dialog));
        dialog.show();
        QCOMPARE(dialog.selected(), PrintDialog::Recordingdevices);
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QCOMPARE(calls.names, QStringList{"devices"});
        QCOMPARE(calls.deviceName, QString("DAW"));
    }

    void equipmentListPrintsAndTheDialogStays()
    {
        Fixture f;
        PrintDialog dialog(f.state);
        Calls calls;
        dialog.setHandlers(recordingHandlers(calls, f.state, dialog));
        dialog.show();
        dialog.option(PrintDialog::Studioequipment)->setChecked(true);
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QVERIFY(calls.names.isEmpty());
        QVERIFY(dialog.isVisible());
        QVERIFY(f.state.printRequested);
        QVERIFY(f.prompter.asked().isEmpty());
        const QList<RecordedJob> jobs = f.prompter.printedJobs();
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.first().pageCount(), 1);
        const QStringList texts = jobs.first().texts(0);
        QCOMPARE(texts.at(0), QString(77, '_'));
        QVERIFY(texts.at(1).startsWith("     List of studioequipement"));
        QCOMPARE(texts.mid(2, 5), QStringList({QString(70, '_'), "Type", "Serial Nr.", "Purchased",
                                               QString(77, '-')}));
        // The ten devices of a fresh register, one row each.
        QCOMPARE(texts.size(), 7 + 10);
        QCOMPARE(texts.at(7), QString("24-Track Tape    "));
        QCOMPARE(texts.last(), QString("Master Recorder    "));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        // Another choice after printing, then closing withdraws the request.
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!f.state.printRequested);
    }

    void noPrinterSaysSo()
    {
        Fixture f;
        f.prompter.setHasPrinter(false);
        PrintDialog dialog(f.state);
        dialog.option(PrintDialog::Studioequipment)->setChecked(true);
        dialog.show();
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QCOMPARE(f.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(dialog.isVisible());
    }

    void unreadableRegisterPrintsNothing()
    {
        Fixture f;
        QVERIFY(QFile::remove(f.data.recdevDb()));
        QDir().mkpath(f.data.recdevDb()); // a folder where the file should be
        PrintDialog dialog(f.state);
        dialog.option(PrintDialog::Studioequipment)->setChecked(true);
        dialog.show();
        QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        QCOMPARE(f.prompter.asked().size(), 1);
        QVERIFY(f.prompter.asked().first().text.contains("recdev.mdb"));
        QVERIFY(f.prompter.printedJobs().isEmpty());
    }

    void escapeWithdrawsTheRequestToo()
    {
        Fixture f;
        PrintDialog dialog(f.state);
        dialog.show();
        f.state.printRequested = true;
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!f.state.printRequested);
    }

    void modalRunEndsWithTheHandOver()
    {
        Fixture f;
        f.state.currentSong = kTrainingSong;
        PrintDialog dialog(f.state);
        Calls calls;
        dialog.setHandlers(recordingHandlers(calls, f.state, dialog));
        QTimer::singleShot(0, &dialog, [&] {
            dialog.option(PrintDialog::Songdetails)->setChecked(true);
            dialog.printButton()->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(calls.names, QStringList{"songdetails"});
    }
};

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"
