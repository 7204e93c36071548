#pragma once

#include "documents/rtftokenizer.h"

#include <QtGlobal>

namespace quillon::rtf {

// Where the text of the current group goes.
enum class Destination { Text, Skip, FontTable, ColorTable };

// The reader's state of one group: destination and the character and
// paragraph properties in effect. Each group starts with a copy of its
// parent's and ends with it.
struct State {
    Destination dest = Destination::Text;
    // Character properties.
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0;
    int highlight = 0;
    int vertical = 0; // 1 super, -1 sub
    int uc = 1;
    // Paragraph properties.
    Qt::Alignment align = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool pageBreakBefore = false;
    // Font table entry being read.
    int fontNumber = -1;
    int fontCharset = -1;

    void resetParagraph()
    {
        align = Qt::AlignLeft;
        leftIndent = rightIndent = firstIndent = spaceBefore = spaceAfter = 0;
        pageBreakBefore = false;
    }
    // Applies a character or paragraph formatting word (\\b, \\fs, \\qc, \\li,
    // \\plain, \\pard, ...); other words change nothing.
    void applyFormatting(const Token& t, int defaultFont);
};

} // namespace quillon::rtf
