#include "store/schema.h"

#include <QHash>

namespace quillon::schema {

const QStringList& songColumns()
{
    static const QStringList columns{
        "songtitle",      "text",         "composer",     "artist",          "publisher",
        "recordcomp",     "compodate",    "firstdate",    "tempo",           "Key",
        "Signature",      "Length",       "Lengthtime",   "Lengthft",        "Style",
        "Bandnummer",     "BandzeitVon",  "BandzeitBis",  "BandZählWerkVon", "BandZählWerkBis",
        "NoiseReduction", "bandmasch",    "SMPTEZeit",    "SmpteType",       "notiz1",
        "notiz2",         "SongInfoNote", "tapeinfonote", "BandType",        "Producer1",
        "Producer2",      "Technician1",  "Technician2",  "Technician3",     "lyrics"};
    return columns;
}

const QStringList& trackColumns()
{
    static const QStringList columns = [] {
        QStringList c;
        for (int k = 1; k <= kTracksPerRow; ++k)
            c << QString("track%1").arg(k);
        c << "songtitle";
        return c;
    }();
    return columns;
}

const QStringList& tapeColumns()
{
    // The media printout reads some values by position: 0 name, 2 length,
    // 4 separated flag, 6 brand, 8 serial number.
    static const QStringList columns{"bandnummer", "bandtype",       "lengthft",  "lengthtime",
                                     "deleted",    "noisereduction", "brandname", "enteredon",
                                     "serialnr",   "deletedon"};
    return columns;
}

const QStringList& recdevColumns()
{
    static const QStringList columns{"name",        "Nroftracks", "SerialNr", "Noisereduction",
                                     "Purchasedon", "Seller",     "Note",     "Lastinspection",
                                     "technician",  "TypeRM"};
    return columns;
}

const QStringList& note1Columns()
{
    static const QStringList columns{"notiz1"};
    return columns;
}

QString trackTable(int slot)
{
    return QString("rd%1").arg(slot);
}

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace('"', "\"\"");
    return '"' + s + '"';
}

QString columnType(const QString& table, const QString& column)
{
    static const QHash<QString, QString> types{{"xtrax.tempo", "REAL"},
                                               {"xtrax.firstdate", "DATE"},
                                               {"recdev.Nroftracks", "INTEGER"},
                                               {"recdev.TypeRM", "INTEGER"}};
    return types.value(table + '.' + column, QStringLiteral("TEXT"));
}

bool readByPosition(const QString& table)
{
    // The song table is read by field name only; the track tables, the
    // media table and the device register by position as well.
    return table.compare("xtrax", Qt::CaseInsensitive) != 0;
}

namespace {
QString createTable(const QString& table, const QStringList& columns)
{
    QStringList defs;
    for (const QString& c : columns)
        defs << quoted(c) + ' ' + columnType(table, c);
    return QString("CREATE TABLE %1 (%2)").arg(quoted(table), defs.join(", "));
}
} // namespace

QStringList songDatabaseDdl()
{
    return {createTable("xtrax", songColumns()), "CREATE INDEX xtrax_songtitle ON xtrax(songtitle)",
            "CREATE INDEX xtrax_bandnummer ON xtrax(Bandnummer)"};
}

QStringList trackDatabaseDdl(int slot)
{
    const QString t = trackTable(slot);
    return {createTable(t, trackColumns()),
            QString("CREATE INDEX %1_songtitle ON %1(songtitle)").arg(t)};
}

QStringList tapeDatabaseDdl()
{
    return {createTable("Tape", tapeColumns())};
}

QStringList recdevDatabaseDdl()
{
    return {createTable("recdev", recdevColumns())};
}

QStringList note1DatabaseDdl()
{
    return {createTable("note1", note1Columns())};
}

ColumnDiff compareColumns(const QString& table, const QStringList& canonical,
                          const QStringList& actual)
{
    ColumnDiff diff;
    for (const QString& c : canonical)
        if (!actual.contains(c, Qt::CaseInsensitive))
            diff.missing << c;
    for (const QString& c : actual)
        if (!canonical.contains(c, Qt::CaseInsensitive))
            diff.foreign << c;
    if (readByPosition(table)) {
        // What is there must be the canonical columns from the first on;
        // foreign columns after all of them move nothing.
        for (qsizetype i = 0; i < actual.size() && i < canonical.size(); ++i)
            diff.misplaced =
                diff.misplaced || actual.at(i).compare(canonical.at(i), Qt::CaseInsensitive) != 0;
    }
    return diff;
}

QString canonicalColumn(const QStringList& columns, const QString& name)
{
    for (const QString& c : columns)
        if (c.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return {};
}

} // namespace quillon::schema
