#pragma once

#include <QDialog>
#include <QString>

class QListView;

namespace quillon {

struct AppState;
class SongTitleModel;

// `frmLoadSong`: lists every song title in table order and makes the chosen
// one the current song, on device slot 1. The titles are read as the list is
// scrolled, so the dialog opens at once however many songs there are. Songs
// other rooms create, rename or delete meanwhile show at once, the chosen
// title staying chosen (under its new name when it was renamed).
class LoadSongDialog final : public QDialog {
    Q_OBJECT
public:
    explicit LoadSongDialog(AppState& state, QWidget* parent = nullptr);

    QListView* list() const { return m_list; }
    SongTitleModel* model() const { return m_model; }
    // cmdOpen (and a double click on a title).
    void openChosen();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void heard(const QString& kind, const QString& subject);
    // Reads the list again after other rooms' changes, once per burst.
    void refill();

    AppState& m_state;
    SongTitleModel* m_model;
    QListView* m_list;
    QString m_keep; // the title to have chosen after the refill
    bool m_refillDue = false;
};

} // namespace quillon
