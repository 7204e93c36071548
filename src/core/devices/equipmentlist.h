#pragma once

#include "devices/deviceregister.h"

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QStringList>

namespace quillon {

class PageSink;

// One line of the studio equipment list. Each text of `zones` after the first
// starts at the next print zone (fourteen average character widths of the
// line's font), the way tabulated printer output lines up.
struct EquipmentLine {
    QStringList zones; // empty: an empty line
    int pointSize = 0; // 0: the printer's default size
    bool bold = false;
    bool operator==(const EquipmentLine&) const = default;
};

// One text placed on a page, in twips from the top left of the printable area
// (y is the baseline).
struct PlacedText {
    int page = 0;
    double x = 0;
    double y = 0;
    QString text;
    QFont font; // in points
};

// The studio equipment list: a fixed header block, the column headings and
// one row per device of the register (name, serial number, purchase date).
class EquipmentList final {
public:
    static constexpr int kTypeWidth = 25;
    static constexpr int kZoneChars = 14;
    static inline const QString kJobName = QStringLiteral("List of studioequipement");

    // "     List of studioequipement" + mm-dd-yyyy + hh:mm:ss, no blanks between.
    static QString title(const QDateTime& at);
    static QList<EquipmentLine> header(const QDateTime& at);
    static EquipmentLine row(const DeviceRecord& device);
    static QList<EquipmentLine> lines(const QList<DeviceRecord>& devices, const QDateTime& at);

    // Places the lines from the top left downwards in the given default font,
    // starting a new page when a line would run past the page's height.
    static QList<PlacedText> layout(const QList<EquipmentLine>& lines, const QFont& defaultFont,
                                    double pageHeightTwips);
    // Prints the lines as one job on the sink; false (with the sink's
    // lastError) when the job could not be started or finished.
    static bool print(PageSink& sink, const QList<EquipmentLine>& lines, const QFont& defaultFont);

    // The font of a line, in points.
    static QFont lineFont(const EquipmentLine& line, const QFont& defaultFont);
    // Left edge of the first print zone that starts after x.
    static double nextZone(double x, double zoneWidth);
};

} // namespace quillon
