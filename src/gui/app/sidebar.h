#pragma once

#include <array>
#include <QFrame>

class QPushButton;

namespace quillon {

class TwipsScale;

// The sidebar `picTB1`: the picture buttons of the track area, in a column at
// the right edge of the window.
class Sidebar final : public QFrame {
    Q_OBJECT
public:
    static constexpr double kWidth = 900; // twips

    explicit Sidebar(QWidget* parent = nullptr);

    // Bank b (1..4) shows as pressed: its button carries the marker and is
    // disabled; the other three are enabled.
    void setPressedBank(int bank);
    QPushButton* bankButton(int bank) const { return m_banks.at(bank - 1); }
    // Places the buttons; cmdHide sits at hideTop (twips from the top).
    void arrange(const TwipsScale& scale, double hideTop);

signals:
    void bankClicked(int bank);
    void trackListClicked();
    void devicesBarClicked();
    void detailsClicked();
    void editDeviceClicked();
    void hideClicked();

private:
    QPushButton* makeButton(const QString& name, const QString& text, const QString& tip);

    std::array<QPushButton*, 4> m_banks{};
    QList<QPushButton*> m_column; // top to bottom, cmdHide excluded
    QPushButton* m_hide = nullptr;
};

} // namespace quillon
