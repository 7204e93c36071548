#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "store/backup.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;

class TestBackup final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dailyCopiesEveryFileOnce()
    {
        test::TempDataFolder tmp;
        {
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

    void keepsTheLastFourteen()
    {
        test::TempDataFolder tmp;
        Backup backup(tmp.folder());
        for (int day = 1; day <= 16; ++day)
            QVERIFY(backup.daily(QDate(2026, 1, day)).ok());
        QDir().mkpath(tmp.folder().backupDir() + "/not-a-backup");
        const QStringList kept = backup.backups();
        QCOMPARE(kept.size(), Backup::kKeep);
        QVERIFY(kept.first().endsWith("2026-01-03"));
        QVERIFY(kept.last().endsWith("2026-01-16"));
        QVERIFY(QFileInfo::exists(tmp.folder().backupDir() + "/not-a-backup"));
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
