#pragma once

#include "printing/formsheet.h"

namespace quillon {

struct SongDetails;

// The song details sheet: every detail of the song on one page-like form.
// The preview window shows it and prints it as one page.
class SongDetailsSheet final {
public:
    // The window's width is held at this (twips); the sheet is narrower by
    // the margin beside it.
    static constexpr double kWindowWidth = 11446;
    static constexpr double kMinHeight = 8545;
    static constexpr double kRaisedHeight = 8846;
    static constexpr double kSideMargin = 1170;
    static constexpr double kButtonStrip = 450;
    static constexpr double kNoteTop = 5550;

    // The window size after the resize rules: fixed width, a minimum height.
    static QSizeF clampWindow(QSizeF innerTwips);
    static QSizeF sheetSize(QSizeF innerTwips);

    // date is shown as given (the system's short date format).
    static FormSheet build(const QString& title, const SongDetails& details, const QString& date,
                           QSizeF innerTwips);
};

} // namespace quillon
