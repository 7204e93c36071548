#include "songs/songdetailssheet.h"

#include "songs/songdetails.h"

namespace quillon {

using Role = SheetItem::Role;

QSizeF SongDetailsSheet::clampWindow(QSizeF inner)
{
    // The sheet is a fixed form: the width springs back, a window made too
    // low is raised to a comfortable height rather than to the bare minimum.
    return {kWindowWidth, inner.height() < kMinHeight ? kRaisedHeight : inner.height()};
}

QSizeF SongDetailsSheet::sheetSize(QSizeF inner)
{
    const QSizeF size = clampWindow(inner);
    return {size.width() - kSideMargin, size.height() - kButtonStrip};
}

FormSheet SongDetailsSheet::build(const QString& title, const SongDetails& d, const QString& date,
                                  QSizeF innerTwips)
{
    FormSheet s(sheetSize(innerTwips));
    auto add = [&s](const char* name, double l, double t, double w, double h, const QString& text,
                    Role role) {
        s.add(QString::fromLatin1(name), QRectF(l, t, w, h), text, role);
    };
    auto cap = [&add](const char* name, double l, double t, double w, double h, const char* text) {
        add(name, l, t, w, h, QString::fromUtf8(text), Role::Caption);
    };

    cap("capSongtitle", 120, 150, 855, 240, "Songtitle");
    add("lblSongtitle", 975, 120, 7740, 255, title, Role::Title);
    cap("capDate", 8895, 135, 375, 210, "Date:");
    add("lblDatum", 9330, 135, 885, 210, date, Role::Value);
    cap("capArtist", 120, 480, 615, 225, "Artist:");
    add("lblArtist", 780, 480, 9405, 225, d.artist, Role::Value);
    cap("capWords", 120, 720, 615, 225, "Words:");
    add("lblWords", 780, 720, 9405, 225, d.words, Role::Value);
    cap("capMusic", 120, 960, 615, 225, "Music:");
    add("lblMusic", 780, 960, 9405, 225, d.composer, Role::Value);
    s.addRule(1260, 120, 10155);

    cap("capCompDate", 120, 1350, 1470, 255, "Date of Composition:");
    add("lblCompDate", 1665, 1350, 840, 255, d.compositionDate, Role::Value);
    cap("capLength", 3120, 1350, 855, 255, "Songlength:");
    add("lblLength", 4050, 1350, 750, 255, d.length, Role::Value);
    cap("capKey", 5460, 1350, 315, 255, "Key:");
    add("lblKey", 5865, 1350, 735, 255, d.key, Role::Value);
    cap("capSignature", 7095, 1350, 720, 255, "Signature:");
    add("lblSignature", 7875, 1350, 315, 255, d.signature, Role::Value);
    cap("capTempo", 8850, 1350, 525, 255, "Tempo:");
    add("lblTempo", 9465, 1350, 675, 255, d.tempo, Role::Value);
    s.addRule(1695, 120, 10155);

    cap("capPublisher", 120, 1785, 975, 210, "Publisher:");
    add("lblPublisher", 1440, 1785, 8730, 210, d.publisher, Role::Value);
    cap("capRecordcompany", 120, 2040, 1230, 225, "Recordcompany:");
    add("lblRecordcompany", 1440, 2055, 8730, 225, d.recordCompany, Role::Value);
    s.addRule(2370, 120, 10155);

    cap("capProducer1", 120, 2475, 1095, 210, "Producer 1:");
    add("lblProducer1", 1410, 2460, 8730, 210, d.producer1, Role::Value);
    cap("capProducer2", 120, 2745, 1095, 240, "Producer 2:");
    add("lblProducer2", 1425, 2730, 8730, 240, d.producer2, Role::Value);
    cap("capTechnician1", 120, 3135, 1095, 210, "Technician 1:");
    add("lblTechnician1", 1215, 3150, 8895, 210, d.technician1, Role::Value);
    cap("capTechnician2", 120, 3390, 1095, 210, "Technician 2:");
    add("lblTechnician2", 1215, 3390, 8895, 210, d.technician2, Role::Value);
    cap("capTechnician3", 120, 3645, 1095, 210, "Technician 3:");
    add("lblTechnician3", 1215, 3630, 8895, 210, d.technician3, Role::Value);
    s.addRule(3960, 120, 10155);

    cap("capStyle", 120, 4080, 645, 225, "Style:");
    add("lblSongstyle", 615, 4080, 9540, 225, d.style, Role::Value);
    s.addRule(4425, 120, 10155);

    cap("capTapeNumber", 120, 4545, 945, 195, "Tapenumber:");
    add("lblTapeNumber", 1095, 4545, 4650, 225, d.mediumNumber, Role::Value);
    cap("capCounterFrom", 120, 4830, 1260, 255, "Tapecounter from");
    add("lblCounterFrom", 1455, 4830, 495, 255, d.counterFrom, Role::Value);
    cap("capCounterTo", 1965, 4830, 135, 255, "to");
    add("lblCounterTo", 2175, 4830, 510, 255, d.counterTo, Role::Value);
    cap("capTapeTimeFrom", 3390, 4830, 1005, 255, "Tapetime from");
    add("lblTapeTimeFrom", 4530, 4830, 735, 255, d.mediumTimeFrom, Role::Value);
    cap("capTapeTimeTo", 5205, 4830, 135, 255, "to");
    add("lblTapeTimeTo", 5430, 4830, 630, 255, d.mediumTimeTo, Role::Value);
    cap("capSMPTETime", 6765, 4830, 645, 255, "SMPTE:");
    add("lblSMPTETime", 7455, 4830, 960, 255, d.smpteTime, Role::Value);
    cap("capSMPTEType", 8595, 4830, 1005, 255, "SMPTE Type:");
    add("lblSMPTEType", 9675, 4830, 180, 255, d.smpteType, Role::Value);
    s.addRule(5175, 120, 10155);

    cap("capNotes", 120, 5280, 420, 195, "Notes");
    const double noteHeight = qMax(0.0, s.size().height() - kNoteTop - 100);
    add("Text1", 120, kNoteTop, 10035, noteHeight, d.note, Role::Text);
    return s;
}

} // namespace quillon
