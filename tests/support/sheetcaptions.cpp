#include "sheetcaptions.h"

#include "printing/pagefit.h"

#include <QTest>

namespace quillon::test {

void addSheetFieldRows(std::span<const SheetField> fields)
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    for (const SheetField& f : fields)
        QTest::newRow(f.label) << QString::fromUtf8(f.caption) << QString::fromUtf8(f.label)
                               << QString::fromUtf8(f.value);
}

const SheetItem* captionOf(const FormSheet& sheet, const SheetItem& value)
{
    const SheetItem* best = nullptr;
    for (const SheetItem& c : sheet.items()) {
        if (c.role != SheetItem::Role::Caption)
            continue;
        // The design lets a caption's box run under its value ("Style:"):
        // what counts is where each one starts.
        const bool left = qAbs(c.rect.top() - value.rect.top()) <= 40 &&
                          c.rect.left() < value.rect.left() &&
                          (!best || c.rect.left() > best->rect.left());
        const bool above = value.role == SheetItem::Role::Text &&
                           qAbs(c.rect.left() - value.rect.left()) <= 5 &&
                           c.rect.bottom() <= value.rect.top() + 5;
        if (left || above)
            best = &c;
    }
    return best;
}

std::optional<RecordedJob> printedAsPage(const FormSheet& sheet, const QString& jobName)
{
    RecordingPageSink sink;
    if (!sink.beginJob(jobName))
        return std::nullopt;
    if (!printSheetAsPage(sink, sheet)) {
        sink.abortJob();
        return std::nullopt;
    }
    if (!sink.endJob() || sink.jobs().isEmpty())
        return std::nullopt;
    return sink.jobs().first();
}

} // namespace quillon::test
