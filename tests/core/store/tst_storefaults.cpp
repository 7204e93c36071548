// Faults of the environment at the store level: a read-only file or folder, a
// full disk, a file locked by another connection, a damaged, truncated or
// missing file. Each must fail with a message that names the file and says
// what to do, and must leave everything stored before intact.

#include "songs/songstore.h"
#include "store/database.h"
#include "store/datainstaller.h"
#include "store/plainfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace quillon;

namespace {

// Makes a file or folder unwritable. root ignores permission bits, so there
// the immutable attribute stands in; undone when the guard goes.
class ReadOnly final {
public:
    explicit ReadOnly(const QString& path) : m_path(path)
    {
        if (::geteuid() == 0)
            m_ok = QProcess::execute("chattr", {"+i", m_path}) == 0;
        else
            m_ok = QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnly()
    {
        if (::geteuid() == 0)
            QProcess::execute("chattr", {"-i", m_path});
        else
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};

void corrupt(const QString& path, qint64 at, qint64 length)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(QByteArray(length, '\xA5'));
}

} // namespace

class TestStoreFaults final : public QObject {
    Q_OBJECT

private:
    // A song with a typed track, made before the fault; it must survive it.
    static void storeKept(const DataFolder& folder)
    {
        SongStore store(folder);
        QVERIFY(store.open());
        QVERIFY(store.create({"Kept", "w", "c", {}}));
        QVERIFY(store.writeTracks("Kept", 3, 1, {"kept vocal"}));
        QVERIFY(store.updateFields("Kept", {{"notiz1", "kept note"}}));
    }
    static void verifyKept(const DataFolder& folder)
    {
        SongStore store(folder);
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QCOMPARE(store.trackRow("Kept", 3).at(0), QString("kept vocal"));
        QCOMPARE(store.song("Kept")->text("notiz1"), QString("kept note"));
        QVERIFY(!store.song("Fresh"));
        for (int n = 1; n <= 10; ++n) {
            bool found = true;
            store.trackRow("Fresh", n, &found);
            QVERIFY2(!found, "a failed create left a track row behind");
        }
    }
    static void verifyMessage(const QString& message, const QString& file, const QString& advice)
    {
        QVERIFY2(message.contains('"' + file + '"'), qPrintable(message));
        QVERIFY2(message.contains(advice, Qt::CaseInsensitive), qPrintable(message));
    }

private Q_SLOTS:
    void readOnlyTrackFile()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        {
            ReadOnly guard(tmp.folder().trackDb(3));
            if (!guard.ok())
                QSKIP("cannot make a file read-only here");
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(!store.create({"Fresh", {}, {}, {}}));
            verifyMessage(store.lastError(), "trax3.mdb", "read-only");
            QVERIFY(!store.writeTracks("Kept", 3, 1, {"lost?"}));
            verifyMessage(store.lastError(), "trax3.mdb", "read-only");
        }
        verifyKept(tmp.folder());
    }

    void readOnlyDataFolder()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        {
            ReadOnly guard(tmp.folder().dir());
            if (!guard.ok())
                QSKIP("cannot make a folder read-only here");
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QCOMPARE(store.count(), 2); // reading still works
            QVERIFY(!store.create({"Fresh", {}, {}, {}}));
            verifyMessage(store.lastError(), "quillon.mdb", "read-only");
        }
        verifyKept(tmp.folder());
    }

    void fullDisk()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QSqlQuery q(store.database().handle());
            QVERIFY(q.exec("PRAGMA page_count") && q.next());
            const int pages = q.value(0).toInt();
            QVERIFY(q.exec(QString("PRAGMA max_page_count = %1").arg(pages)));
            const QString big(200'000, QChar('x'));
            QVERIFY(!store.updateFields("Kept", {{"lyrics", big}}));
            verifyMessage(store.lastError(), "quillon.mdb", "disk is full");
            QVERIFY(!store.create({"Fresh", big, {}, {}}));
            verifyMessage(store.lastError(), "quillon.mdb", "disk is full");
        }
        verifyKept(tmp.folder());
    }

    void lockedByAnotherProgram()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        // Another program writing: reading goes on, writing waits and then fails.
        Database other;
        QVERIFY(other.open(tmp.folder().songDb()));
        QVERIFY(other.exec("BEGIN IMMEDIATE"));
        QCOMPARE(store.count(), 2);
        QVERIFY(!store.create({"Fresh", {}, {}, {}}));
        verifyMessage(store.lastError(), "quillon.mdb", "in use by another program");
        // Holding the file exclusively keeps even readers out.
        QVERIFY(other.exec("INSERT INTO xtrax (songtitle) VALUES ('Other')"));
        QVERIFY(other.exec("PRAGMA locking_mode = EXCLUSIVE"));
        QVERIFY(other.exec("COMMIT"));
        QVERIFY(other.exec("BEGIN EXCLUSIVE"));
        QVERIFY(other.exec("UPDATE xtrax SET artist = 'x' WHERE songtitle = 'Other'"));
        SongStore second(tmp.folder());
        QVERIFY(!second.open());
        verifyMessage(second.lastError(), "quillon.mdb", "in use by another program");
        QVERIFY(other.exec("ROLLBACK"));
        other.close();
        verifyKept(tmp.folder());
        // Once the other program lets go, the same store works again.
        QVERIFY2(store.create({"After", {}, {}, {}}), qPrintable(store.lastError()));
    }

    void lockedTrackFileIsNamed()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        Database other;
        QVERIFY(other.open(tmp.folder().trackDb(5)));
        QVERIFY(other.exec("BEGIN EXCLUSIVE"));
        QVERIFY(!store.create({"Fresh", {}, {}, {}}));
        verifyMessage(store.lastError(), "trax5.mdb", "in use by another program");
        QVERIFY(other.exec("ROLLBACK"));
        other.close();
        verifyKept(tmp.folder());
    }

    void damagedTrackFile()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        const QString path = tmp.folder().trackDb(4);
        const qint64 size = QFileInfo(path).size();
        corrupt(path, 4096, size - 4096); // every page after the first
        SongStore store(tmp.folder());
        if (store.open()) {
            bool found = true;
            store.trackRow("Kept", 4, &found);
            QVERIFY(!found);
            QVERIFY(!store.create({"Fresh", {}, {}, {}}));
        }
        verifyMessage(store.lastError(), "trax4.mdb", "damaged");
        // The other files are untouched and still readable on their own.
        Database songs;
        QVERIFY(songs.open(tmp.folder().songDb()));
    }

    void damagedHeader()
    {
        test::TempDataFolder tmp;
        corrupt(tmp.folder().trackDb(2), 0, 100);
        SongStore store(tmp.folder());
        QVERIFY(!store.open());
        verifyMessage(store.lastError(), "trax2.mdb", "damaged");
    }

    void truncatedFile_data()
    {
        QTest::addColumn<qint64>("keep");
        QTest::newRow("empty") << qint64(0);
        QTest::newRow("half a page") << qint64(2000);
        QTest::newRow("first page") << qint64(4096);
    }
    void truncatedFile()
    {
        QFETCH(qint64, keep);
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        QVERIFY(QFile::resize(tmp.folder().trackDb(6), keep));
        SongStore store(tmp.folder());
        QVERIFY(!store.open() || !store.create({"Fresh", {}, {}, {}}));
        QVERIFY2(store.lastError().contains("\"trax6.mdb\""), qPrintable(store.lastError()));
        QVERIFY2(store.lastError().contains("backup"), qPrintable(store.lastError()));
    }

    // A table that lacks a column of the schema: the message names the file
    // and the database's own reason, not a stand-in from the driver.
    void missingColumnNamesTheCause_data()
    {
        QTest::addColumn<int>("slot"); // 0: the song table
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("file");
        QTest::newRow("song table") << 0 << "publisher"
                                    << "quillon.mdb";
        QTest::newRow("track table") << 8 << "track20"
                                     << "trax8.mdb";
    }
    void missingColumnNamesTheCause()
    {
        QFETCH(int, slot);
        QFETCH(QString, column);
        QFETCH(QString, file);
        test::TempDataFolder tmp;
        {
            Database db;
            QVERIFY(db.open(slot == 0 ? tmp.folder().songDb() : tmp.folder().trackDb(slot)));
            QVERIFY(db.exec(
                QString("ALTER TABLE %1 DROP COLUMN %2")
                    .arg(slot == 0 ? QString("xtrax") : QString("rd%1").arg(slot), column)));
        }
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(!store.create({"Fresh", {}, {}, {}}));
        const QString message = store.lastError();
        QVERIFY2(message.contains('"' + file + '"'), qPrintable(message));
        QVERIFY2(message.contains(column), qPrintable(message));
        QVERIFY2(!message.contains("Driver not loaded"), qPrintable(message));
        QVERIFY2(message.contains("quillon-check"), qPrintable(message));
        // A second attempt says the same (the statement is not cached broken).
        QVERIFY(!store.create({"Fresh", {}, {}, {}}));
        QCOMPARE(store.lastError(), message);
    }

    // A pipe, device, folder or link where a data file belongs: refused
    // before anything opens it (a pipe would block the start for ever), and
    // no file is created through a dangling link.
    void entryThatIsNotAPlainFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("song database pipe") << "quillon.mdb"
                                            << "pipe";
        QTest::newRow("track file pipe") << "trax2.mdb"
                                         << "pipe";
        QTest::newRow("song database device") << "quillon.mdb"
                                              << "device";
        QTest::newRow("track file folder") << "trax9.mdb"
                                           << "folder";
        QTest::newRow("song database link") << "quillon.mdb"
                                            << "link";
        QTest::newRow("track file dangling link") << "trax1.mdb"
                                                  << "dangling";
    }
    void entryThatIsNotAPlainFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        test::TempDataFolder tmp;
        const QString path = tmp.folder().dir() + '/' + name;
        const QString elsewhere = tmp.path() + "/elsewhere.mdb";
        QVERIFY(QFile::rename(path, elsewhere));
        if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "device")
            QVERIFY(QFile::link("/dev/zero", path)); // replaced below by the device itself
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(
                QFile::link(kind == "dangling" ? tmp.path() + "/nowhere.mdb" : elsewhere, path));
        if (kind == "device" && ::geteuid() == 0) {
            QVERIFY(QFile::remove(path));
            QCOMPARE(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 5)),
                     0);
        }
        SongStore store(tmp.folder());
        QVERIFY(!store.open());
        verifyMessage(store.lastError(), name, "plain file");
        Database db;
        QVERIFY(!db.open(path));
        QVERIFY(!db.create(path));
        // The installer reports the entry and leaves it where it is.
        const InstallReport installed = ensureDataFolder(tmp.folder());
        QVERIFY(installed.created.isEmpty());
        QCOMPARE(installed.problems.size(), 1);
        QVERIFY2(installed.problems.first().contains('"' + name + '"'),
                 qPrintable(installed.problems.first()));
        QVERIFY(entryType(path) != EntryType::Missing && entryType(path) != EntryType::Regular);
        QVERIFY(!QFileInfo::exists(tmp.path() + "/nowhere.mdb"));
    }

    void missingFile()
    {
        test::TempDataFolder tmp;
        storeKept(tmp.folder());
        QVERIFY(QFile::remove(tmp.folder().trackDb(7)));
        SongStore store(tmp.folder());
        QVERIFY(!store.open());
        verifyMessage(store.lastError(), "trax7.mdb", "missing");
        QVERIFY(QFileInfo::exists(tmp.folder().songDb()));
    }
};

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
