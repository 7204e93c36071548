#include "songs/stylelist.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace quillon;

class TestStyleList final : public QObject {
    Q_OBJECT

private:
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void write(const QString& path, const QByteArray& content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    static bool execOnServer(const test::TempDataFolder& tmp, const QString& sql,
                             const QVariantList& binds = {})
    {
        Database db;
        return tmp.onServer() && db.openServer(tmp.folder().server()) && db.exec(sql, binds);
    }
    // The number as another program left it: the file's bytes, or the
    // server's one row holding them as text.
    static void putNumber(const test::TempDataFolder& tmp, const QByteArray& content)
    {
        if (!tmp.onServer())
            return write(tmp.folder().stnumDat(), content);
        QVERIFY(execOnServer(tmp, "DELETE FROM stnum"));
        QVERIFY(execOnServer(tmp, "INSERT INTO stnum (number) VALUES (?)", {QString(content)}));
    }
    static void removeNumber(const test::TempDataFolder& tmp)
    {
        if (tmp.onServer())
            QVERIFY(execOnServer(tmp, "DELETE FROM stnum"));
        else
            QFile::remove(tmp.folder().stnumDat());
    }

private Q_SLOTS:
    void numberFileHasBlanksAroundTheNumber()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        StyleList styles(tmp.folder());
        QVERIFY(styles.writeNumber(12));
        QCOMPARE(read(tmp.folder().stnumDat()), QByteArray(" 12 \r\n"));
        QVERIFY(styles.writeNumber(0));
        QCOMPARE(read(tmp.folder().stnumDat()), QByteArray(" 0 \r\n"));
        bool ok = false;
        QCOMPARE(styles.readNumber(&ok), 0);
        QVERIFY(ok);
    }

    void balladWithoutDescriptionIsOneQuotedLine()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        StyleList styles(tmp.folder());
        const QString entry = StyleList::makeEntry("  Ballad ", "   ");
        QCOMPARE(entry, QString("Ballad*"));
        QVERIFY(styles.writeEntries({entry}));
        QCOMPARE(read(tmp.folder().stylesDat()), QByteArray("\"Ballad*\"\r\n"));
        QVERIFY(styles.writeEntries({entry, "Rock*loud guitars", "*no name"}));
        QCOMPARE(read(tmp.folder().stylesDat()),
                 QByteArray("\"Ballad*\"\r\n\"Rock*loud guitars\"\r\n\"*no name\"\r\n"));
        QCOMPARE(styles.readEntries(), QStringList({"Ballad*", "Rock*loud guitars", "*no name"}));
    }

    void entryParts()
    {
        QCOMPARE(StyleList::nameOf("Rock*loud*er"), QString("Rock"));
        QCOMPARE(StyleList::descriptionOf("Rock*loud*er"), QString("loud*er"));
        QCOMPARE(StyleList::nameOf("*x"), QString());
        QCOMPARE(StyleList::descriptionOf("Plain"), QString());
        QCOMPARE(StyleList::nameOf("Plain"), QString("Plain"));
    }

    void umlautsSurviveTheRoundTrip()
    {
        test::TempDataFolder tmp;
        StyleList styles(tmp.folder());
        const QStringList entries{"Volksmusik*Schöne Grüße aus Österreich", "Straße*ß"};
        QVERIFY(styles.writeEntries(entries));
        QCOMPARE(styles.readEntries(), entries);
    }

    void oldCodePageFilesAreRead()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        write(tmp.folder().stylesDat(), QByteArray("\"Schlager*f\xfcr alle\"\r\n"));
        QCOMPARE(StyleList(tmp.folder()).readEntries(), QStringList{"Schlager*für alle"});
    }

    void numberIsReadWithBlanksIgnored_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("ok");
        QTest::newRow("format") << QByteArray(" 12 \r\n") << 12 << true;
        QTest::newRow("bare") << QByteArray("7") << 7 << true;
        QTest::newRow("tabs") << QByteArray("\t3\t\n") << 3 << true;
        QTest::newRow("empty") << QByteArray() << 0 << false;
        QTest::newRow("garbage") << QByteArray("abc\r\n") << 0 << false;
        QTest::newRow("negative") << QByteArray(" -4 \r\n") << 0 << false;
        QTest::newRow("huge") << QByteArray(" 99999999999999999999 ") << 0 << false;
        QTest::newRow("second line ignored") << QByteArray(" 2 \r\n 5 \r\n") << 2 << true;
    }
    void numberIsReadWithBlanksIgnored()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QFETCH(bool, ok);
        bool parsed = !ok;
        QCOMPARE(StyleList::parseNumber(content, &parsed), number);
        QCOMPARE(parsed, ok);
        // The stored number is read alike on either engine.
        test::TempDataFolder tmp;
        putNumber(tmp, content);
        parsed = !ok;
        QCOMPARE(StyleList(tmp.folder()).readNumber(&parsed), number);
        QCOMPARE(parsed, ok);
    }

    void missingFilesReadAsNothing()
    {
        test::TempDataFolder tmp;
        removeNumber(tmp);
        if (tmp.onServer())
            QVERIFY(execOnServer(tmp, "DELETE FROM styles"));
        else
            QFile::remove(tmp.folder().stylesDat());
        StyleList styles(tmp.folder());
        bool ok = true;
        QCOMPARE(styles.readNumber(&ok), 0);
        QVERIFY(!ok);
        QVERIFY(styles.readEntries().isEmpty());
        QVERIFY(styles.readForSongDetails().isEmpty());
    }

    void damagedListLinesAreKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("unterminated quote")
            << QByteArray("\"Rock*fast\r\n\"Pop*\"\r\n") << QStringList{"Rock*fast", "Pop*"};
        QTest::newRow("unterminated at end")
            << QByteArray("\"Pop*\"\r\n\"Jazz*cool") << QStringList{"Pop*", "Jazz*cool"};
        QTest::newRow("lf only") << QByteArray("\"A*\"\n\"B*\"\n") << QStringList{"A*", "B*"};
        QTest::newRow("cr only") << QByteArray("\"A*\"\r\"B*\"\r") << QStringList{"A*", "B*"};
        QTest::newRow("blank lines")
            << QByteArray("\r\n\"A*\"\r\n   \r\n\r\n\"B*\"\r\n") << QStringList{"A*", "B*"};
        QTest::newRow("two items on a line")
            << QByteArray("\"A*x\",\"B*y\"\r\n") << QStringList{"A*x", "B*y"};
        QTest::newRow("unquoted line") << QByteArray("Blues*slow\r\n") << QStringList{"Blues*slow"};
        QTest::newRow("text after quote")
            << QByteArray("\"A*x\" tail\r\n") << QStringList{"A*x", "tail"};
        QTest::newRow("empty quotes") << QByteArray("\"\"\r\n\"A*\"\r\n") << QStringList{"A*"};
        QTest::newRow("nul bytes") << QByteArray("\"A*\"\r\n\0\0\r\n", 10)
                                   << QStringList{"A*", QString(QChar(0)) + QChar(0)};
    }
    void damagedListLinesAreKept()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, entries);
        QCOMPARE(StyleList::parseEntries(content), entries);
    }

    void aDamagedEntryIsWrittenBackReadable()
    {
        // A quote inside an entry can only come from a damaged file; writing
        // it back must not break the lines around it.
        const QByteArray content = StyleList::listFileContent({"A\"b*c", "Next*", "x\ny*"});
        QCOMPARE(content, QByteArray("\"A'b*c\"\r\n\"Next*\"\r\n\"xy*\"\r\n"));
        QCOMPARE(StyleList::parseEntries(content), QStringList({"A'b*c", "Next*", "xy*"}));
    }

    void anythingReadIsWrittenBackTheSame()
    {
        // Whatever a damaged file holds, what was read survives a save and a
        // second reading; only characters the format cannot carry change.
        const char alphabet[] = {'"', ',', ' ', '\r', '\n', 'a', '*', '\t', '\xe4', '\xc3', 'B'};
        QRandomGenerator random(4711);
        for (int round = 0; round < 3000; ++round) {
            QByteArray content;
            const int length = int(random.bounded(40));
            for (int i = 0; i < length; ++i)
                content += alphabet[random.bounded(int(sizeof alphabet))];
            QStringList expected = StyleList::parseEntries(content);
            for (QString& e : expected)
                e.replace('"', '\'');
            const QByteArray saved = StyleList::listFileContent(StyleList::parseEntries(content));
            QCOMPARE(StyleList::parseEntries(saved), expected);
            QCOMPARE(saved.count("\r\n"), expected.size());
        }
    }

    void songDetailsReadTheCountedEntries()
    {
        test::TempDataFolder tmp;
        StyleList styles(tmp.folder());
        QVERIFY(styles.writeEntries({"A*", "B*", "C*", "D*", "E*"}));
        QVERIFY(styles.writeNumber(2));
        QCOMPARE(styles.readForSongDetails(), QStringList({"A*", "B*"}));
        // A number that claims more stops at the end of the list.
        QVERIFY(styles.writeNumber(10));
        QCOMPARE(styles.readForSongDetails(), QStringList({"A*", "B*", "C*", "D*", "E*"}));
        // Without stnum.dat the drop-down stays empty.
        removeNumber(tmp);
        QVERIFY(styles.readForSongDetails().isEmpty());
        // The full list is still there for the style window.
        QCOMPARE(styles.readEntries().size(), 5);
    }

    void tenThousandLines()
    {
        test::TempDataFolder tmp;
        QByteArray content;
        for (int i = 0; i < 10000; ++i)
            content += "\"Style " + QByteArray::number(i) + "*description " +
                       QByteArray::number(i) + "\"\r\n";
        StyleList styles(tmp.folder());
        if (tmp.onServer())
            QVERIFY(styles.writeEntries(StyleList::parseEntries(content)));
        else
            write(tmp.folder().stylesDat(), content);
        const QStringList entries = styles.readEntries();
        QCOMPARE(entries.size(), 10000);
        QCOMPARE(entries.first(), QString("Style 0*description 0"));
        QCOMPARE(entries.last(), QString("Style 9999*description 9999"));
        QVERIFY(styles.writeEntries(entries));
        if (tmp.onServer())
            QCOMPARE(styles.readEntries(), entries);
        else
            QCOMPARE(read(tmp.folder().stylesDat()), content);
    }

    void writingReplacesTheFileInsteadOfOverwritingIt()
    {
        // Written in place, a crash half way would leave half a list. Replacing
        // the file by a finished one shows in a reader that still has the old
        // file open: it keeps seeing the old content whole.
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        StyleList styles(tmp.folder());
        QVERIFY(styles.writeEntries({"Old*one", "Old*two"}));
        QVERIFY(styles.writeNumber(2));
        QFile oldList(tmp.folder().stylesDat());
        QFile oldNumber(tmp.folder().stnumDat());
        QVERIFY(oldList.open(QIODevice::ReadOnly));
        QVERIFY(oldNumber.open(QIODevice::ReadOnly));
        QVERIFY(styles.writeEntries({}));
        QVERIFY(styles.writeNumber(0));
        QCOMPARE(oldList.readAll(), QByteArray("\"Old*one\"\r\n\"Old*two\"\r\n"));
        QCOMPARE(oldNumber.readAll(), QByteArray(" 2 \r\n"));
        QCOMPARE(read(tmp.folder().stylesDat()), QByteArray());
        QCOMPARE(read(tmp.folder().stnumDat()), QByteArray(" 0 \r\n"));
        // No temporary file is left behind.
        const QStringList left = QDir(tmp.folder().dir()).entryList({"st*"}, QDir::Files);
        QCOMPARE(left, QStringList({"stnum.dat", "styles.dat"}));
    }

    void aFailedWriteKeepsTheOldFileAndSaysWhy()
    {
        test::TempDataFolder tmp;
        // A folder where the file should be: the write cannot succeed.
        const QString blocked = tmp.path() + "/blocked";
        QVERIFY(QDir().mkpath(blocked + "/styles.dat"));
        StyleList styles(blocked + "/stnum.dat", blocked + "/styles.dat");
        QVERIFY(!styles.writeEntries({"A*"}));
        QVERIFY(styles.lastError().contains("styles.dat"));
        QVERIFY(QFileInfo(blocked + "/styles.dat").isDir());
    }

    void aRowTheServerRefusesKeepsTheWholeOldList()
    {
        test::TempDataFolder tmp;
        if (!tmp.onServer())
            QSKIP("the server's transaction only");
        StyleList styles(tmp.folder());
        QVERIFY(styles.writeEntries({"Old*one", "Old*two"}));
        QVERIFY(execOnServer(tmp, "ALTER TABLE styles ADD CHECK (entry <> 'Bad*')"));
        QVERIFY(!styles.writeEntries({"New*", "Bad*"}));
        QVERIFY2(styles.lastError().contains(tmp.folder().server().describe()),
                 qPrintable(styles.lastError()));
        QCOMPARE(styles.readEntries(), QStringList({"Old*one", "Old*two"}));
    }
};

QTEST_GUILESS_MAIN(TestStyleList)
#include "tst_stylelist.moc"
