#pragma once

#include <functional>
#include <QObject>

class QWidget;

namespace quillon {

// Lets the dragged device panel be dropped onto a widget: the widget accepts
// the panel's MIME type and the drop runs the given action. Other drags
// (text dragged into a track box) pass through untouched.
class PanelDropTarget final : public QObject {
    Q_OBJECT
public:
    explicit PanelDropTarget(std::function<void()> onDrop, QObject* parent = nullptr);
    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onDrop;
};

} // namespace quillon
