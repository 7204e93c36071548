#include "notebook/notebookstore.h"
#include "store/database.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace quillon;

namespace {

// Rows of note1 and their values, read with a connection of its own.
QList<QVariant> rows(const QString& path)
{
    QList<QVariant> values;
    Database db;
    if (!db.open(path))
        return values;
    QSqlQuery q = db.prepare("SELECT notiz1 FROM note1 ORDER BY rowid");
    q.exec();
    while (q.next())
        values << q.value(0);
    return values;
}

bool execOn(const QString& path, const QString& sql)
{
    Database db;
    return db.open(path) && db.exec(sql);
}

} // namespace

class TestNotebookStore final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshNotebookReadsAsNull()
    {
        test::TempDataFolder tmp;
        NotebookStore store(tmp.folder().note1Db());
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
            NotebookStore store(tmp.folder().note1Db());
            QVERIFY(store.write("what was there before"));
            QVERIFY(store.write(text));
        }
        NotebookStore again(tmp.folder().note1Db());
        const std::optional<NoteContent> content = again.read();
        QVERIFY(content);
        QVERIFY(!content->isNull);
        QCOMPARE(content->text, text);
        QCOMPARE(rows(tmp.folder().note1Db()), QList<QVariant>{text});
    }

    void onlyTheFirstRowIsWritten()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().note1Db();
        QVERIFY(execOn(path, "INSERT INTO note1 (notiz1) VALUES ('second')"));
        NotebookStore store(path);
        QVERIFY(store.write("first"));
        QCOMPARE(rows(path), (QList<QVariant>{"first", "second"}));
        QCOMPARE(store.read()->text, QString("first"));
    }

    void lostRowIsRecreatedOnWriteOnly()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().note1Db();
        QVERIFY(execOn(path, "DELETE FROM note1"));
        NotebookStore store(path);
        const std::optional<NoteContent> content = store.read();
        QVERIFY(content);
        QVERIFY(content->isNull);
        QCOMPARE(rows(path).size(), 0);
        QVERIFY(store.write("back"));
        QVERIFY(store.write("again"));
        QCOMPARE(rows(path), (QList<QVariant>{"again"}));
    }

    void missingFileIsNamedInTheError()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().note1Db();
        QVERIFY(QFile::remove(path));
        NotebookStore store(path);
        QVERIFY(!store.open());
        QVERIFY(!store.read());
        QVERIFY(!store.write("x"));
        QVERIFY2(store.lastError().contains("note1.mdb"), qPrintable(store.lastError()));
        QVERIFY(!QFile::exists(path));
    }

    void missingTableFailsWithoutCreatingIt()
    {
        test::TempDataFolder tmp;
        const QString path = tmp.folder().note1Db();
        QVERIFY(execOn(path, "DROP TABLE note1"));
        NotebookStore store(path);
        QVERIFY(!store.read());
        QVERIFY(!store.write("x"));
        QVERIFY(store.lastError().contains("note1.mdb"));
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
        NotebookStore store(tmp.folder().note1Db());
        QVERIFY(store.write(NotebookStore::bytesToFieldText(bytes)));
        NotebookStore again(tmp.folder().note1Db());
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
