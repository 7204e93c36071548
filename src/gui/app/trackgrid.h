#pragma once

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
// leaving a box writes the whole bank back through the song store.
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
    // Does nothing while the grid is being filled or no song is loaded.
    bool writeBank();
    // Refills the track list from the stored row.
    void fillList(ListFormat format);
    void arrange(const TwipsScale& scale, const MainLayout& layout);
    // The first track of the shown bank: 24 * (bank - 1) + 1.
    int firstTrack() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reportWriteFailure(const QString& error);

    AppState& m_state;
    QWidget* m_area;
    std::array<QLineEdit*, kBoxes> m_boxes{};
    std::array<QLabel*, kBoxes> m_labels{};
    QListWidget* m_list = nullptr;
    bool m_reportPending = false;
    struct Shown {
        QString song;
        int slot = 1;
        int bank = 1;
    };
    std::optional<Shown> m_shown;
};

} // namespace quillon
