#pragma once

#include <QMainWindow>

namespace quillon {

struct AppState;

// The main window (object name "frmMain").
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);

private:
    AppState& m_state;
};

} // namespace quillon
