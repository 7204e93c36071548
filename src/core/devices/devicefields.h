#pragma once

#include <QString>
#include <QStringList>

namespace quillon::devicefields {

// The characters each box of the device form lets through. Matched without
// regard to letter case, so model names with capitals stay enterable even
// where a set lists small letters only. None of them holds the apostrophe.
QString nameCharacters();  // the name box
QString textCharacters();  // serial number, noise reduction, seller, technician
QString noteCharacters();  // the note: the text set plus "@" and the euro sign
QString digitCharacters(); // number of tracks

// Box limits in characters (0 = no limit).
inline constexpr int kNameLength = 30;
inline constexpr int kTracksLength = 4;
inline constexpr int kSerialLength = 35;
inline constexpr int kNoiseReductionLength = 40;
inline constexpr int kDateLength = 10;
inline constexpr int kNoteLength = 255;
inline constexpr int kTechnicianLength = 30;

inline constexpr int kTypeCount = 12;
// Captions of the twelve device types, by stored index.
const QStringList& typeNames();

// The number of tracks as stored: the digits of the box as a whole number;
// an emptied box (or anything that is not a number) gives 0.
int tracksFromText(const QString& text);

} // namespace quillon::devicefields
