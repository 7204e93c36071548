#include "notebook/notebookstore.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace quillon;

namespace {

// Rows of note1 and their values, read with a connection of its own.
QList<QVariant> rows(const DataFolder& folder)
{
    QList<QVariant> values;
    Database db;
    if (!folder.openCatalogue(db, folder.note1Db()))
        return values;
    QSqlQuery q = db.prepare("SELECT notiz1 FROM note1 ORDER BY rowid");
    q.exec();
    while (q.next())
        values << q.value(0);
    return values;
}

bool execOn(const DataFolder& folder, const QString& sql)
{
    Database db;
    return folder.openCatalogue(db, folder.note1Db()) && db.exec(sql);
}

} // namespace

class TestNotebookStore final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshNotebookReadsAsNull()
    {
        test::TempDataFolder tmp;
        NotebookStore store(tmp.folder());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        const std::optional<NoteContent> content = store.read();
        QVERIFY(content);
        QVERIFY(content->isNull);
        QVERIFY(content->text.isEmpty());
    }

    // What is saved replaces what was there, lands in notiz1 of the one row
    // and is read back whole by another store, as when the window reopens.
    void writtenTextIsReadBackByAnotherStore_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and umlauts") << "It's \"quoted\"; DROP TABLE note1; -- äöü";
        QTest::newRow("empty") << QString("");
        QTest::newRow("line breaks") << "first\r\nsecond\rthird\n";
        QTest::newRow("long") << QString(300000, QChar(0xe4));
        QByteArray bytes;
        for (int i = 1; i < 256; ++i)
            bytes.append(char(i));
        QTest::newRow("every byte") << NotebookStore::bytesToFieldText(bytes);
    }
    void writtenTextIsReadBackByAnotherStore()
    {
        QFETCH(QString, text);
        test::TempDataFolder tmp;
        {
            NotebookStore store(tmp.folder());
            QVERIFY(store.write("what was there before"));
            QVERIFY(store.write(text));
        }
        NotebookStore again(tmp.folder());
        const std::optional<NoteContent> content = again.read();
        QVERIFY(content);
        QVERIFY(!content->isNull);
        QCOMPARE(content->text, text);
        QCOMPARE(rows(tmp.folder()), QList<QVariant>{text});
    }

    void onlyTheFirstRowIsWritten()
    {
        test::TempDataFolder tmp;
        QVERIFY(execOn(tmp.folder(), "INSERT INTO note1 (notiz1) VALUES ('second')"));
        NotebookStore store(tmp.folder());
        QVERIFY(store.write("first"));
        QCOMPARE(rows(tmp.folder()), (QList<QVariant>{"first", "second"}));
        QCOMPARE(store.read()->text, QString("first"));
    }

    void lostRowIsRecreatedOnWriteOnly()
    {
        test::TempDataFolder tmp;
        QVERIFY(execOn(tmp.folder(), "DELETE FROM note1"));
        NotebookStore store(tmp.folder());
        const std::optional<NoteContent> content = store.read();
        QVERIFY(content);
        QVERIFY(content->isNull);
        QCOMPARE(rows(tmp.folder()).size(), 0);
        QVERIFY(store.write("back"));
        QVERIFY(store.write("again"));
        QCOMPARE(rows(tmp.folder()), (QList<QVariant>{"again"}));
    }

    // Another room (a second store on the same catalogue) stores the notebook
    // after this room read it: a save based on that read stores nothing; one
    // based on what is stored now goes through. The same text stored again
    // is no change.
    void savesBasedOnAnOutdatedReadAreRefused_data()
    {
        QTest::addColumn<QString>("there");
        QTest::addColumn<bool>("refused");
        QTest::newRow("changed") << "theirs" << true;
        QTest::newRow("row lost") << QString() << true;
        QTest::newRow("stored unchanged") << "shown" << false;
    }
    void savesBasedOnAnOutdatedReadAreRefused()
    {
        QFETCH(QString, there);
        QFETCH(bool, refused);
        test::TempDataFolder tmp;
        NotebookStore here(tmp.folder()), other(tmp.folder());
        QVERIFY(here.write("shown"));
        const QString asRead = here.read()->text;
        QVERIFY(there.isNull() ? execOn(tmp.folder(), "DELETE FROM note1") : other.write(there));
        const QList<QVariant> before = rows(tmp.folder());
        QCOMPARE(here.write("mine", asRead), !refused);
        QCOMPARE(here.changedElsewhere(), refused);
        if (refused) {
            QVERIFY2(here.lastError().contains("in another room"), qPrintable(here.lastError()));
            QCOMPARE(rows(tmp.folder()), before);
            QVERIFY(here.write("mine", here.read()->text));
        }
        QCOMPARE(other.read()->text, QString("mine"));
    }

    void missingFileIsNamedInTheError()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("the file format only");
        const QString path = tmp.folder().note1Db();
        QVERIFY(QFile::remove(path));
        NotebookStore store(tmp.folder());
        QVERIFY(!store.open());
        QVERIFY(!store.read());
        QVERIFY(!store.write("x"));
        QVERIFY2(store.lastError().contains("note1.mdb"), qPrintable(store.lastError()));
        QVERIFY(!QFile::exists(path));
    }

    void missingTableFailsWithoutCreatingIt()
    {
        test::TempDataFolder tmp;
        QVERIFY(execOn(tmp.folder(), "DROP TABLE note1"));
        NotebookStore store(tmp.folder());
        QVERIFY(!store.read());
        QVERIFY(!store.write("x"));
        // The file by its name; on a server, the table the server missed.
        const QString named = tmp.onServer() ? "\"note1\"" : "note1.mdb";
        QVERIFY2(store.lastError().contains(named), qPrintable(store.lastError()));
    }

    void everyByteSurvivesTheFieldText()
    {
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        const QString text = NotebookStore::bytesToFieldText(bytes);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0xE4), QChar(0xE4));
        QCOMPARE(NotebookStore::fieldTextToBytes(text), bytes);
    }

    void everyByteSurvivesTheDatabase()
    {
        test::TempDataFolder tmp;
        QByteArray bytes;
        for (int i = 1; i < 256; ++i)
            bytes.append(char(i));
        NotebookStore store(tmp.folder());
        QVERIFY(store.write(NotebookStore::bytesToFieldText(bytes)));
        NotebookStore again(tmp.folder());
        QCOMPARE(NotebookStore::fieldTextToBytes(again.read()->text), bytes);
    }

    void textBeyondOneByteIsKeptAsUtf8()
    {
        const QString text = QString::fromUtf8("Notes \xe2\x82\xac and \xe4\xb8\xad");
        QCOMPARE(NotebookStore::fieldTextToBytes(text), text.toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestNotebookStore)
#include "tst_notebookstore.moc"
