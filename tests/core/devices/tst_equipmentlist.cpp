#include "devices/deviceregister.h"
#include "devices/equipmentlist.h"
#include "distinctfields.h"
#include "printing/recordingpagesink.h"
#include "tempdatafolder.h"

#include <cmath>
#include <QFontMetricsF>
#include <QTest>

using namespace quillon;

class TestEquipmentList final : public QObject {
    Q_OBJECT

private:
    static QDateTime when() { return QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)); }
    static QFont baseFont()
    {
        QFont f("DejaVu Sans");
        f.setPointSize(10);
        return f;
    }
    static double zoneWidth(const QFont& pointsFont)
    {
        return EquipmentList::kZoneChars *
               QFontMetricsF(PageSink::twipsFont(pointsFont)).averageCharWidth();
    }

private Q_SLOTS:
    void titleHasDateAndTimeWithoutBlanks()
    {
        QCOMPARE(EquipmentList::title(when()),
                 QString("     List of studioequipement03-04-202609:05:07"));
        // 24-hour clock.
        QCOMPARE(EquipmentList::title(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))),
                 QString("     List of studioequipement12-31-202623:59:58"));
    }

    void headerBlock()
    {
        const QList<EquipmentLine> h = EquipmentList::header(when());
        QCOMPARE(h.size(), 6);
        QCOMPARE(h.at(0), (EquipmentLine{{QString(77, '_')}, 0, false}));
        QVERIFY(h.at(1).zones.isEmpty());
        QCOMPARE(h.at(2), (EquipmentLine{{EquipmentList::title(when())}, 13, false}));
        QCOMPARE(h.at(3), (EquipmentLine{{QString(70, '_')}, 13, false}));
        QCOMPARE(h.at(4), (EquipmentLine{{"Type", "Serial Nr.", "Purchased"}, 11, true}));
        QCOMPARE(h.at(5), (EquipmentLine{{QString(77, '-')}, 11, false}));
    }

    void rowCutsTheNameAndKeepsSerialAndDate()
    {
        DeviceRecord d;
        d.name = "Studer A827 Multitrack 24 Track Master"; // 38 characters
        d.serialNr = "SN-4711";
        d.purchasedOn = "05-17-1998";
        const EquipmentLine row = EquipmentList::row(d);
        QCOMPARE(row.pointSize, 11);
        QVERIFY(!row.bold);
        QCOMPARE(row.zones, QStringList({"Studer A827 Multitrack 24    SN-4711", "05-17-1998"}));
        QCOMPARE(EquipmentList::row(DeviceRecord{}).zones, QStringList({"    ", ""}));
    }

    void oneRowPerDeviceOfTheRegister()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        DeviceRecord dat = *reg.find("DAT Recorder");
        dat.serialNr = "DAT 99";
        dat.purchasedOn = "01-02-2003";
        QVERIFY(reg.update("DAT Recorder", dat));
        const QList<DeviceRecord> devices = reg.all();
        QCOMPARE(devices.size(), 10);

        const QList<EquipmentLine> lines = EquipmentList::lines(devices, when());
        QCOMPARE(lines.size(), 6 + 10);
        QCOMPARE(lines.mid(0, 6), EquipmentList::header(when()));
        QCOMPARE(lines.at(6).zones.first(), QString("24-Track Tape    "));
        QCOMPARE(lines.at(10).zones, QStringList({"DAT Recorder    DAT 99", "01-02-2003"}));
        QCOMPARE(lines.last().zones.first(), QString("Master Recorder    "));
    }

    // The row under "Type" holds the name, under "Serial Nr." the serial
    // number and under "Purchased" the purchase date, read from the register
    // as the print dialog reads it; nothing else of the device is printed.
    void everyColumnShowsItsOwnField()
    {
        test::TempDataFolder tmp;
        DeviceRegister reg(tmp.folder());
        const DeviceRecord d = test::distinctDevice(3);
        QVERIFY(reg.updateSlot(2, d));
        RecordingPageSink sink;
        QVERIFY(EquipmentList::print(sink, EquipmentList::lines(reg.all(), when()), baseFont()));
        const QStringList texts = sink.jobs().first().texts(0);
        const int at = texts.indexOf(d.name.left(25) + "    " + d.serialNr);
        QVERIFY(at > texts.indexOf(QString(77, '-')));
        QCOMPARE(texts.value(at + 1), d.purchasedOn);
        for (const QString& unlisted :
             {d.noiseReduction, d.seller, d.note, d.lastInspection, d.technician})
            QVERIFY2(!texts.join('\n').contains(unlisted), qPrintable(unlisted));
    }

    void headingsStartAtPrintZones()
    {
        const QList<PlacedText> placed =
            EquipmentList::layout(EquipmentList::header(when()), baseFont(), 1e6);
        QCOMPARE(placed.size(), 7); // the empty line places nothing
        QFont headingFont = baseFont();
        headingFont.setPointSize(11);
        headingFont.setBold(true);
        const double zone = zoneWidth(headingFont);
        QVERIFY(zone > 0);
        QCOMPARE(placed.at(3).text, QString("Type"));
        QCOMPARE(placed.at(3).x, 0.0);
        QCOMPARE(placed.at(4).text, QString("Serial Nr."));
        QVERIFY(qAbs(placed.at(4).x - zone) < 0.01);
        QCOMPARE(placed.at(5).text, QString("Purchased"));
        QVERIFY(qAbs(placed.at(5).x - 2 * zone) < 0.01);
        QVERIFY(placed.at(5).font.bold());
        QCOMPARE(placed.at(5).font.pointSize(), 11);
        QCOMPARE(placed.at(2).font.pointSize(), 13);
        QCOMPARE(placed.at(0).font.pointSize(), 10);
        // Lines go down the page in order, the title below the first rule and
        // the empty line.
        for (int i = 1; i < placed.size(); ++i)
            QVERIFY(placed.at(i).y >= placed.at(i - 1).y);
        QVERIFY(placed.at(3).y == placed.at(4).y && placed.at(4).y == placed.at(5).y);
        const double ruleHeight = QFontMetricsF(PageSink::twipsFont(baseFont())).lineSpacing();
        QVERIFY(placed.at(1).y > placed.at(0).y + ruleHeight);
    }

    void purchaseDateGoesToTheNextZone()
    {
        DeviceRecord d;
        d.name = "Tape";
        d.serialNr = "A very long serial number";
        d.purchasedOn = "01-01-2000";
        const QList<PlacedText> placed =
            EquipmentList::layout({EquipmentList::row(d)}, baseFont(), 1e6);
        QCOMPARE(placed.size(), 2);
        QFont rowFont = baseFont();
        rowFont.setPointSize(11);
        const QFontMetricsF fm(PageSink::twipsFont(rowFont));
        const double end = fm.horizontalAdvance(placed.at(0).text);
        const double zone = zoneWidth(rowFont);
        QVERIFY(placed.at(1).x > end);
        QVERIFY(placed.at(1).x <= end + zone + 0.01);
        QVERIFY(qAbs(std::fmod(placed.at(1).x, zone)) < 0.01 ||
                qAbs(std::fmod(placed.at(1).x, zone) - zone) < 0.01);
    }

    void longListsBreakPages()
    {
        QList<DeviceRecord> many(60);
        for (int i = 0; i < many.size(); ++i)
            many[i].name = QString("Device %1").arg(i + 1);
        const QList<EquipmentLine> lines = EquipmentList::lines(many, when());
        const QList<PlacedText> placed = EquipmentList::layout(lines, baseFont(), 8000);
        QVERIFY(placed.last().page >= 2);
        for (const PlacedText& t : placed)
            QVERIFY(t.y < 8000);
        // Nothing is lost: every device appears once.
        int rows = 0;
        for (const PlacedText& t : placed)
            rows += t.text.startsWith("Device ") ? 1 : 0;
        QCOMPARE(rows, 60);
    }

    void printsTheTextsInOrder()
    {
        RecordingPageSink sink;
        DeviceRecord d;
        d.name = "ADAT 1";
        d.serialNr = "X1";
        d.purchasedOn = "02-03-1999";
        QVERIFY(EquipmentList::print(sink, EquipmentList::lines({d}, when()), baseFont()));
        QCOMPARE(sink.jobs().size(), 1);
        const RecordedJob& job = sink.jobs().first();
        QCOMPARE(job.name, EquipmentList::kJobName);
        QCOMPARE(job.pageCount(), 1);
        QCOMPARE(job.texts(0), QStringList({QString(77, '_'), EquipmentList::title(when()),
                                            QString(70, '_'), "Type", "Serial Nr.", "Purchased",
                                            QString(77, '-'), "ADAT 1    X1", "02-03-1999"}));
    }
};

QTEST_MAIN(TestEquipmentList)
#include "tst_equipmentlist.moc"
