#include "devices/deviceregister.h"
#include "maintenance/integritycheck.h"
#include "maintenance/integrityrepair.h"
#include "maintenance/searchbuild.h"
#include "media/mediastore.h"
#include "notebook/notebookstore.h"
#include "search/cataloguesearch.h"
#include "search/searchindex.h"
#include "search/searchquery.h"
#include "search/searchtext.h"
#include "search/servercandidates.h"
#include "songs/songstore.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/serverschema.h"
#include "tempdatafolder.h"

#include <memory>
#include <QRegularExpression>
#include <QTest>

using namespace quillon;

Q_DECLARE_METATYPE(SearchHit::Kind)

// One search over the catalogue, on either engine: what people expect of
// matching, and an index that follows every write.
class TestCatalogueSearch final : public QObject {
    Q_OBJECT

private:
    // "kind subject slot/track: context" of every hit, for comparing.
    static QStringList found(CatalogueSearch& search, const QString& query)
    {
        QStringList lines;
        for (const SearchHit& h : search.find(SearchQuery(query)))
            lines << QString("%1 %2 %3/%4")
                         .arg(SearchHit::kindName(h.kind), h.subject)
                         .arg(h.slot)
                         .arg(h.track);
        return lines;
    }

    static void build(const DataFolder& folder)
    {
        SearchBuild b(folder);
        QVERIFY2(b.run(), qPrintable(b.lastError()));
        QVERIFY(b.complete());
    }

    std::unique_ptr<test::TempDataFolder> m_tmp;
    std::unique_ptr<SongStore> m_store;

private Q_SLOTS:
    void initTestCase()
    {
        m_tmp = std::make_unique<test::TempDataFolder>();
        m_store = std::make_unique<SongStore>(m_tmp->folder());
        QVERIFY(m_store->open());
        build(m_tmp->folder());
        QVERIFY(m_store->create({"Indexed", {}, {}, {}}));
    }

    void cleanupTestCase()
    {
        m_store.reset();
        m_tmp.reset();
    }

    void matchingIsWhatPeopleExpect_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("marked"); // the marked words joined by "|"; empty: no match
        QTest::newRow("accents") << "Café Blue"
                                 << "cafe"
                                 << "Café";
        QTest::newRow("case and accents in the query") << "cafe blue"
                                                       << "CAFÉ"
                                                       << "cafe";
        QTest::newRow("prefix") << "lead vocal take"
                                << "voc"
                                << "vocal";
        QTest::newRow("not inside a word") << "lead vocal"
                                           << "cal"
                                           << "";
        QTest::newRow("all words") << "bass guitar, DI"
                                   << "di bass"
                                   << "bass|DI";
        QTest::newRow("one word missing") << "bass guitar"
                                          << "bass drum"
                                          << "";
        QTest::newRow("phrase") << "old Neumann U87 on vocals"
                                << "\"neumann u87\""
                                << "Neumann|U87";
        QTest::newRow("phrase out of order") << "U87 Neumann"
                                             << "\"neumann u87\""
                                             << "";
        QTest::newRow("umlauts and sharp s") << "Grüße aus Köln"
                                             << "GRUSSE koln"
                                             << "Grüße|Köln";
        QTest::newRow("sharp s in the query") << "STRASSE 5"
                                              << "straße"
                                              << "STRASSE";
        QTest::newRow("Cyrillic") << "Москва вечером"
                                  << "моск"
                                  << "Москва";
        QTest::newRow("Japanese inside a run") << "東京都の夜"
                                               << "京都"
                                               << "京|都";
        QTest::newRow("apostrophe") << "O'Neil's talkbox"
                                    << "talk"
                                    << "talkbox";
        QTest::newRow("punctuation only") << "a b"
                                          << "!?"
                                          << "";
    }

    void matchingIsWhatPeopleExpect()
    {
        QFETCH(QString, text);
        QFETCH(QString, query);
        QFETCH(QString, marked);
        QStringList words;
        for (const SearchQuery::Span& s : SearchQuery(query).match(text))
            words << text.mid(s.start, s.length);
        QCOMPARE(words.join('|'), marked);

        // The index finds the same (no candidate lost to the engine's own rules).
        QVERIFY(m_store->writeTracks("Indexed", 7, 37, {text}));
        CatalogueSearch search(m_tmp->folder());
        const QStringList hits = found(search, query);
        QCOMPARE(hits.contains("Tracks Indexed 7/37"), !marked.isEmpty());
    }

    void theIndexFollowsEveryWrite()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        build(tmp.folder());
        CatalogueSearch search(tmp.folder());
        QVERIFY(store.create({"Blue Night", "words", "Ann Composer", {}}));
        // A new song's placeholder tracks are not what anyone looks for.
        QCOMPARE(found(search, "blue night"), QStringList{"Songs Blue Night 0/0"});
        QVERIFY(found(search, "\"night dev 1 track\"").isEmpty());
        QCOMPARE(found(search, "composer"), QStringList{"Songs Blue Night 0/0"});
        // Its rows without text are not written, and the check knows that.
        QVERIFY2(IntegrityCheck(tmp.folder()).thorough().clean(),
                 qPrintable(IntegrityCheck(tmp.folder()).thorough().summary()));
        QVERIFY(store.writeTracks("Blue Night", 3, 37, {"talkbox"}));
        QCOMPARE(found(search, "talkbox"), QStringList{"Tracks Blue Night 3/37"});
        QVERIFY(store.updateFields("Blue Night", {{"Producer1", "Zoë Producer"},
                                                  {"notiz1", "mix at dawn"},
                                                  {"lyrics", "<!DOCTYPE HTML><html><head><style>p "
                                                             "{}</style></head><body><p>Strasse "
                                                             "&amp; Moon</p></body></html>"}}));
        QCOMPARE(found(search, "zoe"), QStringList{"Session details Blue Night 0/0"});
        QCOMPARE(found(search, "dawn"), QStringList{"Song notes Blue Night 0/0"});
        QCOMPARE(found(search, "moon"), QStringList{"Lyrics Blue Night 0/0"});
        QVERIFY(found(search, "style").isEmpty()); // the style sheet is not the text
        QVERIFY(store.rename("Blue Night", "Red Dawn"));
        QCOMPARE(found(search, "talkbox"), QStringList{"Tracks Red Dawn 3/37"});
        QVERIFY(found(search, "blue").isEmpty());
        QVERIFY(store.writeTracks("Red Dawn", 3, 37, {"clavinet"}));
        QVERIFY(found(search, "talkbox").isEmpty());
        QVERIFY(store.remove("Red Dawn"));
        QVERIFY(found(search, "clavinet").isEmpty());
        QVERIFY(found(search, "dawn").isEmpty());
        // A song's details row is always there, so a lost one is found.
        QVERIFY(store.create({"Lost Row", {}, {}, {}}));
        QVERIFY(IntegrityCheck(tmp.folder()).quick().clean());
        bool ok = false;
        const qint64 ref = SearchIndex::songRef(store.indexer().rowidsOf("Lost Row", &ok).value(0),
                                                SearchIndex::Details);
        QVERIFY(ok);
        QVERIFY(store.database().exec(
            tmp.onServer() ? "DELETE FROM searchindex WHERE part = 'songs' AND ref = ?"
                           : "DELETE FROM searchindex WHERE rowid = ?",
            {ref}));
        QVERIFY(!IntegrityCheck(tmp.folder()).quick().clean());
    }

    // Track hits come in stored order (song, slot, track) however the
    // candidates are read: rows of several slots at once, rows whose texts
    // hold the words only apart, and the limit reached inside a row.
    void trackHitsComeInStoredOrder()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        build(tmp.folder());
        QStringList expected, phrase;
        for (int song = 1; song <= 12; ++song) {
            const QString title = QString("Take %1").arg(song, 2, 10, QChar('0'));
            QVERIFY(store.create({title, {}, {}, {}}));
            for (const int slot : {1, 4, 10}) {
                QStringList texts(schema::kTracksPerRow, QString("bass"));
                const int hits = (song + slot) % 3; // 0: the words only apart
                const int first = (song * 7 + slot) % 90 + 1;
                texts[first - 1] = hits ? "Conga loop, left" : "conga";
                texts[first + 4] = hits == 2 ? "loop and CONGA" : "loop";
                QVERIFY(store.writeTracks(title, slot, 1, texts));
                if (hits)
                    expected << QString("Tracks %1 %2/%3").arg(title).arg(slot).arg(first);
                if (hits == 2) {
                    expected << QString("Tracks %1 %2/%3").arg(title).arg(slot).arg(first + 5);
                    phrase << expected.last();
                }
            }
        }
        QVERIFY(expected.size() > 20);
        CatalogueSearch search(tmp.folder());
        QCOMPARE(found(search, "conga loop"), expected.mid(0, 20));
        QCOMPARE(found(search, "\"loop and conga\""), phrase);
    }

    // Media, devices and the notebook are found as their stores write them.
    void mediaDevicesAndTheNotebookAreFound()
    {
        test::TempDataFolder tmp;
        build(tmp.folder());
        CatalogueSearch search(tmp.folder());
        MediaStore media(tmp.folder());
        Medium reel;
        reel.name = "Reel 7";
        reel.brand = "Ampex Grand Master";
        QVERIFY2(media.add(reel), qPrintable(media.lastError()));
        QCOMPARE(found(search, "ampex"), QStringList{"Media Reel 7 0/0"});
        reel.brand = "BASF";
        QVERIFY(media.update("Reel 7", reel));
        QVERIFY(found(search, "ampex").isEmpty());
        QCOMPARE(found(search, "basf"), QStringList{"Media Reel 7 0/0"});
        QVERIFY(media.remove("Reel 7"));
        QVERIFY(found(search, "basf").isEmpty());

        DeviceRegister devices(tmp.folder());
        DeviceRecord neumann = devices.findSlot(3).value();
        neumann.seller = "Old Neumann Shop";
        QVERIFY2(devices.updateSlot(3, neumann), qPrintable(devices.lastError()));
        QCOMPARE(found(search, "neumann shop").value(0).left(8), QString("Devices "));
        QCOMPARE(search.find(SearchQuery("neumann shop")).value(0).slot, 3);

        NotebookStore notebook(tmp.folder());
        QVERIFY(notebook.write("Call the piano tuner on Friday"));
        QCOMPARE(found(search, "tuner"), QStringList{"Notebook  0/0"});
    }

    // Songs changed around the store (another program, a hand edit) leave
    // the index behind: the check finds it, the repair builds it anew.
    void aRepairBringsTheIndexBackInStep()
    {
        test::TempDataFolder tmp;
        build(tmp.folder());
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            QVERIFY(store.create({"Kept", {}, {}, {}}));
            QVERIFY(store.create({"Gone", {}, {}, {}}));
            Database& db = store.database();
            QVERIFY(db.exec("UPDATE xtrax SET artist = 'Hammond Organ' WHERE songtitle = 'Kept'"));
            QVERIFY(db.exec("DELETE FROM xtrax WHERE songtitle = 'Gone'"));
            for (int n = 1; n <= 10; ++n)
                QVERIFY(db.exec(QString("DELETE FROM %1 WHERE songtitle = 'Gone'")
                                    .arg(tmp.onServer() ? QString("rd%1").arg(n)
                                                        : QString("t%1.rd%1").arg(n))));
        }
        const IntegrityReport before = IntegrityCheck(tmp.folder()).thorough();
        QVERIFY2(!before.clean(), qPrintable(before.summary()));
        // A server's title keys miss the song deleted around them as well.
        QList<IntegrityProblem::Kind> kinds;
        for (const IntegrityProblem& p : before.problems)
            kinds << p.kind;
        QVERIFY(kinds.contains(IntegrityProblem::Kind::SearchIndex));
        QCOMPARE(kinds.count(IntegrityProblem::Kind::SearchIndex) +
                     kinds.count(IntegrityProblem::Kind::KeyTable),
                 kinds.size());
        const RepairResult repaired = IntegrityRepair(tmp.folder()).run();
        QVERIFY2(repaired.ok(), qPrintable(repaired.failures.join('\n')));
        QVERIFY2(IntegrityCheck(tmp.folder()).thorough().clean(),
                 qPrintable(IntegrityCheck(tmp.folder()).thorough().summary()));
        CatalogueSearch search(tmp.folder());
        QCOMPARE(found(search, "hammond"), QStringList{"Songs Kept 0/0"});
        QVERIFY(found(search, "gone").isEmpty());
    }

    void aFirstBuildIndexesWhatIsThereAndCanStopAndGoOn()
    {
        test::TempDataFolder tmp;
        {
            SongStore store(tmp.folder());
            QVERIFY(store.open());
            for (int i = 0; i < SearchBuild::kBatch + 20; ++i)
                QVERIFY(store.create({QString("Song %1").arg(i), {}, {}, {}}));
            QVERIFY(store.writeTracks("Song 110", 10, 96, {"theremin"}));
            // A server lays out its index with the catalogue; a folder gets it at the first build.
            QVERIFY(SearchBuild(tmp.folder()).invalidate());
        }
        SearchBuild b(tmp.folder());
        QVERIFY(!b.complete());
        QList<qint64> seen;
        QVERIFY(b.run([&seen](qint64 done, qint64) { return seen << done, seen.size() < 2; }));
        QVERIFY(!b.complete());
        QVERIFY(b.run());
        QVERIFY(b.complete());
        CatalogueSearch search(tmp.folder());
        QCOMPARE(found(search, "theremin"), QStringList{"Tracks Song 110 10/96"});
        QCOMPARE(found(search, "\"song 15\"").filter(QRegularExpression("^Songs ")),
                 QStringList{"Songs Song 15 0/0"});
    }

    // On a server the first matches are read in order for common words and
    // through the word index for rare ones; either way the same refs come.
    void theServerGivesTheFirstMatchesInOrder()
    {
        test::TempDataFolder tmp;
        if (!tmp.onServer())
            QSKIP("a data folder's index reads matches in order itself");
        Database db;
        QVERIFY(serverschema::open(db, tmp.folder().server()));
        QVERIFY(db.exec("DELETE FROM searchindex WHERE part = 'notebook'"));
        auto has = [](int ref, const QString& word) {
            return word == "common" || (word == "mid" && ref % 20 == 0) ||
                   (word == "few" && ref % 400 == 0) || (word == "rare" && ref == 2999);
        };
        QVERIFY(db.exec("INSERT INTO searchindex (part, ref, body) SELECT 'notebook', g, 'common' "
                        "|| CASE WHEN g % 20 = 0 THEN ' mid' ELSE '' END || CASE WHEN g % 400 = "
                        "0 THEN ' few' ELSE '' END || CASE WHEN g = 2999 THEN ' rare' ELSE '' "
                        "END FROM generate_series(1, 3000) g"));
        const QStringList queries{"common", "mid", "few", "rare", "mi few", "nothing"};
        for (const QString& text : queries) {
            for (const int limit : {1, 7, 40}) {
                const SearchQuery query(text);
                QList<qint64> expected;
                for (int ref = 1; ref <= 3000 && expected.size() < limit; ++ref) {
                    bool all = true;
                    for (const QString& w : text.split(' '))
                        all = all && (has(ref, w) || (w == "mi" && has(ref, "mid")));
                    if (all)
                        expected << ref;
                }
                QString error;
                QCOMPARE(serverCandidates(db, "notebook", query.tsquery(), limit, &error),
                         expected);
                QVERIFY2(error.isEmpty(), qPrintable(error));
            }
        }
    }

    // A folder indexed before the word lists existed: long word starts are
    // still found, and the next build takes the lists from the index.
    void anIndexWithoutItsWordListsGetsThemAtTheNextBuild()
    {
        test::TempDataFolder tmp;
        if (tmp.onServer())
            QSKIP("a server's index has no word lists");
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        build(tmp.folder());
        QVERIFY(store.create({"Vintage", {}, {}, {}}));
        QVERIFY(store.writeTracks("Vintage", 2, 5, {"mellotron strings"}));
        {
            Database db;
            QVERIFY(db.open(tmp.folder().songDb()));
            for (const auto p : {SearchIndex::Part::Songs, SearchIndex::Part::Tracks})
                QVERIFY(db.exec("DROP TABLE " + SearchIndex::wordTable(p)));
        }
        CatalogueSearch search(tmp.folder());
        QCOMPARE(found(search, "mellotr"), QStringList{"Tracks Vintage 2/5"});
        QVERIFY(!SearchBuild(tmp.folder()).complete());
        build(tmp.folder());
        SongStore reopened(tmp.folder());
        QVERIFY(reopened.open());
        QVERIFY(reopened.writeTracks("Vintage", 2, 6, {"wurlitzer"}));
        CatalogueSearch after(tmp.folder());
        QCOMPARE(found(after, "mellotr"), QStringList{"Tracks Vintage 2/5"});
        QCOMPARE(found(after, "wurlitz"), QStringList{"Tracks Vintage 2/6"});
        QCOMPARE(found(after, "vinta"), QStringList{"Songs Vintage 0/0"});
    }
};

QTEST_GUILESS_MAIN(TestCatalogueSearch)
#include "tst_cataloguesearch.moc"
