#pragma once

#include <QPixmap>
#include <QSize>

namespace quillon {

// The program's picture: a quill writing across a stave. Painted in code so
// it scales to any size without an image file.
class AboutPicture final {
public:
    static QPixmap render(const QSize& size, qreal devicePixelRatio = 1.0);
};

} // namespace quillon
