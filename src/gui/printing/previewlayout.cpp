#include "printing/previewlayout.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

int rounded(double value)
{
    return int(std::lround(value));
}

// Sizes computed for a window that is too small are not applied: the
// pictures keep their previous size.
void resizeIfPositive(QRect& picture, int width, int height)
{
    if (width > 0 && height > 0)
        picture.setSize(QSize(width, height));
}

// Range and steps of a bar for a picture that exceeds the view by `excess`.
// A page that fits leaves the bar's range as it was.
void setRange(PreviewScrollBar& bar, int excess, int view, int picture)
{
    if (excess <= 0)
        return;
    bar.setMax(excess);
    const int extent = picture + 2 * PreviewLayout::kMargin;
    const double large = extent > 0 ? double(view) / extent * bar.max : bar.max;
    // A step of 0 would make the arrows and the track do nothing.
    bar.largeChange = std::max(1, rounded(large));
    bar.smallChange = std::max(1, rounded(bar.max * 0.2));
}

} // namespace

void PreviewScrollBar::setMax(int newMax)
{
    max = std::max(0, newMax);
    value = std::clamp(value, 0, max);
}

void PreviewScrollBar::setValue(int newValue)
{
    value = std::clamp(newValue, 0, max);
}

PreviewLayout::PreviewLayout(int docPageWidth, int docPageHeight)
    : m_pageWidth(docPageWidth), m_pageHeight(docPageHeight)
{
}

void PreviewLayout::layout(PreviewGeometry& g, int windowWidth, int windowHeight, int zoomLevel,
                           bool twoPageView) const
{
    const int w = windowWidth;
    const int h = windowHeight;
    const int areaHeight = h - kBarHeight;
    g.main = QRect(0, kBarHeight, w, std::max(0, areaHeight));

    const int barWidth = g.scrollV.rect.width();
    const int barHeight = g.scrollH.rect.height();
    g.scrollV.rect = QRect(w - barWidth, kBarHeight, barWidth, std::max(0, areaHeight - barHeight));
    g.scrollH.rect = QRect(0, h - barHeight, std::max(0, w - barWidth), barHeight);

    if (zoomLevel == 0) {
        if (twoPageView)
            fitTwoPages(g);
        else
            fitOnePage(g);
        return;
    }
    magnify(g);
}

void PreviewLayout::fitTwoPages(PreviewGeometry& g) const
{
    if (!hasPageSize())
        return;
    const int mw = g.main.width();
    const int mh = g.main.height();
    int pw = rounded((mw - 4 * kMargin) / 2.0);
    int ph = rounded(double(pw) * m_pageHeight / m_pageWidth);
    if (mh - 3 * kMargin < ph) {
        // The height limits: centre both pages across the width.
        ph = mh - 3 * kMargin;
        pw = rounded(double(ph) * m_pageWidth / m_pageHeight);
        const int gap = rounded((mw - 2.0 * pw) / 3.0);
        g.page1.moveTo(gap, kMargin);
        g.page2.moveTo(2 * gap + pw, kMargin);
    } else {
        // The width limits: centre both pages down the height.
        const int top = rounded((mh - ph) / 2.0);
        g.page1.moveTo(kMargin, top);
        g.page2.moveTo(pw + 2 * kMargin, top);
    }
    resizeIfPositive(g.page1, pw, ph);
    resizeIfPositive(g.page2, pw, ph);
}

void PreviewLayout::fitOnePage(PreviewGeometry& g) const
{
    if (!hasPageSize())
        return;
    const int mw = g.main.width();
    const int mh = g.main.height();
    int ph = mh - 3 * kMargin;
    int pw = rounded(double(ph) * m_pageWidth / m_pageHeight);
    if (mw - 3 * kMargin < pw) {
        pw = mw - 3 * kMargin;
        ph = rounded(double(pw) * m_pageHeight / m_pageWidth);
        g.page1.moveTo(kMargin, rounded((mh - ph) / 2.0));
    } else {
        g.page1.moveTo(rounded((mw - pw) / 2.0), kMargin);
    }
    resizeIfPositive(g.page1, pw, ph);
}

void PreviewLayout::magnify(PreviewGeometry& g) const
{
    QRect& page = g.page1;
    const int mw = g.main.width();
    const int mh = g.main.height();
    setRange(g.scrollV, page.height() + 2 * kMargin - mh, mh, page.height());
    setRange(g.scrollH, page.width() + 2 * kMargin - mw, mw, page.width());

    // Make room for the bars.
    const int barWidth = g.scrollV.rect.width();
    const int barHeight = g.scrollH.rect.height();
    if (mw - barWidth > 0)
        g.main.setWidth(mw - barWidth);
    if (mh - barHeight > 0)
        g.main.setHeight(mh - barHeight);

    // A page narrower (lower) than the view is centred and its bar disabled;
    // otherwise the bar decides where the page lies.
    const int cx = rounded((g.main.width() - page.width()) / 2.0);
    const int cy = rounded((g.main.height() - page.height()) / 2.0);
    if (cx > kMargin - 1) {
        g.scrollH.enabled = false;
        page.moveLeft(cx);
    } else {
        g.scrollH.enabled = true;
        page.moveLeft(kMargin - g.scrollH.value);
    }
    if (cy > kMargin - 1) {
        g.scrollV.enabled = false;
        page.moveTop(cy);
    } else {
        g.scrollV.enabled = true;
        page.moveTop(kMargin - g.scrollV.value);
    }
}

bool PreviewLayout::zoom(PreviewGeometry& g, int level, bool twoPageView) const
{
    if (level < 0 || level > 2)
        return false;
    if (level == 0) {
        g.scrollH.visible = false;
        g.scrollV.visible = false;
        g.page2Visible = twoPageView;
        return true;
    }
    g.scrollH.visible = true;
    g.scrollV.visible = true;
    g.page2Visible = false;
    const double factor = level == 1 ? 0.75 : 1.0;
    g.page1.setSize(QSize(rounded(factor * m_pageWidth), rounded(factor * m_pageHeight)));
    g.scrollV.setMax(g.page1.height() + 2 * kMargin - g.main.height());
    g.scrollH.setMax(g.page1.width() + 2 * kMargin - g.main.width());
    return true;
}

int PreviewLayout::fitPageScale(QSize picture, int pageWidth, int pageHeight)
{
    if (pageWidth <= 0 || pageHeight <= 0)
        return 0;
    const int byHeight = rounded(picture.height() * 100.0 / pageHeight);
    const int byWidth = rounded(picture.width() * 100.0 / pageWidth);
    if (byHeight < byWidth)
        return std::max(0, byHeight);
    return byWidth < 10 ? 0 : byWidth;
}

} // namespace quillon
