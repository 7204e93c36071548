#include "devices/devicefields.h"
#include "devices/deviceregister.h"
#include "distinctfields.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::DeviceRecord)

class TestDeviceRegister final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each field goes to its own column and comes back into its own member,
    // whether the device is edited by name or by slot; the other slots stay.
    void everyFieldRoundTrips_data()
    {
        QTest::addColumn<bool>("bySlot");
        QTest::addColumn<DeviceRecord>("first");
        QTest::addColumn<DeviceRecord>("second");
        DeviceRecord nameOnly;
        nameOnly.name = "Only a name";
        for (const bool bySlot : {false, true}) {
            const char* how = bySlot ? "by slot" : "by name";
            QTest::addRow("distinct, %s", how)
                << bySlot << test::distinctDevice(1) << DeviceRecord{};
            QTest::addRow("every field changed, %s", how)
                << bySlot << test::distinctDevice(1) << test::distinctDevice(2);
            QTest::addRow("fields emptied, %s", how)
                << bySlot << test::distinctDevice(1) << nameOnly;
        }
    }
    void everyFieldRoundTrips()
    {
        QFETCH(bool, bySlot);
        QFETCH(DeviceRecord, first);
        QFETCH(DeviceRecord, second);
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        const QList<DeviceRecord> before = reg.all();
        const int slot = 6;
        QString stored = before.at(slot - 1).name;
        DeviceRecord expected = before.at(slot - 1);
        for (const DeviceRecord& d : {first, second}) {
            if (d.name.isEmpty())
                continue;
            QVERIFY2(bySlot ? reg.updateSlot(slot, d) : reg.update(stored, d),
                     qPrintable(reg.lastError()));
            stored = d.name;
            expected = d;
        }
        QCOMPARE(test::fieldsOf(*reg.find(stored)), test::fieldsOf(expected));
        QCOMPARE(test::fieldsOf(*reg.findSlot(slot)), test::fieldsOf(expected));
        QList<DeviceRecord> after = before;
        after[slot - 1] = expected;
        QCOMPARE(*reg.readAll(), after);
        QCOMPARE(reg.names().at(slot - 1), expected.name);
        // The columns the file defines, so another reader of recdev.mdb finds them.
        const QStringList columns{"name",        "Nroftracks", "SerialNr", "Noisereduction",
                                  "Purchasedon", "Seller",     "Note",     "Lastinspection",
                                  "technician",  "TypeRM"};
        QCOMPARE(
            test::storedColumns(tmp.folder(), tmp.folder().recdevDb(),
                                "SELECT * FROM recdev ORDER BY rowid LIMIT 1 OFFSET ?", columns,
                                {slot - 1}),
            test::columnLines(columns, {expected.name, expected.tracks, expected.serialNr,
                                        expected.noiseReduction, expected.purchasedOn,
                                        expected.seller, expected.note, expected.lastInspection,
                                        expected.technician, expected.type}));
    }

    // Absent values in the file read as empty text and zero.
    void nullColumnsReadEmpty()
    {
        test::TempDataFolder tmp;
        {
            Database db;
            QVERIFY(tmp.folder().openCatalogue(db, tmp.folder().recdevDb()));
            QVERIFY(db.exec("UPDATE recdev SET \"Nroftracks\" = NULL, \"SerialNr\" = NULL, "
                            "\"Noisereduction\" = NULL, \"Purchasedon\" = NULL, \"Seller\" = NULL, "
                            "\"Note\" = NULL, \"Lastinspection\" = NULL, technician = NULL, "
                            "\"TypeRM\" = NULL WHERE rowid = (SELECT min(rowid) FROM recdev)"));
        }
        DeviceRegister reg(tmp.folder());
        DeviceRecord expected;
        expected.name = reg.names().first();
        QCOMPARE(test::fieldsOf(*reg.findSlot(1)), test::fieldsOf(expected));
    }

    void slotsFollowStoredOrder()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        const QStringList names = reg.names();
        QCOMPARE(names.size(), 10);
        for (int slot = 1; slot <= 10; ++slot) {
            const auto d = reg.findSlot(slot);
            QVERIFY(d);
            QCOMPARE(d->name, names.at(slot - 1));
        }
        QVERIFY(!reg.findSlot(0));
        QVERIFY(!reg.findSlot(11));
    }

    // Two devices of the same name: editing by slot changes the one asked for.
    void updateSlotKeepsSameNamedDevicesApart()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        DeviceRecord third = *reg.findSlot(3);
        DeviceRecord fourth = *reg.findSlot(4);
        QCOMPARE(third.name, fourth.name.left(5) + "1"); // "ADAT 1" / "ADAT 2"
        fourth.name = third.name;
        QVERIFY(reg.updateSlot(4, fourth));
        fourth.serialNr = "only four";
        fourth.tracks = 16;
        fourth.type = 11;
        QVERIFY2(reg.updateSlot(4, fourth), qPrintable(reg.lastError()));
        QCOMPARE(*reg.findSlot(4), fourth);
        QCOMPARE(*reg.findSlot(3), third);
    }

    // Another room (a second register on the same catalogue) changes a device
    // after this room read it: an update based on that read stores nothing;
    // one based on what is stored now goes through. Another device's change
    // is no reason to refuse.
    void updatesBasedOnAnOutdatedReadAreRefused_data()
    {
        QTest::addColumn<bool>("bySlot");
        QTest::addColumn<int>("changedThere");
        for (const bool bySlot : {false, true}) {
            const char* how = bySlot ? "by slot" : "by name";
            QTest::addRow("same device, %s", how) << bySlot << 2;
            QTest::addRow("another device, %s", how) << bySlot << 5;
        }
    }
    void updatesBasedOnAnOutdatedReadAreRefused()
    {
        QFETCH(bool, bySlot);
        QFETCH(int, changedThere);
        test::TempDataFolder tmp;
        DeviceRegister here(tmp.folder()), other(tmp.folder());
        const DeviceRecord asRead = *here.findSlot(2);
        DeviceRecord theirs = *other.findSlot(changedThere);
        theirs.seller = "Theirs";
        QVERIFY(other.updateSlot(changedThere, theirs));
        const auto before = here.readAll();
        DeviceRecord mine = asRead;
        mine.note = "mine";
        auto update = [&](const DeviceRecord& read) {
            return bySlot ? here.updateSlot(2, mine, read) : here.update(asRead.name, mine, read);
        };
        const bool refused = changedThere == 2;
        QCOMPARE(update(asRead), !refused);
        QCOMPARE(here.changedElsewhere(), refused);
        if (refused) {
            QVERIFY2(here.lastError().contains("in another room"), qPrintable(here.lastError()));
            QCOMPARE(here.readAll(), before);
            QVERIFY(update(*here.findSlot(2)));
        }
        QCOMPARE(other.findSlot(2)->note, QString("mine"));
    }

    void updateOfMissingSlotFails()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        const auto before = reg.readAll();
        DeviceRecord d;
        d.name = "nobody";
        QVERIFY(!reg.updateSlot(0, d));
        QVERIFY(!reg.lastError().isEmpty());
        QVERIFY(!reg.updateSlot(11, d));
        QVERIFY(!reg.updateSlot(-3, d));
        QCOMPARE(reg.readAll(), before);
    }

    void unreadableRegisterIsNotAnEmptyOne()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        QVERIFY(reg.readAll());
        if (tmp.onServer()) {
            Database db;
            QVERIFY(tmp.folder().openCatalogue(db, tmp.folder().recdevDb()));
            QVERIFY(db.exec("DROP TABLE recdev"));
        } else {
            QVERIFY(QFile::remove(tmp.folder().recdevDb()));
        }
        QVERIFY(!reg.readAll());
        QVERIFY(reg.lastError().contains("recdev"));
    }

    void tracksAlwaysAWholeNumber()
    {
        namespace f = devicefields;
        QCOMPARE(f::tracksFromText(""), 0);
        QCOMPARE(f::tracksFromText("  "), 0);
        QCOMPARE(f::tracksFromText("0024"), 24);
        QCOMPARE(f::tracksFromText(" 96 "), 96);
        QCOMPARE(f::tracksFromText("x"), 0);
    }

    void twelveTypes()
    {
        const QStringList& names = devicefields::typeNames();
        QCOMPARE(names.size(), devicefields::kTypeCount);
        QCOMPARE(names.first(), QString("Digital Multitrack"));
        QCOMPARE(names.at(5), QString("CD/DVD Writer"));
        QCOMPARE(names.last(), QString("Other"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceRegister)
#include "tst_deviceregister.moc"
