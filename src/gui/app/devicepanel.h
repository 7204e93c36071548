#pragma once

#include <array>
#include <QFrame>

class QLabel;

namespace quillon {

class TwipsScale;
struct MainLayout;

// The device panel `picDevices`: ten cells `RecMaPanel`, each with a device
// label `lblRecMaPanel` and two selector images `Picture1` (index i lit, index
// 10 + i unlit), and the detach image `Picture5`. The panel can be dragged
// off the window to become the floating devices bar.
class DevicePanel final : public QFrame {
    Q_OBJECT
public:
    static constexpr int kSlots = 10;
    static constexpr double kHeight = 780; // twips
    static constexpr int kLabelChars = 14;
    // The MIME type a dragged device panel carries.
    static QString mimeType();

    explicit DevicePanel(QWidget* parent = nullptr);

    // Labels show the first 14 characters of each name (20 after an edit
    // from the devices bar).
    void setDeviceNames(const QStringList& names);
    void setDeviceName(int slot, const QString& name, int chars = kLabelChars);
    QString labelText(int slot) const;
    QLabel* deviceLabel(int slot) const { return m_labels.at(slot - 1); }
    QLabel* selector(int index) const { return m_selectors.at(index - 1); }
    // Slot n shows lit, every other slot unlit.
    void selectSlot(int slot);
    int litSlot() const;
    void arrange(const TwipsScale& scale, const MainLayout& layout);

signals:
    void selectorClicked(int index); // 1..20
    void labelDoubleClicked(int slot);
    void detachClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void startDrag();

    std::array<QFrame*, kSlots> m_cells{};
    std::array<QLabel*, kSlots> m_labels{};
    std::array<QLabel*, 2 * kSlots> m_selectors{};
    QLabel* m_detach = nullptr;
};

} // namespace quillon
