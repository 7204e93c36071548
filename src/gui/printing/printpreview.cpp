#include "printing/printpreview.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/twipsscale.h"
#include "documents/richtextdocument.h"
#include "printing/previewpage.h"
#include "printing/previewplacement.h"
#include "printing/previewprinter.h"

#include <cmath>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>

namespace quillon {

namespace {

constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 320;
constexpr int kButtonGap = 60;
constexpr int kLabelWidth = 1800;

const QString kOnePageCaption = QStringLiteral("&Zwei Seiten");
const QString kTwoPagesCaption = QStringLiteral("&Eine Seite");

int rounded(double value)
{
    return int(std::lround(value));
}

QRect buttonRect(int index)
{
    return {kButtonGap + index * (kButtonWidth + kButtonGap),
            (PreviewLayout::kBarHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight};
}

void applyBar(QScrollBar& widget, const PreviewScrollBar& bar, const TwipsScale& units)
{
    // The layout has already placed the page; the bar only follows it.
    const QSignalBlocker block(&widget);
    widget.setGeometry(units.toPixelsKeepingSizes(bar.rect));
    widget.setRange(0, bar.max);
    widget.setPageStep(bar.largeChange);
    widget.setSingleStep(bar.smallChange);
    widget.setValue(bar.value);
    widget.setEnabled(bar.enabled);
    widget.setVisible(bar.visible);
    widget.raise();
}

} // namespace

PrintPreview::PrintPreview(AppState& state, RichTextDocument& document, QWidget* parent,
                           QString jobName)
    : QDialog(parent), m_state(state), m_document(document),
      m_jobName(jobName.isEmpty() ? QStringLiteral("Quillon") : std::move(jobName)),
      m_savedTarget(document.renderTarget()), m_layout(document.pageWidth(), document.pageHeight())
{
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setModal(true);

    m_frame = new QWidget(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_btnPrint = addButton("btnPrint", QStringLiteral("&Drucken"));
    m_btnNext = addButton("btnNext", QStringLiteral("&Nächste"));
    m_btnPrevious = addButton("btnPrevious", QStringLiteral("&Vorherige"));
    m_btnPages = addButton("btnPages", kOnePageCaption);
    m_btnZoomIn = addButton("btnZoomIn", QStringLiteral("Ver&größern"));
    m_btnZoomOut = addButton("btnZoomOut", QStringLiteral("Ver&kleinern"));
    m_btnClose = addButton("btnClose", QStringLiteral("&Schließen"));
    m_lblPage = new QLabel(QStringLiteral("Seite: x von n"), m_frame);
    m_lblPage->setObjectName(QStringLiteral("lblPage"));
    m_lblPage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_picMain = new QWidget(this);
    m_picMain->setObjectName(QStringLiteral("picMain"));
    m_picMain->setAutoFillBackground(true);
    QPalette workspace = m_picMain->palette();
    workspace.setColor(QPalette::Window, workspace.color(QPalette::Dark));
    m_picMain->setPalette(workspace);

    m_picPage1 = new PreviewPage(m_picMain);
    m_picPage1->setObjectName(QStringLiteral("picPage1"));
    m_picPage2 = new PreviewPage(m_picMain);
    m_picPage2->setObjectName(QStringLiteral("picPage2"));
    for (PreviewPage* picture : {m_picPage1, m_picPage2}) {
        picture->setPaintHandler([this](PreviewPage& p) { paintPage(p); });
        connect(picture, &PreviewPage::clicked, this,
                [this, picture](QPoint pos, Qt::KeyboardModifiers modifiers) {
                    pageClicked(picture, pos, modifiers);
                });
    }

    m_scrollV = new QScrollBar(Qt::Vertical, this);
    m_scrollV->setObjectName(QStringLiteral("ScrollV"));
    m_scrollH = new QScrollBar(Qt::Horizontal, this);
    m_scrollH->setObjectName(QStringLiteral("ScrollH"));
    const TwipsScale units = TwipsScale::forWidget(this);
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollV);
    m_geometry.scrollV.rect.setSize(QSize(units.toTwipsX(extent), 0));
    m_geometry.scrollH.rect.setSize(QSize(0, units.toTwipsY(extent)));
    connect(m_scrollV, &QScrollBar::valueChanged, this,
            [this](int value) { scrollTo(m_geometry.scrollV, value, false); });
    connect(m_scrollH, &QScrollBar::valueChanged, this,
            [this](int value) { scrollTo(m_geometry.scrollH, value, true); });

    connect(m_btnPrint, &QPushButton::clicked, this, &PrintPreview::print);
    connect(m_btnNext, &QPushButton::clicked, this, &PrintPreview::nextPage);
    connect(m_btnPrevious, &QPushButton::clicked, this, &PrintPreview::previousPage);
    connect(m_btnPages, &QPushButton::clicked, this, &PrintPreview::togglePages);
    connect(m_btnZoomIn, &QPushButton::clicked, this, [this] { setZoomLevel(m_zoomLevel + 1); });
    connect(m_btnZoomOut, &QPushButton::clicked, this, [this] { setZoomLevel(m_zoomLevel - 1); });
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);

    PreviewPlacement::restore(*this, m_state.settings);

    // The page size is read once; the layout that follows from showing the
    // window relies on it.
    m_savedScale = m_document.scalePercent();
    m_geometry.page2Visible = false;
    m_geometry.scrollH.visible = false;
    m_geometry.scrollV.visible = false;
    applyGeometry();
    updatePreviewButtons();
    qCDebug(lcPrinting) << "preview of" << pageCount() << "pages," << m_layout.docPageWidth() << "x"
                        << m_layout.docPageHeight() << "twips";
}

PrintPreview::~PrintPreview()
{
    // Also when the window goes without being closed (its parent went).
    handBackDocument();
}

QPushButton* PrintPreview::addButton(const char* name, const QString& text)
{
    auto* button = new QPushButton(text, m_frame);
    button->setObjectName(QString::fromLatin1(name));
    // Return must not print or page on its own.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

int PrintPreview::pageCount() const
{
    return std::max(1, m_document.pageCount());
}

void PrintPreview::updatePreviewButtons()
{
    const int n = pageCount();
    m_btnNext->setEnabled(m_currentPage < n);
    m_btnPrevious->setEnabled(m_currentPage > 1);
    m_btnPages->setEnabled(m_zoomLevel == 0 && n > 1);
    m_btnZoomIn->setEnabled(m_zoomLevel < 2);
    m_btnZoomOut->setEnabled(m_zoomLevel > 0);
    m_lblPage->setText(QStringLiteral("Seite %1 von %2").arg(m_currentPage).arg(n));
}

void PrintPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const TwipsScale units = TwipsScale::forWidget(this);
    m_windowTwips = QSize(units.toTwipsX(width()), units.toTwipsY(height()));
    layoutPreview();
}

void PrintPreview::layoutPreview()
{
    m_layout.layout(m_geometry, m_windowTwips.width(), m_windowTwips.height(), m_zoomLevel,
                    m_twoPageView);
    applyGeometry();
    if (m_zoomLevel == 0)
        refreshPagePictures();
}

void PrintPreview::applyGeometry()
{
    const TwipsScale units = TwipsScale::forWidget(this);
    m_frame->setGeometry(
        units.toPixelsKeepingSizes(QRect(0, 0, m_windowTwips.width(), PreviewLayout::kBarHeight)));
    QPushButton* const buttons[] = {m_btnPrint,  m_btnNext,    m_btnPrevious, m_btnPages,
                                    m_btnZoomIn, m_btnZoomOut, m_btnClose};
    int index = 0;
    for (QPushButton* button : buttons)
        button->setGeometry(units.toPixelsKeepingSizes(buttonRect(index++)));
    const QRect afterButtons = buttonRect(index);
    m_lblPage->setGeometry(units.toPixelsKeepingSizes(
        QRect(afterButtons.left(), afterButtons.top(), kLabelWidth, afterButtons.height())));

    m_picMain->setGeometry(units.toPixelsKeepingSizes(m_geometry.main));
    m_picPage1->setGeometry(units.toPixelsKeepingSizes(m_geometry.page1));
    m_picPage2->setGeometry(units.toPixelsKeepingSizes(m_geometry.page2));
    m_picPage2->setVisible(m_geometry.page2Visible);
    applyBar(*m_scrollV, m_geometry.scrollV, units);
    applyBar(*m_scrollH, m_geometry.scrollH, units);
}

void PrintPreview::refreshPagePictures()
{
    m_picPage1->update();
    if (m_twoPageView)
        m_picPage2->update();
}

void PrintPreview::paintPage(PreviewPage& picture)
{
    // Both pictures are drawn at the scale that fits the left one; the page
    // size is asked afresh, the document may report it differently by now.
    const int scale = PreviewLayout::fitPageScale(m_geometry.page1.size(), m_document.pageWidth(),
                                                  m_document.pageHeight());
    if (scale <= 0)
        return;
    m_document.setScalePercent(scale);
    m_document.setRenderTarget(&picture);
    m_document.renderPage(&picture == m_picPage1 ? m_currentPage : m_currentPage + 1);
}

void PrintPreview::setZoomLevel(int level)
{
    if (!m_layout.zoom(m_geometry, level, m_twoPageView))
        return;
    m_zoomLevel = level;
    updatePreviewButtons();
    layoutPreview();
    refreshPagePictures();
}

void PrintPreview::nextPage()
{
    ++m_currentPage;
    updatePreviewButtons();
    refreshPagePictures();
}

void PrintPreview::previousPage()
{
    --m_currentPage;
    updatePreviewButtons();
    refreshPagePictures();
}

void PrintPreview::togglePages()
{
    m_zoomLevel = 0;
    m_twoPageView = !m_twoPageView;
    m_btnPages->setText(m_twoPageView ? kTwoPagesCaption : kOnePageCaption);
    m_layout.zoom(m_geometry, 0, m_twoPageView);
    updatePreviewButtons();
    layoutPreview();
}

void PrintPreview::pageClicked(const PreviewPage* picture, QPoint pos,
                               Qt::KeyboardModifiers modifiers)
{
    const TwipsScale units = TwipsScale::forWidget(this);
    const int x = units.toTwipsX(pos.x());
    const int y = units.toTwipsY(pos.y());
    const QSize before = m_geometry.page1.size();
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);

    if (picture == m_picPage1) {
        if (shift)
            setZoomLevel(m_zoomLevel - 1);
        else if (m_zoomLevel == 2)
            return;
        else
            setZoomLevel(m_zoomLevel + 1);
    } else {
        if (shift || m_currentPage >= pageCount())
            return;
        ++m_currentPage;
        setZoomLevel(m_zoomLevel + 1);
    }

    // Scroll the magnified page towards the spot clicked.
    if (m_zoomLevel == 0 || before.width() <= 0 || before.height() <= 0)
        return;
    scrollTo(m_geometry.scrollH, rounded(double(x) / before.width() * m_geometry.scrollH.max),
             true);
    scrollTo(m_geometry.scrollV, rounded(double(y) / before.height() * m_geometry.scrollV.max),
             false);
}

void PrintPreview::scrollTo(PreviewScrollBar& bar, int value, bool horizontal)
{
    bar.setValue(value);
    // A disabled bar belongs to a page centred in the view: it stays centred.
    if (bar.enabled) {
        if (horizontal)
            m_geometry.page1.moveLeft(PreviewLayout::kMargin - bar.value);
        else
            m_geometry.page1.moveTop(PreviewLayout::kMargin - bar.value);
    }
    applyGeometry();
    refreshPagePictures();
}

void PrintPreview::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls a magnified page wherever the mouse is.
    QScrollBar* bar = event->modifiers().testFlag(Qt::ShiftModifier) ? m_scrollH : m_scrollV;
    if (m_zoomLevel > 0 && bar->isVisible() && bar->isEnabled()) {
        QApplication::sendEvent(bar, event);
        return;
    }
    QDialog::wheelEvent(event);
}

void PrintPreview::print()
{
    PreviewPrinter printer(m_state.prompter, m_document, m_jobName);
    printer.print(this, m_savedScale);
    refreshPagePictures();
}

void PrintPreview::handBackDocument()
{
    if (m_handedBack)
        return;
    m_handedBack = true;
    m_document.setScalePercent(m_savedScale);
    // The pictures die with the window; the document must not keep drawing
    // on them.
    m_document.setRenderTarget(m_savedTarget);
}

void PrintPreview::done(int result)
{
    if (!m_handedBack) {
        handBackDocument();
        // Only a window the user saw has a place worth keeping.
        if (isVisible())
            PreviewPlacement::store(*this, m_state.settings);
    }
    QDialog::done(result);
}

} // namespace quillon
