#pragma once

#include <QFrame>

class QLabel;
class QStackedLayout;

namespace quillon {

// One device slot of the devices bar (RecMaPanel): the slot's selector, shown
// lit when the slot is the current device and unlit otherwise, and the label
// with the device's name.
class DeviceCell final : public QFrame {
    Q_OBJECT
public:
    explicit DeviceCell(int slot, QWidget* parent = nullptr);

    int slot() const { return m_slot; }
    bool isLit() const;
    void setLit(bool lit);
    QString shownName() const;
    void setShownName(const QString& text);

    QLabel* nameLabel() const { return m_name; }
    QLabel* litPicture() const { return m_lit; }
    QLabel* unlitPicture() const { return m_unlit; }

Q_SIGNALS:
    // The unlit selector was pressed (the lit one does nothing).
    void selectRequested(int slot);
    // The name label was double-clicked.
    void editRequested(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_slot;
    QStackedLayout* m_pictures;
    QLabel* m_lit;
    QLabel* m_unlit;
    QLabel* m_name;
};

} // namespace quillon
