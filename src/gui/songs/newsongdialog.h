#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace quillon {

struct AppState;

// `frmNewSong`: takes a title, the lyricist, the composer and the date of
// composition, refuses an empty or already used title and creates the song
// with its ten track rows. On success the new title is the current song.
class NewSongDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NewSongDialog(AppState& state, QWidget* parent = nullptr);

    QLineEdit* titleBox() const { return m_title; }
    QLineEdit* wordsBox() const { return m_words; }
    QLineEdit* composerBox() const { return m_composer; }
    QLineEdit* dateBox() const { return m_date; }
    // cmdOK: check, create, close.
    void confirm();

signals:
    // The number of songs after the new one was stored.
    void songCountChanged(int count);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addField(const QString& name, const QString& caption, const QString& allowed,
                        int maxLength);
    void pickDate();

    AppState& m_state;
    QLineEdit* m_title;
    QLineEdit* m_words;
    QLineEdit* m_composer;
    QLineEdit* m_date;
    QToolButton* m_datePicker;
};

} // namespace quillon
