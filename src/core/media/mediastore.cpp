#include "media/mediastore.h"

#include "common/logging.h"
#include "common/otherrooms.h"
#include "search/searchindex.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "store/schema.h"

#include <QFileInfo>

#include <algorithm>

namespace quillon {

namespace {

// Quoted: a server keeps the table's name in this spelling.
const QString kTable = schema::quoted(QStringLiteral("Tape"));

QString columnList()
{
    QStringList cols;
    for (const QString& c : schema::tapeColumns())
        cols << schema::quoted(c);
    return cols.join(", ");
}

// Where each field lies in a row read with columnList(); looked up once.
struct TapeColumnIndexes {
    int name, brand, type, serial, length, maxTime, noise, entered, separated, deleted;
    TapeColumnIndexes()
    {
        const QStringList columns = schema::tapeColumns();
        auto at = [&](const char* column) {
            return int(columns.indexOf(QString::fromLatin1(column)));
        };
        name = at("bandnummer");
        brand = at("brandname");
        type = at("bandtype");
        serial = at("serialnr");
        length = at("lengthft");
        maxTime = at("lengthtime");
        noise = at("noisereduction");
        entered = at("enteredon");
        separated = at("deletedon");
        deleted = at("deleted");
    }
};

Medium mediumFrom(const QSqlQuery& q)
{
    static const TapeColumnIndexes c;
    auto text = [&](int i) {
        const QVariant v = q.value(i);
        return v.isNull() ? QString() : v.toString();
    };
    Medium m;
    m.name = text(c.name);
    m.brand = text(c.brand);
    m.type = text(c.type);
    m.serialNumber = text(c.serial);
    m.length = text(c.length);
    m.maxTime = text(c.maxTime);
    m.noiseReduction = text(c.noise);
    m.enteredOn = text(c.entered);
    m.separatedOn = text(c.separated);
    m.deleted = text(c.deleted);
    return m;
}

// Values in the order of schema::tapeColumns(), the name without blanks.
QVariantList valuesOf(const Medium& m)
{
    QVariantList values;
    for (const QString& c : schema::tapeColumns()) {
        if (c == "bandnummer")
            values << m.name.trimmed();
        else if (c == "brandname")
            values << m.brand;
        else if (c == "bandtype")
            values << m.type;
        else if (c == "serialnr")
            values << m.serialNumber;
        else if (c == "lengthft")
            values << m.length;
        else if (c == "lengthtime")
            values << m.maxTime;
        else if (c == "noisereduction")
            values << m.noiseReduction;
        else if (c == "enteredon")
            values << m.enteredOn;
        else if (c == "deletedon")
            values << m.separatedOn;
        else if (c == "deleted")
            values << (m.isSeparated() ? QStringLiteral("1") : QStringLiteral("0"));
        else
            values << QString();
    }
    return values;
}

} // namespace

MediaStore::MediaStore(const DataFolder& folder) : m_folder(folder) {}

bool MediaStore::databaseExists() const
{
    // A server's layout, the media table included, is checked on connecting.
    return m_folder.onServer() || QFileInfo::exists(m_folder.tapeDb());
}

QString MediaStore::nameKey(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

bool MediaStore::openDb(Database& db)
{
    m_lastError.clear();
    if (!m_folder.openCatalogue(db, m_folder.tapeDb())) {
        m_lastError = db.lastError();
        return false;
    }
    return true;
}

bool MediaStore::fail(Database& db, const QString& technical)
{
    db.setError(technical);
    m_lastError = db.lastError();
    return false;
}

QList<Medium> MediaStore::all()
{
    QList<Medium> result;
    Database db;
    if (!openDb(db))
        return result;
    QSqlQuery q = db.prepare(QString("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(), kTable));
    q.setForwardOnly(true);
    if (!Database::executed(q)) {
        fail(db, q.lastError().text());
        return result;
    }
    while (q.next())
        result << mediumFrom(q);
    if (q.lastError().isValid()) {
        // A read that broke off must not pass for the whole list.
        fail(db, q.lastError().text());
        return {};
    }
    return result;
}

QList<Medium> MediaStore::treeEntries()
{
    QList<Medium> result;
    Database db;
    if (!openDb(db))
        return result;
    QSqlQuery q = db.prepare(
        QString("SELECT bandnummer, bandtype, deleted FROM %1 ORDER BY rowid").arg(kTable));
    q.setForwardOnly(true);
    if (!Database::executed(q)) {
        fail(db, q.lastError().text());
        return result;
    }
    auto text = [&q](int i) {
        const QVariant v = q.value(i);
        return v.isNull() ? QString() : v.toString();
    };
    while (q.next()) {
        Medium m;
        m.name = text(0);
        m.type = text(1);
        m.deleted = text(2);
        result << m;
    }
    if (q.lastError().isValid()) {
        fail(db, q.lastError().text());
        return {};
    }
    return result;
}

int MediaStore::count()
{
    Database db;
    if (!openDb(db))
        return 0;
    QSqlQuery q = db.prepare(QString("SELECT count(*) FROM %1").arg(kTable));
    if (!Database::executed(q) || !q.next()) {
        fail(db, q.lastError().text());
        return 0;
    }
    return q.value(0).toInt();
}

std::optional<Medium> MediaStore::find(const QString& name)
{
    Database db;
    if (!openDb(db))
        return std::nullopt;
    QSqlQuery q =
        db.prepare(QString("SELECT %1 FROM %2 WHERE bandnummer = ? ORDER BY rowid LIMIT 1")
                       .arg(columnList(), kTable));
    q.addBindValue(name);
    if (!Database::executed(q)) {
        fail(db, q.lastError().text());
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return mediumFrom(q);
}

QStringList MediaStore::names()
{
    QStringList result;
    Database db;
    if (!openDb(db))
        return result;
    QSqlQuery q = db.prepare(QString("SELECT bandnummer FROM %1 WHERE bandnummer IS NOT NULL "
                                     "ORDER BY lower(bandnummer), rowid")
                                 .arg(kTable));
    q.setForwardOnly(true);
    if (!Database::executed(q)) {
        fail(db, q.lastError().text());
        return result;
    }
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!name.trimmed().isEmpty()) // nothing to choose in a blank line
            result << name;
    }
    // lower() folds ASCII letters only (SQLite, and a server under the "C"
    // collation alike); finish the job for umlauts.
    std::stable_sort(result.begin(), result.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return result;
}

qint64 MediaStore::rowIdOf(Database& db, const QString& name)
{
    QSqlQuery q = db.prepare(
        QString("SELECT rowid FROM %1 WHERE bandnummer = ? ORDER BY rowid LIMIT 1").arg(kTable));
    q.addBindValue(name);
    if (!Database::executed(q)) {
        fail(db, q.lastError().text());
        return -1;
    }
    return q.next() ? q.value(0).toLongLong() : -1;
}

bool MediaStore::takenIn(Database& db, const QString& name, qint64 ignoreRow, bool* ok)
{
    const QString key = nameKey(name);
    QSqlQuery q = db.prepare(QString("SELECT rowid, bandnummer FROM %1").arg(kTable));
    q.setForwardOnly(true);
    *ok = Database::executed(q);
    if (!*ok) {
        fail(db, q.lastError().text());
        return false;
    }
    while (q.next()) {
        if (q.value(0).toLongLong() != ignoreRow && nameKey(q.value(1).toString()) == key)
            return true;
    }
    return false;
}

bool MediaStore::checkName(Database& db, const Medium& medium, qint64 ignoreRow)
{
    if (medium.name.trimmed().isEmpty())
        return fail(db, "a medium needs a name or number");
    bool ok = false;
    if (takenIn(db, medium.name, ignoreRow, &ok))
        return fail(db, "there is already a medium named " + medium.name.trimmed());
    return ok;
}

bool MediaStore::begin(Database& db)
{
    m_changedElsewhere = false;
    // Share row exclusive: one writer at a time, so no other room takes a
    // name between the check and the write; readers are not held up.
    if (db.transaction() &&
        (!db.isServer() ||
         db.exec(QString("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(kTable))))
        return true;
    return finish(db, false);
}

bool MediaStore::finish(Database& db, bool ok)
{
    if (ok && db.commit())
        return true;
    if (m_lastError.isEmpty())
        m_lastError = db.lastError();
    db.rollback();
    return false;
}

bool MediaStore::stillAsRead(Database& db, qint64 row, const QString& name,
                             const std::optional<Medium>& asRead)
{
    if (!m_lastError.isEmpty()) // the row could not be looked up
        return false;
    if (!asRead)
        return row >= 0 || fail(db, "medium not found: " + name);
    std::optional<Medium> now;
    if (row >= 0) {
        QSqlQuery q =
            db.prepare(QString("SELECT %1 FROM %2 WHERE rowid = ?").arg(columnList(), kTable));
        q.addBindValue(row);
        if (!Database::executed(q))
            return fail(db, q.lastError().text());
        if (q.next())
            now = mediumFrom(q);
    }
    // Compared as text, field by field, as the caller read them.
    if (now && *now == *asRead)
        return true;
    m_changedElsewhere = true;
    qCInfo(lcMedia) << "write refused, changed elsewhere:" << name;
    const QString subject = '"' + name + '"';
    m_lastError = now ? otherrooms::changedText(subject) : otherrooms::goneText(subject);
    return false;
}

bool MediaStore::add(const Medium& medium)
{
    Database db;
    if (!openDb(db) || !begin(db))
        return false;
    QStringList marks;
    for (int i = 0; i < schema::tapeColumns().size(); ++i)
        marks << "?";
    const bool ok =
        checkName(db, medium, -1) &&
        db.exec(
            QString("INSERT INTO %1 (%2) VALUES (%3)").arg(kTable, columnList(), marks.join(", ")),
            valuesOf(medium)) &&
        SearchIndex(db, SearchIndex::Part::Media).refreshRow(rowIdOf(db, medium.name.trimmed())) &&
        CatalogueEvents::announce(db, CatalogueEvents::kMedia, medium.name.trimmed());
    if (!finish(db, ok))
        return false;
    qCDebug(lcMedia) << "added medium" << medium.name.trimmed();
    return true;
}

bool MediaStore::update(const QString& storedName, const Medium& medium,
                        const std::optional<Medium>& asRead)
{
    Database db;
    if (!openDb(db) || !begin(db))
        return false;
    const qint64 row = rowIdOf(db, storedName);
    QStringList sets;
    for (const QString& c : schema::tapeColumns())
        sets << schema::quoted(c) + " = ?";
    QVariantList values = valuesOf(medium);
    values << row;
    // Announced by the name the others show it by.
    const bool ok =
        stillAsRead(db, row, storedName, asRead) && checkName(db, medium, row) &&
        db.exec(QString("UPDATE %1 SET %2 WHERE rowid = ?").arg(kTable, sets.join(", ")), values) &&
        SearchIndex(db, SearchIndex::Part::Media).refreshRow(row) &&
        CatalogueEvents::announce(db, CatalogueEvents::kMedia, storedName);
    if (!finish(db, ok))
        return false;
    qCDebug(lcMedia) << "updated medium" << storedName << "->" << medium.name.trimmed();
    return true;
}

bool MediaStore::remove(const QString& name, const std::optional<Medium>& asRead)
{
    Database db;
    if (!openDb(db) || !begin(db))
        return false;
    const qint64 row = rowIdOf(db, name);
    const bool asShown = stillAsRead(db, row, name, asRead);
    if (m_changedElsewhere && row >= 0)
        m_lastError = otherrooms::notRemovedText('"' + name + '"');
    const bool ok = asShown &&
                    db.exec(QString("DELETE FROM %1 WHERE rowid = ?").arg(kTable), {row}) &&
                    SearchIndex(db, SearchIndex::Part::Media).remove(row, row) &&
                    CatalogueEvents::announce(db, CatalogueEvents::kMedia, name);
    if (!finish(db, ok))
        return false;
    qCDebug(lcMedia) << "removed medium" << name;
    return true;
}

} // namespace quillon
