#pragma once

#include "printing/formsheet.h"

#include <QDate>
#include <QStringList>

namespace quillon {

struct SongDetails;

// What one track sheet shows: the song's header and the 96 tracks of a slot.
struct TrackSheetData {
    QString title;
    QString date; // the day the sheet is made, mm-dd-yyyy
    QString artist;
    QString words;
    QString music;
    QString device;
    QString tape;
    QString counter;
    QString smpte;
    QString tempo;
    QString key;
    QString style;
    QString compositionDate;
    QStringList tracks; // track 1 first; missing tracks read as empty

    static TrackSheetData from(const QString& title, const SongDetails& details,
                               const QString& deviceName, const QStringList& tracks,
                               const QDate& today);
};

// The track sheet page, twelve tracks per page, eight pages per slot. The
// window places its labels from this layout and the printout paints it, so
// both show the same page.
class TrackSheetLayout final {
public:
    static constexpr int kPages = 8;
    static constexpr int kRowsPerPage = 12;
    static constexpr int kTracks = kPages * kRowsPerPage;
    // The window is held at least this large (twips).
    static constexpr double kMinWidth = 11836;
    static constexpr double kMinHeight = 7666;
    static constexpr double kFirstRowTop = 1575;
    static constexpr double kNumberLeft = 45;
    static constexpr double kTrackLeft = 270;
    static constexpr double kRowGap = 30;
    // The strip below the sheet that holds the Next button.
    static constexpr double kButtonStrip = 450;

    // " T R A C K S H E E T  -  Track 1 to 12"
    static QString heading(int page);
    // "1 - 12" ... "85 - 96": the entries of the print options list.
    static QString rangeText(int page);
    static int firstTrack(int page) { return kRowsPerPage * (page - 1) + 1; }
    // mm-dd-yyyy whatever the regional settings.
    static QString dateText(const QDate& date);

    // The window's inner size after the minimum size is applied.
    static QSizeF clampWindow(QSizeF innerTwips);
    // The sheet (the window's client area above the button strip).
    static QSizeF sheetSize(QSizeF innerTwips);
    // Height of one track text for a window of that inner height.
    static double trackHeight(double innerHeight);
    static double rowTop(int row, double innerHeight);

    // Page 1..8 laid out for a window of the given inner size.
    static FormSheet build(const TrackSheetData& data, int page, QSizeF innerTwips);
};

} // namespace quillon
