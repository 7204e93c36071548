#include "store/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

class TestSettings final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultsWhenAbsent()
    {
        QTemporaryDir dir;
        Settings s(dir.filePath("s.ini"));
        QCOMPARE(s.recentSong(), QString("No Song loaded"));
        QVERIFY(!s.openRecentSong());
        QVERIFY(s.showWelcomeScreen());
        QVERIFY(s.showTipScreen());
        QVERIFY(!s.showDeviceBar());
        QVERIFY(s.showSidebar());       // start-up reading
        QVERIFY(!s.showSidebar(false)); // the settings dialog's reading
        QCOMPARE(s.lyricsSaveAs(), QString("txt"));
        QCOMPARE(s.placement("Main", {10, 10, 11100, 7680}), (Placement{10, 10, 11100, 7680}));
    }

    void valuesAreTextAsStored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.ini");
        {
            Settings s(path);
            s.setFlag("OpenRecentSong", true);
            s.setFlag("ShowSidebar", false);
            s.setPlacement("Main", {-32000, 10.5, 11100, 7680});
            s.setRecentSong("Don't \"Stop\", ok; 🔥");
        }
        Settings s(path);
        QCOMPARE(s.text("OpenRecentSong"), QString("1"));
        QCOMPARE(s.text("ShowSidebar"), QString("0"));
        QCOMPARE(s.text("MainLeft"), QString("-32000"));
        QCOMPARE(s.text("MainTop"), QString("10.5"));
        QCOMPARE(s.text("MainWidth"), QString("11100"));
        QCOMPARE(s.recentSong(), QString("Don't \"Stop\", ok; 🔥"));
        QVERIFY(s.openRecentSong());
        QVERIFY(!s.showSidebar());
        QCOMPARE(s.placement("Main", {}), (Placement{-32000, 10.5, 11100, 7680}));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("[Settings]"));
    }

    void garbageFallsBackToDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nMainLeft=abc\nMainTop=1e999\nMainWidth=\nOpenRecentSong=yes\n"
                "ShowSidebar=2\nRecentSong=a, b\n");
        f.close();
        Settings s(path);
        QCOMPARE(s.placement("Main", {10, 10, 11100, 7680}), (Placement{10, 10, 11100, 7680}));
        QVERIFY(!s.openRecentSong()); // only "1" counts as set
        QVERIFY(!s.showSidebar());
        QCOMPARE(s.recentSong(), QString("a, b"));
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 11100.0 << "11100";
        QTest::newRow("negative") << -120.0 << "-120";
        QTest::newRow("fraction") << 7.25 << "7.25";
        QTest::newRow("zero") << 0.0 << "0";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Settings::numberText(value), text);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
