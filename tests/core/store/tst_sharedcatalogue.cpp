#include "songs/songstore.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QSignalSpy>
#include <QTest>

using namespace quillon;

// Several rooms on one catalogue: two stores stand for two rooms. The cases
// that need no server run on the data folder too.
class TestSharedCatalogue final : public QObject {
    Q_OBJECT

private:
    static bool runsOnServer() { return test::TempDataFolder::serverEngine(); }

    static void asAdmin(const DataFolder& folder, const QString& sql)
    {
        Database db;
        QVERIFY2(db.openServer(folder.server()), qPrintable(db.lastError()));
        QVERIFY2(db.exec(sql), qPrintable(db.lastError()));
    }

private Q_SLOTS:
    void staleWritesAreRefused_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("track changed") << "track";
        QTest::newRow("field changed") << "field";
        QTest::newRow("song deleted") << "deleted";
    }

    void staleWritesAreRefused()
    {
        QFETCH(QString, what);
        test::TempDataFolder tmp;
        SongStore here(tmp.folder());
        SongStore there(tmp.folder());
        QVERIFY2(here.open() && there.open(), qPrintable(here.lastError()));
        QVERIFY(here.create({"Blue", {}, {}, {}}));
        const QStringList shown = here.trackRow("Blue", 3).mid(0, 4);
        const QString shownArtist = here.song("Blue")->text("artist");

        if (what == "track")
            QVERIFY(there.writeTracks("Blue", 3, 2, {"there"}));
        else if (what == "field")
            QVERIFY(there.updateFields("Blue", {{"artist", "The Others"}}));
        else
            QVERIFY(there.remove("Blue"));

        const bool trackWrite = here.writeTracks("Blue", 3, 1, {"a", "here", "c", "d"}, shown);
        const bool fieldWrite =
            here.updateFields("Blue", {{"artist", "Us"}}, {{"artist", shownArtist}});
        // Only what the other room changed blocks a write; other fields pass.
        QCOMPARE(fieldWrite, what == "track");
        QCOMPARE(here.changedElsewhere(), what != "track");
        if (what == "track") {
            QVERIFY(!trackWrite);
            QCOMPARE(here.trackRow("Blue", 3).at(1), QString("there"));
            QCOMPARE(here.trackRow("Blue", 3).at(0), shown.at(0));
            QVERIFY2(here.lastError().contains("another room"), qPrintable(here.lastError()));
        }
        if (what == "field")
            QCOMPARE(here.song("Blue")->text("artist"), QString("The Others"));
        if (what == "deleted")
            QVERIFY(!here.song("Blue"));
        // A write based on what is stored now goes through.
        if (what != "deleted") {
            const QStringList now = here.trackRow("Blue", 3).mid(0, 4);
            QVERIFY(here.writeTracks("Blue", 3, 1, {"a", "here", "c", "d"}, now));
            QVERIFY(!here.changedElsewhere());
            QCOMPARE(there.trackRow("Blue", 3).at(1), QString("here"));
        }
    }

    void aTitleGoesToOneRoomOnly()
    {
        test::TempDataFolder tmp;
        SongStore here(tmp.folder());
        SongStore there(tmp.folder());
        QVERIFY2(here.open() && there.open(), qPrintable(here.lastError()));
        // Both checked the title before either created it.
        QVERIFY(!here.titleExists("Night Drive") && !there.titleExists("Night Drive"));
        QVERIFY(there.create({"Night Drive", {}, {}, {}}));
        QVERIFY(!here.create({"Night Drive", {}, {}, {}}));
        QVERIFY(here.titleTaken());
        // On a server the key alone is unique: another spelling is the same title.
        if (runsOnServer()) {
            QVERIFY(!here.create({"NIGHT DRIVE ", {}, {}, {}}));
            QVERIFY(here.titleTaken());
        }
        QCOMPARE(here.count(), there.count());
        QVERIFY(here.create({"Day Drive", {}, {}, {}}));
        QVERIFY(!here.titleTaken());
    }

    void changesOfOtherRoomsAreHeard()
    {
        if (!runsOnServer())
            QSKIP("a data folder has no other rooms");
        test::TempDataFolder tmp;
        CatalogueEvents events;
        QVERIFY(events.listen(tmp.folder().server()));
        QSignalSpy heard(&events, &CatalogueEvents::changed);
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        const QString own = CatalogueEvents::clientId();
        QVERIFY(store.create({"Mine", {}, {}, {}})); // our own: not heard
        CatalogueEvents::setClientId("another room");
        QVERIFY(store.create({"Theirs", {}, {}, {}}));
        QVERIFY(store.writeTracks("Theirs", 2, 5, {"vocal"}));
        QVERIFY(store.rename("Theirs", "Their's \"new\""));
        // A write that fails announces nothing.
        store.setFaultInjector([](const QString& stage) { return stage == "commit"; });
        QVERIFY(!store.remove("Mine"));
        CatalogueEvents::setClientId(own);
        QTRY_COMPARE(heard.size(), 3);
        QCOMPARE(heard.at(0), (QVariantList{CatalogueEvents::kSongs, "Theirs"}));
        QCOMPARE(heard.at(1), (QVariantList{CatalogueEvents::kSong, "Theirs"}));
        QCOMPARE(heard.at(2), (QVariantList{CatalogueEvents::kSongs, "Theirs\tTheir's \"new\""}));
    }

    void aLoginWithOnlyRowRightsDoesEverything()
    {
        if (!runsOnServer())
            QSKIP("rights are the server's");
        test::TempDataFolder tmp;
        asAdmin(tmp.folder(), "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA "
                              "public TO quillon_pw");
        asAdmin(tmp.folder(), "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO quillon_pw");
        const ServerAddress admin = tmp.folder().server();
        DataFolder app = tmp.folder();
        app.setServer(ServerAddress::parse(QString("postgresql://quillon_pw@%1:%2/%3")
                                               .arg(admin.host())
                                               .arg(admin.port())
                                               .arg(admin.databaseName())));
        qputenv("PGPASSWORD", "quillon-pw");
        SongStore store(app);
        const bool opened = store.open();
        qunsetenv("PGPASSWORD");
        QVERIFY2(opened, qPrintable(store.lastError()));
        QVERIFY2(store.create({"Least", {}, {}, {}}), qPrintable(store.lastError()));
        QVERIFY(store.writeTracks("Least", 10, 96, {"last"}));
        QVERIFY(store.rename("Least", "Most", {{"artist", "me"}}));
        QVERIFY(store.remove("Most"));
    }

    void aLostConnectionIsReportedAndTheNextActionReconnects()
    {
        if (!runsOnServer())
            QSKIP("a file does not go away like a server");
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Before", {}, {}, {}}));
        asAdmin(tmp.folder(), "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                              "datname = current_database() AND pid <> pg_backend_pid()");
        QVERIFY(!store.create({"During", {}, {}, {}}));
        QVERIFY2(store.lastError().contains(tmp.folder().server().describe()),
                 qPrintable(store.lastError()));
        QVERIFY(store.database().connectionLost());
        QVERIFY2(store.create({"During", {}, {}, {}}), qPrintable(store.lastError()));
        for (int slot = 1; slot <= 10; ++slot) {
            bool found = false;
            store.trackRow("During", slot, &found);
            QVERIFY(found);
        }
        QCOMPARE(store.count(), 3);
    }
};

QTEST_GUILESS_MAIN(TestSharedCatalogue)
#include "tst_sharedcatalogue.moc"
