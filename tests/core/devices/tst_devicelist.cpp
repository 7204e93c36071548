#include "devices/devicelist.h"
#include "devices/deviceregister.h"
#include "distinctfields.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace quillon;

namespace {
const QDateTime kWhen(QDate(2026, 3, 7), QTime(21, 5, 3));

// Header of every list written at kWhen, typed out character by character.
const char* const kHeader =
    "List of recordingdevices  03-07-2026  21:05:03\n"
    "\n"
    "______________________________________________________________________\n"
    "Type                     Serial Nr.          Purchased\n"
    "______________________________________________________________________\n";

DeviceRecord device(const QString& name, const QString& serial, const QString& purchased)
{
    DeviceRecord d;
    d.name = name;
    d.serialNr = serial;
    d.purchasedOn = purchased;
    d.seller = "ignored";
    d.note = "ignored";
    return d;
}
} // namespace

class TestDeviceList final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listIsByteExact()
    {
        const QList<DeviceRecord> devices{
            device("Studer A80", "", ""),
            device("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234", "SN-0123456789-ABCDEFGHIJ-KLMNOPQRST",
                   "03-15-1999"),
            device("DAW", "X1", "1.1.2000"),
        };
        const QString expected = QString::fromLatin1(kHeader) +
                                 "Studer A80                                             \n"
                                 "ABCDEFGHIJKLMNOPQRSTUVWXYSN-0123456789-ABCDEF03-15-1999\n"
                                 "DAW                      X1                  1.1.2000  \n";
        QCOMPARE(deviceListText(devices, kWhen), expected);
    }

    // Each column holds its own field of the device, read from the register
    // as the device window reads it; the other fields appear nowhere.
    void everyColumnShowsItsOwnField()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        const DeviceRecord first = test::distinctDevice(1), second = test::distinctDevice(2);
        QVERIFY(reg.updateSlot(1, first));
        QVERIFY(reg.updateSlot(10, second));
        const QString text = deviceListText(*reg.readAll(), kWhen);
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 5 + 10 + 1);
        for (const auto& [line, d] : {std::pair{5, first}, std::pair{14, second}}) {
            QCOMPARE(lines.at(line), d.name.leftJustified(25, ' ', true) +
                                         d.serialNr.leftJustified(20, ' ', true) + d.purchasedOn);
            for (const QString& unlisted :
                 {d.noiseReduction, d.seller, d.note, d.lastInspection, d.technician})
                QVERIFY2(!text.contains(unlisted), qPrintable(unlisted));
        }
    }

    void emptyRegisterStillHasHeaderAndRules()
    {
        QCOMPARE(deviceListText({}, kWhen), QString::fromLatin1(kHeader));
    }

    void dateAndTimeIgnoreTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString text = deviceListText({}, QDateTime(QDate(2027, 12, 31), QTime(0, 0, 9)));
        QLocale::setDefault(saved);
        QVERIFY(text.startsWith("List of recordingdevices  12-31-2027  00:00:09\n\n"));
    }

    void longPurchaseDateIsKeptWhole()
    {
        const QString text = deviceListText({device("A", "B", "2000-01-01 x")}, kWhen);
        QVERIFY(text.endsWith("2000-01-01 x\n"));
    }

    // Absent values in the file (NULL, not empty text) read as empty text, so
    // the line is the padded name followed by 20 and 10 blanks.
    void absentValuesFromTheRegister()
    {
        test::TempDataFolder tmp;
        {
            Database db;
            QVERIFY(db.open(tmp.folder().recdevDb()));
            QVERIFY(db.exec("UPDATE recdev SET SerialNr = NULL, Purchasedon = NULL, Seller = NULL "
                            "WHERE rowid = (SELECT min(rowid) FROM recdev)"));
            QVERIFY(db.exec("UPDATE recdev SET name = ?, SerialNr = ?, Purchasedon = ? "
                            "WHERE rowid = (SELECT min(rowid) + 1 FROM recdev)",
                            {"ABCDEFGHIJKLMNOPQRSTUVWXYZ1234",
                             "SN-0123456789-ABCDEFGHIJ-KLMNOPQRST", "03-15-1999"}));
        }
        DeviceRegister reg(tmp.folder());
        const auto devices = reg.readAll();
        QVERIFY2(devices, qPrintable(reg.lastError()));
        QCOMPARE(devices->size(), 10);
        const QStringList lines = deviceListText(*devices, kWhen).split('\n');
        // Five header lines (one of them empty), ten device lines, the final empty piece.
        QCOMPARE(lines.size(), 5 + 10 + 1);
        QCOMPARE(lines.at(5), QString("24-Track Tape                                          "));
        QCOMPARE(lines.at(6), QString("ABCDEFGHIJKLMNOPQRSTUVWXYSN-0123456789-ABCDEF03-15-1999"));
        QCOMPARE(lines.at(14), QString("Master Recorder                                        "));
        QCOMPARE(lines.last(), QString());
    }

    void writeReplacesTheFile()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().deviceListTxt();
        QVERIFY(writeDeviceList(path, "old\nlonger text than the new one\n"));
        QVERIFY(writeDeviceList(path, "Gr\u00fc\u00dfe\n"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                         "e\n"));
    }

    void failedWriteIsReportedAndKeepsTheOldFile()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().dir() + "/missing-folder/recordingdevices.txt";
        QString error;
        QVERIFY(!writeDeviceList(path, "x\n", &error));
        QVERIFY(error.contains("recordingdevices.txt"));

        // A directory in the file's place cannot be replaced: the write fails
        // and what was there stays.
        const QString blocked = tmp.folder().deviceListTxt();
        QVERIFY(QDir().mkpath(blocked));
        QVERIFY(!writeDeviceList(blocked, "x\n", &error));
        QVERIFY(QFileInfo(blocked).isDir());
    }
};

QTEST_GUILESS_MAIN(TestDeviceList)
#include "tst_devicelist.moc"
