#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "maintenance/stylefiles.h"
#include "songs/songstore.h"
#include "songs/stylelist.h"
#include "store/database.h"
#include "store/songconstants.h"
#include "store/titlegroups.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace quillon;
using Kind = IntegrityProblem::Kind;

class TestIntegrityCheck final : public QObject {
    Q_OBJECT

private:
    // Runs a statement on the table in `file`, or on the server's catalogue.
    static void sql(const test::TempDataFolder& tmp, const QString& file, const QString& statement,
                    const QVariantList& binds = {})
    {
        Database db;
        QVERIFY2(tmp.folder().openCatalogue(db, file), qPrintable(db.lastError()));
        QVERIFY2(db.exec(statement, binds), qPrintable(db.lastError()));
    }
    static int scalar(const QString& file, const QString& statement, const QVariantList& binds = {})
    {
        Database db;
        if (!db.open(file))
            return -1;
        QSqlQuery q = db.prepare(statement);
        for (const QVariant& v : binds)
            q.addBindValue(v);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
    static QList<Kind> kinds(const IntegrityReport& r)
    {
        QList<Kind> k;
        for (const IntegrityProblem& p : r.problems)
            k << p.kind;
        return k;
    }
    static void writeFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

private Q_SLOTS:
    void freshFolderIsClean()
    {
        test::TempDataFolder tmp;
        IntegrityCheck check(tmp.folder());
        QVERIFY2(check.quick().clean(), qPrintable(check.quick().summary()));
        QVERIFY(check.thorough().clean());
    }

    void missingRowAndOrphanAreFoundAndRepairedWithoutLoss()
    {
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"Blue", {}, {}, {}}));
            QVERIFY(store.create({"Gone", {}, {}, {}}));
            QVERIFY(store.writeTracks("Gone", 2, 5, {"orphaned guitar"}));
        }
        sql(tmp, tmp.folder().trackDb(4), "DELETE FROM rd4 WHERE songtitle = 'Blue'");
        sql(tmp, tmp.folder().songDb(), "DELETE FROM xtrax WHERE songtitle = 'Gone'");

        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QVERIFY(kinds(report).contains(Kind::MissingTrackRow));
        QCOMPARE(kinds(report).count(Kind::OrphanTrackRow), 10);
        // A server keeps the key of the deleted song: that is damage there.
        QCOMPARE(kinds(report).contains(Kind::KeyTable), tmp.onServer());
        QCOMPARE(report.repairableCount(), report.problems.size());

        const RepairResult result = IntegrityRepair(tmp.folder(), QDate(2026, 3, 4)).run();
        QVERIFY2(result.ok(), qPrintable(result.failures.join('\n')));
        QVERIFY2(IntegrityCheck(tmp.folder()).thorough().clean(),
                 qPrintable(IntegrityCheck(tmp.folder()).quick().summary()));

        SongStore store(tmp.folder());
        QVERIFY(store.open());
        bool found = false;
        QCOMPARE(store.trackRow("Blue", 4, &found).at(0), QString());
        QVERIFY(found);
        const auto recovered = store.song("Recovered Gone");
        QVERIFY(recovered);
        QVERIFY(recovered->text("notiz1").contains("\"Gone\""));
        QCOMPARE(store.trackRow("Recovered Gone", 2).at(4), QString("orphaned guitar"));
        QCOMPARE(store.trackRow("Recovered Gone", 2).at(0), QString("Gone Dev  2  Track 1"));
        QVERIFY2(store.create({"Gone", {}, {}, {}}), qPrintable(store.lastError()));
    }

    void duplicatesKeepTheirTextUnderNewTitles()
    {
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"Twin", {}, {}, {}}));
            QVERIFY(store.writeTracks("Twin", 1, 1, {"first twin"}));
        }
        // A second song of the same title, with its own rows, and one differing in case.
        sql(tmp, tmp.folder().songDb(),
            "INSERT INTO xtrax (songtitle, notiz1) VALUES ('Twin', 'second')");
        sql(tmp, tmp.folder().songDb(),
            "INSERT INTO xtrax (songtitle, notiz1) VALUES (' TWIN', 'third')");
        for (int n = 1; n <= 10; ++n) {
            sql(tmp, tmp.folder().trackDb(n),
                QString("INSERT INTO rd%1 (songtitle, track1) VALUES ('Twin', 'second twin')")
                    .arg(n));
            sql(tmp, tmp.folder().trackDb(n),
                QString("INSERT INTO rd%1 (songtitle, track1) VALUES (' TWIN', 'third twin')")
                    .arg(n));
        }
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QCOMPARE(kinds(report).count(Kind::DuplicateTitle), 2);
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QVERIFY(IntegrityCheck(tmp.folder()).quick().clean());

        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QCOMPARE(store.count(), 4);
        QCOMPARE(store.trackRow("Twin", 1).at(0), QString("first twin"));
        QCOMPARE(store.song("Twin (2)")->text("notiz1"), QString("second"));
        QCOMPARE(store.trackRow("Twin (2)", 7).at(0), QString("second twin"));
        QCOMPARE(store.song("TWIN (3)")->text("notiz1"), QString("third"));
        QCOMPARE(store.trackRow("TWIN (3)", 10).at(0), QString("third twin"));
    }

    void extraRowsAndEmptyTitles()
    {
        test::TempDataFolder tmp;
        sql(tmp, tmp.folder().trackDb(3), "INSERT INTO rd3 (songtitle, track9) VALUES (?, 'extra')",
            {kTrainingSong});
        sql(tmp, tmp.folder().songDb(),
            "INSERT INTO xtrax (songtitle, lyrics) VALUES ('  ', 'la la')");
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QVERIFY(kinds(report).contains(Kind::ExtraTrackRow));
        QVERIFY(kinds(report).contains(Kind::EmptyTitle));
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QVERIFY(IntegrityCheck(tmp.folder()).quick().clean());
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QCOMPARE(store.song("Untitled song")->text("lyrics"), QString("la la"));
        QCOMPARE(store.trackRow("Recovered " + kTrainingSong, 3).at(8), QString("extra"));
    }

    void deviceNotebookAndStyles()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        sql(tmp, tmp.folder().recdevDb(), "DELETE FROM recdev WHERE rowid > 7");
        sql(tmp, tmp.folder().note1Db(), "DELETE FROM note1");
        writeFile(tmp.folder().stnumDat(), " 12 \r\n");
        writeFile(tmp.folder().stylesDat(), "\"Rock*loud\"\r\n\"Jazz*\r\n");
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QCOMPARE(kinds(report),
                 QList<Kind>({Kind::DeviceRows, Kind::NotebookRow, Kind::StyleCount}));
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QVERIFY2(IntegrityCheck(tmp.folder()).quick().clean(),
                 qPrintable(IntegrityCheck(tmp.folder()).quick().summary()));
        QCOMPARE(scalar(tmp.folder().recdevDb(), "SELECT count(*) FROM recdev"), 10);
        QCOMPARE(scalar(tmp.folder().recdevDb(), "SELECT count(*) FROM recdev WHERE name = ?",
                        {"24-Track Tape"}),
                 1);
        QCOMPARE(scalar(tmp.folder().note1Db(), "SELECT count(*) FROM note1"), 1);
        const StyleFiles styles =
            StyleFiles::read(tmp.folder().stnumDat(), tmp.folder().stylesDat());
        QCOMPARE(styles.entries, QStringList({"Rock*loud", "Jazz*"}));
        QCOMPARE(styles.count, 2);
    }

    void styleFilesAreReadTolerantly_data()
    {
        QTest::addColumn<QByteArray>("stnum");
        QTest::addColumn<QByteArray>("styles");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("consistent");
        QTest::newRow("as written")
            << QByteArray(" 2 \r\n") << QByteArray("\"a*\"\r\n\"b*c\"\r\n") << 2 << true;
        QTest::newRow("lying count")
            << QByteArray(" 7 \r\n") << QByteArray("\"a*\"\r\n") << 1 << false;
        QTest::newRow("garbage count")
            << QByteArray("abc") << QByteArray("\"a*\"\r\n") << 1 << false;
        QTest::newRow("negative count") << QByteArray("-3") << QByteArray() << 0 << false;
        QTest::newRow("unterminated")
            << QByteArray(" 2 \r\n") << QByteArray("\"a*\"\r\n\"b*c\r\n") << 2 << false;
        QTest::newRow("LF only, commas")
            << QByteArray("3\n") << QByteArray("\"a*\",\"b*\"\n\"c*\"\n") << 3 << true;
        QTest::newRow("unquoted line")
            << QByteArray(" 1 ") << QByteArray("Blues*slow, sad\n") << 1 << false;
    }
    void styleFilesAreReadTolerantly()
    {
        QFETCH(QByteArray, stnum);
        QFETCH(QByteArray, styles);
        QFETCH(int, entries);
        QFETCH(bool, consistent);
        test::TempDataFolder tmp(false);
        QDir().mkpath(tmp.folder().dir());
        writeFile(tmp.folder().stnumDat(), stnum);
        writeFile(tmp.folder().stylesDat(), styles);
        const StyleFiles read = StyleFiles::read(tmp.folder().stnumDat(), tmp.folder().stylesDat());
        QCOMPARE(read.entries.size(), entries);
        QCOMPARE(read.consistent(), consistent);
    }

    void checkReadsStylesAsTheStyleWindowDoes_data()
    {
        QTest::addColumn<QByteArray>("stnum");
        QTest::addColumn<QByteArray>("styles");
        QTest::newRow("text between quoted items")
            << QByteArray(" 3 \r\n") << QByteArray("\"a*\", b*, \"c*\"\r\n");
        QTest::newRow("empty quotes") << QByteArray(" 2 \r\n") << QByteArray("\"\"\r\n\"A*\"\r\n");
        QTest::newRow("blank open quote") << QByteArray(" 1 \r\n") << QByteArray("\"A*\"\r\n\"  ");
        QTest::newRow("signed count") << QByteArray("+1\r\n") << QByteArray("\"A*\"\r\n");
        QTest::newRow("CR only") << QByteArray(" 2 \r") << QByteArray("\"A*\"\r\"B*\"\r");
    }
    void checkReadsStylesAsTheStyleWindowDoes()
    {
        // A count the check calls right must be right for the styles the
        // program shows, so both read the files the same way.
        QFETCH(QByteArray, stnum);
        QFETCH(QByteArray, styles);
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp(false);
        QDir().mkpath(tmp.folder().dir());
        writeFile(tmp.folder().stnumDat(), stnum);
        writeFile(tmp.folder().stylesDat(), styles);
        const StyleFiles read = StyleFiles::read(tmp.folder().stnumDat(), tmp.folder().stylesDat());
        const StyleList list(tmp.folder());
        bool numberRead = false;
        QCOMPARE(read.entries, list.readEntries());
        QCOMPARE(read.count, list.readNumber(&numberRead));
        QCOMPARE(read.countReadable, numberRead);
    }

    void tenThousandStyleLines()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        QByteArray styles;
        for (int i = 0; i < 10'000; ++i)
            styles += "\"Style " + QByteArray::number(i) + "*description\"\r\n";
        writeFile(tmp.folder().stylesDat(), styles);
        writeFile(tmp.folder().stnumDat(), " 250 \r\n");
        QVERIFY(kinds(IntegrityCheck(tmp.folder()).quick()).contains(Kind::StyleCount));
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QFile list(tmp.folder().stylesDat());
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), styles); // the list itself is left byte for byte
        QCOMPARE(StyleFiles::read(tmp.folder().stnumDat(), tmp.folder().stylesDat()).count, 10'000);
    }

    void missingAndEmptyFilesAreLaidOut()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        QVERIFY(QFile::remove(tmp.folder().note1Db()));
        QVERIFY(QFile::resize(tmp.folder().trackDb(8), 0));
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QCOMPARE(kinds(report).count(Kind::FileUnusable), 2);
        QCOMPARE(report.repairableCount(), report.problems.size());
        QVERIFY(IntegrityRepair(tmp.folder()).run().ok());
        QVERIFY(IntegrityCheck(tmp.folder()).quick().clean());
    }

    void damagedFileIsReportedNotTouched()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        const QString path = tmp.folder().trackDb(9);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(4096);
            f.write(QByteArray(f.size() - 4096, '\x5A'));
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const IntegrityReport report = IntegrityCheck(tmp.folder()).thorough();
        QVERIFY(kinds(report).contains(Kind::FileUnusable));
        QCOMPARE(report.repairableCount(), 0);
        const RepairResult result = IntegrityRepair(tmp.folder()).run();
        QVERIFY(!result.ok());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    // A data file replaced by a link, a pipe or a folder is damage: reported,
    // never opened in a way that blocks, and never written, neither the
    // entry nor what a link points to.
    void entriesThatAreNotPlainFilesAreReportedNotWritten_data()
    {
        QTest::addColumn<QString>("file"); // in the data folder
        QTest::addColumn<QString>("kind"); // link, pipe, folder
        QTest::newRow("stnum.dat link") << "stnum.dat"
                                        << "link";
        QTest::newRow("styles.dat link") << "styles.dat"
                                         << "link";
        QTest::newRow("track file link") << "trax3.mdb"
                                         << "link";
        QTest::newRow("song database link") << "quillon.mdb"
                                            << "link";
        QTest::newRow("song database pipe") << "quillon.mdb"
                                            << "pipe";
        QTest::newRow("stnum.dat pipe") << "stnum.dat"
                                        << "pipe";
        QTest::newRow("device register pipe") << "recdev.mdb"
                                              << "pipe";
        QTest::newRow("track file folder") << "trax5.mdb"
                                           << "folder";
    }
    void entriesThatAreNotPlainFilesAreReportedNotWritten()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        const QString path = tmp.folder().dir() + '/' + file;
        // Style files that disagree, and a song without its rows in slot 3:
        // a repair that reached the files would rewrite them.
        writeFile(tmp.folder().stnumDat(), " 9 \r\n");
        writeFile(tmp.folder().stylesDat(), "\"Rock*\"\r\n");
        sql(tmp, tmp.folder().songDb(), "INSERT INTO xtrax (songtitle) VALUES ('Lonely')");
        for (int n = 1; n <= 10; ++n)
            if (n != 3)
                sql(tmp, tmp.folder().trackDb(n),
                    QString("INSERT INTO rd%1 (songtitle) VALUES ('Lonely')").arg(n));
        const QString target = tmp.path() + "/elsewhere-" + file;
        if (kind == "link") {
            QVERIFY(QFile::rename(path, target));
            QVERIFY(QFile::link(target, path));
        } else if (kind == "pipe") {
            QVERIFY(QFile::remove(path));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
        }
        QByteArray before;
        if (kind == "link") {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            before = f.readAll();
        }
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        bool reported = false;
        for (const IntegrityProblem& p : report.problems)
            reported = reported || (p.file == path && !p.repairable &&
                                    p.text.contains(kind == "folder" ? "a folder" : "a " + kind));
        QVERIFY2(reported, qPrintable(report.summary()));

        IntegrityRepair(tmp.folder()).run();
        if (kind == "link") {
            QVERIFY(QFileInfo(path).isSymLink());
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        } else {
            const QFileInfo info(path);
            QVERIFY(kind == "pipe" ? !info.isFile() && !info.isDir() : info.isDir());
        }
        QVERIFY(!IntegrityCheck(tmp.folder()).quick().clean());
    }

    // A table whose columns differ from the schema is damage. Columns that
    // are only missing from a table read by name are added by a repair.
    void columnsAreComparedWithTheSchema_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("repairable");
        QTest::newRow("song table lacks a column")
            << "quillon.mdb"
            << "ALTER TABLE xtrax DROP COLUMN publisher" << true;
        QTest::newRow("song table lacks two")
            << "quillon.mdb"
            << "ALTER TABLE xtrax DROP COLUMN \"Key\"; ALTER TABLE xtrax DROP COLUMN lyrics"
            << true;
        QTest::newRow("song table with a foreign column")
            << "quillon.mdb"
            << "ALTER TABLE xtrax ADD COLUMN rating TEXT" << false;
        QTest::newRow("track table lacks a track") << "trax4.mdb"
                                                   << "ALTER TABLE rd4 DROP COLUMN track7" << false;
        QTest::newRow("track table with a foreign column")
            << "trax4.mdb"
            << "ALTER TABLE rd4 ADD COLUMN track97 TEXT" << false;
        QTest::newRow("device register lacks its last column")
            << "recdev.mdb"
            << "ALTER TABLE recdev DROP COLUMN TypeRM" << true;
        QTest::newRow("media table lacks a middle column")
            << "tape.mdb"
            << "ALTER TABLE Tape DROP COLUMN deleted" << false;
    }
    void columnsAreComparedWithTheSchema()
    {
        QFETCH(QString, file);
        QFETCH(QString, statement);
        QFETCH(bool, repairable);
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        for (const QString& part : statement.split("; "))
            sql(tmp, tmp.folder().dir() + '/' + file, part);
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        QCOMPARE(kinds(report), QList<Kind>{Kind::Columns});
        QCOMPARE(report.problems.first().repairable, repairable);
        QVERIFY(report.problems.first().text.startsWith(file + ": table "));
        IntegrityRepair(tmp.folder()).run();
        QCOMPARE(IntegrityCheck(tmp.folder()).quick().clean(), repairable);
        if (repairable && file == "quillon.mdb") {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY2(store.create({"After the repair", {}, {}, {}}), qPrintable(store.lastError()));
            QVERIFY(store.updateFields("After the repair", {{"Key", "C"}, {"lyrics", "la"}}));
        }
    }

    // The check streams titles through the title indexes: neither the song
    // table's rows nor a sort in memory.
    void titlesAreReadThroughTheirIndexes()
    {
        if (test::TempDataFolder::serverEngine())
            QSKIP("the data folder's files only");
        test::TempDataFolder tmp;
        for (const auto& [file, table] : {std::pair{tmp.folder().songDb(), QString("xtrax")},
                                          std::pair{tmp.folder().trackDb(6), QString("rd6")}}) {
            Database db;
            QVERIFY(db.open(file));
            QSqlQuery q = db.prepare("EXPLAIN QUERY PLAN " + TitleGroups::sql(table));
            QVERIFY(q.exec());
            QString plan;
            while (q.next())
                plan += q.value(3).toString() + '\n';
            QVERIFY2(plan.contains("COVERING INDEX") && !plan.contains("TEMP B-TREE"),
                     qPrintable(plan));
        }
    }

    // Titles in every order SQLite knows (null, text by bytes, blobs) are
    // merged without false reports; a server compares the same titles.
    void unusualTitlesMatchTheirTrackRows()
    {
        test::TempDataFolder tmp;
        const QStringList titles{"Zebra", "apple", "Äpfel", "a", "a ", "😀", "100", "9"};
        for (const QString& t : titles) {
            sql(tmp, tmp.folder().songDb(), "INSERT INTO xtrax (songtitle) VALUES (?)", {t});
            for (int n = 1; n <= 10; ++n)
                sql(tmp, tmp.folder().trackDb(n),
                    QString("INSERT INTO rd%1 (songtitle) VALUES (?)").arg(n), {t});
        }
        sql(tmp, tmp.folder().songDb(), "INSERT INTO xtrax (songtitle) VALUES (NULL)");
        for (int n = 1; n <= 10; ++n)
            sql(tmp, tmp.folder().trackDb(n),
                QString("INSERT INTO rd%1 (songtitle) VALUES (NULL)").arg(n));
        if (!tmp.onServer())
            sql(tmp, tmp.folder().trackDb(2),
                "INSERT INTO rd2 (songtitle) VALUES (CAST('Zebra' AS BLOB))");
        const IntegrityReport report = IntegrityCheck(tmp.folder()).quick();
        // "a " is "a" again; the null title is empty; the blob belongs to no
        // song. A server holds text only, and its keys lack the new titles.
        QCOMPARE(kinds(report),
                 QList<Kind>({Kind::DuplicateTitle, Kind::EmptyTitle,
                              tmp.onServer() ? Kind::KeyTable : Kind::OrphanTrackRow}));
        if (!tmp.onServer())
            QVERIFY(report.problems.at(2).text.startsWith("trax2.mdb: 1 track row(s)"));
    }

    // A server's tables are its layout's owner's: what differs from the
    // layout is reported, and the program's repair does not touch it.
    void serverLayoutIsCompared_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("kind");
        QTest::newRow("column dropped")
            << "ALTER TABLE xtrax DROP COLUMN publisher" << int(Kind::Columns);
        QTest::newRow("column in another case")
            << "ALTER TABLE rd4 RENAME COLUMN track7 TO \"TRACK7\"" << int(Kind::Columns);
        QTest::newRow("foreign column")
            << "ALTER TABLE songkey ADD COLUMN extra text" << int(Kind::Columns);
        QTest::newRow("style table dropped") << "DROP TABLE stnum" << int(Kind::Layout);
        QTest::newRow("other version")
            << "UPDATE quillon_schema SET version = 99" << int(Kind::Layout);
    }
    void serverLayoutIsCompared()
    {
        QFETCH(QString, statement);
        QFETCH(int, kind);
        if (!test::TempDataFolder::serverEngine())
            QSKIP("a catalogue on a server only");
        test::TempDataFolder tmp;
        sql(tmp, {}, statement);
        const IntegrityReport report = IntegrityCheck(tmp.folder()).thorough();
        QCOMPARE(kinds(report), QList<Kind>{Kind(kind)});
        QCOMPARE(report.repairableCount(), 0);
    }

    void uniqueTitleStaysWithinTheLimit()
    {
        QSet<QString> used{SongStore::titleKey(QString(50, 'a'))};
        const QString t = IntegrityRepair::uniqueTitle(QString(60, 'a'), used);
        QCOMPARE(t.size(), 50);
        QVERIFY(t.endsWith(" (2)"));
        QCOMPARE(IntegrityRepair::uniqueTitle("Free", used), QString("Free"));
    }
};

QTEST_GUILESS_MAIN(TestIntegrityCheck)
#include "tst_integritycheck.moc"
