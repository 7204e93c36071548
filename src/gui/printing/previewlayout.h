#pragma once

#include <QRect>
#include <QSize>

namespace quillon {

// One scroll bar of the preview as the layout sees it; units are twips.
struct PreviewScrollBar {
    QRect rect; // in window coordinates
    int max = 0;
    int value = 0;
    int largeChange = 1;
    int smallChange = 1;
    bool visible = false;
    bool enabled = true;

    // A bar never has a negative range (a page that fits has nothing to
    // scroll), and its value always lies inside the range.
    void setMax(int newMax);
    void setValue(int newValue);
};

// Where the preview's parts lie, in twips.
struct PreviewGeometry {
    QRect main;  // picMain, in window coordinates
    QRect page1; // picPage1, in picMain coordinates
    QRect page2; // picPage2, in picMain coordinates
    bool page2Visible = false;
    PreviewScrollBar scrollV;
    PreviewScrollBar scrollH;
};

// The arithmetic of the preview window: where the page area, the page
// pictures and the scroll bars go for a window size, a zoom level and the
// one- or two-page view, and the scale a page is drawn at. Pure twips, no
// widgets, so every rule can be checked on its own.
class PreviewLayout final {
public:
    // Height of the button bar across the top.
    static constexpr int kBarHeight = 480;
    // Margin around a page and the gap between pages.
    static constexpr int kMargin = 100;

    PreviewLayout(int docPageWidth, int docPageHeight);

    int docPageWidth() const { return m_pageWidth; }
    int docPageHeight() const { return m_pageHeight; }

    // Lays the window out for its inner size. The scroll bars' thickness is
    // taken from scrollV.rect.width() and scrollH.rect.height().
    void layout(PreviewGeometry& g, int windowWidth, int windowHeight, int zoomLevel,
                bool twoPageView) const;
    // The picture and scroll-bar part of a zoom change; levels outside 0..2
    // are ignored (false).
    bool zoom(PreviewGeometry& g, int level, bool twoPageView) const;
    // Percent at which a page of pageWidth x pageHeight twips fills a picture
    // of the given size; 0 when the picture is to stay blank.
    static int fitPageScale(QSize picture, int pageWidth, int pageHeight);

private:
    void fitTwoPages(PreviewGeometry& g) const;
    void fitOnePage(PreviewGeometry& g) const;
    void magnify(PreviewGeometry& g) const;
    bool hasPageSize() const { return m_pageWidth > 0 && m_pageHeight > 0; }

    int m_pageWidth;
    int m_pageHeight;
};

} // namespace quillon
