#pragma once

#include <memory>
#include <QDialog>

class QPlainTextEdit;

namespace quillon {

struct AppState;
struct PrintChoice;

// The song's note ("frmSongInfoNote", caption "Song Info  -  Notes"). Close
// stores the note in the song row; closing otherwise with a changed note
// asks whether to store it. Printing sends the note to the default printer
// under the song's title.
class SongInfoNoteDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SongInfoNoteDialog(AppState& state, QWidget* parent = nullptr);

    QPlainTextEdit* noteBox() const { return m_note; }

    // cmdClose: stores the note and closes; false (window stays) when the
    // note could not be stored.
    bool storeAndClose();
    // cmdPrint: on the printer chosen in the printer setup, else the default.
    void print();
    // cmdPrinterSetup: chooses the printer and its settings for this
    // window's printouts.
    void printerSetup();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // The store was refused (another room changed the note since): told,
    // and the typed note kept for the next Close.
    void keepTypedNote(const QString& title);

    AppState& m_state;
    QPlainTextEdit* m_note = nullptr;
    QString m_loadedNote;                   // the note as shown on opening (or stored since)
    QString m_noteAsRead;                   // the stored note the edit is based on
    QString m_detailsNote;                  // the details' note element before the window
    std::shared_ptr<PrintChoice> m_printer; // from the printer setup; null: default
};

} // namespace quillon
