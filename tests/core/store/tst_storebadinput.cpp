// Input a user can type, or a damaged settings file can hold, that breaks
// naive SQL, encodings or parsers: stored and found exactly as typed.

#include "songs/songstore.h"
#include "store/database.h"
#include "store/serveraddress.h"
#include "store/settings.h"
#include "store/songconstants.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>
#include <QUrl>

using namespace quillon;

namespace {

const QStringList& nastyPieces()
{
    static const QStringList pieces{"O'Neil", "say \"hi\"", "a;b",
                                    "x -- y", "100%",       "a_c",
                                    "star*",  "tab\there",  "Mädchen Straße",
                                    "😀🎸",     "שלום עולם",  "'); DROP TABLE xtrax; --"};
    return pieces;
}

// piece repeated and cut to exactly length characters (emoji count as two).
QString atLength(const QString& piece, int length)
{
    QString s;
    while (s.size() < length)
        s += piece + ' ';
    s.truncate(length);
    if (s.at(length - 1).isHighSurrogate() || s.at(length - 1).isSpace())
        s[length - 1] = 'z';
    return s;
}

} // namespace

class TestStoreBadInput final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titlesSurviveTheWholeLifeCycle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("renamed");
        for (const QString& piece : nastyPieces()) {
            for (int length : {int(piece.size()), 50, 51, 300}) {
                const QString title = atLength(piece, length);
                QTest::addRow("%s/%d", qPrintable(piece), length)
                    << title << atLength("new " + piece, length);
            }
        }
    }
    void titlesSurviveTheWholeLifeCycle()
    {
        QFETCH(QString, title);
        QFETCH(QString, renamed);
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY2(store.create({title, title, title, title}), qPrintable(store.lastError()));
        QVERIFY(store.titles().contains(title));
        QVERIFY(store.titleExists(title.toUpper()));
        QVERIFY(store.titleExists("  " + title + "\t"));
        QCOMPARE(store.song(title)->text("composer"), title);
        QCOMPARE(store.trackRow(title, 10).at(47), generatedTrackText(title, 10, 48));
        QVERIFY(store.writeTracks(title, 5, 1, {title}));
        QCOMPARE(store.trackRow(title, 5).at(0), title);

        QVERIFY2(store.rename(title, renamed, {{"notiz1", title}}), qPrintable(store.lastError()));
        QVERIFY(!store.song(title));
        QCOMPARE(store.trackRow(renamed, 5).at(0), title);
        QCOMPARE(store.song(renamed)->text("notiz1"), title);
        QVERIFY(store.remove(renamed));
        QCOMPARE(store.titles(), QStringList{kTrainingSong});
        bool found = true;
        store.trackRow(renamed, 5, &found);
        QVERIFY(!found);
    }

    void wildcardsMatchOnlyThemselves()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        for (const char* t : {"a_c", "abc", "100%", "1000", "st*r", "star"})
            QVERIFY(store.create({t, {}, {}, {}}));
        QVERIFY(store.remove("a_c"));
        QVERIFY(store.remove("100%"));
        QVERIFY(store.remove("st*r"));
        QCOMPARE(store.titles(), QStringList({kTrainingSong, "abc", "1000", "star"}));
        QVERIFY(!store.titleExists("a_c"));
        QVERIFY(store.titleExists("ABC"));
    }

    void megabyteNoteAndLyrics()
    {
        test::TempDataFolder tmp;
        SongStore store(tmp.folder());
        QVERIFY(store.open());
        QVERIFY(store.create({"Long", {}, {}, {}}));
        QString note;
        while (note.size() < 1024 * 1024)
            note += QString("Zeile %1: Mädchen 'quoted' \"double\" ; -- 😀\r\n").arg(note.size());
        QString lyrics = "{\\rtf1\\ansi " + QString(1024 * 1024, 'l') + "}";
        QVERIFY2(store.updateFields("Long", {{"notiz1", note}, {"lyrics", lyrics}}),
                 qPrintable(store.lastError()));
        store.close();
        SongStore again(tmp.folder());
        QVERIFY(again.open());
        const auto song = again.song("Long");
        QVERIFY(song);
        QCOMPARE(song->text("notiz1"), note);
        QCOMPARE(song->text("lyrics"), lyrics);
    }

    void settingsWithGarbageGiveDefaults()
    {
        test::TempDataFolder tmp(false);
        {
            QFile ini(tmp.settingsFile());
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Settings]\nShowSidebar=yes\nMainLeft=abc\nMainTop=1e999\nMainWidth="
                      "nan\nMainHeight=\n"
                      "OtherLeft=-500\nOtherTop=-1e6\nOtherWidth=0x20\nOtherHeight=\"\\\";--\n"
                      "RecentSong=O'Neil \"x\"\n");
        }
        Settings settings(tmp.settingsFile());
        const Placement defaults{10, 20, 3000, 4000};
        QCOMPARE(settings.placement("Main", defaults), defaults);
        // Negative numbers are numbers: the windows move them onto the screen.
        const Placement other = settings.placement("Other", defaults);
        QCOMPARE(other.left, -500.0);
        QCOMPARE(other.top, -1e6);
        QCOMPARE(other.width, 3000.0);
        QCOMPARE(other.height, 4000.0);
        QCOMPARE(settings.showSidebar(true), false); // anything but 1 is off
        // An unterminated quote swallows what follows; those keys read as defaults.
        QCOMPARE(settings.recentSong(), kNoSongLoaded);
        QCOMPARE(settings.number("Missing", 7.5f), 7.5f);
    }

    // A server address is kept and shown without its password, whichever
    // way the password was given; what libpq cannot take is refused.
    void serverAddressesKeepNoPassword_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QString>("kept"); // empty: refused
        QTest::addColumn<QString>("options");
        QTest::newRow("plain") << "postgresql://ann@db.example:5433/songs"
                               << "postgresql://ann@db.example:5433/songs"
                               << "";
        QTest::newRow("password in the user part")
            << "postgres://ann:s3cr%40t@db/songs?sslmode=verify-full"
            << "postgres://ann@db/songs?sslmode=verify-full"
            << "sslmode='verify-full'";
        QTest::newRow("password as a parameter")
            << "postgresql://db/songs?password=s3cr@t&application_name=it's"
            << "postgresql://db/songs?application_name=it's"
            << "application_name='it\\'s'";
        QTest::newRow("a folder") << "/home/ann/data"
                                  << ""
                                  << "";
        QTest::newRow("a separator libpq would split")
            << "postgresql://db/songs?options=a;host=evil"
            << ""
            << "";
        QTest::newRow("nothing named") << "postgresql://"
                                       << ""
                                       << "";
    }

    void serverAddressesKeepNoPassword()
    {
        QFETCH(QString, uri);
        QFETCH(QString, kept);
        QFETCH(QString, options);
        QString error;
        const ServerAddress a = ServerAddress::parse(uri, &error);
        QCOMPARE(a.isValid(), !kept.isEmpty());
        QVERIFY(!error.contains("s3cr"));
        if (!a.isValid()) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QCOMPARE(QUrl::fromPercentEncoding(a.withoutPassword().toUtf8()), kept);
        QCOMPARE(a.options(), options);
        QCOMPARE(a.hasPassword(), uri.contains("s3cr"));
        for (const QString& shown : {a.describe(), a.withoutPassword(),
                                     describeServerError(a, "password authentication failed")})
            QVERIFY2(!shown.contains("s3cr"), qPrintable(shown));
    }
};

QTEST_GUILESS_MAIN(TestStoreBadInput)
#include "tst_storebadinput.moc"
