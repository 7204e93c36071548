#include "devices/deviceregister.h"

#include "common/logging.h"

#include <QSqlRecord>

namespace quillon {

namespace {
DeviceRecord fromRecord(const QSqlRecord& r)
{
    auto text = [&](const char* field) {
        const int i = r.indexOf(QString::fromLatin1(field));
        return i < 0 || r.isNull(i) ? QString() : r.value(i).toString();
    };
    DeviceRecord d;
    d.name = text("name");
    d.tracks = text("Nroftracks").toInt();
    d.serialNr = text("SerialNr");
    d.noiseReduction = text("Noisereduction");
    d.purchasedOn = text("Purchasedon");
    d.seller = text("Seller");
    d.note = text("Note");
    d.lastInspection = text("Lastinspection");
    d.technician = text("technician");
    d.type = text("TypeRM").toInt();
    return d;
}
} // namespace

DeviceRegister::DeviceRegister(const DataFolder& folder) : m_folder(folder) {}

bool DeviceRegister::openDb(Database& db)
{
    if (db.open(m_folder.recdevDb()))
        return true;
    m_lastError = db.lastError();
    return false;
}

QList<DeviceRecord> DeviceRegister::all()
{
    QList<DeviceRecord> devices;
    Database db;
    if (!openDb(db))
        return devices;
    QSqlQuery q = db.prepare("SELECT * FROM recdev ORDER BY rowid");
    if (!q.exec()) {
        db.setError(q.lastError().text());
        m_lastError = db.lastError();
        return devices;
    }
    while (q.next())
        devices << fromRecord(q.record());
    return devices;
}

QStringList DeviceRegister::names()
{
    QStringList result;
    for (const DeviceRecord& d : all())
        result << d.name;
    return result;
}

std::optional<DeviceRecord> DeviceRegister::find(const QString& name)
{
    Database db;
    if (!openDb(db))
        return std::nullopt;
    QSqlQuery q = db.prepare("SELECT * FROM recdev WHERE name = ? ORDER BY rowid LIMIT 1");
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return fromRecord(q.record());
}

bool DeviceRegister::update(const QString& oldName, const DeviceRecord& d)
{
    Database db;
    if (!openDb(db))
        return false;
    QSqlQuery q = db.prepare(
        "UPDATE recdev SET name = ?, Nroftracks = ?, SerialNr = ?, Noisereduction = ?, "
        "Purchasedon = ?, Seller = ?, Note = ?, Lastinspection = ?, technician = ?, TypeRM = ? "
        "WHERE rowid = (SELECT rowid FROM recdev WHERE name = ? ORDER BY rowid LIMIT 1)");
    for (const QVariant& v :
         QVariantList{d.name, d.tracks, d.serialNr, d.noiseReduction, d.purchasedOn, d.seller,
                      d.note, d.lastInspection, d.technician, d.type, oldName})
        q.addBindValue(v);
    if (!q.exec()) {
        db.setError(q.lastError().text());
        m_lastError = db.lastError();
        return false;
    }
    if (q.numRowsAffected() < 1) {
        db.setError("no device named " + oldName);
        m_lastError = db.lastError();
        return false;
    }
    qCDebug(lcDevices) << "device updated" << oldName << "->" << d.name;
    return true;
}

std::optional<QList<DeviceRecord>> DeviceRegister::readAll()
{
    m_lastError.clear();
    QList<DeviceRecord> devices = all();
    if (!m_lastError.isEmpty())
        return std::nullopt;
    return devices;
}

std::optional<DeviceRecord> DeviceRegister::findSlot(int slot)
{
    if (slot < 1)
        return std::nullopt;
    Database db;
    if (!openDb(db))
        return std::nullopt;
    QSqlQuery q = db.prepare("SELECT * FROM recdev ORDER BY rowid LIMIT 1 OFFSET ?");
    q.addBindValue(slot - 1);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return fromRecord(q.record());
}

bool DeviceRegister::updateSlot(int slot, const DeviceRecord& d)
{
    // SQLite reads a negative offset as zero: slot 0 must not edit slot 1.
    if (slot < 1) {
        m_lastError =
            describeStoreError(m_folder.recdevDb(), QString("no device slot %1").arg(slot));
        return false;
    }
    Database db;
    if (!openDb(db))
        return false;
    QSqlQuery q = db.prepare(
        "UPDATE recdev SET name = ?, Nroftracks = ?, SerialNr = ?, Noisereduction = ?, "
        "Purchasedon = ?, Seller = ?, Note = ?, Lastinspection = ?, technician = ?, TypeRM = ? "
        "WHERE rowid = (SELECT rowid FROM recdev ORDER BY rowid LIMIT 1 OFFSET ?)");
    for (const QVariant& v :
         QVariantList{d.name, d.tracks, d.serialNr, d.noiseReduction, d.purchasedOn, d.seller,
                      d.note, d.lastInspection, d.technician, d.type, slot - 1})
        q.addBindValue(v);
    if (!q.exec()) {
        db.setError(q.lastError().text());
        m_lastError = db.lastError();
        return false;
    }
    if (q.numRowsAffected() < 1) {
        db.setError(QString("no device in slot %1").arg(slot));
        m_lastError = db.lastError();
        return false;
    }
    qCDebug(lcDevices) << "device of slot" << slot << "updated:" << d.name;
    return true;
}

} // namespace quillon
