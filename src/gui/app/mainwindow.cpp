#include "app/mainwindow.h"

#include "app/appstate.h"

namespace quillon {

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), m_state(state)
{
    setObjectName("frmMain");
    setWindowTitle("QuillonSE");
}

} // namespace quillon
