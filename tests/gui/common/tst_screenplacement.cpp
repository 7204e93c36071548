#include "common/screenplacement.h"

#include <QTest>

using namespace quillon;

class TestScreenPlacement final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placement_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("expected");
        const QPoint fallback(10, 10);
        QTest::newRow("on screen stays") << QRect(100, 80, 700, 500) << QRect(100, 80, 700, 500);
        QTest::newRow("partly off the right edge stays")
            << QRect(1800, 80, 700, 500) << QRect(1800, 80, 700, 500);
        QTest::newRow("on the second screen stays")
            << QRect(2000, 100, 600, 400) << QRect(2000, 100, 600, 400);
        QTest::newRow("gone screen moves home")
            << QRect(5000, 3000, 700, 500) << QRect(fallback, QSize(700, 500));
        QTest::newRow("title bar above the screen moves home")
            << QRect(100, -600, 700, 500) << QRect(fallback, QSize(700, 500));
        QTest::newRow("minimised far left moves home")
            << QRect(-32000, -32000, 700, 500) << QRect(fallback, QSize(700, 500));
        QTest::newRow("no size takes the default size")
            << QRect(100, 80, 0, -20) << QRect(100, 80, 740, 512);
        QTest::newRow("absurd size takes the default size")
            << QRect(100, 80, 900000, 500) << QRect(100, 80, 740, 512);
    }
    void placement()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, expected);
        const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(reachablePlacement(saved, QPoint(10, 10), QSize(740, 512), screens), expected);
    }

    void defaultPlaceOffAllScreensFallsToFirstScreen()
    {
        const QList<QRect> screens{QRect(2000, 500, 800, 600)};
        QCOMPARE(reachablePlacement(QRect(-900, -900, 300, 200), QPoint(10, 10), QSize(300, 200),
                                    screens),
                 QRect(2000, 500, 300, 200));
    }

    void savedPlacesConvertPerAxisAndBack()
    {
        // Without a screen (no GUI here) nothing moves, so this is the
        // conversion alone: across at 144 DPI, down at 96.
        const TwipsScale scale(144, 96);
        const Placement saved{150, 150, 1440, 720};
        const QRect pixels = restoredPlacement(saved, {10, 10, 6000, 4000}, scale);
        QCOMPARE(pixels, QRect(15, 10, 144, 48));
        QCOMPARE(placementInTwips(pixels, scale), saved);
    }

    void withoutScreensNothingMoves()
    {
        QCOMPARE(reachablePlacement(QRect(5, 5, 0, 0), QPoint(10, 10), QSize(30, 30), {}),
                 QRect(5, 5, 0, 0));
    }
};

QTEST_GUILESS_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
