#pragma once

#include "search/searchresultlist.h"

#include <memory>
#include <QDialog>

class QLabel;
class QLineEdit;
class QTimer;

namespace quillon {

struct AppState;
class CatalogueSearch;

// The search window ("frmSearch"): one box, and the hits of the whole
// catalogue shown as the user types, grouped by kind. Enter in the box
// opens the chosen hit (the first one unless another was picked), as do
// Enter and a double-click in the list; opening is the caller's part
// (hitActivated). Modeless; Escape hides it.
class SearchWindow final : public QDialog {
    Q_OBJECT
public:
    explicit SearchWindow(AppState& state, QWidget* parent = nullptr);
    ~SearchWindow() override;

    void setDeviceLabel(SearchResultList::DeviceLabel label);
    // The index build under way has come this far; -1 when none is (the
    // search then runs again, now that more can be found).
    void setBuildProgress(int percent);
    // Runs the search of the box at once instead of after the pause.
    void searchNow();
    // The box focused with its text selected, for the next search.
    void focusBox();

    QLineEdit* searchBox() const { return m_box; }
    SearchResultList* results() const { return m_results; }
    QLabel* notice() const { return m_notice; }
    QLabel* summary() const { return m_summary; }
    bool searchPending() const;

signals:
    void hitActivated(const SearchHit& hit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void textChanged();
    void runSearch();
    void openChosen();

    AppState& m_state;
    QLineEdit* m_box = nullptr;
    QLabel* m_notice = nullptr;
    SearchResultList* m_results = nullptr;
    QLabel* m_summary = nullptr;
    QTimer* m_pause = nullptr;
    std::unique_ptr<CatalogueSearch> m_search;
};

} // namespace quillon
