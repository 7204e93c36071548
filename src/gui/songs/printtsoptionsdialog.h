#pragma once

#include <optional>
#include <QDialog>

class QComboBox;
class QLabel;
class QRadioButton;

namespace quillon {

struct AppState;

// The track sheet print options ("frmPrintTSOptions"): all eight pages or one
// chosen page. Print closes the dialog and runs the track sheet window in
// print mode; Cancel (or closing the dialog) switches print mode off.
class PrintTSOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PrintTSOptionsDialog(AppState& state, QWidget* parent = nullptr);

    // The page to print, or every page when not set.
    std::optional<int> printPage() const;

    QRadioButton* allOption() const { return m_all; }
    QRadioButton* selectedOption() const { return m_selected; }
    QComboBox* pageList() const { return m_pages; }
    QLabel* printerNameLabel() const { return m_printerName; }
    QLabel* printerNumberLabel() const { return m_printerNumber; }

protected:
    void done(int result) override;

private:
    void print();

    AppState& m_state;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_selected = nullptr;
    QComboBox* m_pages = nullptr;
    QLabel* m_printerName = nullptr;
    QLabel* m_printerNumber = nullptr;
    bool m_printing = false;
};

} // namespace quillon
