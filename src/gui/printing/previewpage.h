#pragma once

#include <functional>
#include <QWidget>

namespace quillon {

// One page picture of the preview. It keeps no image of its own: every
// paint asks its owner to draw the page afresh from the document.
class PreviewPage final : public QWidget {
    Q_OBJECT

public:
    using PaintHandler = std::function<void(PreviewPage&)>;

    explicit PreviewPage(QWidget* parent = nullptr);

    void setPaintHandler(PaintHandler handler) { m_paint = std::move(handler); }

Q_SIGNALS:
    // The left mouse button was released over the picture; pos in pixels.
    void clicked(QPoint pos, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PaintHandler m_paint;
};

} // namespace quillon
