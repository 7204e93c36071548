#pragma once

#include "devices/recdevwindow.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;

namespace quillon {

struct AppState;
class DeviceCell;

// The devices bar "Quillon - Devices Bar" (frmFloating): carries the device
// panel of the main window when it is undocked. It does not know the main
// window: it tells it what the user did through signals (after updating the
// shared state) and follows the main window's selection through the slots,
// which never emit. It has no parent widget: the main window is its owner
// (transient parent) instead, which keeps it above the main window without
// tying its life or its minimising to it.
class FloatingBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 10;
    static constexpr int kLoadNameLength = 14;   // names as the bar loads them
    static constexpr int kEditedNameLength = 20; // after an edit from the bar

    explicit FloatingBar(AppState& state, QWidget* parent = nullptr);

    // Handed to every device form the bar opens (its Preview button).
    void setShowPreview(RecDevWindow::PreviewHook hook) { m_showPreview = std::move(hook); }
    // The window the bar stays above (not above every other program), as a
    // tool window of it; null leaves it an ordinary window of its own, as
    // while it stands in for a minimised main window. Kept across
    // re-creations of the bar's window.
    void setOwner(QWidget* owner);
    QWidget* owner() const { return m_owner; }

    int selectedSlot() const { return m_selected; }
    int bank() const { return m_bank; }
    bool isOnTop() const { return m_onTop; }
    QString deviceLabelText(int slot) const;
    QString songTitleText() const;
    DeviceCell* cell(int slot) const;

public Q_SLOTS:
    // Marks slot (1..10) as the current device.
    void setSelectedSlot(int slot);
    // Marks the track group 1..4 in the track list.
    void setBank(int bank);
    // All labels from names (slot n = names[n - 1]), cut to 14 characters.
    void setDeviceNames(const QStringList& names);
    // One label, cut to maxChars.
    void setDeviceName(int slot, const QString& name, int maxChars = kLoadNameLength);
    void setSongTitle(const QString& title);
    // cmdShowQuillon is offered while the main window is in the tray.
    void setShowMainEnabled(bool on);
    // What a double-click on a device label does: opens the device form for
    // that slot, then shows and reports the name it handed back.
    void editDevice(int slot);

Q_SIGNALS:
    // The user chose a device; AppState::currentDeviceIndex is already set.
    void slotSelected(int slot);
    // The user chose a track group; AppState::currentTrackBank is already set.
    void bankSelected(int bank);
    // A device was edited from the bar; AppState::deviceNames holds its name.
    void deviceRenamed(int slot);
    // The bar has hidden itself and cleared AppState::floatingBarOn; the main
    // window shows its docked device panel and lays itself out again.
    void dockRequested();
    // The user wants the main window back (restore it if minimised; hide the
    // bar if the main window is then normal and the panel is docked).
    void showMainRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    void chooseSlot(int slot);
    void chooseBank(QListWidgetItem* item);
    void toggleTrackList();
    void toggleOnTop();
    void dock();
    void showMain();
    void applyOwner();

    AppState& m_state;
    RecDevWindow::PreviewHook m_showPreview;
    QPointer<QWidget> m_owner;
    int m_selected = 0;
    int m_bank = 1;
    bool m_onTop = false;

    QLabel* m_songTitle = nullptr;
    QWidget* m_devices = nullptr;
    QList<DeviceCell*> m_cells;
    QToolButton* m_tracks = nullptr;
    QListWidget* m_trackList = nullptr;
    QToolButton* m_showMain = nullptr;
    QPushButton* m_onTopButton = nullptr;
    QToolButton* m_dock = nullptr;
};

} // namespace quillon
