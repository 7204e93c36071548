#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The media type list and the picture numbering of the media tree.
namespace media {

inline constexpr int kTypeCount = 10;
// Pictures 1-10 show a medium in use, 11-20 a separated one, 21 the root.
inline constexpr int kSeparatedOffset = 10;
inline constexpr int kRootIcon = 21;
// The type a medium falls back to when its stored type names none.
inline constexpr int kOtherType = 10;

// "1 - Harddisk" ... "10 - Other", in this order (MediaTypes).
const QStringList& mediaTypes();

// The number read from the leading digits of a stored type text
// ("4 - whatever" -> 4); 0 when the text does not start with digits.
int typeNumber(const QString& typeText);

// The picture of a medium: the type number, plus 10 when separated. A type
// number outside 1-10 shows the picture of "10 - Other", since the image
// list has no picture for it.
int iconNumber(int typeNumber, bool separated);

} // namespace media
} // namespace quillon
