#pragma once

#include <QString>

namespace quillon {

// Fonts such as Symbol and Wingdings draw their own pictures at the code
// points of ordinary letters: "m" in Symbol is a mu. Text read in such a
// font is turned into the Unicode characters it shows, so that it reads
// the same in any font.
namespace symbolfonts {

// Whether `font` is one of the fonts mapped here (compared without regard
// to case).
bool isSymbolFont(const QString& font);
// The character `code` shows in `font`; codes in the private-use range
// F000-F0FF that Word uses for symbol fonts count as their low byte.
// Codes with no known picture come back unchanged.
QString character(const QString& font, uint code);

} // namespace symbolfonts
} // namespace quillon
