#include "songs/tracksheetlayout.h"

#include "songs/songdetails.h"
#include "store/songconstants.h"

namespace quillon {

using Role = SheetItem::Role;

TrackSheetData TrackSheetData::from(const QString& title, const SongDetails& details,
                                    const QString& deviceName, const QStringList& tracks,
                                    const QDate& today)
{
    TrackSheetData d;
    d.title = title;
    d.date = TrackSheetLayout::dateText(today);
    d.artist = details.artist;
    d.words = details.words;
    d.music = details.composer;
    d.device = deviceName;
    d.tape = details.mediumNumber;
    d.counter = details.counterFrom;
    d.smpte = details.smpteTime;
    d.tempo = details.tempo;
    d.key = details.key;
    d.style = details.style;
    d.compositionDate = details.compositionDate;
    d.tracks = tracks;
    return d;
}

QString TrackSheetLayout::heading(int page)
{
    const int first = firstTrack(page);
    return QStringLiteral(" T R A C K S H E E T  -  Track") + numberText(first) +
           QStringLiteral(" to") + numberText(first + kRowsPerPage - 1);
}

QString TrackSheetLayout::rangeText(int page)
{
    const int first = firstTrack(page);
    return QString::number(first) + QStringLiteral(" - ") +
           QString::number(first + kRowsPerPage - 1);
}

QString TrackSheetLayout::dateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

QSizeF TrackSheetLayout::clampWindow(QSizeF inner)
{
    return {qMax(inner.width(), kMinWidth), qMax(inner.height(), kMinHeight)};
}

QSizeF TrackSheetLayout::sheetSize(QSizeF inner)
{
    const QSizeF size = clampWindow(inner);
    return {size.width(), size.height() - kButtonStrip};
}

double TrackSheetLayout::trackHeight(double innerHeight)
{
    return qMax(innerHeight, kMinHeight) / kRowsPerPage - 205;
}

double TrackSheetLayout::rowTop(int row, double innerHeight)
{
    return kFirstRowTop + row * (trackHeight(innerHeight) + kRowGap);
}

FormSheet TrackSheetLayout::build(const TrackSheetData& d, int page, QSizeF innerTwips)
{
    const QSizeF inner = clampWindow(innerTwips);
    FormSheet s(sheetSize(inner));
    auto add = [&s](const char* name, double l, double t, double w, double h, const QString& text,
                    Role role) {
        s.add(QString::fromLatin1(name), QRectF(l, t, w, h), text, role);
    };

    add("capSongtitle", 135, 60, 855, 240, QStringLiteral("Songtitle"), Role::Caption);
    add("lblSongtitle", 990, 30, 7530, 255, d.title, Role::Title);
    add("capDate", 8700, 45, 450, 210, QStringLiteral("Date:"), Role::Caption);
    add("datum", 9225, 45, 825, 210, d.date, Role::Value);
    add("capArtist", 150, 345, 500, 225, QStringLiteral("Artist:"), Role::Caption);
    add("artista", 700, 345, 4800, 225, d.artist, Role::Value);
    add("capWords", 150, 585, 500, 225, QStringLiteral("Words:"), Role::Caption);
    add("words", 700, 585, 4800, 225, d.words, Role::Value);
    add("capMusic", 150, 825, 500, 225, QStringLiteral("Music:"), Role::Caption);
    add("music", 700, 825, 4800, 225, d.music, Role::Value);
    add("capTape", 5740, 345, 750, 225, QStringLiteral("Tape:"), Role::Caption);
    add("lblBandnummer", 6499, 345, 1050, 225, d.tape, Role::Value);
    add("capCounter", 5740, 585, 750, 225, QStringLiteral("Counter:"), Role::Caption);
    add("LABCounter", 6499, 585, 1050, 225, d.counter, Role::Value);
    add("capSMPTE", 5740, 825, 750, 225, QStringLiteral("SMPTE:"), Role::Caption);
    add("LABSmpte", 6499, 825, 1050, 225, d.smpte, Role::Value);
    add("capTempo", 7635, 345, 600, 225, QStringLiteral("Tempo:"), Role::Caption);
    add("Label12", 8320, 345, 675, 225, d.tempo, Role::Value);
    add("capKey", 7635, 585, 600, 225, QStringLiteral("Key:"), Role::Caption);
    add("labkey", 8320, 585, 735, 225, d.key, Role::Value);
    add("capStyle", 7635, 825, 645, 225, QStringLiteral("Style:"), Role::Caption);
    add("lblSongstyle", 8320, 825, 1830, 225, d.style, Role::Value);
    add("Label4", 165, 1155, 4005, 270, heading(page), Role::Heading);
    add("capDevice", 4230, 1185, 645, 240, QStringLiteral("Device:"), Role::Caption);
    add("lblRD", 4950, 1185, 2580, 240, d.device, Role::Value);
    add("capDate2", 8040, 1185, 600, 225, QStringLiteral("Date:"), Role::Caption);
    add("Label11", 8640, 1185, 840, 225, d.compositionDate, Role::Value);
    // Rules set the header apart from the song's data and from the tracks.
    s.addRule(315, 135, s.size().width() - 130);
    s.addRule(1110, 135, s.size().width() - 130);
    s.addRule(1470, 135, s.size().width() - 130);

    const double height = trackHeight(inner.height());
    const double width = s.size().width() - 400;
    for (int i = 0; i < kRowsPerPage; ++i) {
        const int track = firstTrack(page) + i;
        const double top = rowTop(i, inner.height());
        s.add(QStringLiteral("Notr(%1)").arg(i), QRectF(kNumberLeft, top, 200, 225),
              QString::number(track), Role::Number);
        s.add(QStringLiteral("Track(%1)").arg(i), QRectF(kTrackLeft, top, width, height),
              track - 1 < d.tracks.size() ? d.tracks.at(track - 1) : QString(), Role::Text);
    }
    return s;
}

} // namespace quillon
