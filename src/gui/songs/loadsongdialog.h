#pragma once

#include <QDialog>

class QListWidget;

namespace quillon {

struct AppState;

// `frmLoadSong`: lists every song title in table order and makes the chosen
// one the current song, on device slot 1.
class LoadSongDialog final : public QDialog {
    Q_OBJECT
public:
    explicit LoadSongDialog(AppState& state, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    // cmdOpen (and a double click on a title).
    void openChosen();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();

    AppState& m_state;
    QListWidget* m_list;
};

} // namespace quillon
