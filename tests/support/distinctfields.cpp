#include "distinctfields.h"

#include "store/database.h"

#include <QSqlRecord>

namespace quillon::test {

namespace {
// A member's text: null and empty read alike in the program.
QString member(const QString& name, const QVariant& value)
{
    return name + QStringLiteral(": ") + value.toString();
}

QString line(const QString& column, const QVariant& value)
{
    // A null QString is bound as SQL NULL, so it is expected as one.
    const bool null =
        value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull());
    return column + QStringLiteral(": ") + (null ? QStringLiteral("<null>") : value.toString());
}
} // namespace

QString distinctText(const QString& field, int variant)
{
    return QStringLiteral("%1 %2 O'Neil \"\u00c4\" \u00e4\u00f6\u00fc").arg(field).arg(variant);
}

DeviceRecord distinctDevice(int variant)
{
    DeviceRecord d;
    d.name = distinctText("name", variant);
    d.tracks = 20 + variant;
    d.serialNr = distinctText("serial", variant);
    d.noiseReduction = distinctText("noise", variant);
    d.purchasedOn = QStringLiteral("0%1-15-1999").arg(variant % 10);
    d.seller = distinctText("seller", variant);
    d.note = distinctText("note", variant) + QStringLiteral("\nsecond line");
    d.lastInspection = QStringLiteral("1%1-30-2004").arg(variant % 3);
    d.technician = distinctText("technician", variant);
    d.type = 1 + variant % 11; // never the tracks' number nor the default 0
    return d;
}

Medium distinctMedium(int variant)
{
    Medium m;
    m.name = distinctText("name", variant);
    m.brand = distinctText("brand", variant);
    m.type = QStringLiteral("%1 - Type O'Neil \"\u00c4\"").arg(1 + variant % 10);
    m.serialNumber = distinctText("serial", variant);
    m.length = QStringLiteral("%1 GB").arg(2500 + variant);
    m.maxTime = QStringLiteral("0%1:33:00").arg(variant % 10);
    m.noiseReduction = distinctText("noise", variant);
    m.enteredOn = QStringLiteral("0%1.02.2005").arg(variant % 10);
    m.separatedOn = QStringLiteral("1%1.04.2006").arg(variant % 3);
    m.setSeparated(variant % 2 == 0);
    return m;
}

QStringList fieldsOf(const DeviceRecord& d)
{
    return {member("name", d.name),
            member("tracks", d.tracks),
            member("serialNr", d.serialNr),
            member("noiseReduction", d.noiseReduction),
            member("purchasedOn", d.purchasedOn),
            member("seller", d.seller),
            member("note", d.note),
            member("lastInspection", d.lastInspection),
            member("technician", d.technician),
            member("type", d.type)};
}

QStringList fieldsOf(const Medium& m)
{
    return {member("name", m.name),
            member("brand", m.brand),
            member("type", m.type),
            member("serialNumber", m.serialNumber),
            member("length", m.length),
            member("maxTime", m.maxTime),
            member("noiseReduction", m.noiseReduction),
            member("enteredOn", m.enteredOn),
            member("separatedOn", m.separatedOn),
            member("deleted", m.deleted)};
}

QStringList storedColumns(const QString& databasePath, const QString& sql,
                          const QStringList& columns, const QVariantList& binds)
{
    return storedColumns(DataFolder(QString()), databasePath, sql, columns, binds);
}

QStringList storedColumns(const DataFolder& folder, const QString& databasePath, const QString& sql,
                          const QStringList& columns, const QVariantList& binds)
{
    Database db;
    if (!folder.openCatalogue(db, databasePath))
        return {QStringLiteral("cannot open ") + databasePath};
    QSqlQuery q = db.prepare(sql);
    for (const QVariant& v : binds)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return {QStringLiteral("no row: ") + sql};
    const QSqlRecord record = q.record();
    QStringList lines;
    for (const QString& c : columns) {
        const int i = record.indexOf(c);
        lines << (i < 0 ? c + QStringLiteral(": <no such column>") : line(c, q.value(i)));
    }
    return lines;
}

QStringList columnLines(const QStringList& columns, const QVariantList& values)
{
    QStringList lines;
    for (int i = 0; i < columns.size(); ++i)
        lines << line(columns.at(i), i < values.size() ? values.at(i) : QVariant());
    return lines;
}

} // namespace quillon::test
