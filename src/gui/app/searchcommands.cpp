#include "app/searchcommands.h"

#include "app/mainwindow.h"
#include "app/statuspanels.h"
#include "common/appstate.h"
#include "search/searchindexbuilder.h"
#include "search/searchwindow.h"
#include "songs/songstore.h"

#include <QTimer>

namespace quillon {

SearchCommands::SearchCommands(AppState& state, MainWindow& main)
    : QObject(&main), m_state(state), m_main(main), m_opener(state, main)
{
}

SearchCommands::~SearchCommands() = default;

SearchWindow* SearchCommands::window() const
{
    return m_window;
}

QString SearchCommands::progressText(int percent)
{
    return QStringLiteral("Building the search index… %1 %").arg(percent);
}

void SearchCommands::showWindow()
{
    if (!m_window) {
        m_window = new SearchWindow(m_state, &m_main);
        m_window->setDeviceLabel([this](int slot) { return m_main.deviceLabelText(slot); });
        connect(m_window, &SearchWindow::hitActivated, this, &SearchCommands::open);
    }
    m_window->setBuildProgress(m_builder ? m_builder->percent() : -1);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_window->focusBox();
}

void SearchCommands::buildIndexIfMissing()
{
    if (m_builder)
        return;
    m_builder = new SearchIndexBuilder(m_state.data, this);
    connect(m_builder, &SearchIndexBuilder::progressChanged, this, &SearchCommands::showProgress);
    connect(m_builder, &SearchIndexBuilder::finished, this, &SearchCommands::buildFinished);
    m_builder->start();
}

void SearchCommands::showProgress(int percent)
{
    // The song store found no index at its first write and would not look
    // again: from now on it keeps what the build writes in step.
    m_state.songs.indexer().reset();
    m_main.status().setText("infopanel", progressText(percent));
    if (m_window)
        m_window->setBuildProgress(percent);
}

void SearchCommands::buildFinished()
{
    m_state.songs.indexer().reset();
    // Only the build's own text gives way (chopped: the text before the number).
    if (m_main.status().text("infopanel").startsWith(progressText(0).chopped(4)))
        m_main.status().setText("infopanel", StatusPanels::productNotice());
    if (m_window)
        m_window->setBuildProgress(-1);
}

void SearchCommands::open(const SearchHit& hit)
{
    if (m_opener.open(hit) || !m_window)
        return;
    // The hit is gone: what the catalogue holds now, once the list has
    // finished with the activation.
    QTimer::singleShot(0, m_window, [window = m_window] {
        if (window)
            window->searchNow();
    });
}

} // namespace quillon
