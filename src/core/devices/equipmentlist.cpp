#include "devices/equipmentlist.h"

#include "common/logging.h"
#include "printing/pagesink.h"

#include <cmath>
#include <QFontMetricsF>

namespace quillon {

QString EquipmentList::title(const QDateTime& at)
{
    // Fixed numeric formats, whatever the regional settings say.
    return QStringLiteral("     List of studioequipement") + at.date().toString("MM-dd-yyyy") +
           at.time().toString("HH:mm:ss");
}

QList<EquipmentLine> EquipmentList::header(const QDateTime& at)
{
    return {
        {{QString(77, '_')}, 0, false},
        {{}, 0, false},
        {{title(at)}, 13, false},
        {{QString(70, '_')}, 13, false},
        {{"Type", "Serial Nr.", "Purchased"}, 11, true},
        {{QString(77, '-')}, 11, false},
    };
}

EquipmentLine EquipmentList::row(const DeviceRecord& device)
{
    // The type column holds the device's name, as in the device list.
    const QString first = device.name.left(kTypeWidth) + QStringLiteral(" ") +
                          QStringLiteral("   ") + device.serialNr;
    return {{first, device.purchasedOn}, 11, false};
}

QList<EquipmentLine> EquipmentList::lines(const QList<DeviceRecord>& devices, const QDateTime& at)
{
    QList<EquipmentLine> all = header(at);
    for (const DeviceRecord& d : devices)
        all << row(d);
    return all;
}

QFont EquipmentList::lineFont(const EquipmentLine& line, const QFont& defaultFont)
{
    QFont f(defaultFont);
    if (f.pointSizeF() <= 0)
        f.setPointSizeF(f.pixelSize() > 0 ? f.pixelSize() * 0.75 : 10);
    if (line.pointSize > 0)
        f.setPointSize(line.pointSize);
    f.setBold(line.bold);
    return f;
}

double EquipmentList::nextZone(double x, double zoneWidth)
{
    if (zoneWidth <= 0)
        return x;
    return (std::floor(x / zoneWidth + 1e-9) + 1) * zoneWidth;
}

QList<PlacedText> EquipmentList::layout(const QList<EquipmentLine>& lines, const QFont& defaultFont,
                                        double pageHeightTwips)
{
    QList<PlacedText> placed;
    int page = 0;
    double top = 0;
    for (const EquipmentLine& line : lines) {
        const QFont font = lineFont(line, defaultFont);
        const QFontMetricsF fm(PageSink::twipsFont(font));
        const double height = fm.lineSpacing();
        // A line that does not fit goes to the next page; a page always takes
        // at least one line so an oversized font cannot loop forever.
        if (top > 0 && top + height > pageHeightTwips) {
            ++page;
            top = 0;
        }
        const double zoneWidth = kZoneChars * fm.averageCharWidth();
        double x = 0;
        for (int i = 0; i < line.zones.size(); ++i) {
            // At least one blank stays between two texts, or a text that ends
            // just short of a zone would run into the next one.
            if (i > 0)
                x = nextZone(x + fm.horizontalAdvance(QLatin1Char(' ')), zoneWidth);
            const QString& text = line.zones.at(i);
            if (!text.isEmpty())
                placed << PlacedText{page, x, top + fm.ascent(), text, font};
            x += fm.horizontalAdvance(text);
        }
        top += height;
    }
    return placed;
}

bool EquipmentList::print(PageSink& sink, const QList<EquipmentLine>& lines,
                          const QFont& defaultFont)
{
    if (!sink.beginJob(kJobName)) {
        qCWarning(lcPrinting) << "equipment list: cannot start job:" << sink.lastError();
        return false;
    }
    const QList<PlacedText> placed = layout(lines, defaultFont, sink.pageSizeTwips().height());
    int page = 0;
    for (const PlacedText& t : placed) {
        while (page < t.page) {
            if (!sink.newPage()) {
                sink.abortJob();
                return false;
            }
            ++page;
        }
        sink.drawText(t.x, t.y, t.text, t.font);
    }
    const bool ok = sink.endJob();
    qCInfo(lcPrinting) << "equipment list printed on" << sink.deviceName() << "ok:" << ok;
    return ok;
}

} // namespace quillon
