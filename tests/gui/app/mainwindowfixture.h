#pragma once

// A main window over a fresh data folder, a settings file of its own and a
// scripted prompter, shared by the main window tests.

#include "app/mainwindow.h"
#include "common/appstate.h"
#include "common/scriptedprompter.h"
#include "common/twipsscale.h"
#include "songs/songstore.h"
#include "store/settings.h"
#include "tempdatafolder.h"

#include <memory>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace quillon::test {

class MainWindowFixture {
public:
    MainWindowFixture()
        : data(temp.folder()), settings(temp.settingsFile()), songs(data),
          state(data, settings, songs, prompter)
    {
        songs.open();
    }

    ~MainWindowFixture() { window.reset(); }

    // Builds the window, shows it and runs the first activation.
    MainWindow& start()
    {
        window = std::make_unique<MainWindow>(state);
        window->setSplashFactory({});
        window->show();
        if (!QTest::qWaitFor([this] { return !state.firstActivation; }, 5000))
            qWarning("the main window did not finish its first activation");
        return *window;
    }

    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    // The top-level window of that class, the last one listed when there
    // are several (the one an action just opened); null when there is none.
    template <typename T> static T* topLevel()
    {
        T* last = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<T*>(top))
                last = found;
        return last;
    }
    QLineEdit* box(int i) const { return find<QLineEdit>(QString("trax_%1").arg(i)); }
    TwipsScale scale() const { return TwipsScale::forWidget(window.get()); }

    // Creates and loads a song the way the store would, without the dialog.
    void createAndLoad(const QString& title)
    {
        songs.create(NewSong{title, "Words", "Composer", "01-02-2003"});
        state.currentSong = title;
        window->loadSong();
    }

    TempDataFolder temp;
    DataFolder data;
    Settings settings;
    SongStore songs;
    ScriptedPrompter prompter;
    AppState state;
    std::unique_ptr<MainWindow> window;
};

} // namespace quillon::test
