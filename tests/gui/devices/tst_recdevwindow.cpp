#include "appfixture.h"
#include "devices/dateentry.h"
#include "devices/devicelist.h"
#include "devices/deviceregister.h"
#include "devices/recdevwindow.h"
#include "songs/songstore.h"
#include "store/database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace quillon;

namespace {
const QDateTime kWhen(QDate(2026, 3, 7), QTime(21, 5, 3));

// The device names read as the main window reads them.
struct Fixture : test::AppFixture {
    DeviceRegister reg{tmp.folder()};

    Fixture() { state.deviceNames = reg.names(); }
};

QLineEdit* box(QWidget& w, int index)
{
    return w.findChild<QLineEdit*>(QString("txtFields%1").arg(index));
}
QPushButton* button(QWidget& w, const char* name)
{
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}
void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}
QString fileText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

class TestRecDevWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsTheRecordOfTheCurrentName()
    {
        Fixture fx;
        DeviceRecord d = *fx.reg.findSlot(2);
        d.serialNr = "SN 77";
        d.note = "line one\nline two";
        d.purchasedOn = "03-15-1999";
        QVERIFY(fx.reg.updateSlot(2, d));
        fx.state.currentDeviceName = d.name;
        RecDevWindow w(fx.state);
        QCOMPARE(w.windowTitle(), QString("Recording Devices"));
        QCOMPARE(w.editedSlot(), 2);
        QCOMPARE(w.findChild<QLabel*>(QString::fromUtf8("lblÜberschrift"))->text(),
                 "Recordingdevice: " + d.name);
        QCOMPARE(box(w, 0)->text(), d.name);
        QCOMPARE(box(w, 4)->text(), QString("96"));
        QCOMPARE(box(w, 2)->text(), QString("SN 77"));
        QCOMPARE(w.findChild<QPlainTextEdit*>("txtFields10")->toPlainText(), d.note);
        QCOMPARE(w.findChild<QWidget*>("txtFields6")->findChild<QLineEdit*>()->text(),
                 QString("03-15-1999"));
        QVERIFY(w.findChild<QRadioButton*>("optRecType2")->isChecked()); // "Harddisk"
        QCOMPARE(w.findChildren<QRadioButton*>().size(), 12);
        QCOMPARE(box(w, 0)->maxLength(), 30);
        QCOMPARE(box(w, 4)->maxLength(), 4);
        QCOMPARE(box(w, 2)->maxLength(), 35);
        QCOMPARE(box(w, 5)->maxLength(), 40);
        QCOMPARE(box(w, 9)->maxLength(), 30);
    }

    void trimmedNameIsStoredAndFoundAgain()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(3);
        {
            RecDevWindow w(fx.state, nullptr, 3);
            retype(box(w, 0), "  Tascam 388  ");
            retype(box(w, 2), "  ab-12  ");
            QTest::mouseClick(w.findChild<QRadioButton*>("optRecType8"), Qt::LeftButton);
            QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
            QCOMPARE(w.result(), int(QDialog::Accepted));
            QVERIFY(fx.prompter.asked().isEmpty());
        }
        QCOMPARE(fx.state.currentDeviceName, QString("Tascam 388"));
        QCOMPARE(fx.state.deviceNames.at(2), QString("Tascam 388"));
        QCOMPARE(fx.state.deviceNames.at(3), QString("ADAT 2"));
        const DeviceRecord stored = *fx.reg.findSlot(3);
        QCOMPARE(stored.name, QString("Tascam 388"));
        QCOMPARE(stored.serialNr, QString("ab-12"));
        QCOMPARE(stored.type, 8);

        // Reopened with the name handed back, the form finds the same row.
        RecDevWindow again(fx.state);
        QCOMPARE(again.editedSlot(), 3);
        QCOMPARE(box(again, 0)->text(), QString("Tascam 388"));
        QVERIFY(again.findChild<QRadioButton*>("optRecType8")->isChecked());
    }

    void emptyOrBlankNameIsRefused()
    {
        Fixture fx;
        const auto before = fx.reg.readAll();
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        w.show();
        for (const QString& name : {QString(), QString("    ")}) {
            fx.prompter.clear();
            retype(box(w, 0), name);
            box(w, 2)->setFocus();
            QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
            QCOMPARE(fx.prompter.asked().size(), 1);
            const auto& asked = fx.prompter.asked().first();
            QCOMPARE(asked.text, QString("Please enter a name for the Recording Device!"));
            QCOMPARE(asked.icon, Prompter::Icon::Critical);
            QCOMPARE(asked.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(asked.title, QApplication::applicationDisplayName());
            QVERIFY(w.isVisible());
            QCOMPARE(w.result(), int(QDialog::Rejected));
            QCOMPARE(w.focusWidget(), box(w, 0));
        }
        QCOMPARE(fx.reg.readAll(), before);
        QCOMPARE(fx.state.currentDeviceName, QString("24-Track Tape"));
    }

    void closingWithoutOkStoresNothing()
    {
        Fixture fx;
        const auto before = fx.reg.readAll();
        const QStringList namesBefore = fx.state.deviceNames;
        fx.state.currentDeviceName = fx.state.deviceName(5);
        RecDevWindow w(fx.state, nullptr, 5);
        QTimer::singleShot(0, &w, [&w] {
            retype(box(w, 0), "Changed");
            retype(box(w, 4), "12");
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        QCOMPARE(w.exec(), int(QDialog::Rejected));
        QCOMPARE(fx.reg.readAll(), before);
        QCOMPARE(fx.state.deviceNames, namesBefore);
        QCOMPARE(fx.state.currentDeviceName, QString("DAT Recorder"));
    }

    void emptiedTrackCountStoresZero()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(2);
        RecDevWindow w(fx.state, nullptr, 2);
        QCOMPARE(box(w, 4)->alignment() & Qt::AlignRight, Qt::AlignRight);
        retype(box(w, 4), "");
        QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(fx.reg.findSlot(2)->tracks, 0);
        Database db;
        QVERIFY(db.open(fx.tmp.folder().recdevDb()));
        QSqlQuery q = db.prepare("SELECT typeof(Nroftracks), Nroftracks FROM recdev "
                                 "ORDER BY rowid LIMIT 1 OFFSET 1");
        QVERIFY(q.exec() && q.next());
        QCOMPARE(q.value(0).toString(), QString("integer"));
        QCOMPARE(q.value(1).toInt(), 0);
    }

    void boxesKeepToTheirCharacterSets()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        retype(box(w, 0), QString::fromUtf8("Ötari MX'80/2"));
        QCOMPARE(box(w, 0)->text(), QString::fromUtf8("Ötari MX802"));
        retype(box(w, 4), "a1b2c3d4e5");
        QCOMPARE(box(w, 4)->text(), QString("1234"));
        retype(box(w, 2), "sn'x@1");
        QCOMPARE(box(w, 2)->text(), QString("snx1"));
        auto* note = w.findChild<QPlainTextEdit*>("txtFields10");
        note->clear();
        QTest::keyClicks(note, "mail@x.de it's");
        note->insertPlainText(QString::fromUtf8(" 5€'"));
        QCOMPARE(note->toPlainText(), QString::fromUtf8("mail@x.de its 5€"));
        note->clear();
        note->insertPlainText(QString(300, 'x'));
        QCOMPARE(note->toPlainText().size(), 255);
        retype(box(w, 0), QString(40, 'n'));
        QCOMPARE(box(w, 0)->text().size(), 30);
    }

    void storedValuesAreShownAndSavedWhole()
    {
        Fixture fx;
        DeviceRecord d = *fx.reg.findSlot(2);
        const QString serial = "SN'" + QString(40, '7');
        d.serialNr = serial;
        d.technician = "Jo (on call)";
        const QString note = "Long'note\n" + QString(300, 'n');
        d.note = note;
        QVERIFY(fx.reg.updateSlot(2, d));
        fx.state.currentDeviceName = d.name;
        RecDevWindow w(fx.state, nullptr, 2);
        QCOMPARE(box(w, 2)->text(), serial);
        QCOMPARE(box(w, 9)->text(), QString("Jo (on call)"));
        QCOMPARE(w.findChild<QPlainTextEdit*>("txtFields10")->toPlainText(), note);
        // Typing into a box of stored text keeps the rest of it as it is.
        box(w, 9)->end(false);
        QTest::keyClicks(box(w, 9), "!x");
        QCOMPARE(box(w, 9)->text(), QString("Jo (on call)x"));
        box(w, 2)->end(false);
        QTest::keyClicks(box(w, 2), "8");
        QCOMPARE(box(w, 2)->text(), serial);
        QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(fx.reg.findSlot(2)->serialNr, serial);
        QCOMPARE(fx.reg.findSlot(2)->technician, QString("Jo (on call)x"));
        QCOMPARE(fx.reg.findSlot(2)->note, note);
    }

    void exportWritesTheStoredList()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        w.setClock([] { return kWhen; });
        // Edits still open in the form are not in the list.
        retype(box(w, 0), "Not yet stored");
        QTest::mouseClick(button(w, "cmdExport"), Qt::LeftButton);
        QVERIFY(fx.prompter.asked().isEmpty());
        const QString written = fileText(fx.tmp.folder().deviceListTxt());
        QCOMPARE(written, deviceListText(*fx.reg.readAll(), kWhen));
        QVERIFY(written.startsWith("List of recordingdevices  03-07-2026  21:05:03\n\n"));
        QVERIFY(written.contains("\n24-Track Tape            "));
        QVERIFY(!written.contains("Not yet stored"));
        QCOMPARE(w.listText(), written);
    }

    void failedExportIsReported()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        const QString folder = fx.tmp.folder().dir();
        const QString target = fx.tmp.folder().deviceListTxt();
        // A read-only folder stops an ordinary user; a directory in the file's
        // place stops even an administrator, so the test holds for both.
        QVERIFY(QDir().mkpath(target));
        const auto perms = QFile::permissions(folder);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QTest::mouseClick(button(w, "cmdExport"), Qt::LeftButton);
        QFile::setPermissions(folder, perms);
        QCOMPARE(fx.prompter.asked().size(), 1);
        QCOMPARE(fx.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(fx.prompter.asked().first().text.contains("recordingdevices.txt"));
        QVERIFY(w.isVisible() == false); // the form itself is untouched
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void previewWritesTheFileAndHandsOverTheList()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        w.setClock([] { return kWhen; });
        QStringList shown;
        w.setShowPreview([&shown](const QString& text) { shown << text; });
        QFile::remove(fx.tmp.folder().deviceListTxt());
        QTest::mouseClick(button(w, "cmdPreview"), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), deviceListText(*fx.reg.readAll(), kWhen));
        QCOMPARE(fileText(fx.tmp.folder().deviceListTxt()), shown.first());
    }

    void failedSaveIsReportedAndKeepsTheFormOpen()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(3);
        RecDevWindow w(fx.state, nullptr, 3);
        w.show();
        {
            Database db;
            QVERIFY(db.open(fx.tmp.folder().recdevDb()));
            QVERIFY(db.exec("DELETE FROM recdev"));
        }
        retype(box(w, 0), "Lost");
        QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
        QCOMPARE(fx.prompter.asked().size(), 1);
        QCOMPARE(fx.prompter.asked().first().icon, Prompter::Icon::Critical);
        QVERIFY(w.isVisible());
        QCOMPARE(fx.state.currentDeviceName, QString("ADAT 1"));
        QCOMPARE(fx.state.deviceNames.at(2), QString("ADAT 1"));
    }

    // Another room stored the device after the form showed it: OK tells why
    // nothing was stored and shows their values where nothing was typed; the
    // next OK stores what was typed over them.
    void aDeviceChangedInAnotherRoomIsShownAndTypingKept()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(2);
        RecDevWindow w(fx.state, nullptr, 2);
        w.show();
        DeviceRecord theirs = *fx.reg.findSlot(2);
        theirs.seller = "Their seller";
        theirs.serialNr = "their serial";
        QVERIFY(DeviceRegister(fx.tmp.folder()).updateSlot(2, theirs));
        retype(box(w, 2), "my serial");
        QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
        QCOMPARE(fx.prompter.asked().size(), 1);
        QVERIFY2(fx.prompter.asked().first().text.contains("in another room"),
                 qPrintable(fx.prompter.asked().first().text));
        QVERIFY(w.isVisible());
        QCOMPARE(box(w, 7)->text(), QString("Their seller"));
        QCOMPARE(box(w, 2)->text(), QString("my serial"));
        QCOMPARE(*fx.reg.findSlot(2), theirs);
        QTest::mouseClick(button(w, "cmdClose"), Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        theirs.serialNr = "my serial";
        QCOMPARE(*fx.reg.findSlot(2), theirs);
    }

    void previewStillShowsTheListWhenTheFileCannotBeWritten()
    {
        Fixture fx;
        fx.state.currentDeviceName = fx.state.deviceName(1);
        RecDevWindow w(fx.state, nullptr, 1);
        QStringList shown;
        w.setShowPreview([&shown](const QString& text) { shown << text; });
        QVERIFY(QDir().mkpath(fx.tmp.folder().deviceListTxt()));
        QTest::mouseClick(button(w, "cmdPreview"), Qt::LeftButton);
        QCOMPARE(fx.prompter.asked().size(), 1);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().startsWith("List of recordingdevices  "));
    }

    void calendarDatesFitTheDateBoxes()
    {
        const QDate day(2026, 12, 31);
        const QString text = DateEntry::textForDate(day, 10);
        QVERIFY(text.size() <= 10);
        QCOMPARE(DateEntry::dateFromText(text).month(), 12);
        QCOMPARE(DateEntry::dateFromText("03-15-1999"), QDate(1999, 3, 15));
        QCOMPARE(DateEntry::dateFromText("15.03.1999"), QDate(1999, 3, 15));
        QVERIFY(!DateEntry::dateFromText("soon").isValid());
        // A short date of the system longer than the box falls back to mm-dd-yyyy.
        QCOMPARE(DateEntry::textForDate(day, 6), QString("12-31-2026"));
    }
};

QTEST_MAIN(TestRecDevWindow)
#include "tst_recdevwindow.moc"
