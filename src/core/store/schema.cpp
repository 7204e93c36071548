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

namespace {
QString createTable(const QString& table, const QStringList& columns,
                    const QHash<QString, QString>& types = {})
{
    QStringList defs;
    for (const QString& c : columns)
        defs << quoted(c) + ' ' + types.value(c, "TEXT");
    return QString("CREATE TABLE %1 (%2)").arg(quoted(table), defs.join(", "));
}
} // namespace

QStringList songDatabaseDdl()
{
    return {createTable("xtrax", songColumns(), {{"tempo", "REAL"}, {"firstdate", "DATE"}}),
            "CREATE INDEX xtrax_songtitle ON xtrax(songtitle)",
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
    return {
        createTable("recdev", recdevColumns(), {{"Nroftracks", "INTEGER"}, {"TypeRM", "INTEGER"}})};
}

QStringList note1DatabaseDdl()
{
    return {createTable("note1", note1Columns())};
}

QString canonicalColumn(const QStringList& columns, const QString& name)
{
    for (const QString& c : columns)
        if (c.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return {};
}

} // namespace quillon::schema
