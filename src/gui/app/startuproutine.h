#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace quillon {

struct AppState;
class MainWindow;

// The start-up routine. The splash (made by makeSplash, normally the about
// box) shows and is painted before the main window is built, so it covers the
// whole of the window's load; whileSplashShows then runs (the start-up data
// checks), and only after it the main window is built and shown. The window
// takes the splash over and closes it at its first activation.
std::unique_ptr<MainWindow> startMainWindow(AppState& state,
                                            const std::function<QWidget*()>& makeSplash,
                                            const std::function<void()>& whileSplashShows = {});

} // namespace quillon
