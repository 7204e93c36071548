#pragma once

namespace quillon {

// Layouts are designed in twips (1/1440 inch), so that their figures read in
// the unit they were drawn in; these turn them into pixels at a resolution
// (dots per inch) and back. Halves round away from zero.
inline constexpr double kTwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dpi)
{
    return int(twips * dpi / kTwipsPerInch + (twips >= 0 ? 0.5 : -0.5));
}
inline double pixelsToTwips(double pixels, double dpi)
{
    return pixels * kTwipsPerInch / dpi;
}

} // namespace quillon
