#pragma once

#include "devices/deviceregister.h"

#include <functional>
#include <QDateTime>
#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AppState;
class DateEntry;
class DeviceNoteEdit;

// The device form "Recording Devices" (frmRecDev): views and edits the record
// of the device named by AppState::currentDeviceName. OK stores the record and
// hands the (trimmed) name back in currentDeviceName and in the device's entry
// of deviceNames; closing the form any other way stores nothing. It also
// builds the list of all devices, exports it and hands it to the preview.
class RecDevWindow final : public QDialog {
    Q_OBJECT
public:
    using PreviewHook = std::function<void(const QString& listText)>;
    using Clock = std::function<QDateTime()>;

    // slot (1..10), when given and holding currentDeviceName, says which row
    // to edit, so that two devices of the same name are kept apart; without
    // it the first row of that name is edited.
    explicit RecDevWindow(AppState& state, QWidget* parent = nullptr, int slot = 0);

    // Called by Preview with the device list text (shown in kDeviceListFontFamily).
    void setShowPreview(PreviewHook hook) { m_showPreview = std::move(hook); }
    // The time written into the list header; the system clock by default.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // The slot whose row the form edits (0 when the name was not found).
    int editedSlot() const { return m_slot; }
    // The list as last built by Export or Preview.
    QString listText() const { return m_listText; }

private:
    void buildUi();
    void loadRecord();
    // Shows `record` and takes it as the row as read. With `typed` (the form's
    // values when a store was refused) a box the user changed keeps its text.
    void showRecord(const DeviceRecord& record, const DeviceRecord* typed = nullptr);
    DeviceRecord recordFromBoxes() const;
    void save();
    void exportList();
    void previewList();
    // Rebuilds the list from the register and writes recordingdevices.txt.
    // listBuilt tells whether m_listText is fresh even when writing failed.
    bool writeList(bool* listBuilt = nullptr);

    AppState& m_state;
    DeviceRegister m_register;
    DeviceRecord m_record; // the row as read, what a store is based on
    int m_slot = 0;
    int m_type = 0;
    QString m_listText;
    PreviewHook m_showPreview;
    Clock m_clock;

    QLabel* m_heading = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_tracks = nullptr;
    QLineEdit* m_serial = nullptr;
    QLineEdit* m_noiseReduction = nullptr;
    DateEntry* m_purchasedOn = nullptr;
    QLineEdit* m_seller = nullptr;
    DeviceNoteEdit* m_note = nullptr;
    DateEntry* m_lastInspection = nullptr;
    QLineEdit* m_technician = nullptr;
    QButtonGroup* m_types = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace quillon
