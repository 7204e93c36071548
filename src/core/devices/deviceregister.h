#pragma once

#include "store/database.h"
#include "store/datafolder.h"

#include <optional>
#include <QList>
#include <QString>

namespace quillon {

// One row of the device register; slot n is the n-th row in stored order.
struct DeviceRecord {
    QString name;
    int tracks = 0;
    QString serialNr;
    QString noiseReduction;
    QString purchasedOn;
    QString seller;
    QString note;
    QString lastInspection;
    QString technician;
    int type = 0; // index into the device type names, 0..11
    bool operator==(const DeviceRecord&) const = default;
};

// The register of the studio's recording devices (table recdev in
// recdev.mdb, or on the catalogue server). The program never adds or removes
// rows; it reads them in order and edits one by name or by slot.
class DeviceRegister final {
public:
    explicit DeviceRegister(const DataFolder& folder);

    // All rows in slot order; empty (with lastError set) when the file fails.
    QList<DeviceRecord> all();
    QStringList names();
    std::optional<DeviceRecord> find(const QString& name);
    // Rewrites the first row named oldName with the record's values.
    bool update(const QString& oldName, const DeviceRecord& record);

    // Like all(), but tells a register that cannot be read (nullopt, with
    // lastError set) apart from an empty one.
    std::optional<QList<DeviceRecord>> readAll();
    // The row of slot n (1-based, n-th row in stored order). Editing by slot
    // stays right when two devices carry the same name.
    std::optional<DeviceRecord> findSlot(int slot);
    bool updateSlot(int slot, const DeviceRecord& record);

    QString lastError() const { return m_lastError; }

private:
    bool openDb(Database& db);

    DataFolder m_folder;
    QString m_lastError;
};

} // namespace quillon
