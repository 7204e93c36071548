#pragma once

#include "printing/formsheet.h"
#include "songs/tracksheetlayout.h"

#include <optional>
#include <QDialog>
#include <QHash>

class QLabel;
class QPushButton;

namespace quillon {

struct AppState;

// The track sheet window (object name "trfrm1"): the current song's tracks on
// the current device slot, twelve per page, eight pages. Opened while print
// mode is on it prints all pages, or the one chosen page, and closes itself.
class TrackSheetWindow final : public QDialog {
    Q_OBJECT
public:
    explicit TrackSheetWindow(AppState& state, QWidget* parent = nullptr);
    ~TrackSheetWindow() override;

    // Print mode: the page to print, or every page when not set.
    void setPrintPage(std::optional<int> page) { m_printPage = page; }
    // The font of the track texts; by default that of the main window's
    // track boxes (found through the parent).
    void setTrackFont(const QFont& font);
    QFont trackFont() const { return m_trackFont; }

    int page() const { return m_page; }
    bool printMode() const { return m_printMode; }
    // The page as it is shown (and printed).
    const FormSheet& sheet() const { return m_sheet; }
    QLabel* label(const QString& name) const { return m_labels.value(name); }
    QPushButton* nextButton() const { return m_next; }

    // Lays out page 1..8; any other number changes nothing.
    void showPage(int page);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    double dpi() const;
    QSizeF innerTwips() const;
    void nextPage();
    void relayout();
    void createLabels();
    void printAndClose();

    AppState& m_state;
    const bool m_printMode;
    std::optional<int> m_printPage;
    TrackSheetData m_data;
    FormSheet m_sheet;
    QFont m_trackFont;
    int m_page = 1;
    bool m_activated = false;
    bool m_finished = false;
    QWidget* m_picture = nullptr;
    QPushButton* m_next = nullptr;
    QHash<QString, QLabel*> m_labels;
    QList<QWidget*> m_rules;
};

} // namespace quillon
