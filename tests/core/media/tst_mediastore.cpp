#include "distinctfields.h"
#include "media/mediastore.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(quillon::Medium)

class TestMediaStore final : public QObject {
    Q_OBJECT

private:
    static Medium tape(const QString& name, const QString& type = "2 - Analog Tape")
    {
        Medium m;
        m.name = name;
        m.brand = "Ampex";
        m.type = type;
        m.serialNumber = "SN-1";
        m.length = "2500";
        m.maxTime = "00:33:00";
        m.noiseReduction = "Dolby SR";
        m.enteredOn = "01.02.2005";
        m.separatedOn = "";
        m.deleted = "0";
        return m;
    }
    // Inserted behind the store's back, as another program or an old file might.
    static void insertRaw(const DataFolder& folder, const QString& name)
    {
        Database db;
        QVERIFY(folder.openCatalogue(db, folder.tapeDb()));
        QVERIFY(db.exec("INSERT INTO \"Tape\" (bandnummer, bandtype, deleted) VALUES (?, ?, ?)",
                        {name, "1 - Harddisk", "0"}));
    }

private Q_SLOTS:
    // Each field goes to its own column and comes back into its own member,
    // through every read the windows use; the neighbours stay as they were.
    void everyFieldRoundTrips_data()
    {
        QTest::addColumn<Medium>("first");
        QTest::addColumn<Medium>("second");
        Medium nameOnly;
        nameOnly.name = "Only a name";
        QTest::newRow("distinct, in use") << test::distinctMedium(1) << Medium{};
        QTest::newRow("distinct, separated") << test::distinctMedium(2) << Medium{};
        QTest::newRow("every field changed") << test::distinctMedium(1) << test::distinctMedium(2);
        QTest::newRow("separation cleared") << test::distinctMedium(2) << test::distinctMedium(3);
        QTest::newRow("fields emptied") << test::distinctMedium(2) << nameOnly;
        QTest::newRow("empty, then filled") << nameOnly << test::distinctMedium(4);
    }
    void everyFieldRoundTrips()
    {
        QFETCH(Medium, first);
        QFETCH(Medium, second);
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        const Medium before = tape("Before"), after = tape("After");
        QVERIFY(store.add(before));
        QVERIFY2(store.add(first), qPrintable(store.lastError()));
        QVERIFY(store.add(after));
        Medium expected = first;
        if (!second.name.isEmpty()) {
            QVERIFY2(store.update(first.name, second), qPrintable(store.lastError()));
            expected = second;
        }
        QCOMPARE(test::fieldsOf(*store.find(expected.name)), test::fieldsOf(expected));
        const QList<Medium> all = store.all();
        QCOMPARE(all.size(), 3);
        QCOMPARE(test::fieldsOf(all.at(0)), test::fieldsOf(before));
        QCOMPARE(test::fieldsOf(all.at(1)), test::fieldsOf(expected));
        QCOMPARE(test::fieldsOf(all.at(2)), test::fieldsOf(after));
        const Medium entry = store.treeEntries().at(1);
        QCOMPARE(entry.name, expected.name);
        QCOMPARE(entry.type, expected.type);
        QCOMPARE(entry.deleted, expected.deleted);
        QCOMPARE(entry.icon(), expected.icon());
        QVERIFY(store.names().contains(expected.name));
        // The columns the file defines, by name.
        const QStringList columns{"bandnummer", "brandname",  "bandtype",       "serialnr",
                                  "lengthft",   "lengthtime", "noisereduction", "enteredon",
                                  "deletedon",  "deleted"};
        QCOMPARE(test::storedColumns(tmp.folder(), tmp.folder().tapeDb(),
                                     "SELECT * FROM \"Tape\" WHERE bandnummer = ?", columns,
                                     {expected.name}),
                 test::columnLines(
                     columns, {expected.name, expected.brand, expected.type, expected.serialNumber,
                               expected.length, expected.maxTime, expected.noiseReduction,
                               expected.enteredOn, expected.separatedOn, expected.deleted}));
    }

    void mediaTypesInOrder()
    {
        const QStringList& types = media::mediaTypes();
        QCOMPARE(types.size(), 10);
        QCOMPARE(types.first(), QString("1 - Harddisk"));
        QCOMPARE(types.at(3), QString("4 - CDR/CDRW - DVD/DVDRW"));
        QCOMPARE(types.last(), QString("10 - Other"));
        for (int i = 0; i < types.size(); ++i)
            QCOMPARE(media::typeNumber(types.at(i)), i + 1);
    }

    void typeNumberFromLeadingDigits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("whatever follows") << "4 - whatever" << 4;
        QTest::newRow("no blank") << "4x" << 4;
        QTest::newRow("leading blanks") << "   7 - Datadisk" << 7;
        QTest::newRow("two digits") << "10 - Other" << 10;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("no digits") << "Harddisk" << 0;
        QTest::newRow("out of list") << "42 - Wax cylinder" << 42;
        QTest::newRow("endless digits") << "99999999999999999999999" << 1000000;
    }
    void typeNumberFromLeadingDigits()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(media::typeNumber(text), number);
    }

    void iconNumbering()
    {
        QCOMPARE(media::iconNumber(4, false), 4);
        QCOMPARE(media::iconNumber(4, true), 14);
        QCOMPARE(media::iconNumber(1, true), 11);
        QCOMPARE(media::iconNumber(10, true), 20);
        // No picture exists for other numbers; they show "Other".
        QCOMPARE(media::iconNumber(0, false), 10);
        QCOMPARE(media::iconNumber(42, true), 20);
        QCOMPARE(media::kRootIcon, 21);

        Medium m = tape("CD 1", "4 - whatever");
        QCOMPARE(m.icon(), 4);
        m.setSeparated(true);
        QCOMPARE(m.deleted, QString("1"));
        QCOMPARE(m.icon(), 14);
        m.setSeparated(false);
        QCOMPARE(m.deleted, QString("0"));
        QCOMPARE(m.icon(), 4);
    }

    void addFindAndReadAll()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.databaseExists());
        QCOMPARE(store.count(), 0);
        QVERIFY2(store.add(tape("Reel 7")), qPrintable(store.lastError()));
        Medium cd = tape("CD 3", "4 - CDR/CDRW - DVD/DVDRW");
        cd.setSeparated(true);
        cd.separatedOn = "03.04.2006";
        QVERIFY(store.add(cd));
        QCOMPARE(store.count(), 2);

        const QList<Medium> all = store.all();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0), tape("Reel 7"));
        QCOMPARE(all.at(1), cd);

        const auto found = store.find("CD 3");
        QVERIFY(found);
        QCOMPARE(*found, cd);
        QCOMPARE(found->icon(), 14);
        QVERIFY(!store.find("cd 3x"));

        // The tree's lighter read: the same media in the same order with the
        // same pictures, and nothing else filled in.
        const QList<Medium> entries = store.treeEntries();
        QCOMPARE(entries.size(), 2);
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(entries.at(i).name, all.at(i).name);
            QCOMPARE(entries.at(i).icon(), all.at(i).icon());
            QVERIFY(entries.at(i).brand.isEmpty() && entries.at(i).separatedOn.isEmpty());
        }
        QVERIFY(entries.at(1).isSeparated());
    }

    void columnsStandWhereThePrintoutReadsThem()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.add(tape("Reel 7")));
        Database db;
        QVERIFY(tmp.folder().openCatalogue(db, tmp.folder().tapeDb()));
        QSqlQuery q = db.prepare("SELECT * FROM \"Tape\"");
        QVERIFY(q.exec() && q.next());
        // A server keeps the rowid as a column of its own, after the others.
        QCOMPARE(q.record().count(), tmp.onServer() ? 11 : 10);
        QCOMPARE(q.value(0).toString(), QString("Reel 7"));
        QCOMPARE(q.value(2).toString(), QString("2500"));
        QCOMPARE(q.value(4).toString(), QString("0"));
        QCOMPARE(q.value(6).toString(), QString("Ampex"));
        QCOMPARE(q.value(8).toString(), QString("SN-1"));
    }

    void namesAreStoredWithoutSurroundingBlanks()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.add(tape("  Reel 8   ")));
        QVERIFY(store.find("Reel 8"));
        QCOMPARE(store.all().first().name, QString("Reel 8"));
    }

    void duplicatesInAnotherCaseOrWithBlanksAreRefused()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.add(tape("Tape Ä1")));
        QVERIFY(!store.add(tape("TAPE ä1")));
        QVERIFY(!store.lastError().isEmpty());
        QVERIFY(!store.add(tape("   tape Ä1  ")));
        QVERIFY(!store.add(tape("   ")));
        QCOMPARE(store.count(), 1);
        // Its own name does not count against a medium being edited.
        QVERIFY(store.update("Tape Ä1", tape("TAPE Ä1")));
        QVERIFY(store.find("TAPE Ä1"));
    }

    void apostrophesAreOrdinaryCharacters()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.add(tape("Bob's Tape")));
        QVERIFY(store.add(tape("x' OR '1'='1")));
        QVERIFY(store.find("Bob's Tape"));
        QCOMPARE(store.find("x' OR '1'='1")->name, QString("x' OR '1'='1"));
        Medium renamed = tape("Bob's 'Other' Tape");
        QVERIFY2(store.update("Bob's Tape", renamed), qPrintable(store.lastError()));
        QVERIFY(!store.find("Bob's Tape"));
        QVERIFY(store.find("Bob's 'Other' Tape"));
        QVERIFY(store.remove("x' OR '1'='1"));
        QCOMPARE(store.count(), 1);
    }

    void updateRewritesAllFields()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        QVERIFY(store.add(tape("HD 1", "1 - Harddisk")));
        QVERIFY(store.add(tape("HD 2", "1 - Harddisk")));
        Medium m = tape("HD 1", "1 - Harddisk");
        m.setSeparated(true);
        m.separatedOn = "05.06.2007";
        m.brand = "Seagate";
        QVERIFY(store.update("HD 1", m));
        QCOMPARE(*store.find("HD 1"), m);
        QCOMPARE(store.find("HD 1")->icon(), 11);
        // Clearing the separation keeps the other values.
        m.setSeparated(false);
        m.separatedOn.clear();
        QVERIFY(store.update("HD 1", m));
        QCOMPARE(store.find("HD 1")->deleted, QString("0"));
        QCOMPARE(store.find("HD 1")->separatedOn, QString());
        QCOMPARE(store.find("HD 1")->brand, QString("Seagate"));
        // A case-only change of its own name is the store's to accept.
        m.name = "hd 1";
        QVERIFY(store.update("HD 1", m));
        QVERIFY(store.find("hd 1"));
        // Another medium's name is refused, and nothing changes.
        m.name = " HD 2 ";
        QVERIFY(!store.update("hd 1", m));
        QVERIFY(store.find("hd 1"));
        QVERIFY(!store.update("no such medium", tape("Fresh")));
        QCOMPARE(store.count(), 2);
    }

    // Another room (a second store on the same catalogue) changes, renames or
    // removes a medium after this room read it: a write based on that read
    // stores nothing; one based on what is stored now goes through. Another
    // medium's change is no reason to refuse.
    void writesBasedOnAnOutdatedReadAreRefused_data()
    {
        QTest::addColumn<QString>("there");
        QTest::addColumn<bool>("removeHere");
        for (const bool removeHere : {false, true})
            for (const QString there : {"changed", "renamed", "removed", "other changed"})
                QTest::addRow("%s, %s", removeHere ? "remove" : "update", qPrintable(there))
                    << there << removeHere;
    }
    void writesBasedOnAnOutdatedReadAreRefused()
    {
        QFETCH(QString, there);
        QFETCH(bool, removeHere);
        test::TempDataFolder tmp;
        MediaStore here(tmp.folder()), other(tmp.folder());
        QVERIFY(here.add(tape("Reel 1")) && here.add(tape("Reel 2")));
        const Medium asRead = *here.find("Reel 1");
        Medium theirs = tape(there == "other changed" ? "Reel 2" : "Reel 1");
        theirs.brand = "Theirs";
        if (there == "renamed")
            theirs.name = "Reel 1b";
        QVERIFY(there == "removed"
                    ? other.remove("Reel 1")
                    : other.update(there == "other changed" ? "Reel 2" : "Reel 1", theirs));
        const QList<Medium> before = here.all();
        Medium mine = asRead;
        mine.serialNumber = "mine";
        const bool refused = there != "other changed";
        QCOMPARE(removeHere ? here.remove("Reel 1", asRead) : here.update("Reel 1", mine, asRead),
                 !refused);
        QCOMPARE(here.changedElsewhere(), refused);
        if (refused) {
            QVERIFY2(here.lastError().contains("in another room"), qPrintable(here.lastError()));
            QCOMPARE(here.all(), before);
            if (const std::optional<Medium> now = here.find("Reel 1"))
                QVERIFY(removeHere ? here.remove("Reel 1", now) : here.update("Reel 1", mine, now));
        }
    }

    void duplicateRowsInOldDataAreTouchedOneAtATime()
    {
        test::TempDataFolder tmp;
        insertRaw(tmp.folder(), "Twin");
        insertRaw(tmp.folder(), "Twin");
        MediaStore store(tmp.folder());
        QCOMPARE(store.count(), 2);
        QVERIFY(store.remove("Twin"));
        QCOMPARE(store.count(), 1);
        QVERIFY(store.find("Twin"));
    }

    void namesForTheDropDownSortWithoutRegardToCase()
    {
        test::TempDataFolder tmp;
        MediaStore store(tmp.folder());
        for (const QString n : {"beta", "Gamma", "alpha", "Delta", "ärger"})
            QVERIFY(store.add(tape(n)));
        insertRaw(tmp.folder(), "");
        const QStringList names = store.names();
        QCOMPARE(names.mid(0, 4), QStringList({"alpha", "beta", "Delta", "Gamma"}));
        QCOMPARE(names.size(), 5);
    }

    void removingAMediumLeavesItsSongsAlone()
    {
        test::TempDataFolder tmp;
        MediaStore media(tmp.folder());
        QVERIFY(media.add(tape("Reel 9")));
        SongStore songs(tmp.folder());
        QVERIFY(songs.open());
        QVERIFY(songs.create({"Blue", {}, {}, {}}));
        QVERIFY(songs.updateFields("Blue", {{"Bandnummer", "Reel 9"}}));
        QVERIFY(media.remove("Reel 9"));
        QVERIFY(!media.find("Reel 9"));
        QCOMPARE(songs.titlesOnMedium("Reel 9"), QStringList{"Blue"});
        QCOMPARE(songs.song("Blue")->text("bandnummer"), QString("Reel 9"));
        QVERIFY(!media.remove("Reel 9"));
    }

    void missingDatabaseIsReportedNotCreated()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        QVERIFY(QFile::remove(tmp.folder().tapeDb()));
        MediaStore store(tmp.folder());
        QVERIFY(!store.databaseExists());
        QVERIFY(store.all().isEmpty());
        QVERIFY(store.treeEntries().isEmpty());
        QVERIFY(store.lastError().contains("tape.mdb"));
        QVERIFY(store.names().isEmpty());
        QCOMPARE(store.count(), 0);
        QVERIFY(!store.add(tape("Reel 1")));
        QVERIFY(!QFile::exists(tmp.folder().tapeDb()));
    }
};

QTEST_GUILESS_MAIN(TestMediaStore)
#include "tst_mediastore.moc"
