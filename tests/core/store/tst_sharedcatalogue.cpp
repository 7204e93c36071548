#include "devices/deviceregister.h"
#include "media/mediastore.h"
#include "notebook/notebookstore.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "store/catalogueevents.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QHash>
#include <QProcess>
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
        if (what == "deleted") {
            // Nothing typed for a deleted song becomes a track row without its song.
            QVERIFY(!trackWrite);
            QVERIFY2(here.lastError().contains("deleted or renamed"), qPrintable(here.lastError()));
            bool found = true;
            here.trackRow("Blue", 3, &found);
            QVERIFY(!found);
            QVERIFY(!here.song("Blue"));
        }
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
        // The media, devices, notebook and styles alike.
        QVERIFY(MediaStore(tmp.folder()).add(Medium{"Reel 1"}));
        DeviceRegister devices(tmp.folder());
        const QString device = devices.findSlot(1)->name;
        QVERIFY(devices.updateSlot(1, *devices.findSlot(1)));
        QVERIFY(NotebookStore(tmp.folder()).write("note"));
        QVERIFY(StyleList(tmp.folder()).writeNumber(0));
        // A write that fails announces nothing.
        store.setFaultInjector([](const QString& stage) { return stage == "commit"; });
        QVERIFY(!store.remove("Mine"));
        CatalogueEvents::setClientId(own);
        QTRY_COMPARE(heard.size(), 7);
        QCOMPARE(heard.at(0), (QVariantList{CatalogueEvents::kSongs, "Theirs"}));
        QCOMPARE(heard.at(1), (QVariantList{CatalogueEvents::kSong, "Theirs"}));
        QCOMPARE(heard.at(2), (QVariantList{CatalogueEvents::kSongs, "Theirs\tTheir's \"new\""}));
        QCOMPARE(heard.at(3), (QVariantList{CatalogueEvents::kMedia, "Reel 1"}));
        QCOMPARE(heard.at(4), (QVariantList{CatalogueEvents::kDevices, device}));
        QCOMPARE(heard.at(5), (QVariantList{CatalogueEvents::kNotebook, QString()}));
        QCOMPARE(heard.at(6), (QVariantList{CatalogueEvents::kStyles, "stnum"}));
    }

    // Two programs edit the same cells (tracks and a field of songs, a field
    // of media and of devices) at once, each write based on what it has just
    // read. Every acknowledged write of a cell must follow the one before it:
    // the writes form one chain from the first value to the stored one. Two
    // acknowledged writes based on the same value would mean one of them was
    // overwritten unseen. Song titles and media names they add from a shared
    // pool are each added once.
    void twoRoomsEditTheSameSongsAtOnce()
    {
        if (!runsOnServer())
            QSKIP("rooms share a catalogue on a server");
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        MediaStore media(tmp.folder());
        DeviceRegister devices(tmp.folder());
        QVERIFY(store.open());
        QHash<QString, QString> first; // cell -> its value before the rooms start
        for (int i = 0; i < 5; ++i) {
            const QString song = QString("Shared %1").arg(i);
            QVERIFY(store.create({song, {}, {}, {}}));
            first.insert("F\t" + song, {});
            for (int slot = 1; slot <= 2; ++slot)
                for (int track = 1; track <= 3; ++track)
                    first.insert(QString("T\t%1\t%2\t%3").arg(song).arg(slot).arg(track), {});
        }
        for (int i = 0; i < 3; ++i) {
            Medium shared;
            shared.name = QString("Shared medium %1").arg(i);
            QVERIFY(media.add(shared));
            first.insert("M\t" + shared.name, {});
            first.insert(QString("D\t%1").arg(i + 1), {});
        }
        auto current = [&](const QString& cell) {
            const QStringList p = cell.split('\t');
            if (p.at(0) == "M")
                return media.find(p.at(1))->brand;
            if (p.at(0) == "D")
                return devices.findSlot(p.at(1).toInt())->seller;
            return p.at(0) == "F"
                       ? store.song(p.at(1))->text("artist")
                       : store.trackRow(p.at(1), p.at(2).toInt()).value(p.at(3).toInt() - 1);
        };
        for (auto it = first.begin(); it != first.end(); ++it)
            it.value() = current(it.key());
        const QString child = QStringLiteral(QUILLON_BIN_DIR) + "/quillon-roomchild";
        QProcess rooms[2];
        // Only a failure other than a conflict may reach stderr.
        QProcessEnvironment quiet = QProcessEnvironment::systemEnvironment();
        quiet.insert("QT_LOGGING_RULES", "quillon.*=false");
        for (int r = 0; r < 2; ++r)
            rooms[r].setProcessEnvironment(quiet);
        for (int r = 0; r < 2; ++r)
            rooms[r].start(child, {tmp.folder().server().connectionUri(), QString("room%1").arg(r),
                                   "1000", QString::number(17 + r)});
        QHash<QString, QHash<QString, QString>> next; // cell -> as read -> written
        QHash<QString, int> acknowledged;
        QHash<QString, int> created; // "N title" or "K medium name" -> times added
        int conflicts = 0;
        for (QProcess& room : rooms) {
            QVERIFY(room.waitForFinished(240'000));
            QCOMPARE(room.exitCode(), 0);
            QCOMPARE(room.readAllStandardError(), QByteArray());
            for (const QString& line :
                 QString::fromUtf8(room.readAllStandardOutput()).split('\n')) {
                QStringList p = line.split('\t');
                if (p.first() == "N" || p.first() == "K") {
                    created[p.at(0) + '\t' + p.at(1)] += p.at(2) == "A";
                    continue;
                }
                if (p.size() < 4)
                    continue;
                const QString outcome = p.takeLast(), written = p.takeLast(), asRead = p.takeLast();
                const QString cell = p.join('\t');
                if (outcome != "A") {
                    ++conflicts;
                    continue;
                }
                QVERIFY2(!next[cell].contains(asRead),
                         qPrintable("lost update on " + cell + " after " + asRead));
                next[cell].insert(asRead, written);
                ++acknowledged[cell];
            }
        }
        for (auto it = first.begin(); it != first.end(); ++it) {
            QString value = it.value();
            int steps = 0;
            while (next[it.key()].contains(value) && steps <= 2000) {
                value = next[it.key()].value(value);
                ++steps;
            }
            QCOMPARE(steps, acknowledged.value(it.key()));
            QCOMPARE(current(it.key()), value);
        }
        QVERIFY2(conflicts > 0, "the rooms never met: nothing was tested");
        const QStringList titles = store.titles();
        const QStringList mediaNames = media.names();
        for (auto it = created.begin(); it != created.end(); ++it) {
            QVERIFY2(it.value() <= 1, qPrintable(it.key() + " added twice"));
            const QStringList p = it.key().split('\t');
            QCOMPARE((p.at(0) == "N" ? titles : mediaNames).count(p.at(1)), it.value());
        }
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
        // Media and the notebook lock their table while they write.
        qputenv("PGPASSWORD", "quillon-pw");
        MediaStore media(app);
        NotebookStore notebook(app);
        const bool added = media.add(Medium{"Least"}), noted = notebook.write("least", "");
        qunsetenv("PGPASSWORD");
        QVERIFY2(added, qPrintable(media.lastError()));
        QVERIFY2(noted, qPrintable(notebook.lastError()));
    }

    void keptStatementsCarryValuesUnchanged_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("quotes and a question mark")
            << "text" << QVariant(QString("it's \"x\"? ; DROP TABLE xtrax; --"));
        QTest::newRow("null") << "text" << QVariant();
        QTest::newRow("null text") << "text" << QVariant(QString());
        QTest::newRow("large integer") << "bigint" << QVariant(qint64(9007199254740993));
        QTest::newRow("fraction") << "double precision" << QVariant(0.1);
    }

    // The same on both engines; on a server the values travel apart from
    // the statement, and a ? in quoted text or a quoted name is no value.
    void keptStatementsCarryValuesUnchanged()
    {
        QFETCH(QString, type);
        QFETCH(QVariant, value);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        auto& q = store.database().kept(
            QString("SELECT CAST(? AS %1) AS \"value?\", '?' AS mark, ? AS again").arg(type));
        for (int run = 0; run < 2; ++run) {
            q.bindValue(0, value);
            q.bindValue(1, run);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).isNull(), value.isNull() || value.toString().isNull());
            QCOMPARE(q.value(0).toString(), value.toString());
            QCOMPARE(q.record().value("mark").toString(), "?");
            QCOMPARE(q.value(2).toInt(), run);
            QVERIFY(!q.next());
            q.finish();
        }
    }

    void aFailingKeptStatementIsReportedAndALostConnectionNoticed()
    {
        if (!runsOnServer())
            QSKIP("a file does not go away like a server");
        test::TempDataFolder tmp;
        Database db;
        QVERIFY2(db.openServer(tmp.folder().server()), qPrintable(db.lastError()));
        const QString sql = "SELECT 1 / CAST(? AS integer)";
        QVERIFY(db.transaction());
        QVERIFY(!db.execKept(sql, {0}));
        QVERIFY2(db.lastError().contains("division by zero"), qPrintable(db.lastError()));
        QVERIFY(!db.connectionLost());
        db.rollback();
        QVERIFY2(db.execKept(sql, {1}), qPrintable(db.lastError()));
        asAdmin(tmp.folder(), "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                              "datname = current_database() AND pid <> pg_backend_pid()");
        QVERIFY(!db.execKept(sql, {1}));
        QVERIFY2(db.connectionLost(), qPrintable(db.lastError()));
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
