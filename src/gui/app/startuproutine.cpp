#include "app/startuproutine.h"

#include "app/mainwindow.h"
#include "common/appstate.h"
#include "common/prompter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace quillon {

std::unique_ptr<MainWindow> startMainWindow(AppState& state,
                                            const std::function<QWidget*()>& makeSplash,
                                            const std::function<void()>& whileSplashShows)
{
    state.firstActivation = true;
    // A click closes the about box even while it is the splash.
    QPointer<QWidget> splash = makeSplash ? makeSplash() : nullptr;
    if (splash) {
        splash->show();
        splash->repaint();
        QCoreApplication::processEvents();
    }
    if (whileSplashShows)
        whileSplashShows();
    auto window = std::make_unique<MainWindow>(state);
    window->adoptSplash(splash);
    window->show();
    return window;
}

void warnAboutDataFolder(Prompter& prompter, const DataFolderChoice& choice, FileSystemKind kind)
{
    if (!choice.note.isEmpty())
        prompter.information(nullptr, choice.note);
    const QString network = networkShareWarning(choice.dir, kind);
    if (!network.isEmpty())
        prompter.message(nullptr, network, {}, Prompter::Icon::Warning);
}

} // namespace quillon
