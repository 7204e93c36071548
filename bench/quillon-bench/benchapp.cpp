#include "benchapp.h"

#include "app/mainwindow.h"
#include "app/startupchecks.h"
#include "common/appstate.h"
#include "options/aboutbox.h"
#include "songs/songstore.h"
#include "store/datainstaller.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>

namespace quillon::bench {

BenchApp::BenchApp(const DataFolder& folder, QString settingsFile)
    : m_folder(folder), m_settingsFile(std::move(settingsFile))
{
}

BenchApp::~BenchApp()
{
    stop();
}

void BenchApp::setRecentSong(const QString& title)
{
    Settings settings(m_settingsFile);
    settings.setOpenRecentSong(true);
    settings.setRecentSong(title);
    settings.sync();
}

void BenchApp::markBackupDone() const
{
    QDir().mkpath(QDir(m_folder.backupDir()).filePath(QDate::currentDate().toString("yyyy-MM-dd")));
}

bool BenchApp::start()
{
    stop();
    ensureDataFolder(m_folder);
    m_settings = std::make_unique<Settings>(m_settingsFile);
    m_songs = std::make_unique<SongStore>(m_folder);
    if (!m_songs->open())
        return false;
    m_state = std::make_unique<AppState>(m_folder, *m_settings, *m_songs, m_prompter);
    m_state->firstActivation = true;
    m_window = std::make_unique<MainWindow>(*m_state);
    m_window->setSplashFactory([] {
        auto* splash = new AboutBox;
        splash->setAttribute(Qt::WA_DeleteOnClose);
        return splash;
    });
    m_window->showSplash();
    QCoreApplication::processEvents();
    m_checkedAtStart = runStartupChecks(*m_state, nullptr).checked;
    m_window->show();
    const QDeadlineTimer deadline(60000);
    while (m_state->firstActivation && !deadline.hasExpired())
        QCoreApplication::processEvents();
    return !m_state->firstActivation && m_state->songLoaded();
}

void BenchApp::stop()
{
    m_window.reset();
    if (m_songs)
        m_songs->close();
    if (m_state)
        recordDataFolderAtExit(*m_state);
    m_state.reset();
    m_songs.reset();
    m_settings.reset();
    // The splash and anything else the window closed go now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace quillon::bench
