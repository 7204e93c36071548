#pragma once

// Checks of printed sheets (track sheets, song details): which caption a
// value stands under, and the sheet as it comes out on paper.

#include "printing/formsheet.h"
#include "printing/recordingpagesink.h"

#include <optional>
#include <span>

namespace quillon::test {

// A printed value: its caption, its label, the song table's field it comes
// from (empty: not from the row) and a value no other field has.
struct SheetField {
    const char* caption;
    const char* label;
    const char* column;
    const char* value;
};

// The columns caption, label and value, and a row per field named by its
// label.
void addSheetFieldRows(std::span<const SheetField> fields);

// The caption a value is read under: the nearest caption starting left of
// it on its row, or for a text box the caption just above it.
const SheetItem* captionOf(const FormSheet& sheet, const SheetItem& value);

// The sheet printed as the one page of a recorded job; nothing when the
// job or the page could not be printed.
std::optional<RecordedJob> printedAsPage(const FormSheet& sheet, const QString& jobName);

} // namespace quillon::test
