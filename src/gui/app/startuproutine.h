#pragma once

#include "store/datafolderchoice.h"
#include "store/filesystemkind.h"

#include <functional>
#include <memory>

class QWidget;

namespace quillon {

struct AppState;
class MainWindow;
class Prompter;

// The start-up routine. The splash (made by makeSplash, normally the about
// box) shows and is painted before the main window is built, so it covers the
// whole of the window's load; whileSplashShows then runs (the start-up data
// checks), and only after it the main window is built and shown. The window
// takes the splash over and closes it at its first activation.
std::unique_ptr<MainWindow> startMainWindow(AppState& state,
                                            const std::function<QWidget*()>& makeSplash,
                                            const std::function<void()>& whileSplashShows = {});

// Said once at start, before the splash: why the data is not where it
// usually is, and that a data folder on a network share is not safe.
void warnAboutDataFolder(Prompter& prompter, const DataFolderChoice& choice, FileSystemKind kind);

} // namespace quillon
