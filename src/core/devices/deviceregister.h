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
    // Rewrites the first row named oldName with the record's values. With
    // `asRead` (the row as the caller read it) the write is refused when the
    // stored row is no longer that (see changedElsewhere).
    bool update(const QString& oldName, const DeviceRecord& record,
                const std::optional<DeviceRecord>& asRead = std::nullopt);

    // Like all(), but tells a register that cannot be read (nullopt, with
    // lastError set) apart from an empty one.
    std::optional<QList<DeviceRecord>> readAll();
    // The row of slot n (1-based, n-th row in stored order). Editing by slot
    // stays right when two devices carry the same name.
    std::optional<DeviceRecord> findSlot(int slot);
    bool updateSlot(int slot, const DeviceRecord& record,
                    const std::optional<DeviceRecord>& asRead = std::nullopt);

    QString lastError() const { return m_lastError; }
    // The last update was refused because another room had changed the
    // device since it was read as `asRead`. Nothing was written; lastError()
    // says so.
    bool changedElsewhere() const { return m_changedElsewhere; }

private:
    bool openDb(Database& db);
    // Rewrites the one row `pick` (bound to `key`) selects, in a transaction
    // that holds the row (locked on a server) from the comparison on.
    bool write(const QString& pick, const QVariant& key, const DeviceRecord& record,
               const std::optional<DeviceRecord>& asRead, const QString& missing);

    DataFolder m_folder;
    QString m_lastError;
    bool m_changedElsewhere = false;
};

} // namespace quillon
