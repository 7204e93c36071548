#pragma once

#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QVariantMap>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AppState;
class Prompter;

// The song details window (object name "frmSongInfo", caption "Songdetails").
// It edits the current song's descriptive fields; its Close button stores
// them, together with a changed title, in the song table and the ten track
// tables as one atomic rename. Closing it any other way (Escape, the title
// bar) with changes in the boxes asks whether to store them first. The
// caller reloads the song by AppState::currentSong afterwards.
class SongInfoDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFieldCount = 20;

    explicit SongInfoDialog(AppState& state, QWidget* parent = nullptr);

    // The entry field of txtFields(index); for the Style and Tape/HD/CD boxes
    // the line edit of their drop-down.
    QLineEdit* field(int index) const { return m_fields.value(index); }
    QComboBox* styleBox() const { return m_styleBox; }
    QComboBox* mediumBox() const { return m_mediumBox; }
    bool showsTrainingSong() const { return m_training; }
    QString oldTitle() const { return m_oldTitle; }

    // The leading decimal number of a text ("120 bpm" -> 120); 0 when the
    // text does not start with a number.
    static double leadingNumber(const QString& text);
    // The question asked when the window is closed with unstored changes.
    static const QString kStoreQuestion;
    // Asks it for `window` (the song details and the windows opened from
    // them ask the same): Yes stores, No drops the edits, Cancel stays.
    static QMessageBox::StandardButton askToStore(Prompter& prompter, QWidget* window);

Q_SIGNALS:
    // "More ..." was pressed: the owner shows the song note window modally.
    void noteRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void buildUi();
    void fillStyles();
    void fillMedia();
    void fillFields();
    void onStyles();
    void onClose();
    bool measureComplete();
    bool hasChanges() const;
    // Another room changed the song since it was shown: the user is told,
    // the boxes left as shown take the stored values and typed ones stay,
    // for Close to store them over the other room's. False when the song
    // is gone.
    bool takeStoredState();

    AppState& m_state;
    QString m_oldTitle;
    bool m_training = false;
    bool m_activated = false;
    QList<QLineEdit*> m_fields;
    QStringList m_shown;  // the boxes' texts as the window showed them
    QVariantMap m_asRead; // the stored fields they came from, for the store's check
    QComboBox* m_styleBox = nullptr;
    QComboBox* m_mediumBox = nullptr;
    QPushButton* m_more = nullptr;
    QPushButton* m_styles = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace quillon
