#include "devices/deviceregister.h"

#include "common/logging.h"
#include "common/otherrooms.h"
#include "search/searchindex.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "store/schema.h"

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

// The record's values in the order of schema::recdevColumns(). The numbers
// go as text: a file's INTEGER columns store them as numbers all the same,
// and a server keeps every value as text.
QVariantList valuesOf(const DeviceRecord& d)
{
    return {d.name,        QString::number(d.tracks),
            d.serialNr,    d.noiseReduction,
            d.purchasedOn, d.seller,
            d.note,        d.lastInspection,
            d.technician,  QString::number(d.type)};
}

// Rewrites every column of one row; the mixed-case column names are quoted,
// as a server keeps them in this spelling.
QString updateSql()
{
    QStringList sets;
    for (const QString& c : schema::recdevColumns())
        sets << schema::quoted(c) + " = ?";
    return QString("UPDATE recdev SET %1 WHERE rowid = ?").arg(sets.join(", "));
}
} // namespace

DeviceRegister::DeviceRegister(const DataFolder& folder) : m_folder(folder) {}

bool DeviceRegister::openDb(Database& db)
{
    if (m_folder.openCatalogue(db, m_folder.recdevDb()))
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
    if (!Database::executed(q)) {
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
    if (!Database::executed(q) || !q.next())
        return std::nullopt;
    return fromRecord(q.record());
}

bool DeviceRegister::update(const QString& oldName, const DeviceRecord& d,
                            const std::optional<DeviceRecord>& asRead)
{
    if (!write("WHERE name = ? ORDER BY rowid LIMIT 1", oldName, d, asRead,
               "no device named " + oldName))
        return false;
    qCDebug(lcDevices) << "device updated" << oldName << "->" << d.name;
    return true;
}

bool DeviceRegister::write(const QString& pick, const QVariant& key, const DeviceRecord& d,
                           const std::optional<DeviceRecord>& asRead, const QString& missing)
{
    m_changedElsewhere = false;
    Database db;
    if (!openDb(db))
        return false;
    if (!db.transaction()) {
        m_lastError = db.lastError();
        return false;
    }
    QSqlQuery q =
        db.prepare(QString("SELECT rowid AS quillon_row, * FROM recdev %1%2")
                       .arg(pick, db.isServer() ? QStringLiteral(" FOR UPDATE") : QString()));
    q.addBindValue(key);
    QString failure;
    std::optional<DeviceRecord> now;
    qint64 row = -1;
    if (!Database::executed(q)) {
        failure = q.lastError().text();
    } else if (q.next()) {
        now = fromRecord(q.record());
        row = q.value(0).toLongLong();
    } else if (!asRead) {
        failure = missing;
    }
    q.finish();
    // Compared as the caller read it, field by field.
    if (failure.isEmpty() && asRead && (!now || *now != *asRead)) {
        m_changedElsewhere = true;
        db.rollback();
        qCInfo(lcDevices) << "write refused, changed elsewhere:" << asRead->name;
        const QString subject = '"' + asRead->name + '"';
        m_lastError = now ? otherrooms::changedText(subject) : otherrooms::goneText(subject);
        return false;
    }
    if (failure.isEmpty()) {
        QSqlQuery u = db.prepare(updateSql());
        const QVariantList values = valuesOf(d) << row;
        for (const QVariant& v : values)
            u.addBindValue(v);
        if (!Database::executed(u))
            failure = u.lastError().text();
        else if (!SearchIndex(db, SearchIndex::Part::Devices).refreshRow(row))
            failure = db.lastError();
    }
    // Others showing the device follow; announced by the name they show.
    if (failure.isEmpty() && CatalogueEvents::announce(db, CatalogueEvents::kDevices, now->name) &&
        db.commit())
        return true;
    if (!failure.isEmpty())
        db.setError(failure);
    m_lastError = db.lastError();
    db.rollback();
    return false;
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
    if (!Database::executed(q) || !q.next())
        return std::nullopt;
    return fromRecord(q.record());
}

bool DeviceRegister::updateSlot(int slot, const DeviceRecord& d,
                                const std::optional<DeviceRecord>& asRead)
{
    m_changedElsewhere = false;
    // SQLite reads a negative offset as zero: slot 0 must not edit slot 1.
    if (slot < 1) {
        const QString technical = QString("no device slot %1").arg(slot);
        m_lastError = m_folder.onServer() ? describeServerError(m_folder.server(), technical)
                                          : describeStoreError(m_folder.recdevDb(), technical);
        return false;
    }
    if (!write("ORDER BY rowid LIMIT 1 OFFSET ?", slot - 1, d, asRead,
               QString("no device in slot %1").arg(slot)))
        return false;
    qCDebug(lcDevices) << "device of slot" << slot << "updated:" << d.name;
    return true;
}

} // namespace quillon
