#include "printing/pagefit.h"
#include "printing/pagesink.h"
#include "printing/recordingpagesink.h"
#include "sheetcaptions.h"
#include "songs/songdetails.h"
#include "songs/songdetailssheet.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QSqlField>
#include <QTest>

using namespace quillon;

namespace {

// Every printed value, each with a value no other field has.
const test::SheetField kFields[] = {
    {"Songtitle", "lblSongtitle", "", "Title Q1"},
    {"Date:", "lblDatum", "", "Today Q2"},
    {"Artist:", "lblArtist", "artist", "Artist Q3"},
    {"Words:", "lblWords", "text", "Lyricist Q4"},
    {"Music:", "lblMusic", "composer", "Composer Q5"},
    {"Date of Composition:", "lblCompDate", "compodate", "01-06-1999"},
    {"Songlength:", "lblLength", "length", "00:07:11"},
    {"Key:", "lblKey", "Key", "F#m"},
    {"Signature:", "lblSignature", "Signature", "7/8"},
    {"Tempo:", "lblTempo", "tempo", "133"},
    {"Publisher:", "lblPublisher", "publisher", "Publisher Q11"},
    {"Recordcompany:", "lblRecordcompany", "recordcomp", "Label Q12"},
    {"Producer 1:", "lblProducer1", "Producer1", "Producer Q13"},
    {"Producer 2:", "lblProducer2", "Producer2", "Producer Q14"},
    {"Technician 1:", "lblTechnician1", "Technician1", "Technician Q15"},
    {"Technician 2:", "lblTechnician2", "Technician2", "Technician Q16"},
    {"Technician 3:", "lblTechnician3", "Technician3", "Technician Q17"},
    {"Style:", "lblSongstyle", "Style", "Style Q18"},
    {"Tapenumber:", "lblTapeNumber", "Bandnummer", "Tape Q19"},
    {"Tapecounter from", "lblCounterFrom", "BandZählWerkVon", "01234"},
    {"to", "lblCounterTo", "BandZählWerkBis", "05678"},
    {"Tapetime from", "lblTapeTimeFrom", "BandzeitVon", "00:01:02"},
    {"to", "lblTapeTimeTo", "BandzeitBis", "00:03:04"},
    {"SMPTE:", "lblSMPTETime", "SMPTEZeit", "01:02:03:04"},
    {"SMPTE Type:", "lblSMPTEType", "SmpteType", "25"},
    {"Notes", "Text1", "notiz1", "Note Q26"},
};

// A song row holding every field's value.
SongRecord distinctRow()
{
    QSqlRecord record;
    for (const test::SheetField& f : kFields) {
        if (!*f.column)
            continue;
        QSqlField field(QString::fromUtf8(f.column), QMetaType(QMetaType::QString));
        field.setValue(QString::fromUtf8(f.value));
        record.append(field);
    }
    return SongRecord(record);
}

} // namespace

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

    // Label by label, against a song whose every field differs: the value
    // stands under its own caption, on screen and on paper.
    void everyValueUnderItsCaption_data() { test::addSheetFieldRows(kFields); }
    void everyValueUnderItsCaption()
    {
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(QString, value);
        SongDetails d;
        d.readFrom(distinctRow());
        const FormSheet s = SongDetailsSheet::build("Title Q1", d, "Today Q2", {11446, 9000});
        const SheetItem* item = s.find(label);
        QVERIFY(item);
        QCOMPARE(item->text, value);
        const SheetItem* cap = test::captionOf(s, *item);
        QVERIFY(cap);
        QCOMPARE(cap->text, caption);
        // The same on paper.
        const std::optional<RecordedJob> job = test::printedAsPage(s, "details");
        QVERIFY(job);
        const QString printed = job->plainText(0);
        QVERIFY2(printed.contains(value), qPrintable(printed));
        QVERIFY(job->texts(0).contains(caption));
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
