#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/datainstaller.h"
#include "store/schema.h"

#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

class TestDataInstaller final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshFolderHasEveryFile()
    {
        QTemporaryDir dir;
        const DataFolder folder(dir.filePath("data"));
        const InstallReport report = ensureDataFolder(folder);
        QVERIFY2(report.ok(), qPrintable(report.problems.join('\n')));
        QCOMPARE(report.created.size(), 14);
        for (const QString& f : folder.databaseFiles())
            QVERIFY2(QFile::exists(f), qPrintable(f));

        SongStore songs(folder);
        QVERIFY(songs.open());
        QCOMPARE(songs.titles(), QStringList{kTrainingSong});
        for (int n = 1; n <= 10; ++n) {
            bool found = false;
            songs.trackRow(kTrainingSong, n, &found);
            QVERIFY(found);
        }

        Database rec;
        QVERIFY(rec.open(folder.recdevDb()));
        QSqlQuery q = rec.prepare("SELECT count(*) FROM recdev");
        QVERIFY(q.exec() && q.next());
        QCOMPARE(q.value(0).toInt(), 10);
        Database note;
        QVERIFY(note.open(folder.note1Db()));
        QSqlQuery nq = note.prepare("SELECT count(*) FROM note1");
        QVERIFY(nq.exec() && nq.next());
        QCOMPARE(nq.value(0).toInt(), 1);
    }

    void trackTableHasNinetySevenColumnsInOrder()
    {
        QTemporaryDir dir;
        const DataFolder folder(dir.filePath("data"));
        ensureDataFolder(folder);
        Database db;
        QVERIFY(db.open(folder.trackDb(3)));
        const QSqlRecord r = db.handle().record("rd3");
        QCOMPARE(r.count(), 97);
        for (int k = 1; k <= 96; ++k)
            QCOMPARE(r.fieldName(k - 1), QString("track%1").arg(k));
        QCOMPARE(r.fieldName(96), QString("songtitle"));

        Database tape;
        QVERIFY(tape.open(folder.tapeDb()));
        const QSqlRecord t = tape.handle().record("Tape");
        QCOMPARE(t.fieldName(0), QString("bandnummer"));
        QCOMPARE(t.fieldName(2), QString("lengthft"));
        QCOMPARE(t.fieldName(4), QString("deleted"));
        QCOMPARE(t.fieldName(6), QString("brandname"));
        QCOMPARE(t.fieldName(8), QString("serialnr"));
    }

    void existingFilesAreNeverOverwritten()
    {
        QTemporaryDir dir;
        const DataFolder folder(dir.filePath("data"));
        ensureDataFolder(folder);
        {
            SongStore songs(folder);
            QVERIFY(songs.open());
            QVERIFY(songs.create({"Mine", {}, {}, {}}));
        }
        QVERIFY(QFile::remove(folder.trackDb(5)));
        const InstallReport again = ensureDataFolder(folder);
        QVERIFY(again.ok());
        QCOMPARE(again.created, QStringList{folder.trackDb(5)});
        SongStore songs(folder);
        QVERIFY(songs.open());
        QCOMPARE(songs.count(), 2);
        // The new track file carries a row for every existing song.
        bool found = false;
        songs.trackRow("Mine", 5, &found);
        QVERIFY(found);
    }

    void unreadableFileIsReportedNotReplaced()
    {
        QTemporaryDir dir;
        const DataFolder folder(dir.filePath("data"));
        ensureDataFolder(folder);
        QFile f(folder.tapeDb());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("this is not a database at all, just some text that lies here");
        f.close();
        const InstallReport report = ensureDataFolder(folder);
        QCOMPARE(report.problems.size(), 1);
        QVERIFY(report.problems.first().contains("tape.mdb"));
        QVERIFY(report.created.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("this is not"));
    }
};

QTEST_GUILESS_MAIN(TestDataInstaller)
#include "tst_datainstaller.moc"
