#include "maintenance/backup.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/songconstants.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;

class TestBackup final : public QObject {
    Q_OBJECT

private:
    // A folder outside the data folder with a file in it, and the names the
    // program writes into its backups, all of which must survive.
    static void fillVictim(const QString& dir)
    {
        QVERIFY(QDir().mkpath(dir));
        for (const QString& name :
             {"precious.txt", "quillon.mdb", "stnum.dat", ".quillon-backup"}) {
            QFile f(dir + '/' + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep me");
        }
    }
    static QStringList victimFiles(const QString& dir)
    {
        QStringList files;
        for (const QString& name :
             QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
            QFile f(dir + '/' + name);
            files << name + '=' + (f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
        }
        return files;
    }
    static mode_t modeOf(const QString& path)
    {
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 0777;
    }
    static void spoilSongDatabase(const DataFolder& folder)
    {
        QFile bad(folder.songDb());
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write(QByteArray(8192, 'x'));
    }

private Q_SLOTS:
    void dailyCopiesEveryFileOnce()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer()) {
            Database db;
            QVERIFY(tmp.folder().openCatalogue(db, {}));
            QVERIFY(db.exec("INSERT INTO stnum (number) VALUES ('0')"));
        } else {
            QFile stnum(tmp.folder().stnumDat());
            QVERIFY(stnum.open(QIODevice::WriteOnly));
            stnum.write(" 0 \r\n");
        }
        Backup backup(tmp.folder());
        const BackupResult first = backup.daily(QDate(2026, 5, 1));
        QVERIFY2(first.ok(), qPrintable(first.message()));
        QVERIFY(!first.skipped);
        QCOMPARE(first.folder, tmp.folder().backupDir() + "/2026-05-01");
        QCOMPARE(first.copied.size(), tmp.folder().databaseFiles().size() + 1);
        // The copy is a database of its own with the same songs.
        const DataFolder copy(first.folder);
        SongStore store(copy);
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QCOMPARE(store.titles(), QStringList{kTrainingSong});
        QVERIFY(QFile::exists(copy.stnumDat()));

        const BackupResult second = backup.daily(QDate(2026, 5, 1));
        QVERIFY(second.skipped);
        QVERIFY(second.ok());
    }

    void copyIsConsistentWhileAnotherConnectionWrites()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Before", {}, {}, {}}));
        // An open, uncommitted write on the song database must not reach the copy.
        QVERIFY(store.database().exec("BEGIN"));
        QVERIFY(store.database().exec("INSERT INTO xtrax (songtitle) VALUES ('Uncommitted')"));
        const QString target = tmp.path() + "/copy.mdb";
        QString error;
        QVERIFY2(Backup::copyDatabase(tmp.folder().songDb(), target, &error), qPrintable(error));
        store.database().rollback();
        Database copy;
        QVERIFY(copy.open(target));
        QSqlQuery q = copy.prepare("SELECT songtitle FROM xtrax ORDER BY rowid");
        QVERIFY(q.exec());
        QStringList titles;
        while (q.next())
            titles << q.value(0).toString();
        QCOMPARE(titles, QStringList({kTrainingSong, "Before"}));
    }

    void copyAfterACrashHoldsTheLastCommittedState()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.writeTracks(kTrainingSong, 1, 1, {"committed"}));
        }
        const QByteArray path = QFile::encodeName(tmp.folder().trackDb(1));
        // A process that dies in the middle of a large write leaves changed
        // pages in the file and a hot journal beside it.
        const pid_t pid = ::fork();
        if (pid == 0) {
            sqlite3* db = nullptr;
            sqlite3_open(path.constData(), &db);
            sqlite3_exec(db,
                         "PRAGMA cache_size = 1; BEGIN; "
                         "UPDATE rd1 SET track1 = 'uncommitted', track2 = zeroblob(100000);"
                         "INSERT INTO rd1 (songtitle, track3) SELECT 'x', zeroblob(200000);",
                         nullptr, nullptr, nullptr);
            ::_exit(0);
        }
        QVERIFY(pid > 0);
        int status = 0;
        ::waitpid(pid, &status, 0);
        QVERIFY(QFileInfo::exists(tmp.folder().trackDb(1) + "-journal"));
        const QString target = tmp.path() + "/copy.mdb";
        QString error;
        QVERIFY2(Backup::copyDatabase(tmp.folder().trackDb(1), target, &error), qPrintable(error));
        Database copy;
        QVERIFY(copy.open(target));
        QSqlQuery q = copy.prepare("SELECT track1 FROM rd1");
        QVERIFY(q.exec());
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("committed"));
        QVERIFY(!q.next());
    }

    // Folders the program did not make are never counted or pruned, even
    // when their names look like dates.
    // Whichever engine holds the catalogue, a write not yet committed by
    // another client is not in the backup.
    void dailyHoldsOnlyCommittedRows()
    {
        test::TempDataFolder tmp;
        Database writer;
        QVERIFY(tmp.folder().openCatalogue(writer, tmp.folder().songDb()));
        QVERIFY(writer.transaction());
        QVERIFY(writer.exec("INSERT INTO xtrax (songtitle) VALUES ('Uncommitted')"));
        const BackupResult result = Backup(tmp.folder()).daily(QDate(2026, 4, 4));
        writer.rollback();
        QVERIFY2(result.complete, qPrintable(result.message()));
        SongStore copy{DataFolder(result.folder)};
        QVERIFY2(copy.open(), qPrintable(copy.lastError()));
        QCOMPARE(copy.titles(), QStringList{kTrainingSong});
    }

    // A server backup is whole or not made: nothing unfinished is left.
    void serverWithoutACatalogueLeavesNoBackup()
    {
        if (!test::TempDataFolder::serverEngine())
            QSKIP("a catalogue on a server only");
        test::TempDataFolder tmp;
        DataFolder empty = tmp.folder();
        empty.setServer(test::TempDataFolder::createServerDatabase());
        const BackupResult result = Backup(empty).daily(QDate(2026, 4, 5));
        test::TempDataFolder::dropServerDatabase(empty.server());
        QVERIFY(!result.ok() && !result.complete);
        QVERIFY(result.message().contains("no Quillon catalogue"));
        QVERIFY(Backup(empty).backups().isEmpty());
        QVERIFY(QDir(tmp.folder().backupDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    }

    void keepsTheLastFourteen()
    {
        test::TempDataFolder tmp;
        fillVictim(tmp.folder().backupDir() + "/2000-01-01");
        fillVictim(tmp.folder().backupDir() + "/not-a-backup");
        const QStringList before = victimFiles(tmp.folder().backupDir() + "/2000-01-01");
        Backup backup(tmp.folder());
        for (int day = 1; day <= 16; ++day)
            QVERIFY(backup.daily(QDate(2026, 1, day)).ok());
        const QStringList kept = backup.backups();
        QCOMPARE(kept.size(), Backup::kKeep);
        QVERIFY(kept.first().endsWith("2026-01-03"));
        QVERIFY(kept.last().endsWith("2026-01-16"));
        QVERIFY(QFileInfo::exists(tmp.folder().backupDir() + "/not-a-backup/precious.txt"));
        QCOMPARE(victimFiles(tmp.folder().backupDir() + "/2000-01-01"), before);
    }

    // A link planted in data/backup leads to a folder elsewhere: making,
    // pruning and removing backups must never delete a file there.
    void linksInTheBackupFolderAreNeverFollowed_data()
    {
        QTest::addColumn<QString>("linkName"); // relative to data/backup; "." is data/backup itself
        QTest::addColumn<bool>("backupMade");
        QTest::newRow("oldest dated backup") << "2026-01-01" << true;
        QTest::newRow("today's name") << "2026-01-20" << false;
        QTest::newRow("today's unfinished backup") << "2026-01-20.partial" << false;
        QTest::newRow("data/backup itself") << "." << false;
    }
    void linksInTheBackupFolderAreNeverFollowed()
    {
        QFETCH(QString, linkName);
        QFETCH(bool, backupMade);
        test::TempDataFolder tmp;
        const QString victim = tmp.path() + "/elsewhere";
        fillVictim(victim);
        // A complete backup of the program's own in the victim, too: it looks
        // like one to be pruned, but is reached only through the link.
        {
            Backup own(DataFolder(tmp.folder().dir()));
            QVERIFY(own.daily(QDate(2025, 12, 1)).ok());
            QVERIFY(
                QDir().rename(tmp.folder().backupDir() + "/2025-12-01", victim + "/2025-12-01"));
        }
        const QStringList before = victimFiles(victim);
        const QStringList beforeOwn = victimFiles(victim + "/2025-12-01");
        Backup backup(tmp.folder());
        const QString root = tmp.folder().backupDir();
        if (linkName == ".") {
            QVERIFY(QDir().rmdir(root));
            QVERIFY(QFile::link(victim, root));
        } else {
            // Fourteen backups, so that the next one prunes the oldest.
            for (int day = 2; day <= 15; ++day)
                QVERIFY(backup.daily(QDate(2026, 1, day)).ok());
            QVERIFY(QFile::link(victim, root + '/' + linkName));
        }
        const BackupResult result = backup.daily(QDate(2026, 1, 20));
        QCOMPARE(result.ok(), backupMade);
        if (!backupMade)
            QVERIFY(
                result.message().contains(linkName == "." ? "\"backup\"" : "\"" + linkName + "\""));
        QCOMPARE(victimFiles(victim), before);
        QCOMPARE(victimFiles(victim + "/2025-12-01"), beforeOwn);
        QVERIFY(QFileInfo(linkName == "." ? root : root + '/' + linkName).isSymLink());
        QVERIFY(!backup.backups().contains(root + '/' + linkName));
        if (linkName != ".")
            QVERIFY(backup.backups().size() <= Backup::kKeep);
    }

    // Copies never carry more access than their originals, nor the folders
    // more than the data folder.
    void backupKeepsThePermissions()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        QVERIFY(::chmod(QFile::encodeName(tmp.folder().dir()).constData(), 0700) == 0);
        for (const QString& file : tmp.folder().databaseFiles())
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0600) == 0);
        QVERIFY(::chmod(QFile::encodeName(tmp.folder().trackDb(2)).constData(), 0400) == 0);
        {
            QFile stnum(tmp.folder().stnumDat());
            QVERIFY(stnum.open(QIODevice::WriteOnly));
            stnum.write(" 0 \r\n");
        }
        QVERIFY(::chmod(QFile::encodeName(tmp.folder().stnumDat()).constData(), 0640) == 0);
        const mode_t oldMask = ::umask(0);
        const BackupResult result = Backup(tmp.folder()).daily(QDate(2026, 3, 3));
        ::umask(oldMask);
        QVERIFY2(result.ok(), qPrintable(result.message()));
        QCOMPARE(modeOf(tmp.folder().backupDir()) & 077, mode_t(0));
        QCOMPARE(modeOf(result.folder) & 077, mode_t(0));
        const DataFolder copy(result.folder);
        for (const QString& file : copy.databaseFiles())
            QCOMPARE(modeOf(file), file == copy.trackDb(2) ? mode_t(0400) : mode_t(0600));
        QCOMPARE(modeOf(copy.stnumDat()), mode_t(0640));
    }

    // A run of backups that cannot copy the songs (each start or repair
    // while quillon.mdb is damaged) never costs a complete backup.
    void incompleteBackupsNeverPushOutCompleteOnes()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        Backup backup(tmp.folder());
        for (int day = 1; day <= Backup::kKeep; ++day)
            QVERIFY(backup.daily(QDate(2026, 1, day)).complete);
        const QStringList complete = backup.backups();
        QFile::copy(tmp.folder().songDb(), tmp.path() + "/good.mdb");
        spoilSongDatabase(tmp.folder());
        for (int day = 15; day <= 31; ++day) {
            const BackupResult daily = backup.daily(QDate(2026, 1, day));
            QVERIFY(!daily.ok());
            QVERIFY(!daily.complete);
            QVERIFY(!backup.beforeRepair(QDateTime(QDate(2026, 1, day), QTime(9, 0))).complete);
        }
        QStringList kept = backup.backups();
        for (const QString& folder : complete)
            QVERIFY2(kept.contains(folder), qPrintable(folder));
        QCOMPARE(kept.size(), Backup::kKeep + 1); // and the newest incomplete one
        QVERIFY(!Backup::isComplete(kept.last()));

        // A complete backup again: the incomplete one goes first.
        QVERIFY(QFile::remove(tmp.folder().songDb()));
        QVERIFY(QFile::copy(tmp.path() + "/good.mdb", tmp.folder().songDb()));
        QVERIFY(backup.daily(QDate(2026, 2, 1)).complete);
        kept = backup.backups();
        QCOMPARE(kept.size(), Backup::kKeep);
        for (const QString& folder : kept)
            QVERIFY(Backup::isComplete(folder));
        QVERIFY(kept.last().endsWith("2026-02-01"));
    }

    void beforeRepairNeverOverwritesTodaysBackup()
    {
        test::TempDataFolder tmp;
        Backup backup(tmp.folder());
        const QDateTime now(QDate(2026, 7, 7), QTime(9, 30, 15));
        QVERIFY(backup.daily(now.date()).ok());
        const BackupResult repair = backup.beforeRepair(now);
        QVERIFY(repair.ok());
        QCOMPARE(QFileInfo(repair.folder).fileName(), QString("2026-07-07-093015"));
        QCOMPARE(backup.backups().size(), 2);
    }

    void failureIsReportedNamingTheFile()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        QVERIFY(QFile::remove(tmp.folder().trackDb(2)));
        {
            QFile bad(tmp.folder().trackDb(3));
            QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
            bad.write(QByteArray(8192, 'x'));
        }
        const BackupResult result = Backup(tmp.folder()).daily(QDate(2026, 2, 2));
        QVERIFY(!result.ok());
        QCOMPARE(result.failures.size(), 2);
        QVERIFY(result.message().contains("\"trax2.mdb\""));
        QVERIFY(result.message().contains("\"trax3.mdb\""));
        // What could be copied was copied; no half-written folder is left.
        QCOMPARE(result.copied.size(), tmp.folder().databaseFiles().size() - 2);
        QVERIFY(!QFileInfo::exists(result.folder + ".partial"));
    }

    void unwritableBackupFolderIsReported()
    {
        test::TempDataFolder tmp;
        // A file where the backup folder should be makes it impossible to create.
        QFile blocker(tmp.folder().backupDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const BackupResult result = Backup(tmp.folder()).daily(QDate(2026, 2, 3));
        QVERIFY(!result.ok());
        QVERIFY(!result.message().isEmpty());
        QVERIFY(result.copied.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
