#pragma once

#include <functional>
#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace quillon {

struct AppState;

// "Print" (frmPrinter): picks what to print. Four of the five choices hand
// over to windows of their own (set through the handlers); the studio
// equipment list is printed here. Modal; opened by the "print" command.
class PrintDialog final : public QDialog {
    Q_OBJECT
public:
    enum Choice { Tracksheet = 0, Songdetails, Lyrics, Recordingdevices, Studioequipment };

    // What the hand-over choices open. Each is called after this dialog has
    // closed, with AppState::printRequested set, and must show its window
    // modally; the flag is cleared once the handler returns.
    struct Handlers {
        std::function<void()> trackSheetPrintOptions; // track sheet print options
        std::function<void()> songDetailsPreview;     // song details preview
        std::function<void()> lyricsEditor;           // lyrics editor
        std::function<void()> deviceWindow;           // device register window
    };

    explicit PrintDialog(AppState& state, QWidget* parent = nullptr);

    void setHandlers(Handlers handlers) { m_handlers = std::move(handlers); }

    QRadioButton* option(Choice choice) const { return m_options[choice]; }
    Choice selected() const;
    QLabel* printerLabel() const { return m_printer; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }

    // Closing by any other way than a hand-over (close box, Escape, "&Close")
    // withdraws the print request.
    void reject() override;

protected:
    bool event(QEvent* e) override;

private:
    void refreshPrinter();
    void print();
    void handOver(const std::function<void()>& handler, const char* what);
    void printEquipmentList();

    AppState& m_state;
    Handlers m_handlers;
    QRadioButton* m_options[5] = {};
    QLabel* m_printer = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace quillon
