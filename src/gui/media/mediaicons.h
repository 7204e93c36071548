#pragma once

#include <QIcon>
#include <QPixmap>

namespace quillon {

// The 21 pictures of the media tree, painted in code so they scale cleanly:
// 1-10 the media types in use, 11-20 the same types separated (faded, with
// a red cross), 21 the root of the tree.
class MediaIcons final {
public:
    static constexpr int kCount = 21;

    // Picture `number` at size x size pixels; a number outside 1-21 gives the
    // picture of "10 - Other".
    static QPixmap picture(int number, int size);
    // The picture for tree nodes (16 and 32 pixels).
    static QIcon icon(int number);
};

} // namespace quillon
