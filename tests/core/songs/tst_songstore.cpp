#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QSqlQuery>
#include <QTest>

using namespace quillon;

class TestSongStore final : public QObject {
    Q_OBJECT

private:
    // Rows with this title in every one of the eleven tables, read with a
    // connection of its own so nothing the store caches can hide a fault.
    static QList<int> rowsPerTable(const DataFolder& folder, const QString& title)
    {
        QList<int> counts;
        Database db;
        if (!db.open(folder.songDb()))
            return counts;
        QSqlQuery q = db.prepare("SELECT count(*) FROM xtrax WHERE songtitle = ?");
        q.addBindValue(title);
        q.exec();
        q.next();
        counts << q.value(0).toInt();
        for (int n = 1; n <= 10; ++n) {
            Database t;
            t.open(folder.trackDb(n));
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
        QCOMPARE(song->text("SMPTEZeit"), QString("00:00:00:00 "));
        QVERIFY(song->isNull("artist"));
        QCOMPARE(song->text("firstdate"), QDate::currentDate().toString(Qt::ISODate));
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
            QVERIFY(t.open(tmp.folder().trackDb(4)));
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
