#include "distinctfields.h"
#include "songs/songdetails.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/songconstants.h"
#include "tempdatafolder.h"

#include <iterator>
#include <QSqlQuery>
#include <QTest>

using namespace quillon;

namespace {

// Each stored song field, the element of the song details it is read into
// and what an empty field reads as.
struct SongField {
    const char* column;
    QString SongDetails::*element;
    const char* whenEmpty;
};
const SongField kSongFields[] = {
    {"artist", &SongDetails::artist, ""},
    {"text", &SongDetails::words, ""},
    {"composer", &SongDetails::composer, ""},
    {"publisher", &SongDetails::publisher, ""},
    {"recordcomp", &SongDetails::recordCompany, ""},
    {"compodate", &SongDetails::compositionDate, ""},
    {"Key", &SongDetails::key, ""},
    {"Signature", &SongDetails::signature, ""},
    {"Length", &SongDetails::length, "00:00:00"},
    {"Lengthtime", &SongDetails::lengthTime, "00:00:00"},
    {"Lengthft", &SongDetails::lengthFeet, "0"},
    {"Style", &SongDetails::style, ""},
    {"Bandnummer", &SongDetails::mediumNumber, ""},
    {"BandzeitVon", &SongDetails::mediumTimeFrom, ""},
    {"BandzeitBis", &SongDetails::mediumTimeTo, ""},
    {"BandZählWerkVon", &SongDetails::counterFrom, "00000"},
    {"BandZählWerkBis", &SongDetails::counterTo, "00000"},
    {"NoiseReduction", &SongDetails::noiseReduction, ""},
    {"SMPTEZeit", &SongDetails::smpteTime, "00:00:00:00"},
    {"SmpteType", &SongDetails::smpteType, "00"},
    {"SongInfoNote", &SongDetails::songInfoNote, ""},
    {"BandType", &SongDetails::mediumType, ""},
    {"notiz1", &SongDetails::note, ""},
    {"Producer1", &SongDetails::producer1, ""},
    {"Producer2", &SongDetails::producer2, ""},
    {"Technician1", &SongDetails::technician1, ""},
    {"Technician2", &SongDetails::technician2, ""},
    {"Technician3", &SongDetails::technician3, ""},
};
// Every element but the device name and the tempo is in the table, so a new
// element cannot be left out of the round trip unnoticed.
static_assert(sizeof(SongDetails) == (std::size(kSongFields) + 2) * sizeof(QString));

// The fields the session and note windows store on their own.
bool storedApart(const QString& column)
{
    return column.startsWith("Producer") || column.startsWith("Technician") || column == "notiz1";
}

enum class Fill { Distinct, Empty, Null };

QString valueFor(Fill fill, const QString& distinct)
{
    return fill == Fill::Distinct ? distinct : fill == Fill::Empty ? QString("") : QString();
}

// Track k of slot n, different on every track of every device.
QString trackText(Fill fill, int slot, int track)
{
    return valueFor(fill, QString("S%1 T%2 O'Neil \"\u00c4\" \u00e4").arg(slot).arg(track));
}

// The track table's columns as the files define them.
QStringList trackColumnsAndTitle()
{
    QStringList columns;
    for (int k = 1; k <= 96; ++k)
        columns << QString("track%1").arg(k);
    return columns << "songtitle";
}

} // namespace

Q_DECLARE_METATYPE(Fill)

class TestSongStore final : public QObject {
    Q_OBJECT

private:
    // Rows with this title in every one of the eleven tables, read with a
    // connection of its own so nothing the store caches can hide a fault.
    static QList<int> rowsPerTable(const DataFolder& folder, const QString& title)
    {
        QList<int> counts;
        Database db;
        if (!folder.openCatalogue(db, folder.songDb()))
            return counts;
        QSqlQuery q = db.prepare("SELECT count(*) FROM xtrax WHERE songtitle = ?");
        q.addBindValue(title);
        q.exec();
        q.next();
        counts << q.value(0).toInt();
        for (int n = 1; n <= 10; ++n) {
            Database t;
            folder.openCatalogue(t, folder.trackDb(n));
            QSqlQuery tq =
                t.prepare(QString("SELECT count(*) FROM rd%1 WHERE songtitle = ?").arg(n));
            tq.addBindValue(title);
            tq.exec();
            tq.next();
            counts << tq.value(0).toInt();
        }
        return counts;
    }
    static QList<int> all(int v) { return QList<int>(11, v); }

private Q_SLOTS:
    // Every field of a song, its session details, note, lyrics and all 96
    // tracks of all ten devices are stored where the files define them and
    // read back into their own elements, also after a rename; an emptied or
    // absent field reads as its substitute.
    void everyFieldRoundTrips_data()
    {
        QTest::addColumn<Fill>("fill");
        QTest::newRow("distinct") << Fill::Distinct;
        QTest::newRow("empty") << Fill::Empty;
        QTest::newRow("null") << Fill::Null;
    }
    void everyFieldRoundTrips()
    {
        QFETCH(Fill, fill);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        const QString old = "Old";
        const QString title = "Don't say \"ä\"";
        QVERIFY(store.create({old, "words", "composer", "01.02.2003"}));
        QVERIFY(store.create({"Neighbour", "w", "c", "d"}));

        // Tracks are written a bank of 24 at a time, as the main window does.
        for (int slot = 1; slot <= 10; ++slot) {
            for (int first = 1; first <= 96; first += 24) {
                QStringList bank;
                for (int k = first; k < first + 24; ++k)
                    bank << trackText(fill, slot, k);
                QVERIFY2(store.writeTracks(old, slot, first, bank), qPrintable(store.lastError()));
            }
        }
        // Session details, note and lyrics are stored by their own windows,
        // the song details with the rename.
        QVariantMap apart{{"lyrics", valueFor(fill, test::distinctText("lyrics"))}};
        QVariantMap details{{"tempo", fill == Fill::Distinct ? QVariant(121.5)
                                      : fill == Fill::Empty  ? QVariant(0.0)
                                                             : QVariant()}};
        for (const SongField& f : kSongFields)
            (storedApart(f.column) ? apart : details)
                .insert(f.column, valueFor(fill, test::distinctText(f.column)));
        QVERIFY(store.updateFields(old, apart));
        QVERIFY2(store.rename(old, title, details), qPrintable(store.lastError()));

        const auto song = store.song(title);
        QVERIFY(song);
        SongDetails read;
        read.readFrom(*song);
        QStringList actual, expected;
        for (const SongField& f : kSongFields) {
            const QString value = valueFor(fill, test::distinctText(f.column));
            actual << QString(f.column) + ": " + read.*f.element;
            expected << QString(f.column) + ": " + (value.isEmpty() ? f.whenEmpty : value);
        }
        actual << "tempo: " + read.tempo;
        expected << QString("tempo: ") + (fill == Fill::Distinct ? "121.5"
                                          : fill == Fill::Empty  ? "0"
                                                                 : "");
        actual << "lyrics: " + song->text("lyrics");
        expected << "lyrics: " + apart.value("lyrics").toString();
        QCOMPARE(actual, expected);

        QStringList columns{"songtitle"};
        QVariantList values{title};
        for (const QVariantMap& map : {details, apart}) {
            columns << map.keys();
            values << map.values();
        }
        QCOMPARE(test::storedColumns(tmp.folder(), tmp.folder().songDb(),
                                     "SELECT * FROM xtrax WHERE songtitle = ?", columns, {title}),
                 test::columnLines(columns, values));

        for (int slot = 1; slot <= 10; ++slot) {
            QStringList tracks;
            QVariantList stored;
            for (int k = 1; k <= 96; ++k) {
                tracks << trackText(fill, slot, k);
                stored << tracks.last();
            }
            stored << title;
            // Read by position, as the program does ...
            QCOMPARE(store.trackRow(title, slot), tracks);
            // ... and stored under the column names the file defines.
            QCOMPARE(
                test::storedColumns(tmp.folder(), tmp.folder().trackDb(slot),
                                    QString("SELECT * FROM rd%1 WHERE songtitle = ?").arg(slot),
                                    trackColumnsAndTitle(), {title}),
                test::columnLines(trackColumnsAndTitle(), stored));
            QCOMPARE(store.trackRow("Neighbour", slot).at(0),
                     generatedTrackText("Neighbour", slot, 1));
        }
        QCOMPARE(store.song("Neighbour")->text("text"), QString("w"));
    }

    void createWritesTenTrackRows()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QCOMPARE(store.count(), 1);
        QVERIFY(store.create({"Blue", "Words", "Comp", "01.02.2003"}));
        QCOMPARE(store.count(), 2);
        QCOMPARE(rowsPerTable(tmp.folder(), "Blue"), all(1));
        for (int n = 1; n <= 10; ++n) {
            bool found = false;
            const QStringList tracks = store.trackRow("Blue", n, &found);
            QVERIFY(found);
            QCOMPARE(tracks.size(), 96);
            for (int k = 1; k <= 48; ++k)
                QCOMPARE(tracks.at(k - 1), QString("Blue Dev  %1  Track %2").arg(n).arg(k));
            for (int k = 49; k <= 96; ++k)
                QCOMPARE(tracks.at(k - 1), QString());
        }
        const auto song = store.song("Blue");
        QVERIFY(song);
        QCOMPARE(song->text("TEXT"), QString("Words"));
        QCOMPARE(song->text("bandzählwerkvon"), QString("0"));
        QVERIFY(song->isNull("artist"));

        // Every field as a new song gets it; the fields it does not write stay null.
        const QList<std::pair<QString, QVariant>> created{
            {"songtitle", "Blue"},
            {"text", "Words"},
            {"composer", "Comp"},
            {"artist", {}},
            {"publisher", ""},
            {"recordcomp", ""},
            {"compodate", "01.02.2003"},
            {"firstdate", QDate::currentDate().toString(Qt::ISODate)},
            {"tempo", {}},
            {"Key", {}},
            {"Signature", {}},
            {"Length", {}},
            {"Lengthtime", {}},
            {"Lengthft", {}},
            {"Style", {}},
            {"Bandnummer", "0"},
            {"BandzeitVon", "00:00:00"},
            {"BandzeitBis", "00:00:00"},
            {"BandZählWerkVon", "0"},
            {"BandZählWerkBis", "0"},
            {"NoiseReduction", ""},
            {"bandmasch", ""},
            {"SMPTEZeit", "00:00:00:00 "},
            {"SmpteType", ""},
            {"notiz1", ""},
            {"notiz2", ""},
            {"SongInfoNote", ""},
            {"tapeinfonote", ""},
            {"BandType", ""},
            {"Producer1", {}},
            {"Producer2", {}},
            {"Technician1", {}},
            {"Technician2", {}},
            {"Technician3", {}},
            {"lyrics", {}}};
        QStringList columns;
        QVariantList values;
        for (const auto& [column, value] : created) {
            columns << column;
            values << value;
        }
        QCOMPARE(test::storedColumns(tmp.folder(), tmp.folder().songDb(),
                                     "SELECT * FROM xtrax WHERE songtitle = ?", columns, {"Blue"}),
                 test::columnLines(columns, values));
    }

    void deleteLeavesNoRow()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Gone", {}, {}, {}}));
        QVERIFY(store.remove("Gone"));
        QCOMPARE(rowsPerTable(tmp.folder(), "Gone"), all(0));
        QCOMPARE(store.count(), 1);
    }

    void renameCarriesEverything()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Old", {}, {}, {}}));
        QVERIFY(store.writeTracks("Old", 7, 90, {"a", "b", "c", "d", "e", "f", "g"}));
        QVERIFY(store.updateFields(
            "Old", {{"lyrics", "<p>la</p>"}, {"notiz1", "note"}, {"producer1", "P"}}));
        QVERIFY(store.rename("Old", "New", {{"artist", "X"}}));
        QCOMPARE(rowsPerTable(tmp.folder(), "Old"), all(0));
        QCOMPARE(rowsPerTable(tmp.folder(), "New"), all(1));
        QCOMPARE(store.trackRow("New", 7).mid(89, 7),
                 QStringList({"a", "b", "c", "d", "e", "f", "g"}));
        QCOMPARE(store.trackRow("New", 3).at(0), QString("Old Dev  3  Track 1"));
        const auto song = store.song("New");
        QCOMPARE(song->text("lyrics"), QString("<p>la</p>"));
        QCOMPARE(song->text("NOTIZ1"), QString("note"));
        QCOMPARE(song->text("Producer1"), QString("P"));
        QCOMPARE(song->text("artist"), QString("X"));
        QVERIFY(!store.rename("New", "Other", {{"no such field", "x"}}));
        QVERIFY(store.song("New"));
    }

    void uniquenessIgnoresCaseAndBlanks_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<bool>("exists");
        QTest::newRow("same") << "Mädchen Blues" << true;
        QTest::newRow("upper") << "MÄDCHEN BLUES" << true;
        QTest::newRow("blanks") << "  mädchen blues  " << true;
        QTest::newRow("other") << "Mädchen Blues 2" << false;
        QTest::newRow("training") << "©quillon IS SIMPLY THE BEST" << true;
    }
    void uniquenessIgnoresCaseAndBlanks()
    {
        QFETCH(QString, candidate);
        QFETCH(bool, exists);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Mädchen Blues", {}, {}, {}}));
        QCOMPARE(store.titleExists(candidate), exists);
        // A song does not collide with itself when it keeps its title.
        QVERIFY(!store.titleExists("MÄDCHEN BLUES", "Mädchen Blues"));
    }

    void awkwardTitlesRoundTrip_data()
    {
        QTest::addColumn<QString>("title");
        for (const char* t : {"Don't Stop", "Say \"Hi\"", "a; DROP TABLE xtrax; --", "100% _done_",
                              "Grüße aus Köln", "Fire 🔥 Song", "שלום world"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void awkwardTitlesRoundTrip()
    {
        QFETCH(QString, title);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY2(store.create({title, {}, {}, {}}), qPrintable(store.lastError()));
        QVERIFY(store.song(title));
        QVERIFY(store.titleExists(title));
        QVERIFY(!store.titleExists("100%"));
        QVERIFY(store.titlesOnMedium("0").contains(title));
        QVERIFY(store.writeTracks(title, 2, 1, {"x"}));
        QCOMPARE(store.trackRow(title, 2).at(0), QString("x"));
        const QString renamed = title + "'2";
        QVERIFY(store.rename(title, renamed));
        QCOMPARE(rowsPerTable(tmp.folder(), renamed), all(1));
        QVERIFY(store.remove(renamed));
        QCOMPARE(rowsPerTable(tmp.folder(), renamed), all(0));
        QCOMPARE(store.count(), 1);
    }

    void failureMidwayLeavesNoTrace_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::newRow("after fifth track table") << "track6";
        QTest::newRow("first table") << "song";
        QTest::newRow("at commit") << "commit";
    }
    void failureMidwayLeavesNoTrace()
    {
        QFETCH(QString, stage);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Keep", {}, {}, {}}));
        store.setFaultInjector([&](const QString& s) { return s == stage; });

        QVERIFY(!store.create({"Half", {}, {}, {}}));
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(rowsPerTable(tmp.folder(), "Half"), all(0));

        QVERIFY(!store.rename("Keep", "Moved"));
        QCOMPARE(rowsPerTable(tmp.folder(), "Keep"), all(1));
        QCOMPARE(rowsPerTable(tmp.folder(), "Moved"), all(0));

        QVERIFY(!store.remove("Keep"));
        QCOMPARE(rowsPerTable(tmp.folder(), "Keep"), all(1));

        store.setFaultInjector({});
        QVERIFY(store.create({"Half", {}, {}, {}}));
        QCOMPARE(rowsPerTable(tmp.folder(), "Half"), all(1));
    }

    void missingTrackRowReadsEmptyAndIsRecreatedOnWrite()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Hole", {}, {}, {}}));
        {
            Database t;
            QVERIFY(tmp.folder().openCatalogue(t, tmp.folder().trackDb(4)));
            QVERIFY(t.exec("DELETE FROM rd4 WHERE songtitle = ?", {"Hole"}));
        }
        bool found = true;
        QCOMPARE(store.trackRow("Hole", 4, &found), QStringList(96, QString()));
        QVERIFY(!found);
        QStringList bank;
        for (int i = 1; i <= 24; ++i)
            bank << QString("t%1").arg(i);
        QVERIFY(store.writeTracks("Hole", 4, 25, bank));
        QCOMPARE(store.trackRow("Hole", 4, &found).mid(24, 24), bank);
        QVERIFY(found);
        QCOMPARE(rowsPerTable(tmp.folder(), "Hole"), all(1));
        QVERIFY(!store.writeTracks("Hole", 4, 90, bank)); // past track 96
        QVERIFY(!store.writeTracks("Hole", 11, 1, {"x"}));
    }
};

QTEST_GUILESS_MAIN(TestSongStore)
#include "tst_songstore.moc"
