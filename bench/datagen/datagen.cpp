#include "datagen.h"

#include "media/mediatypes.h"
#include "songs/stylelist.h"
#include "store/datafolder.h"
#include "store/datainstaller.h"
#include "store/schema.h"

#include <QDir>
#include <sqlite3.h>
#include <vector>

namespace quillon::bench {

namespace {

const char* const kWords[] = {"Midnight", "Blue",   "River",  "Mädchen", "Electric", "Summer",
                              "Köln",     "Train",  "Shadow", "Golden",  "Rain",     "Heart",
                              "Highway",  "Velvet", "Fire",   "Grüße",   "Ocean",    "Static"};
const char* const kSources[] = {
    "Kick",      "Snare top",  "Snare bottom", "Hi-Hat",     "Tom 1",      "Tom 2",
    "Floor tom", "Overhead L", "Overhead R",   "Room L",     "Room R",     "Bass DI",
    "Bass amp",  "Guitar 1",   "Guitar 2",     "Acoustic L", "Acoustic R", "Piano L",
    "Piano R",   "Organ",      "Lead vocal",   "Backing 1",  "Backing 2",  "Percussion",
    "Strings L", "Strings R",  "Brass",        "Synth pad",  "Click",      "SMPTE"};
const char* const kNotes[] = {"take 1", "take 3",          "comp",    "DI",     "SM57", "U87, 1 m",
                              "muted",  "punch-in bar 33", "doubled", "-10 dB", "keep", "alt"};
const char* const kNames[] = {"Anna Weber",   "Tom Fischer",   "Lisa Brandt", "Marc Dubois",
                              "Jonas Keller", "Eva Lindqvist", "Paul Novak",  "Sara Costa"};
const char* const kKeys[] = {"C major", "A minor", "G major", "E minor", "D major", "F major"};

// One open file for generating: no journal and no syncing while it is filled,
// since a failed run is simply thrown away; the normal journal comes back
// before the file is closed.
class BulkFile final {
public:
    explicit BulkFile(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            m_error = path + ": " + sqlite3_errmsg(m_db);
        else
            ok(sqlite3_exec(m_db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF; BEGIN", nullptr,
                            nullptr, nullptr));
    }
    ~BulkFile()
    {
        sqlite3_finalize(m_stmt);
        sqlite3_close(m_db);
    }
    bool prepare(const QString& sql)
    {
        return ok(sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_stmt, nullptr));
    }
    void bind(int index, const QByteArray& text)
    {
        sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    void bindStatic(int index, const QByteArray& text)
    {
        sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_STATIC);
    }
    void bindDouble(int index, double v) { sqlite3_bind_double(m_stmt, index, v); }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        return rc == SQLITE_DONE || ok(rc);
    }
    bool finish()
    {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        return ok(sqlite3_exec(m_db, "COMMIT; PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL",
                               nullptr, nullptr, nullptr));
    }
    bool good() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

private:
    bool ok(int rc)
    {
        if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
            return true;
        if (m_error.isEmpty())
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_error;
};

QString insertSql(const QString& table, const QStringList& columns)
{
    QStringList quoted, marks;
    for (const QString& c : columns) {
        quoted << schema::quoted(c);
        marks << "?";
    }
    return QString("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(schema::quoted(table), quoted.join(", "), marks.join(", "));
}

template <typename T, size_t N> const char* pick(const T (&list)[N], int i)
{
    return list[size_t(i) % N];
}

QByteArray hms(int seconds)
{
    return QString("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QChar('0'))
        .arg(seconds / 60 % 60, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'))
        .toUtf8();
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool writeSongs(const DataFolder& folder, const GeneratedFolderPlan& plan, QString* error)
{
    BulkFile f(folder.songDb());
    const QStringList columns = schema::songColumns();
    if (!f.good() || !f.prepare(insertSql("xtrax", columns)))
        return fail(error, f.error());
    const int tempoIndex = columns.indexOf("tempo") + 1;
    for (int i = 1; i < plan.songs; ++i) {
        const int medium = i % plan.media;
        const int start = (i * 37) % 3000;
        QList<QByteArray> v;
        v << generatedTitle(i).toUtf8() << pick(kNames, i) << pick(kNames, i + 3)
          << QByteArray("The ") + pick(kWords, i / 7) + " Band"
          << "Studio Songs Publishing"
          << "Indie Records"
          << QString("%1.%2.%3")
                 .arg(i % 28 + 1, 2, 10, QChar('0'))
                 .arg(i % 12 + 1, 2, 10, QChar('0'))
                 .arg(1990 + i % 35)
                 .toUtf8()
          << QString("%1-%2-%3")
                 .arg(2000 + i % 26)
                 .arg(i % 12 + 1, 2, 10, QChar('0'))
                 .arg(i % 28 + 1, 2, 10, QChar('0'))
                 .toUtf8()
          << QByteArray() /* tempo, bound as a number */ << pick(kKeys, i)
          << (i % 5 ? "4/4" : "3/4") << hms(150 + i % 240) << hms(150 + i % 240)
          << QByteArray::number(200 + i % 400)
          << QString("Style %1").arg(i % plan.styles + 1).toUtf8()
          << generatedMediumName(medium).toUtf8() << hms(start) << hms(start + 180 + i % 240)
          << QByteArray::number(start * 3) << QByteArray::number(start * 3 + 700)
          << (i % 3 ? "Dolby SR" : "none") << ""
          << "00:00:00:00 " << (i % 2 ? "25" : "30")
          << QByteArray("Recorded live in room A, overdubs in B. ") + pick(kNotes, i) << ""
          << ""
          << "" << media::mediaTypes().at(medium % media::kTypeCount).toUtf8()
          << pick(kNames, i + 1) << pick(kNames, i + 2) << pick(kNames, i + 4)
          << pick(kNames, i + 5) << pick(kNames, i + 6)
          << QByteArray("{\\rtf1\\ansi {\\b Verse 1}\\par ") + pick(kWords, i) + " in the " +
                 pick(kWords, i + 1) + ", " + pick(kWords, i + 2) +
                 " on my mind\\par "
                 "Chorus: oh " +
                 pick(kWords, i + 3) + "\\par }";
        for (int c = 0; c < v.size(); ++c) {
            if (c + 1 == tempoIndex)
                f.bindDouble(c + 1, 80 + i % 90);
            else
                f.bind(c + 1, v.at(c));
        }
        if (!f.step())
            return fail(error, f.error());
    }
    if (!f.finish())
        return fail(error, f.error());
    return true;
}

bool writeTracks(const DataFolder& folder, const GeneratedFolderPlan& plan, int slot,
                 QString* error)
{
    // A pool of texts bound without copying; the row number picks from it.
    static const std::vector<QByteArray> pool = [] {
        std::vector<QByteArray> p;
        for (const char* s : kSources)
            for (const char* n : kNotes)
                p.push_back(QByteArray(s) + ", " + n);
        return p;
    }();
    BulkFile f(folder.trackDb(slot));
    if (!f.good() || !f.prepare(insertSql(schema::trackTable(slot), schema::trackColumns())))
        return fail(error, f.error());
    for (int i = 1; i < plan.songs; ++i) {
        for (int k = 0; k < schema::kTracksPerRow; ++k)
            f.bindStatic(k + 1, pool[size_t(i * 7 + slot * 131 + k * 13) % pool.size()]);
        f.bind(schema::kTracksPerRow + 1, generatedTitle(i).toUtf8());
        if (!f.step())
            return fail(error, f.error());
    }
    if (!f.finish())
        return fail(error, f.error());
    return true;
}

bool writeMedia(const DataFolder& folder, const GeneratedFolderPlan& plan, QString* error)
{
    BulkFile f(folder.tapeDb());
    if (!f.good() || !f.prepare(insertSql("Tape", schema::tapeColumns())))
        return fail(error, f.error());
    for (int j = 0; j < plan.media; ++j) {
        const int type = j % media::kTypeCount;
        const QList<QByteArray> v{generatedMediumName(j).toUtf8(),
                                  media::mediaTypes().at(type).toUtf8(),
                                  QByteArray::number(2500 + j % 4) + " ft",
                                  hms(1800 + (j % 4) * 900),
                                  j % 17 == 0 ? "1" : "0",
                                  j % 3 ? "Dolby SR" : "none",
                                  pick(kWords, j) + QByteArray(" Media"),
                                  QString("%1.%2.%3")
                                      .arg(j % 28 + 1, 2, 10, QChar('0'))
                                      .arg(j % 12 + 1, 2, 10, QChar('0'))
                                      .arg(1995 + j % 30)
                                      .toUtf8(),
                                  QString("SN-%1").arg(100000 + j).toUtf8(),
                                  j % 17 == 0 ? QByteArray("01.01.2024") : QByteArray()};
        for (int c = 0; c < v.size(); ++c)
            f.bind(c + 1, v.at(c));
        if (!f.step())
            return fail(error, f.error());
    }
    if (!f.finish())
        return fail(error, f.error());
    return true;
}

} // namespace

QString generatedTitle(int i)
{
    return QString("%1 %2 %3")
        .arg(QString::fromUtf8(pick(kWords, i)), QString::fromUtf8(pick(kWords, i / 18 + 5)))
        .arg(i);
}

QString generatedMediumName(int j)
{
    return QString("T%1").arg(j + 1, 5, 10, QChar('0'));
}

bool generateDataFolder(const QString& dir, const GeneratedFolderPlan& plan, QString* error)
{
    if (!QDir().mkpath(dir))
        return fail(error, "cannot create " + dir);
    const DataFolder folder(dir);
    const InstallReport report = ensureDataFolder(folder);
    if (!report.ok())
        return fail(error, report.problems.join('\n'));
    if (!writeSongs(folder, plan, error))
        return false;
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        if (!writeTracks(folder, plan, n, error))
            return false;
    if (!writeMedia(folder, plan, error))
        return false;
    QStringList styles;
    for (int s = 1; s <= plan.styles; ++s)
        styles << StyleList::makeEntry(QString("Style %1").arg(s),
                                       QString("%1 %2 with %3")
                                           .arg(QString::fromUtf8(pick(kWords, s)))
                                           .arg(s % 2 ? "groove" : "ballad")
                                           .arg(QLatin1String(pick(kSources, s))));
    StyleList list(folder);
    if (!list.writeNumber(plan.styles) || !list.writeEntries(styles))
        return fail(error, "cannot write the style files in " + dir);
    return true;
}

} // namespace quillon::bench
