#pragma once

#include "app/searchhitopener.h"

#include <QObject>
#include <QPointer>

namespace quillon {

struct AppState;
class MainWindow;
class SearchIndexBuilder;
class SearchWindow;

// The main window's part in searching: the search window (Ctrl+F, Edit >
// Find), opening its hits, and the first build of a missing index in the
// background with its progress in the status bar.
class SearchCommands final : public QObject {
    Q_OBJECT
public:
    SearchCommands(AppState& state, MainWindow& main);
    ~SearchCommands() override;

    // Shows the search window (made at the first call) with its box focused.
    void showWindow();
    // Builds the index in the background if it is incomplete; at start,
    // once the main window is up.
    void buildIndexIfMissing();

    SearchWindow* window() const;
    // Null until buildIndexIfMissing().
    SearchIndexBuilder* builder() const { return m_builder; }

    static QString progressText(int percent);

private:
    void showProgress(int percent);
    void buildFinished();
    void open(const SearchHit& hit);

    AppState& m_state;
    MainWindow& m_main;
    SearchHitOpener m_opener;
    SearchIndexBuilder* m_builder = nullptr;
    QPointer<SearchWindow> m_window;
};

} // namespace quillon
