// The song list model: titles in table order, read a batch at a time.

#include "songs/songconstants.h"
#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "tempdatafolder.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using namespace quillon;

class TestSongTitleModel final : public QObject {
    Q_OBJECT

private:
    // Song rows only, in one transaction: quicker than creating whole songs,
    // and the list reads nothing else.
    static bool insertTitles(SongStore& store, const QVariantList& titles)
    {
        Database& db = store.database();
        if (!db.transaction())
            return false;
        for (const QVariant& t : titles)
            if (!db.exec("INSERT INTO xtrax (songtitle) VALUES (?)", {t}))
                return false;
        return db.commit();
    }

    static QStringList allRows(const SongTitleModel& model)
    {
        QStringList out;
        for (int i = 0; i < model.rowCount(); ++i)
            out << model.data(model.index(i, 0)).toString();
        return out;
    }

    static void fetchToEnd(SongTitleModel& model)
    {
        for (int guard = 0; model.canFetchMore({}) && guard < 10000; ++guard)
            model.fetchMore({});
    }

private Q_SLOTS:
    void readsInTableOrderBatchByBatch()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        // Numbered downwards and mixed, so table order is neither sorted nor reversed.
        QStringList expected{kTrainingSong};
        QVariantList titles;
        for (int i = 0; i < 600; ++i) {
            const QString t = QString("%1 Song %2").arg(QChar('A' + (i * 7) % 26)).arg(600 - i);
            expected << t;
            titles << t;
        }
        QVERIFY(insertTitles(store, titles));

        SongTitleModel model(store);
        QCOMPARE(model.batchSize(), 256);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.reload();
        QCOMPARE(model.rowCount(), 256);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 512);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 601);
        QVERIFY(!model.canFetchMore({}));
        model.fetchMore({}); // at the end: nothing more, nothing repeated
        QCOMPARE(model.rowCount(), 601);
        QCOMPARE(inserted.count(), 3);
        QCOMPARE(inserted.at(2).at(1).toInt(), 512);
        QCOMPARE(inserted.at(2).at(2).toInt(), 600);
        QCOMPARE(allRows(model), expected);
        QCOMPARE(allRows(model), store.titles());
        QCOMPARE(model.title(600), expected.last());
        QCOMPARE(model.title(601), QString());
        QCOMPARE(model.title(-1), QString());
        QVERIFY(model.readOk());
    }

    void tableOfExactlyOneBatchEnds()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(insertTitles(store, {"B", "C", "D"}));
        SongTitleModel model(store);
        model.setBatchSize(4);
        model.reload();
        QCOMPARE(model.rowCount(), 4);
        // A full batch may be followed by more; only the next read can tell.
        QVERIFY(model.canFetchMore({}));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.fetchMore({});
        QCOMPARE(inserted.count(), 0);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "B", "C", "D"}));
    }

    void renamedSongKeepsItsPlace()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        for (const char* t : {"Alpha", "Bravo", "Charlie"})
            QVERIFY(store.create({t, {}, {}, {}}));
        SongTitleModel model(store);
        model.reload();
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "Alpha", "Bravo", "Charlie"}));
        QVERIFY(store.rename("Bravo", "Aardvark"));
        // What was read stays until the list is read again.
        QCOMPARE(model.title(2), QString("Bravo"));
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.reload();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "Alpha", "Aardvark", "Charlie"}));
    }

    void deletedSongLeavesNoGapOrRepeat()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        for (const char* t : {"One", "Two", "Three", "Four", "Five"})
            QVERIFY(store.create({t, {}, {}, {}}));
        QVERIFY(store.remove("Three"));
        SongTitleModel model(store);
        model.setBatchSize(2);
        model.reload();
        fetchToEnd(model);
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "One", "Two", "Four", "Five"}));

        // A song already listed is deleted between two batches: the next batch
        // still starts right after the last row read, skipping none.
        model.reload();
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "One"}));
        QVERIFY(store.remove("One"));
        model.fetchMore({});
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "One", "Two", "Four"}));
        // And a song made meanwhile comes at the end.
        QVERIFY(store.create({"Six", {}, {}, {}}));
        fetchToEnd(model);
        QCOMPARE(allRows(model), QStringList({kTrainingSong, "One", "Two", "Four", "Five", "Six"}));
    }

    void awkwardTitlesReadAsWritten()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        const QStringList awkward{
            "It's Only Rock", "Say \"Hi\"",  "O''Brien's",   "'; DROP TABLE xtrax; --",
            "100% _wild_",    "Back\\slash", "Über Ärger ß", "  blanks around  "};
        QVariantList titles;
        for (const QString& t : awkward)
            titles << t;
        titles << QVariant(QMetaType(QMetaType::QString)); // a null title
        titles << "After Null";
        QVERIFY(insertTitles(store, titles));
        QSqlQuery nulls =
            store.database().prepare("SELECT count(*) FROM xtrax WHERE songtitle IS NULL");
        QVERIFY(nulls.exec() && nulls.next());
        QCOMPARE(nulls.value(0).toInt(), 1);
        nulls = QSqlQuery();
        SongTitleModel model(store);
        model.setBatchSize(3);
        model.reload();
        fetchToEnd(model);
        QCOMPARE(model.rowCount(), 11);
        QCOMPARE(allRows(model).mid(1, 8), awkward);
        const QVariant nullTitle = model.data(model.index(9, 0));
        QVERIFY(nullTitle.isValid());
        QVERIFY(!nullTitle.toString().isNull());
        QCOMPARE(nullTitle.toString(), QString(""));
        QCOMPARE(model.title(10), QString("After Null"));
        QCOMPARE(store.count(), 11);
    }

    void emptyTableHasNoRows()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.remove(kTrainingSong));
        SongTitleModel model(store);
        model.reload();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.canFetchMore({}));
        QVERIFY(model.readOk());
        QCOMPARE(model.title(0), QString());
        QVERIFY(!model.data(model.index(0, 0)).isValid());
    }

    void readOnlyAndFlat()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        SongTitleModel model(store);
        model.reload();
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(model.title(0), kTrainingSong);
        QVERIFY(!(model.flags(first) & Qt::ItemIsEditable));
        QVERIFY(model.flags(first) & Qt::ItemIsSelectable);
        QVERIFY(!model.setData(first, "Changed"));
        QCOMPARE(model.rowCount(first), 0);
        QVERIFY(!model.canFetchMore(first));
        QVERIFY(!model.data(first, Qt::DecorationRole).isValid());
    }

    void failedReadIsReportedNotTakenForTheEnd()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        SongTitleModel model(store);
        model.reload();
        QCOMPARE(model.rowCount(), 1);
        QVERIFY(model.readOk());
        store.close();
        QSignalSpy failed(&model, &SongTitleModel::readFailed);
        model.reload();
        QCOMPARE(failed.count(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        QVERIFY(!model.readOk());
        QCOMPARE(model.rowCount(), 0);
        // Asking again would fail again.
        QVERIFY(!model.canFetchMore({}));
        // Once the store is back the next reload reads normally.
        QVERIFY(store.open());
        model.reload();
        QVERIFY(model.readOk());
        QCOMPARE(model.rowCount(), 1);
    }

    void storePageBoundsAndFailure()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(insertTitles(store, {"X", "Y"}));
        bool ok = false;
        const auto all = store.titlesAfter(0, 10, &ok);
        QVERIFY(ok);
        QCOMPARE(all.size(), 3);
        QVERIFY(all.at(0).rowid < all.at(1).rowid && all.at(1).rowid < all.at(2).rowid);
        const auto rest = store.titlesAfter(all.at(0).rowid, 10, &ok);
        QCOMPARE(rest.size(), 2);
        QCOMPARE(rest.at(0).title, QString("X"));
        QVERIFY(store.titlesAfter(all.at(2).rowid, 10, &ok).isEmpty());
        QVERIFY(ok);
        QVERIFY(store.titlesAfter(0, 0, &ok).isEmpty());
        QVERIFY(ok);
        store.close();
        QVERIFY(store.titlesAfter(0, 10, &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(!store.lastError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSongTitleModel)
#include "tst_songtitlemodel.moc"
