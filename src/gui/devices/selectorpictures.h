#pragma once

#include <QPixmap>
#include <QSize>

namespace quillon {

// The twenty device selector pictures shared by the main window's device
// panel and the devices bar: picture i (1..10) is the lit selector of slot i,
// picture 10 + i the unlit one. Drawn in code (an LED in a small key with the
// slot number), so they scale with the screen and need no files.
class SelectorPictures final {
public:
    static constexpr int kSlots = 10;
    static constexpr int kCount = 2 * kSlots;

    // Picture by index 1..20; a null pixmap for any other index.
    static QPixmap picture(int index, qreal devicePixelRatio = 1.0);
    static QPixmap lit(int slot, qreal devicePixelRatio = 1.0);
    static QPixmap unlit(int slot, qreal devicePixelRatio = 1.0);
    // Logical size of every picture.
    static QSize size() { return QSize(38, 22); }
    static bool isLitIndex(int index) { return index >= 1 && index <= kSlots; }
    static int slotOfIndex(int index) { return isLitIndex(index) ? index : index - kSlots; }

private:
    static QPixmap draw(int slot, bool lit, qreal devicePixelRatio);
};

} // namespace quillon
