#pragma once

#include <QString>

namespace quillon {

// The title that stands for "no song is loaded"; compared exactly.
inline const QString kNoSongLoaded = QStringLiteral("No Song loaded");
// The song every installation starts with; it can be neither erased nor renamed.
inline const QString kTrainingSong = QStringLiteral("©QUILLON is simply the best");

// A whole number written with one leading blank: 12 -> " 12".
inline QString numberText(int n)
{
    return QStringLiteral(" ") + QString::number(n);
}

// The text a new song gets on track k of slot n: "Blue Dev  2  Track 3".
inline QString generatedTrackText(const QString& title, int slot, int track)
{
    return title + QStringLiteral(" ") + QStringLiteral("Dev ") + numberText(slot) +
           QStringLiteral("  Track") + numberText(track);
}

// True for the text a new song gets on track k of slot n, whatever the
// title it was made for: a placeholder, not something typed.
inline bool isGeneratedTrackText(const QString& text, int slot, int track)
{
    // Most texts are not, which a look for the pattern's middle tells
    // without building it.
    if (!text.contains(QLatin1String("  Track")))
        return false;
    return text.endsWith(QStringLiteral(" Dev ") + numberText(slot) + QStringLiteral("  Track") +
                         numberText(track));
}

} // namespace quillon
