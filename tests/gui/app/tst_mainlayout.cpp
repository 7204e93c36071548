// The main window's layout: the formulas in twips and the placed widgets.

#include "mainwindowfixture.h"

#include "app/mainlayout.h"
#include "app/windowcommands.h"
#include "common/windowtopmost.h"
#include "devices/floatingbar.h"

#include <QPushButton>
#include <QStatusBar>
#include <QtTest>
#include <QWindow>

using namespace quillon;

namespace {
MainLayoutInput input(double width, double height, bool sidebar = true, bool panel = true)
{
    MainLayoutInput in;
    in.windowWidth = width;
    in.windowHeight = height;
    in.innerHeight = height - 600;
    in.statusBarHeight = 330;
    in.sidebarVisible = sidebar;
    in.devicePanelVisible = panel;
    return in;
}

QStringList overlaps(const QList<QRectF>& rects, const QRectF& sidebar)
{
    QStringList found;
    for (int i = 0; i < rects.size(); ++i) {
        for (int j = i + 1; j < rects.size(); ++j)
            if (rects[i].intersects(rects[j]))
                found << QString("box %1 / box %2").arg(i + 1).arg(j + 1);
        if (!sidebar.isNull() && rects[i].intersects(sidebar))
            found << QString("box %1 / sidebar").arg(i + 1);
    }
    return found;
}

QList<QRectF> boxesOf(const MainLayout& l)
{
    return QList<QRectF>(l.boxes.begin(), l.boxes.end());
}
} // namespace

class TstMainLayout : public QObject {
    Q_OBJECT
private slots:
    void snapsToMinimumSize();
    void formulasReadAsDesigned();
    void noOverlapInTwips_data();
    void noOverlapInTwips();
    void hidingSidebarWidensByAThird();
    void detachingPanelMakesBoxesTaller();
    void sidebarParkedBehindGrid();
    void deviceCellsInTwoRowsOfFive();
    void maximisedWindowMovesDevicesBar();
    void devicesBarBelowWindowOrAt6000();
    void windowAtMinimumAndFullHd();
    void sidebarToggleWidensBoxesOnScreen();
    void topmostKeepsGeometry();
    void devicesBarKeepsItsPlaceAndItsOwner();
    void maximisingMovesAVisibleBarTo6600();
    void undockedBarBelowTheWindowOrAt6000();
};

void TstMainLayout::snapsToMinimumSize()
{
    MainLayout l = computeMainLayout(input(9000, 6000));
    QVERIFY(l.snapped);
    QCOMPARE(l.windowSize, QSizeF(11001, 7701));
    l = computeMainLayout(input(11000, 7700));
    QVERIFY(!l.snapped);
    QCOMPARE(l.windowSize, QSizeF(11000, 7700));
    l = computeMainLayout(input(20000, 7699));
    QCOMPARE(l.windowSize, QSizeF(20000, 7701));
}

void TstMainLayout::formulasReadAsDesigned()
{
    const MainLayout l = computeMainLayout(input(12000, 9000));
    const double w = (12000.0 - 150 - 900) / 3 - 390;
    const double h = (9000.0 - 780 - 1250) / 8 - 130;
    QCOMPARE(l.boxWidth, w);
    QCOMPARE(l.boxHeight, h);
    QCOMPARE(l.boxes[0].topLeft(), QPointF(MainLayout::kBox1Left, MainLayout::kBox1Top));
    QCOMPARE(l.boxes[7].top(), MainLayout::kBox1Top + 7 * (h + 30));
    QCOMPARE(l.boxes[8].left(), w + 640);
    QCOMPARE(l.boxes[8].top(), l.boxes[0].top());
    QCOMPARE(l.boxes[16].left(), 2 * (w + 500));
    QCOMPARE(l.boxes[23].top(), l.boxes[7].top());
    QCOMPARE(l.numberLabels[9].left(), l.boxes[9].left() - 240);
    QCOMPARE(l.numberLabels[9].top(), l.boxes[9].top());
    QCOMPARE(l.trackList.width(), 12000.0 - 900 - 290);
    QCOMPARE(l.trackList.height(), 8400.0 - 330 - 780 - 890);
    QCOMPARE(l.devicePanel, QRectF(45, 8400 - 780 - 330 - 15, 12000 - 200, 780));
    QCOMPARE(l.detachLeft, 12000.0 - 200 - 220);
    QCOMPARE(l.exitButton.left(), 12000.0 - 450 - 290);
    QCOMPARE(l.standbyButton.left(), l.exitButton.left());
    QCOMPARE(l.dividerRight, 12000.0);
    QCOMPARE(l.sidebar.left(), 12000.0 - 900 - 240);
    QCOMPARE(l.sidebar.height(), 8 * h + 190);
    QCOMPARE(l.sidebarToggle.left(), 12000.0 - 270);
    QCOMPARE(l.sidebarToggle.height(), l.sidebar.height());
    QCOMPARE(l.hideButtonTop, l.sidebar.height() - 480);
}

void TstMainLayout::noOverlapInTwips_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::newRow("minimum") << 11001.0 << 7701.0;
    QTest::newRow("1920x1080") << 28800.0 << 16200.0;
}

void TstMainLayout::noOverlapInTwips()
{
    QFETCH(double, width);
    QFETCH(double, height);
    const MainLayout l = computeMainLayout(input(width, height));
    QCOMPARE(overlaps(boxesOf(l), l.sidebar), QStringList());
    QList<QRectF> withLabels = boxesOf(l);
    for (const QRectF& r : l.numberLabels)
        withLabels << r;
    QCOMPARE(overlaps(withLabels, {}), QStringList());
    // The grid ends above the device panel.
    QVERIFY(l.boxes[7].bottom() < l.devicePanel.top());
}

void TstMainLayout::hidingSidebarWidensByAThird()
{
    for (double width : {11001.0, 28800.0}) {
        const MainLayout shown = computeMainLayout(input(width, 9000, true));
        const MainLayout hidden = computeMainLayout(input(width, 9000, false));
        QCOMPARE(hidden.boxWidth - shown.boxWidth, 900.0 / 3);
        QCOMPARE(hidden.trackList.width() - shown.trackList.width(), 900.0);
        QCOMPARE(overlaps(boxesOf(hidden), {}), QStringList());
    }
}

void TstMainLayout::detachingPanelMakesBoxesTaller()
{
    const MainLayout docked = computeMainLayout(input(12000, 9000, true, true));
    const MainLayout floating = computeMainLayout(input(12000, 9000, true, false));
    QCOMPARE(floating.boxHeight - docked.boxHeight, 780.0 / 8);
}

void TstMainLayout::sidebarParkedBehindGrid()
{
    const MainLayout l = computeMainLayout(input(12000, 9000, false));
    QCOMPARE(l.sidebar.left(), l.boxes[16].left() + l.boxWidth + 250);
}

void TstMainLayout::deviceCellsInTwoRowsOfFive()
{
    const MainLayout l = computeMainLayout(input(12000, 9000));
    const double cw = 12000.0 / 5 - 145;
    for (int i = 1; i <= 10; ++i) {
        const int k = (i - 1) % 5;
        QCOMPARE(l.cells[i - 1].left(), k * (cw + 45) + i + 35);
        QCOMPARE(l.cells[i - 1].width(), cw);
        QCOMPARE(l.cells[i - 1].top(), MainLayout::kCellRowTop[(i - 1) / 5]);
        QCOMPARE(l.cellLabelWidth[i - 1], cw - MainLayout::kCellLabelLeft - 75);
    }
    QVERIFY(l.cells[4].right() < l.detachLeft);
}

void TstMainLayout::maximisedWindowMovesDevicesBar()
{
    MainLayoutInput in = input(28800, 16200);
    QVERIFY(!computeMainLayout(in).devicesBarTop);
    in.maximized = true;
    QCOMPARE(computeMainLayout(in).devicesBarTop.value_or(0), 6600.0);
    in.coverVisible = true;
    const MainLayout l = computeMainLayout(in);
    QCOMPARE(l.cover, QRectF(5, 5, 28800, 15600 - 330));
    QCOMPARE(l.welcome.left(), (28800 - in.welcomeSize.width()) / 2);
    QCOMPARE(l.welcome.top(), (16200 - in.welcomeSize.height()) / 2);
}

void TstMainLayout::devicesBarBelowWindowOrAt6000()
{
    BarPlacement p = floatingBarPlacement(16200, 1400, 300, 150, 7680, 6900);
    QCOMPARE(p.top, 150.0 + 6900 + 800);
    QCOMPARE(p.left.value_or(-1), 300.0);
    // Close to the bottom of the screen there is no room below the window.
    p = floatingBarPlacement(16200, 1400, 300, 8000, 7680, 6900);
    QCOMPARE(p.top, 6000.0);
    QVERIFY(!p.left);
    p = floatingBarPlacement(16200, 1400, 0, 16200 - 1400 - 7680, 7680, 6900);
    QVERIFY(p.left);
}

void TstMainLayout::windowAtMinimumAndFullHd()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Layout Song");
    auto check = [&](const char* where) {
        QList<QRectF> rects;
        for (int i = 1; i <= 24; ++i)
            rects << QRectF(f.box(i)->geometry());
        const QWidget* sidebar = f.find<QWidget>("picTB1");
        QVERIFY2(sidebar->isVisible(), where);
        QCOMPARE(overlaps(rects, QRectF(sidebar->geometry())), QStringList());
        QVERIFY2(f.box(8)->geometry().bottom() < f.find<QWidget>("picDevices")->geometry().top(),
                 where);
        for (int i = 1; i <= 24; ++i)
            QVERIFY2(f.box(i)->width() > 50 && f.box(i)->height() > 10, where);
    };
    w.resize(200, 150);
    const TwipsScale s = f.scale();
    QCOMPARE(w.frameGeometry().size(), QSize(s.toPixels(11001), s.toPixels(7701)));
    check("minimum");
    w.resize(1920, 1080);
    QCOMPARE(w.size(), QSize(1920, 1080));
    check("1920x1080");
}

void TstMainLayout::sidebarToggleWidensBoxesOnScreen()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    f.createAndLoad("Toggle Song");
    for (const QSize size : {QSize(10, 10), QSize(1920, 1080)}) {
        w.resize(size);
        const QWidget* sidebar = f.find<QWidget>("picTB1");
        QVERIFY(sidebar->isVisible());
        QList<int> before;
        for (int i = 1; i <= 24; ++i)
            before << f.box(i)->width();
        const double expected = sidebar->width() / 3.0;
        f.find<QPushButton>("cmdTB1")->click();
        QVERIFY(sidebar->isHidden());
        for (int i = 1; i <= 24; ++i)
            QVERIFY2(
                qAbs(f.box(i)->width() - before[i - 1] - expected) <= 1.5,
                qPrintable(
                    QString("box %1: %2 -> %3").arg(i).arg(before[i - 1]).arg(f.box(i)->width())));
        QList<QRectF> rects;
        for (int i = 1; i <= 24; ++i)
            rects << QRectF(f.box(i)->geometry());
        QCOMPARE(overlaps(rects, {}), QStringList());
        f.find<QPushButton>("cmdTB1")->click();
        QVERIFY(!sidebar->isHidden());
    }
}

void TstMainLayout::topmostKeepsGeometry()
{
    test::MainWindowFixture f;
    MainWindow& w = f.start();
    const QRect before = w.geometry();
    setWindowTopmost(&w, true);
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
    QCOMPARE(w.geometry(), before);
    setWindowTopmost(&w, false);
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w.geometry(), before);
}

namespace {
// Starts the window with a song loaded and the devices bar undocked by cmdBar.
FloatingBar* undockedBar(test::MainWindowFixture& f, const QString& song)
{
    MainWindow& w = f.start();
    f.createAndLoad(song);
    f.find<QPushButton>("cmdBar")->click();
    FloatingBar* bar = w.commands().floatingBar();
    return bar && bar->isVisible() ? bar : nullptr;
}

QWindow* ownerOf(const FloatingBar* bar)
{
    return bar->windowHandle() ? bar->windowHandle()->transientParent() : nullptr;
}
} // namespace

void TstMainLayout::devicesBarKeepsItsPlaceAndItsOwner()
{
    test::MainWindowFixture f;
    FloatingBar* bar = undockedBar(f, "Owner Song");
    QVERIFY(bar);
    MainWindow& w = *f.window;
    // Above the main window, not above every other program.
    QCOMPARE(ownerOf(bar), w.windowHandle());
    QCOMPARE(bar->windowType(), Qt::Tool);
    QVERIFY(!bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    const QPoint put = bar->pos() + QPoint(37, -23);
    bar->move(put);
    for (int round = 1; round <= 2; ++round) {
        w.showMinimized();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->pos(), put);
        // While it stands in for the minimised window it is a window of its own.
        QCOMPARE(ownerOf(bar), nullptr);
        QCOMPARE(bar->windowType(), Qt::Window);
        w.showNormal();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->pos(), put);
        QCOMPARE(ownerOf(bar), w.windowHandle());
        QCOMPARE(bar->windowType(), Qt::Tool);
    }
    // Keeping the bar on top and letting go re-creates its window, not its owner.
    auto* onTop = bar->findChild<QPushButton*>("cmdOnTop");
    onTop->click();
    onTop->click();
    QVERIFY(bar->isVisible());
    QCOMPARE(ownerOf(bar), w.windowHandle());
    QCOMPARE(bar->windowType(), Qt::Tool);
    QCOMPARE(bar->pos(), put);
}

void TstMainLayout::maximisingMovesAVisibleBarTo6600()
{
    test::MainWindowFixture f;
    FloatingBar* bar = undockedBar(f, "Maximised Song");
    QVERIFY(bar);
    MainWindow& w = *f.window;
    const int left = bar->x();
    w.showMaximized();
    QVERIFY(w.isMaximized());
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->y(), f.scale().toPixels(6600));
    QCOMPARE(bar->x(), left);
}

void TstMainLayout::undockedBarBelowTheWindowOrAt6000()
{
    test::MainWindowFixture f;
    FloatingBar* bar = undockedBar(f, "Bar Place Song");
    QVERIFY(bar);
    MainWindow& w = *f.window;
    // The headless screen has room below a window at the top: the bar opens
    // 800 twips below the client area, at the window's left edge.
    const QRect frame = w.frameGeometry();
    const int inner = w.centralWidget()->height() + w.statusBar()->height();
    QCOMPARE(bar->x(), frame.x());
    QVERIFY2(qAbs(bar->y() - (frame.y() + inner + f.scale().toPixels(800))) <= 1,
             qPrintable(QString::number(bar->y())));

    // Near the bottom of the screen it opens at top 6000, keeping its left edge.
    auto* toggle = f.find<QPushButton>("cmdBar");
    toggle->click();
    QVERIFY(!bar->isVisible());
    bar->move(bar->x() + 40, bar->y());
    const int left = bar->x();
    w.move(frame.x(), w.screen()->geometry().height() - frame.height() / 2);
    toggle->click();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->y(), f.scale().toPixels(6000));
    QCOMPARE(bar->x(), left);
}

QTEST_MAIN(TstMainLayout)
#include "tst_mainlayout.moc"
