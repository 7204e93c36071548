#include "printing/pagefit.h"
#include "printing/pagesink.h"
#include "printing/recordingpagesink.h"
#include "sheetcaptions.h"
#include "songs/songdetails.h"
#include "songs/tracksheetlayout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QSqlField>
#include <QTest>

using namespace quillon;

namespace {

TrackSheetData sample()
{
    SongDetails details;
    details.artist = "The Band";
    details.words = "Lyricist";
    details.composer = "Composer";
    details.mediumNumber = "Tape 7";
    details.counterFrom = "00000";
    details.smpteTime = "00:00:00:00";
    details.tempo = "120";
    details.key = "A minor";
    details.style = "Ballad";
    details.compositionDate = "03-04-2001";
    QStringList tracks;
    for (int k = 1; k <= 96; ++k)
        tracks << QStringLiteral("Track text %1").arg(k);
    return TrackSheetData::from("A Song Title", details, "Tascam 388", tracks, QDate(2026, 3, 7));
}

// Every header value of the sheet, each with a value of its own.
const test::SheetField kFields[] = {
    {"Songtitle", "lblSongtitle", "", "Title Q1"},
    {"Date:", "datum", "", "03-07-2026"},
    {"Artist:", "artista", "artist", "Artist Q3"},
    {"Words:", "words", "text", "Lyricist Q4"},
    {"Music:", "music", "composer", "Composer Q5"},
    {"Tape:", "lblBandnummer", "Bandnummer", "Tape Q6"},
    {"Counter:", "LABCounter", "BandZählWerkVon", "01234"},
    {"SMPTE:", "LABSmpte", "SMPTEZeit", "01:02:03:04"},
    {"Tempo:", "Label12", "tempo", "133"},
    {"Key:", "labkey", "Key", "F#m"},
    {"Style:", "lblSongstyle", "Style", "Style Q11"},
    {"Device:", "lblRD", "", "Otari MTR-90 II"},
    {"Date:", "Label11", "compodate", "01-06-1999"},
};

// The sheet of a song row whose every field differs (the counter at the end,
// the other times and the session fields too, so none can stand in), with
// track k reading "Track k".
FormSheet distinctSheet(int page)
{
    QSqlRecord record;
    const auto append = [&record](const QString& name, const QString& value) {
        QSqlField field(name, QMetaType(QMetaType::QString));
        field.setValue(value);
        record.append(field);
    };
    for (const test::SheetField& f : kFields)
        if (*f.column)
            append(QString::fromUtf8(f.column), QString::fromUtf8(f.value));
    append("BandZählWerkBis", "05678");
    append("BandzeitVon", "00:01:02");
    append("BandzeitBis", "00:03:04");
    append("publisher", "Publisher Q20");
    append("Producer1", "Producer Q21");
    SongDetails details;
    details.readFrom(SongRecord(record));
    details.deviceName = "Otari MTR-90 I"; // a cut label must not stand in
    QStringList tracks;
    for (int k = 1; k <= 96; ++k)
        tracks << QStringLiteral("Track %1").arg(k);
    const TrackSheetData data =
        TrackSheetData::from("Title Q1", details, "Otari MTR-90 II", tracks, QDate(2026, 3, 7));
    return TrackSheetLayout::build(data, page, {11836, 7666});
}

} // namespace

class TestTrackSheetLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headingAndRanges()
    {
        QCOMPARE(TrackSheetLayout::heading(1), QString(" T R A C K S H E E T  -  Track 1 to 12"));
        QCOMPARE(TrackSheetLayout::heading(8), QString(" T R A C K S H E E T  -  Track 85 to 96"));
        QCOMPARE(TrackSheetLayout::rangeText(1), QString("1 - 12"));
        QCOMPARE(TrackSheetLayout::rangeText(2), QString("13 - 24"));
        QCOMPARE(TrackSheetLayout::rangeText(8), QString("85 - 96"));
        QCOMPARE(TrackSheetLayout::dateText(QDate(2026, 3, 7)), QString("03-07-2026"));
    }

    void pageHoldsItsTwelveTracks()
    {
        const FormSheet sheet = TrackSheetLayout::build(sample(), 8, {11836, 7666});
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(sheet.text(QString("Notr(%1)").arg(i)), QString::number(85 + i));
            QCOMPARE(sheet.text(QString("Track(%1)").arg(i)), QString("Track text %1").arg(85 + i));
        }
        QCOMPARE(sheet.text("datum"), QString("03-07-2026"));
        QCOMPARE(sheet.text("lblRD"), QString("Tascam 388"));
        QCOMPARE(sheet.text("lblBandnummer"), QString("Tape 7"));
        QCOMPARE(sheet.text("Label11"), QString("03-04-2001"));
        QCOMPARE(sheet.find("lblSongtitle")->rect, QRectF(990, 30, 7530, 255));
        QCOMPARE(sheet.find("Label4")->rect, QRectF(165, 1155, 4005, 270));
    }

    // Label by label, against a song whose every field differs: each value
    // under its own caption, on screen and on the printed page.
    void everyValueUnderItsCaption_data() { test::addSheetFieldRows(kFields); }
    void everyValueUnderItsCaption()
    {
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(QString, value);
        const FormSheet s = distinctSheet(1);
        const SheetItem* item = s.find(label);
        QVERIFY(item);
        QCOMPARE(item->text, value);
        const SheetItem* cap = test::captionOf(s, *item);
        QVERIFY(cap);
        QCOMPARE(cap->text, caption);
        const std::optional<RecordedJob> job = test::printedAsPage(s, "sheet");
        QVERIFY(job);
        QVERIFY(job->texts(0).contains(value));
    }

    // Each row of a page: its number and that track's text beside it.
    void everyRowShowsItsTrack()
    {
        const FormSheet s = distinctSheet(3);
        const std::optional<RecordedJob> job = test::printedAsPage(s, "sheet");
        QVERIFY(job);
        const QStringList printed = job->texts(0);
        for (int i = 0; i < 12; ++i) {
            const SheetItem* number = s.find(QString("Notr(%1)").arg(i));
            const SheetItem* text = s.find(QString("Track(%1)").arg(i));
            QVERIFY(number && text);
            QCOMPARE(number->text, QString::number(25 + i));
            QCOMPARE(text->text, QString("Track %1").arg(25 + i));
            QCOMPARE(number->rect.top(), text->rect.top());
            QVERIFY(number->rect.right() <= text->rect.left());
            QVERIFY(printed.contains(text->text));
        }
        QCOMPARE(s.text("Label4"), QString(" T R A C K S H E E T  -  Track 25 to 36"));
    }

    void missingTracksReadEmpty()
    {
        TrackSheetData data = sample();
        data.tracks = data.tracks.mid(0, 10);
        const FormSheet sheet = TrackSheetLayout::build(data, 1, {11836, 7666});
        QCOMPARE(sheet.text("Track(9)"), QString("Track text 10"));
        QCOMPARE(sheet.text("Track(10)"), QString());
    }

    void rowsFollowTheWindowSize()
    {
        // 12000 twips inner height: track texts 12000 / 12 - 205 = 795 high.
        const FormSheet sheet = TrackSheetLayout::build(sample(), 1, {13000, 12000});
        QCOMPARE(sheet.size(), QSizeF(13000, 12000 - 450));
        QCOMPARE(sheet.find("Track(0)")->rect, QRectF(270, 1575, 13000 - 400, 795));
        QCOMPARE(sheet.find("Track(11)")->rect.top(), 1575 + 11 * (795.0 + 30));
        QCOMPARE(sheet.find("Notr(11)")->rect.top(), sheet.find("Track(11)")->rect.top());
        QVERIFY(sheet.find("Track(11)")->rect.bottom() <= sheet.size().height());
        // Held at the minimum size.
        const FormSheet small = TrackSheetLayout::build(sample(), 1, {100, 100});
        QCOMPARE(small.size(), QSizeF(11836, 7666 - 450));
        QVERIFY(small.find("Track(11)")->rect.bottom() <= small.size().height());
    }

    void captionsFitTheirPlaces()
    {
        // A tidy form: no caption, heading or date runs past its label.
        const FormSheet sheet = TrackSheetLayout::build(sample(), 8, {11836, 7666});
        for (const SheetItem& item : sheet.items()) {
            if (item.role == SheetItem::Role::Text || item.role == SheetItem::Role::Value)
                continue;
            const QFont fitted = FormSheet::fittedFont(item);
            QVERIFY2(fitted.pointSizeF() >= 7, qPrintable(item.name)); // still readable
            const QFontMetricsF m(PageSink::twipsFont(fitted));
            QVERIFY2(m.horizontalAdvance(item.text) <= item.rect.width() + 1,
                     qPrintable(item.name + ": " + item.text));
        }
        const QFontMetricsF m(PageSink::twipsFont(FormSheet::fittedFont(*sheet.find("datum"))));
        QVERIFY(m.horizontalAdvance(sheet.text("datum")) <= sheet.find("datum")->rect.width() + 1);
    }

    void printedPageIsScaledIntoThePrintableArea()
    {
        const FormSheet sheet = TrackSheetLayout::build(sample(), 2, {11836, 9000});
        const QTransform t = fitToPage(sheet.size(), {10206, 15138});
        QCOMPARE(qRound(t.m11() * 11836), 10206); // fills the width, proportions kept
        QCOMPARE(t.m11(), t.m22());
        RecordingPageSink sink;
        QVERIFY(sink.beginJob("sheet"));
        QVERIFY(printSheetAsPage(sink, sheet, {}));
        QVERIFY(sink.endJob());
        const QStringList texts = sink.jobs().first().texts(0);
        QVERIFY(texts.contains(" T R A C K S H E E T  -  Track 13 to 24"));
        QVERIFY(texts.contains("Track text 24"));
        QVERIFY(!texts.contains("Track text 25"));
        QVERIFY(texts.indexOf("Track text 13") < texts.indexOf("Track text 14"));
    }
};

QTEST_MAIN(TestTrackSheetLayout)
#include "tst_tracksheetlayout.moc"
