#pragma once

#include <functional>
#include <QString>

class QWidget;

namespace quillon {

struct AppState;

// Export, preview and print of the media list for the media window. Each
// command first builds the list (fill()); the list stays with the window, so
// a command after "There is nothing to print. Sorry!" goes on with the list
// built before (or with nothing).
class MediaListCommands final {
public:
    using PreviewHook = std::function<void(const QString& listText)>;

    MediaListCommands(AppState& state, QWidget* window);

    // Opens the print preview with the list; set by the owner of the window.
    void setShowPreview(PreviewHook hook) { m_showPreview = std::move(hook); }

    // Builds the list from the media table; false when there was nothing to
    // build (the user was told).
    bool fill();
    // Writes the list to the data folder's tapes-hd-cd.txt.
    bool exportList();
    // Writes the file as the export does, then opens the preview.
    void preview();
    // Prints the list as the job "Tapes-HD-CD" on the default printer.
    bool print();

    QString text() const { return m_text; }

private:
    QString appTitle() const;

    AppState& m_state;
    QWidget* m_window;
    PreviewHook m_showPreview;
    QString m_text;
};

} // namespace quillon
