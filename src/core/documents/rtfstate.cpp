#include "documents/rtfstate.h"

#include <algorithm>

namespace quillon::rtf {

namespace {

// Indents beyond a sheet's width are no layout anybody meant.
int clampTwips(int v)
{
    return std::clamp(v, -20000, 20000);
}

} // namespace

void State::applyFormatting(const Token& t, int defaultFont)
{
    const QByteArray& w = t.word;
    const bool on = !t.hasParam || t.param != 0;
    if (w == "plain") {
        // Character properties back to their defaults; the paragraph,
        // the destination and \\uc stay.
        State fresh;
        fresh.dest = dest;
        fresh.uc = uc;
        fresh.font = defaultFont;
        fresh.align = align;
        fresh.leftIndent = leftIndent;
        fresh.rightIndent = rightIndent;
        fresh.firstIndent = firstIndent;
        fresh.spaceBefore = spaceBefore;
        fresh.spaceAfter = spaceAfter;
        fresh.pageBreakBefore = pageBreakBefore;
        fresh.fontNumber = fontNumber;
        fresh.fontCharset = fontCharset;
        *this = fresh;
    } else if (w == "pard") {
        resetParagraph();
    } else if (w == "pagebb") {
        pageBreakBefore = on;
    } else if (w == "b") {
        bold = on;
    } else if (w == "i") {
        italic = on;
    } else if (w == "ulnone") {
        underline = false;
    } else if (w.startsWith("ul") && w != "ulc") {
        underline = on;
    } else if (w == "strike" || w == "striked") {
        strike = on;
    } else if (w == "fs" && t.hasParam) {
        if (t.param >= 2 && t.param <= 3276)
            halfPoints = t.param;
    } else if (w == "f" && t.hasParam) {
        font = t.param;
    } else if (w == "cf") {
        color = t.param;
    } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
        highlight = t.param;
    } else if (w == "super") {
        vertical = on ? 1 : 0;
    } else if (w == "sub") {
        vertical = on ? -1 : 0;
    } else if (w == "nosupersub") {
        vertical = 0;
    } else if (w == "ql") {
        align = Qt::AlignLeft;
    } else if (w == "qc") {
        align = Qt::AlignHCenter;
    } else if (w == "qr") {
        align = Qt::AlignRight;
    } else if (w == "qj") {
        align = Qt::AlignJustify;
    } else if (w == "li" || w == "lin") {
        leftIndent = clampTwips(t.param);
    } else if (w == "ri" || w == "rin") {
        rightIndent = clampTwips(t.param);
    } else if (w == "fi") {
        firstIndent = clampTwips(t.param);
    } else if (w == "sb") {
        spaceBefore = std::clamp(t.param, 0, 20000);
    } else if (w == "sa") {
        spaceAfter = std::clamp(t.param, 0, 20000);
    }
}

} // namespace quillon::rtf
