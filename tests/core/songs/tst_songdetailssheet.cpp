#include "printing/pagesink.h"
#include "songs/songdetails.h"
#include "songs/songdetailssheet.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTest>

using namespace quillon;

class TestSongDetailsSheet final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesAndPositions()
    {
        SongDetails d;
        d.producer1 = "Ann";
        d.technician2 = "Eve";
        d.counterFrom = "00000";
        d.smpteType = "00";
        d.note = "note";
        const FormSheet s = SongDetailsSheet::build("Blue", d, "1/2/26", {11446, 9000});
        QCOMPARE(s.text("lblSongtitle"), QString("Blue"));
        QCOMPARE(s.text("lblDatum"), QString("1/2/26"));
        QCOMPARE(s.text("lblProducer1"), QString("Ann"));
        QCOMPARE(s.text("lblTechnician2"), QString("Eve"));
        QCOMPARE(s.text("lblCounterFrom"), QString("00000"));
        QCOMPARE(s.text("lblSMPTEType"), QString("00"));
        QCOMPARE(s.text("Text1"), QString("note"));
        QCOMPARE(s.find("lblTechnician1")->rect, QRectF(1215, 3150, 8895, 210));
        QCOMPARE(s.find("capSMPTEType")->rect, QRectF(8595, 4830, 1005, 255));
        QCOMPARE(s.size(), QSizeF(11446 - 1170, 9000 - 450));
        QCOMPARE(s.find("Text1")->rect, QRectF(120, 5550, 10035, 9000 - 450 - 5550 - 100));
        QCOMPARE(s.items().size(), 52);
    }

    void sizeRules()
    {
        QCOMPARE(SongDetailsSheet::clampWindow({9000, 9000}), QSizeF(11446, 9000));
        QCOMPARE(SongDetailsSheet::clampWindow({13000, 8544}), QSizeF(11446, 8846));
        QCOMPARE(SongDetailsSheet::clampWindow({11446, 8545}), QSizeF(11446, 8545));
    }

    void captionsFitTheirPlaces()
    {
        const FormSheet s = SongDetailsSheet::build("Blue", {}, {}, {11446, 9000});
        for (const SheetItem& item : s.items()) {
            if (item.role != SheetItem::Role::Caption)
                continue;
            const QFont fitted = FormSheet::fittedFont(item);
            QVERIFY2(fitted.pointSizeF() >= 7, qPrintable(item.name)); // still readable
            const QFontMetricsF m(PageSink::twipsFont(fitted));
            QVERIFY2(m.horizontalAdvance(item.text) <= item.rect.width() + 1,
                     qPrintable(item.name + ": " + item.text));
        }
    }
};

QTEST_MAIN(TestSongDetailsSheet)
#include "tst_songdetailssheet.moc"
