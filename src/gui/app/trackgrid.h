#pragma once

#include "common/prompter.h"

#include <array>
#include <optional>
#include <QObject>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace quillon {

struct AppState;
struct MainLayout;
class TwipsScale;

// The 24 track boxes `trax` with their number labels `Notr` and the track
// list `List1`. The grid shows one bank of the current device's track row;
// leaving a box writes the whole bank back through the song store, based on
// the bank as it was read: when another room changed it since, the write is
// refused, the user told, the boxes not typed in show the stored tracks and
// the typed ones keep their text for the next write.
class TrackGrid final : public QObject {
    Q_OBJECT
public:
    static constexpr int kBoxes = 24;
    enum class ListFormat {
        Short, // " 1-Bass"
        Long   // "Track 1 - Bass"
    };

    TrackGrid(AppState& state, QWidget* area);

    QLineEdit* box(int i) const { return m_boxes.at(i - 1); }
    QLabel* numberLabel(int i) const { return m_labels.at(i - 1); }
    QListWidget* trackList() const { return m_list; }
    QList<QWidget*> widgets() const;

    // Fills the boxes with the current bank of the current slot's row.
    void load();
    // Empties the boxes; nothing is written from them until the next load.
    void clear();
    // Writes the 24 boxes of the shown bank into the current slot's row.
    // Does nothing while the grid is being filled or no song is loaded, and
    // writes nothing when no box differs from the bank as read.
    bool writeBank();
    // Shows the tracks stored now (another room changed the song), in the
    // boxes whose text differs, without moving the focus or a cursor.
    // While a box holds typed text not yet written, the refresh waits for
    // that write.
    void refresh();
    // Another room renamed the shown song: the boxes now belong to newTitle.
    void followRename(const QString& oldTitle, const QString& newTitle);
    // The last write was refused (another room's change) and the typed
    // text is still in the boxes, unstored: nothing else may replace them.
    bool holdsRefusedText() const;
    // Refills the track list from the stored row.
    void fillList(ListFormat format);
    void arrange(const TwipsScale& scale, const MainLayout& layout);
    // The first track of the shown bank: 24 * (bank - 1) + 1.
    int firstTrack() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reportWriteFailure(const QString& error);
    // Tells the user once the focus change under way is complete.
    void report(const QString& text, Prompter::Icon icon);
    // After a refused write: the boxes not typed in show the stored tracks.
    void takeStoredBank();
    QStringList boxTexts() const;
    // The shown bank of the stored row; none when it could not be read.
    std::optional<QStringList> storedBank();

    AppState& m_state;
    QWidget* m_area;
    std::array<QLineEdit*, kBoxes> m_boxes{};
    std::array<QLabel*, kBoxes> m_labels{};
    QListWidget* m_list = nullptr;
    bool m_reportPending = false;
    bool m_refreshPending = false; // another room's change waits for a write
    bool m_refused = false;        // the last write was refused, see holdsRefusedText
    std::optional<ListFormat> m_listFormat;
    struct Shown {
        QString song;
        int slot = 1;
        int bank = 1;
        QStringList asRead;     // the bank's 24 tracks as read (or last written)
        QStringList shownTexts; // the boxes' texts for them, to tell typing
    };
    std::optional<Shown> m_shown;
};

} // namespace quillon
