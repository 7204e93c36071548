// The song list model: titles in table order, read a batch at a time.

#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "songstorefixture.h"
#include "store/songconstants.h"

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

    static QList<int> rowsOf(const QModelIndexList& hits)
    {
        QList<int> out;
        for (const QModelIndex& i : hits)
            out << i.row();
        return out;
    }

    // 1000 numbered titles after the training song, with a few to find among
    // them: "Apple" at rows 2 and 700, "Quartz Beyond" at row 650.
    static bool insertSearchTable(SongStore& store)
    {
        QVariantList titles;
        for (int row = 1; row <= 1000; ++row) {
            if (row == 2 || row == 700)
                titles << "Apple";
            else if (row == 650)
                titles << "Quartz Beyond";
            else
                titles << QString("Song %1").arg(row);
        }
        return insertTitles(store, titles);
    }

private Q_SLOTS:
    void readsInTableOrderBatchByBatch()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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

    void matchReadsOnToAHitNotYetRead()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.setBatchSize(100);
        model.reload();
        QCOMPARE(model.rowCount(), 100);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        const QModelIndexList hits = model.match(model.index(0, 0), Qt::DisplayRole, "quartz");
        QCOMPARE(rowsOf(hits), QList<int>{650});
        QCOMPARE(hits.first().data().toString(), QString("Quartz Beyond"));
        // Read on only as far as the batch with the hit (100 + 100 + 200 + 400
        // rows), not the whole table.
        QCOMPARE(inserted.count(), 3);
        QCOMPARE(model.rowCount(), 800);
        QVERIFY(model.canFetchMore({}));
        // A hit among the rows read reads nothing more.
        QCOMPARE(rowsOf(model.match(model.index(0, 0), Qt::DisplayRole, "song 5")), QList<int>{5});
        QCOMPARE(model.rowCount(), 800);
        // The view's own reading goes on in its usual batches.
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 900);
    }

    void matchReadsAMissingTitleInFewBatches()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.setBatchSize(1);
        model.reload();
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QVERIFY(model.match(model.index(0, 0), Qt::DisplayRole, "Xylophone").isEmpty());
        // 1 + 2 + 4 + ... + 512 rows: ten reads for a thousand titles, not a thousand.
        QCOMPARE(inserted.count(), 10);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(allRows(model), store.titles());
    }

    void matchFromNoRowReadsNothing()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.reload();
        QVERIFY(model.match({}, Qt::DisplayRole, "quartz").isEmpty());
        QVERIFY(model.match(model.index(3, 0), Qt::DisplayRole, "quartz", 0).isEmpty());
        QCOMPARE(model.rowCount(), 256);
    }

    void matchWrapsOnlyAfterTheWholeTable()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.reload();
        // Past the first "Apple": the next one comes before wrapping to it,
        // though it is not read yet.
        QCOMPARE(rowsOf(model.match(model.index(3, 0), Qt::DisplayRole, "Apple")), QList<int>{700});
        // Without wrap, nothing after the last one.
        model.reload();
        QVERIFY(model.match(model.index(5, 0), Qt::DisplayRole, "Apple", 1, Qt::MatchStartsWith)
                    .size() == 1);
        QVERIFY(model.match(model.index(701, 0), Qt::DisplayRole, "Apple", 1, Qt::MatchStartsWith)
                    .isEmpty());
        QCOMPARE(model.rowCount(), 1001);
        // With wrap, the one before start after the table's end.
        QCOMPARE(rowsOf(model.match(model.index(701, 0), Qt::DisplayRole, "Apple")), QList<int>{2});
    }

    void matchNotFoundReadsTheTableAndFindsNothing()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.reload();
        QVERIFY(model.match(model.index(10, 0), Qt::DisplayRole, "Xylophone").isEmpty());
        QCOMPARE(model.rowCount(), 1001);
        QVERIFY(!model.canFetchMore({}));
    }

    // Whatever the start, count and flags, the hits are those the plain
    // QAbstractItemModel::match finds on the same titles all read at once.
    void matchAgreesWithTheBaseOnAWholeList_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("flags");
        const int sw = Qt::MatchStartsWith;
        const int wrap = Qt::MatchWrap;
        QTest::newRow("all apples from 0") << 0 << "apple" << -1 << (sw | wrap);
        QTest::newRow("all apples from 300 wrapped") << 300 << "apple" << -1 << (sw | wrap);
        QTest::newRow("all apples from 300") << 300 << "apple" << -1 << sw;
        QTest::newRow("two songs 99 from 990") << 990 << "Song 99" << 2 << (sw | wrap);
        QTest::newRow("12 songs 9 from 900") << 900 << "song 9" << 12 << (sw | wrap);
        QTest::newRow("case sensitive")
            << 0 << "apple" << -1 << (sw | wrap | int(Qt::MatchCaseSensitive));
        QTest::newRow("contains") << 600 << "beyond" << 1 << (int(Qt::MatchContains) | wrap);
        QTest::newRow("ends with") << 0 << " 999" << -1 << int(Qt::MatchEndsWith);
        QTest::newRow("fixed") << 800 << "APPLE" << 5 << (int(Qt::MatchFixedString) | wrap);
        QTest::newRow("exactly") << 800 << "Apple" << 5 << (int(Qt::MatchExactly) | wrap);
        QTest::newRow("exactly no case") << 0 << "apple" << 5 << int(Qt::MatchExactly);
        QTest::newRow("wildcard") << 500 << "*ng 77?" << 3 << (int(Qt::MatchWildcard) | wrap);
        QTest::newRow("regexp") << 0 << "^Song (1|99)0$" << -1 << int(Qt::MatchRegularExpression);
        QTest::newRow("no hits asked") << 0 << "Song" << 0 << (sw | wrap);
        QTest::newRow("empty text") << 998 << "" << 4 << (sw | wrap);
    }

    void matchAgreesWithTheBaseOnAWholeList()
    {
        QFETCH(int, start);
        QFETCH(QString, value);
        QFETCH(int, hits);
        QFETCH(int, flags);
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel whole(store);
        whole.reload();
        fetchToEnd(whole);
        const QModelIndexList expected = whole.QAbstractListModel::match(
            whole.index(start, 0), Qt::DisplayRole, value, hits, Qt::MatchFlags(flags));

        SongTitleModel lazy(store);
        lazy.setBatchSize(100);
        lazy.reload();
        // Start must be a row read; reading up to it is what a view would have done.
        while (lazy.rowCount() <= start)
            lazy.fetchMore({});
        const QModelIndexList got =
            lazy.match(lazy.index(start, 0), Qt::DisplayRole, value, hits, Qt::MatchFlags(flags));
        QCOMPARE(rowsOf(got), rowsOf(expected));
        for (const QModelIndex& i : got)
            QCOMPARE(i.model(), &lazy);
    }

    void matchFindsAwkwardTitlesBeyondWhatIsRead()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        const QStringList awkward{
            "'; DROP TABLE xtrax; --", "100% _wild_", "Back\\slash", "Über Ärger ß", "Say \"Hi\"",
            "  blanks around  "};
        QVariantList titles;
        for (int i = 0; i < 20; ++i)
            titles << QString("Filler %1").arg(i);
        for (const QString& t : awkward)
            titles << t;
        QVERIFY(insertTitles(store, titles));
        const QList<QPair<QString, int>> searches{
            {"'; drop", 21},    {"100% _", 22},  {"back\\s", 23},  {"über ärger", 24},
            {"ÜBER ÄRGER", 24}, {"say \"h", 25}, {"  blanks", 26}, {"%", -1},
            {"_", -1},          {"*", -1}};
        for (const auto& [text, row] : searches) {
            SongTitleModel model(store);
            model.setBatchSize(4);
            model.reload();
            const QModelIndexList hits = model.match(model.index(0, 0), Qt::DisplayRole, text);
            QCOMPARE(rowsOf(hits), row < 0 ? QList<int>{} : QList<int>{row});
        }
    }

    void matchStopsAtAFailedRead()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
        QVERIFY(insertSearchTable(store));
        SongTitleModel model(store);
        model.reload();
        store.close();
        QSignalSpy failed(&model, &SongTitleModel::readFailed);
        // Found among the rows read: no read, no failure.
        QCOMPARE(rowsOf(model.match(model.index(0, 0), Qt::DisplayRole, "apple")), QList<int>{2});
        QCOMPARE(failed.count(), 0);
        // Past them: one failed read, reported once, and the wrap still done.
        QCOMPARE(rowsOf(model.match(model.index(3, 0), Qt::DisplayRole, "apple")), QList<int>{2});
        QCOMPARE(failed.count(), 1);
        QCOMPARE(model.rowCount(), 256);
        QVERIFY(model.match(model.index(3, 0), Qt::DisplayRole, "quartz").isEmpty());
        QCOMPARE(failed.count(), 1);
    }

    void storePageBoundsAndFailure()
    {
        test::SongStoreFixture fx;
        SongStore& store = fx.store;
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
