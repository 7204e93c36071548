#pragma once

#include "printing/previewlayout.h"

#include <QDialog>

class QLabel;
class QPaintDevice;
class QPushButton;
class QScrollBar;

namespace quillon {

struct AppState;
class PreviewPage;
class RichTextDocument;

// The print preview (frmPrintPreview): the pages of a caller's document, one
// or two side by side, fitted into the window or at 75 % or 100 %, and its
// print command. It works on the caller's document itself, lends itself the
// document's scale and render target while open and hands both back when
// it closes. Its texts are German.
class PrintPreview final : public QDialog {
    Q_OBJECT

public:
    PrintPreview(AppState& state, RichTextDocument& document, QWidget* parent = nullptr,
                 QString jobName = {});
    ~PrintPreview() override;

    int currentPage() const { return m_currentPage; }
    bool twoPageView() const { return m_twoPageView; }
    int zoomLevel() const { return m_zoomLevel; }
    int savedScale() const { return m_savedScale; }
    // Where everything lies, in twips.
    const PreviewGeometry& geometryTwips() const { return m_geometry; }

    // 0 fitted, 1 75 %, 2 100 %; other levels are ignored.
    void setZoomLevel(int level);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void done(int result) override;

private:
    QPushButton* addButton(const char* name, const QString& text);
    int pageCount() const;
    void updatePreviewButtons();
    void layoutPreview();
    void refreshPagePictures();
    void applyGeometry();
    void paintPage(PreviewPage& picture);
    void nextPage();
    void previousPage();
    void togglePages();
    void print();
    void pageClicked(const PreviewPage* picture, QPoint pos, Qt::KeyboardModifiers modifiers);
    void scrollTo(PreviewScrollBar& bar, int value, bool horizontal);
    void handBackDocument();

    AppState& m_state;
    RichTextDocument& m_document;
    QString m_jobName;
    QPaintDevice* m_savedTarget;
    PreviewLayout m_layout;
    PreviewGeometry m_geometry;
    QSize m_windowTwips;
    int m_currentPage = 1;
    bool m_twoPageView = false;
    int m_zoomLevel = 0;
    int m_savedScale = 100;
    bool m_handedBack = false;

    QWidget* m_frame = nullptr;
    QPushButton* m_btnPrint = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnPrevious = nullptr;
    QPushButton* m_btnPages = nullptr;
    QPushButton* m_btnZoomIn = nullptr;
    QPushButton* m_btnZoomOut = nullptr;
    QPushButton* m_btnClose = nullptr;
    QLabel* m_lblPage = nullptr;
    QWidget* m_picMain = nullptr;
    PreviewPage* m_picPage1 = nullptr;
    PreviewPage* m_picPage2 = nullptr;
    QScrollBar* m_scrollV = nullptr;
    QScrollBar* m_scrollH = nullptr;
};

} // namespace quillon
