#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QSqlQuery>
#include <QTest>

using namespace quillon;

// The title key table that serves the uniqueness check: it must always list
// exactly the keys of the songs, whoever wrote the song table before.
class TestSongKey final : public QObject {
    Q_OBJECT

private:
    // The key table's contents, read with a connection of its own.
    static QMultiMap<QString, QString> keyRows(const DataFolder& folder)
    {
        QMultiMap<QString, QString> rows;
        Database db;
        if (!db.open(folder.songDb()))
            return rows;
        QSqlQuery q = db.prepare("SELECT key, songtitle FROM songkey");
        if (q.exec())
            while (q.next())
                rows.insert(q.value(0).toString(), q.value(1).toString());
        return rows;
    }
    // What the key table must hold: one key per song row.
    static QMultiMap<QString, QString> expectedRows(const DataFolder& folder)
    {
        QMultiMap<QString, QString> rows;
        Database db;
        if (!db.open(folder.songDb()))
            return rows;
        QSqlQuery q = db.prepare("SELECT songtitle FROM xtrax");
        if (q.exec())
            while (q.next())
                rows.insert(SongStore::titleKey(q.value(0).toString()), q.value(0).toString());
        return rows;
    }
    static bool hasKeyTable(const DataFolder& folder)
    {
        Database db;
        db.open(folder.songDb());
        QSqlQuery q = db.prepare("SELECT count(*) FROM sqlite_master WHERE name = 'songkey'");
        return q.exec() && q.next() && q.value(0).toInt() == 1;
    }

private Q_SLOTS:
    // Opening writes nothing and counts nothing (it is part of every start);
    // the first check or write builds the table.
    void folderWithoutKeysGetsThemOnFirstUse()
    {
        test::TempDataFolder tmp;
        QVERIFY(!hasKeyTable(tmp.folder()));
        SongStore store(tmp.folder());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QVERIFY(!hasKeyTable(tmp.folder()));
        QVERIFY(store.titleExists(" ©quillon is SIMPLY the best"));
        QVERIFY(hasKeyTable(tmp.folder()));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QCOMPARE(keyRows(tmp.folder()).size(), 1);

        // A first write builds it too, before its own transaction.
        test::TempDataFolder other;
        SongStore writer(other.folder());
        QVERIFY(writer.open());
        QVERIFY(writer.create({"First Write", {}, {}, {}}));
        QCOMPARE(keyRows(other.folder()), expectedRows(other.folder()));
        QCOMPARE(keyRows(other.folder()).size(), 2);
    }

    void createRenameDeleteKeepKeysInStep()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Blue", {}, {}, {}}));
        QVERIFY(store.create({"Straße", {}, {}, {}}));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QVERIFY(store.rename("Blue", "Grün", {{"artist", "X"}}));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QVERIFY(!store.titleExists("blue"));
        QVERIFY(store.titleExists("  GRÜN "));
        QVERIFY(store.updateFields("Grün", {{"notiz1", "n"}}));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QVERIFY(store.remove("Grün"));
        QVERIFY(!store.titleExists("grün"));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QCOMPARE(keyRows(tmp.folder()).size(), 2);
    }

    void failedWriteLeavesKeysAlone_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::newRow("song") << "song";
        QTest::newRow("track") << "track3";
        QTest::newRow("commit") << "commit";
    }
    void failedWriteLeavesKeysAlone()
    {
        QFETCH(QString, stage);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Keep", {}, {}, {}}));
        const auto before = keyRows(tmp.folder());
        store.setFaultInjector([&](const QString& s) { return s == stage; });
        QVERIFY(!store.create({"Half", {}, {}, {}}));
        QVERIFY(!store.rename("Keep", "Moved"));
        QVERIFY(!store.remove("Keep"));
        store.setFaultInjector({});
        QCOMPARE(keyRows(tmp.folder()), before);
        QVERIFY(!store.titleExists("half"));
        QVERIFY(!store.titleExists("moved"));
        QVERIFY(store.titleExists("KEEP"));
    }

    void songsWrittenElsewhereAreFoundAfterReopen()
    {
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"First", {}, {}, {}}));
        }
        {
            // Another program adds a song without knowing the key table.
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            QVERIFY(db.exec("INSERT INTO xtrax (songtitle) VALUES (?)", {"Ölfeld Blues"}));
        }
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.titleExists("ÖLFELD BLUES  "));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
    }

    void caseAndBlankVariantsAreFound_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<bool>("exists");
        QTest::newRow("exact") << "Mädchen Blues" << true;
        QTest::newRow("capitals") << "MÄDCHEN BLUES" << true;
        QTest::newRow("lower") << "mädchen blues" << true;
        QTest::newRow("blanks") << "\t Mädchen Blues  " << true;
        QTest::newRow("inner blank differs") << "Mädchen  Blues" << false;
        QTest::newRow("prefix") << "Mädchen" << false;
        QTest::newRow("apostrophe") << "don't STOP" << true;
        QTest::newRow("wildcard") << "%" << false;
    }
    void caseAndBlankVariantsAreFound()
    {
        QFETCH(QString, candidate);
        QFETCH(bool, exists);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Mädchen Blues", {}, {}, {}}));
        QVERIFY(store.create({"Don't Stop", {}, {}, {}}));
        QCOMPARE(store.titleExists(candidate), exists);
        // Keeping its own title is no collision, whatever the case it is typed in.
        if (SongStore::titleKey(candidate) == SongStore::titleKey("Mädchen Blues"))
            QVERIFY(!store.titleExists(candidate, "Mädchen Blues"));
    }

    void lookupUsesTheIndex()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(!store.titleExists("X"));
        Database db;
        QVERIFY(db.open(tmp.folder().songDb()));
        QSqlQuery q = db.prepare("EXPLAIN QUERY PLAN SELECT 1 FROM songkey WHERE key = ?");
        q.addBindValue("X");
        QVERIFY(q.exec());
        QString plan;
        while (q.next())
            plan += q.value(3).toString();
        QVERIFY2(plan.contains("PRIMARY KEY") && !plan.contains("SCAN"), qPrintable(plan));
    }

    void titlesKeepTableOrderWithOrWithoutTheIndex()
    {
        test::TempDataFolder tmp;
        const QStringList expected{"©QUILLON is simply the best", "Zebra", "Apple", "Mango"};
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            for (const QString& t : expected.mid(1))
                QVERIFY(store.create({t, {}, {}, {}}));
            QVERIFY(store.rename("Apple", "Apple"));
            QCOMPARE(store.titles(), expected);
        }
        {
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            QVERIFY(db.exec("DROP INDEX xtrax_songtitle"));
        }
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QCOMPARE(store.titles(), expected);
        QCOMPARE(store.titles(), expected);
        QVERIFY(store.titleExists("zebra"));
    }

    // A repair that renames a duplicate ("BLUE" beside "blue") keeps the key
    // table in step: the repaired title is taken in every letter case, for a
    // new song and for a rename alike.
    void repairedDuplicateTitleIsTakenInEveryCase()
    {
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"blue", {}, {}, {}}));
            QVERIFY(store.create({"Other", {}, {}, {}}));
            QVERIFY(store.titleExists("BLUE"));
        }
        {
            // Another program adds the second "BLUE" with its rows; a store
            // then builds the keys, which hold it beside "blue".
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            QVERIFY(db.exec("INSERT INTO xtrax (songtitle) VALUES ('BLUE')"));
            for (int n = 1; n <= 10; ++n) {
                Database t;
                QVERIFY(t.open(tmp.folder().trackDb(n)));
                QVERIFY(t.exec(QString("INSERT INTO rd%1 (songtitle) VALUES ('BLUE')").arg(n)));
            }
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.titleExists("Blue"));
        }
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QVERIFY(IntegrityCheck(tmp.folder()).quick().clean());
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));

        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.song("BLUE (2)"));
        for (const QString& candidate : {"BLUE (2)", "blue (2)", "Blue (2)", " bLuE (2) "}) {
            QVERIFY2(store.titleExists(candidate), qPrintable(candidate));          // new song
            QVERIFY2(store.titleExists(candidate, "Other"), qPrintable(candidate)); // rename
            QVERIFY2(store.titleExists(candidate, "blue"), qPrintable(candidate));
        }
    }

    // Writes that bypass the store and leave the number of songs as it was
    // are still seen when a store next opens.
    void titlesChangedAroundTheStoreAreSeen_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("nowTaken");
        QTest::addColumn<QString>("nowFree");
        QTest::newRow("renamed") << "UPDATE xtrax SET songtitle = 'Green' WHERE songtitle = 'Blue'"
                                 << "GREEN"
                                 << "blue";
        QTest::newRow("renamed in case")
            << "UPDATE xtrax SET songtitle = 'Grün' WHERE songtitle = 'Blue'"
            << "grün"
            << "BLUE";
        QTest::newRow("deleted and added") << "DELETE FROM xtrax WHERE songtitle = 'Blue'; "
                                              "INSERT INTO xtrax (songtitle) VALUES ('Red')"
                                           << "red"
                                           << "blue";
        QTest::newRow("key table edited") << "UPDATE songkey SET key = 'X' WHERE key = 'BLUE'"
                                          << "blue"
                                          << "x";
    }
    void titlesChangedAroundTheStoreAreSeen()
    {
        QFETCH(QString, statement);
        QFETCH(QString, nowTaken);
        QFETCH(QString, nowFree);
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"Blue", {}, {}, {}}));
            QVERIFY(store.titleExists("blue"));
        }
        {
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            for (const QString& part : statement.split("; "))
                QVERIFY2(db.exec(part), qPrintable(db.lastError()));
        }
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.titleExists(nowTaken));
        QVERIFY(!store.titleExists(nowFree));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
    }

    // Another program retitles a song while the store is open; the store's
    // next own write must not mark the keys as in step again.
    void changeBetweenOwnWritesIsNotHidden()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Blue", {}, {}, {}}));
        {
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            QVERIFY(db.exec("UPDATE xtrax SET songtitle = 'Green' WHERE songtitle = 'Blue'"));
        }
        QVERIFY(store.create({"Red", {}, {}, {}}));
        SongStore other(tmp.folder());
        QVERIFY(other.open());
        QVERIFY(other.titleExists("GREEN"));
        QVERIFY(!other.titleExists("blue"));
        QVERIFY(store.titleExists("green"));
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
    }

    void reopenKeepsKeysWithoutDuplicates()
    {
        test::TempDataFolder tmp;
        for (int round = 0; round < 3; ++round) {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({QString("Song %1").arg(round), {}, {}, {}}));
        }
        QCOMPARE(keyRows(tmp.folder()), expectedRows(tmp.folder()));
        QCOMPARE(keyRows(tmp.folder()).size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestSongKey)
#include "tst_songkey.moc"
