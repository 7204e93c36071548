#include "songs/songstore.h"
#include "store/appidentity.h"
#include "store/commandline.h"
#include "store/database.h"
#include "store/datafolderchoice.h"
#include "store/datafolderlock.h"
#include "store/datainstaller.h"
#include "store/filesystemkind.h"
#include "store/schema.h"
#include "store/songconstants.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlRecord>
#include <QSysInfo>
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

    // Where the data lives, by how the program was started. Paths are
    // relative to a scratch folder; "file" is a plain file there, so that a
    // folder below it can never be made (root included).
    void dataFolderChoice_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("perUser");
        QTest::addColumn<int>("origin");
        QTest::addColumn<QString>("expected"); // empty: unusable
        QTest::addColumn<bool>("noted");
        using O = DataFolderChoice::Origin;
        QTest::newRow("build folder")
            << "build/bin"
            << ""
            << "user" << int(O::BesideProgram) << "build/bin/data" << false;
        QTest::newRow("portable copy")
            << "stick/quillon"
            << ""
            << "user" << int(O::BesideProgram) << "stick/quillon/data" << false;
        QTest::newRow("a bin folder of its own")
            << "own/bin"
            << ""
            << "user" << int(O::BesideProgram) << "own/bin/data" << false;
        QTest::newRow("installed") << "prefix/bin"
                                   << ""
                                   << "user" << int(O::PerUser) << "user" << false;
        QTest::newRow("--data on an installed copy")
            << "prefix/bin"
            << "mine"
            << "user" << int(O::CommandLine) << "mine" << false;
        QTest::newRow("--data on a build") << "build/bin"
                                           << "mine"
                                           << "user" << int(O::CommandLine) << "mine" << false;
        QTest::newRow("unwritable beside the program")
            << "file"
            << ""
            << "user" << int(O::PerUser) << "user" << true;
        QTest::newRow("unwritable --data") << "build/bin"
                                           << "file/data"
                                           << "user" << int(O::CommandLine) << "" << false;
        QTest::newRow("unwritable per-user location")
            << "prefix/bin"
            << ""
            << "file/user" << int(O::PerUser) << "" << false;
    }

    void dataFolderChoice()
    {
        QFETCH(QString, programDir);
        QFETCH(QString, given);
        QFETCH(QString, perUser);
        QFETCH(int, origin);
        QFETCH(QString, expected);
        QFETCH(bool, noted);
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        QVERIFY(root.mkpath("build/bin") && root.mkpath("stick/quillon") && root.mkpath("own/bin"));
        QVERIFY(root.mkpath("prefix/bin") && root.mkpath("prefix/share/applications"));
        QFile desktop(root.filePath(QStringLiteral("prefix/share/applications/") +
                                    QLatin1String(kAppId) + ".desktop"));
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.close();
        QFile file(root.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const DataFolderChoice choice = chooseDataFolder(
            root.filePath(programDir), given.isEmpty() ? given : root.filePath(given),
            root.filePath(perUser));
        QCOMPARE(int(choice.origin), origin);
        QCOMPARE(!choice.note.isEmpty(), noted);
        if (expected.isEmpty()) {
            QVERIFY(!choice.ok());
            return;
        }
        QVERIFY2(choice.ok(), qPrintable(choice.error));
        QCOMPARE(choice.dir, QDir::cleanPath(root.filePath(expected)));
        // Made at once, so that the installer and the lock find it.
        QVERIFY(QFileInfo(choice.dir).isDir());
        // Nothing of the user's lands beside an installed program.
        if (programDir == "prefix/bin")
            QVERIFY(!QFileInfo::exists(root.filePath("prefix/bin/data")));
    }

    void lookingMakesNoFolder()
    {
        QTemporaryDir tmp;
        const DataFolderChoice choice =
            chooseDataFolder(tmp.filePath("bin"), {}, tmp.filePath("u"), FolderPreparation::Look);
        QVERIFY(choice.ok());
        QCOMPARE(choice.dir, tmp.filePath("bin/data"));
        QVERIFY(!QFileInfo::exists(tmp.filePath("bin")));
    }

    void secondLockOnTheFolderIsRefused()
    {
        QTemporaryDir tmp;
        DataFolderLock first(tmp.path());
        QVERIFY(first.tryLock());
        DataFolderLock second(tmp.path());
        QVERIFY(!second.tryLock());
        QCOMPARE(second.holderPid(), QCoreApplication::applicationPid());
        first.unlock();
        QVERIFY(second.tryLock());
    }

    void lockOfAProcessThatIsGoneIsTakenOver()
    {
        // A lock file as a killed program leaves it: its process is gone.
        QProcess gone;
        gone.start("true", {});
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QTemporaryDir tmp;
        QFile lock(DataFolderLock::lockFileName(tmp.path()));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\nquillon\n" + QSysInfo::machineHostName().toUtf8() +
                   "\n");
        lock.close();
        DataFolderLock next(tmp.path());
        QVERIFY(next.tryLock());
    }

    void fileSystemKinds_data()
    {
        QTest::addColumn<qint64>("type");
        QTest::addColumn<QString>("subtype");
        QTest::addColumn<bool>("network");
        QTest::newRow("ext4") << qint64(0xEF53) << "" << false;
        QTest::newRow("btrfs") << qint64(0x9123683E) << "" << false;
        QTest::newRow("tmpfs") << qint64(0x01021994) << "" << false;
        QTest::newRow("nfs") << qint64(0x6969) << "" << true;
        QTest::newRow("smb") << qint64(0x517B) << "" << true;
        QTest::newRow("cifs") << qint64(0xFF534D42) << "" << true;
        QTest::newRow("smb2") << qint64(0xFE534D42) << "" << true;
        QTest::newRow("ceph") << qint64(0x00C36400) << "" << true;
        QTest::newRow("9p") << qint64(0x01021997) << "" << true;
        QTest::newRow("fuse sshfs") << qint64(0x65735546) << "sshfs" << true;
        QTest::newRow("fuse ntfs") << qint64(0x65735546) << "ntfs-3g" << false;
    }

    void fileSystemKinds()
    {
        QFETCH(qint64, type);
        QFETCH(QString, subtype);
        QFETCH(bool, network);
        const FileSystemKind kind = fileSystemKind(type, subtype);
        QCOMPARE(kind == FileSystemKind::Network, network);
        QCOMPARE(networkShareWarning("/mnt/share/data", kind).contains("/mnt/share/data"), network);
        // The folder the tests run in is local.
        QVERIFY(fileSystemKindOf(QDir::tempPath()) != FileSystemKind::Network);
    }

    void commandLineConventions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: go on
        QTest::newRow("none") << QStringList{"prog"} << -1;
        QTest::newRow("--help") << QStringList{"prog", "--help"} << 0;
        QTest::newRow("-h") << QStringList{"prog", "-h"} << 0;
        QTest::newRow("--version") << QStringList{"prog", "--version"} << 0;
        QTest::newRow("bad option") << QStringList{"prog", "--no-such"} << 2;
        QTest::newRow("value missing") << QStringList{"prog", "--data"} << 2;
        QTest::newRow("--data DIR") << QStringList{"prog", "--data", "/x"} << -1;
    }

    void commandLineConventions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QCommandLineParser parser;
        parser.addOption(QCommandLineOption("data", "folder", "DIR"));
        const std::optional<int> done = answerCommandLine(parser, arguments);
        QCOMPARE(done.value_or(-1), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestDataInstaller)
#include "tst_datainstaller.moc"
