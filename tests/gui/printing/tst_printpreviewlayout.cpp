#include "common/twipsscale.h"
#include "printing/previewlayout.h"

#include <QTest>

using namespace quillon;

namespace {

// An A4 sheet in twips, as the document reports it.
constexpr int kA4Width = 11906;
constexpr int kA4Height = 16838;
// Scroll bars 255 twips thick (17 pixels at 96 dpi).
constexpr int kBar = 255;

PreviewGeometry freshGeometry()
{
    PreviewGeometry g;
    g.scrollV.rect.setSize(QSize(kBar, 0));
    g.scrollH.rect.setSize(QSize(0, kBar));
    return g;
}

} // namespace

class TestPreviewLayout final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageAreaAndBarsFollowTheWindow()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 9990, 7020, 0, false);
        QCOMPARE(g.main, QRect(0, 480, 9990, 6540));
        QCOMPARE(g.scrollV.rect, QRect(9990 - kBar, 480, kBar, 6540 - kBar));
        QCOMPARE(g.scrollH.rect, QRect(0, 7020 - kBar, 9990 - kBar, kBar));
        // A window lower than the button bar leaves no page area at all.
        layout.layout(g, 300, 200, 0, false);
        QCOMPARE(g.main.height(), 0);
        QCOMPARE(g.scrollV.rect.height(), 0);
        QCOMPARE(g.scrollH.rect.width(), 45);
    }

    void onePageFittedByHeight()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 9990, 7020, 0, false);
        // ph = 6540 - 300, pw = 6240 * 11906 / 16838 = 4412.2
        QCOMPARE(g.page1, QRect(2789, 100, 4412, 6240));
    }

    void onePageFittedByWidth()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 3000, 9000, 0, false);
        // pw = 3000 - 300, ph = 2700 * 16838 / 11906 = 3818.46, top (8520 - 3818) / 2
        QCOMPARE(g.page1, QRect(100, 2351, 2700, 3818));
    }

    void twoPagesFittedByWidthOrHeight()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        // Wide and low: the height limits, pages spread with equal gaps.
        layout.layout(g, 9990, 7020, 0, true);
        QCOMPARE(g.page1.size(), QSize(4412, 6240));
        QCOMPARE(g.page2.size(), g.page1.size());
        const int gap = qRound((9990 - 2 * 4412) / 3.0);
        QCOMPARE(g.page1.topLeft(), QPoint(gap, 100));
        QCOMPARE(g.page2.topLeft(), QPoint(2 * gap + 4412, 100));
        // Narrow and high: the width limits, pages centred down the height.
        layout.layout(g, 4400, 9000, 0, true);
        QCOMPARE(g.page1.size(), QSize(2000, 2828));
        QCOMPARE(g.page1.topLeft(), QPoint(100, (8520 - 2828) / 2));
        QCOMPARE(g.page2.topLeft(), QPoint(2200, (8520 - 2828) / 2));
    }

    void tooSmallWindowKeepsThePictureSize()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 9990, 7020, 0, false);
        const QSize before = g.page1.size();
        layout.layout(g, 9990, 700, 0, false);
        QCOMPARE(g.page1.size(), before);
        layout.layout(g, 9990, 700, 0, true);
        QCOMPARE(g.page1.size(), before);
    }

    void zeroPageSizeChangesNothing()
    {
        const PreviewLayout layout(0, 0);
        PreviewGeometry g = freshGeometry();
        g.page1 = QRect(1, 2, 3, 4);
        layout.layout(g, 9990, 7020, 0, false);
        layout.layout(g, 9990, 7020, 0, true);
        QCOMPARE(g.page1, QRect(1, 2, 3, 4));
        QCOMPARE(PreviewLayout::fitPageScale(QSize(100, 100), 0, 0), 0);
    }

    void zoomSetsThePictureSizeAndBars()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 9990, 7020, 0, true);
        QVERIFY(layout.zoom(g, 0, true));
        QVERIFY(g.page2Visible);
        QVERIFY(layout.zoom(g, 1, true));
        QVERIFY(!g.page2Visible);
        QVERIFY(g.scrollV.visible && g.scrollH.visible);
        QCOMPARE(g.page1.size(), QSize(8930, 12629));
        QCOMPARE(g.scrollV.max, 12629 + 200 - 6540);
        QVERIFY(layout.zoom(g, 2, true));
        QCOMPARE(g.page1.size(), QSize(kA4Width, kA4Height));
        QVERIFY(!layout.zoom(g, 3, true));
        QVERIFY(!layout.zoom(g, -1, true));
        QCOMPARE(g.page1.size(), QSize(kA4Width, kA4Height));
        QVERIFY(layout.zoom(g, 0, false));
        QVERIFY(!g.scrollV.visible && !g.scrollH.visible && !g.page2Visible);
    }

    void magnifiedPageScrollsOrIsCentred()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        layout.layout(g, 9990, 7020, 0, false);
        layout.zoom(g, 1, false);
        layout.layout(g, 9990, 7020, 1, false);
        // Higher than the view: the vertical bar scrolls.
        QCOMPARE(g.scrollV.max, 12629 + 200 - 6540);
        QCOMPARE(g.scrollV.largeChange, qRound(6540.0 / (12629 + 200) * g.scrollV.max));
        QCOMPARE(g.scrollV.smallChange, qRound(g.scrollV.max * 0.2));
        QVERIFY(g.scrollV.enabled);
        QCOMPARE(g.page1.top(), 100);
        // Narrower than the view: centred, horizontal bar off.
        QCOMPARE(g.main.size(), QSize(9990 - kBar, 6540 - kBar));
        QVERIFY(!g.scrollH.enabled);
        QCOMPARE(g.page1.left(), qRound((9990 - kBar - 8930) / 2.0));
        // A scrolled bar places the page.
        g.scrollV.setValue(1000);
        layout.layout(g, 9990, 7020, 1, false);
        QCOMPARE(g.page1.top(), 100 - 1000);
        // A narrow window: the horizontal bar takes over.
        layout.layout(g, 5000, 7020, 1, false);
        QVERIFY(g.scrollH.enabled);
        QCOMPARE(g.scrollH.max, 8930 + 200 - 5000);
        QCOMPARE(g.page1.left(), 100);
    }

    void scrollStepsNeverDropToZero()
    {
        const PreviewLayout layout(kA4Width, kA4Height);
        PreviewGeometry g = freshGeometry();
        g.page1 = QRect(0, 0, kA4Width, kA4Height);
        // The page exceeds the view by two twips only.
        layout.layout(g, 9990, kA4Height + 200 - 2 + 480, 2, false);
        QCOMPARE(g.scrollV.max, 2);
        QCOMPARE(g.scrollV.smallChange, 1);
        QVERIFY(g.scrollV.largeChange >= 1);
    }

    void scrollRangeIsNeverNegative()
    {
        PreviewScrollBar bar;
        bar.setMax(500);
        bar.setValue(400);
        bar.setMax(-300);
        QCOMPARE(bar.max, 0);
        QCOMPARE(bar.value, 0);
        bar.setMax(100);
        bar.setValue(1000);
        QCOMPARE(bar.value, 100);
        bar.setValue(-5);
        QCOMPARE(bar.value, 0);
    }

    void fitPageScaleRules()
    {
        // Width and height agree: 75 %.
        QCOMPARE(PreviewLayout::fitPageScale(QSize(8930, 12629), kA4Width, kA4Height), 75);
        // The smaller of the two wins when it is the height.
        QCOMPARE(PreviewLayout::fitPageScale(QSize(5954, 4210), kA4Width, kA4Height), 25);
        // The width scale below 10 % leaves the picture blank ...
        QCOMPARE(PreviewLayout::fitPageScale(QSize(1000, 5000), kA4Width, kA4Height), 0);
        QCOMPARE(PreviewLayout::fitPageScale(QSize(1191, 5000), kA4Width, kA4Height), 10);
        // ... the height scale is not held to that floor, but must be positive.
        QCOMPARE(PreviewLayout::fitPageScale(QSize(5000, 842), kA4Width, kA4Height), 5);
        QCOMPARE(PreviewLayout::fitPageScale(QSize(5000, 0), kA4Width, kA4Height), 0);
    }

    void unitsConvertFromTheScreenResolution()
    {
        const TwipsScale units(96, 120);
        QCOMPARE(units.toPixelsX(1440), 96);
        QCOMPARE(units.toPixelsY(1440), 120);
        QCOMPARE(units.toTwipsX(96), 1440);
        QCOMPARE(units.toTwipsY(12), 144);
        QCOMPARE(units.toPixelsKeepingSizes(QRect(150, 120, 1440, 720)), QRect(10, 10, 96, 60));
        // Same size in twips, same size in pixels, wherever it lies.
        QCOMPARE(units.toPixelsKeepingSizes(QRect(7, 0, 4412, 10)).width(),
                 units.toPixelsKeepingSizes(QRect(4419, 0, 4412, 10)).width());
        const TwipsScale broken(0, -1);
        QCOMPARE(broken.toPixelsX(1440), 96);
        QCOMPARE(broken.toPixelsY(1440), 96);
    }
};

QTEST_GUILESS_MAIN(TestPreviewLayout)
#include "tst_printpreviewlayout.moc"
