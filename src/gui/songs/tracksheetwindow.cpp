#include "songs/tracksheetwindow.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "common/screenplacement.h"
#include "common/twips.h"
#include "printing/pagefit.h"
#include "printing/pagesink.h"
#include "songs/songstore.h"
#include "store/settings.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace quillon {

namespace {

const QString kGeometryPrefix = QStringLiteral("TSSE");
const Placement kDefaultPlacement{10, 10, TrackSheetLayout::kMinWidth,
                                  TrackSheetLayout::kMinHeight};

// Styles a label like the item it shows.
void styleLabel(QLabel* label, const SheetItem& item, double dpi)
{
    label->setAlignment(Qt::Alignment(FormSheet::textFlags(item.role) & ~Qt::TextWordWrap));
    if (item.role == SheetItem::Role::Text) {
        label->setWordWrap(true);
        label->setFrameShape(QFrame::Box);
        label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid gray; }"));
        label->setMargin(qMax(1, twipsToPixels(FormSheet::kTextPadding, dpi) - 1));
    }
}

// The font the user reads the tracks in: that of the main window's first
// track box. Without a main window, the font such a box gets, which is the
// application's font for line edits (the boxes set none of their own).
QFont trackBoxFont(const QWidget* parent)
{
    if (parent) {
        if (const auto* box = parent->window()->findChild<QLineEdit*>(QStringLiteral("trax_1")))
            return box->font();
    }
    return QApplication::font("QLineEdit");
}

} // namespace

TrackSheetWindow::TrackSheetWindow(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_printMode(state.printRequested),
      m_trackFont(trackBoxFont(parent))
{
    setObjectName(QStringLiteral("trfrm1"));
    setModal(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    m_picture = new QWidget(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAutoFillBackground(true);
    QPalette pal = m_picture->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    m_picture->setPalette(pal);

    m_next = new QPushButton(tr("&Next"), this);
    m_next->setObjectName(QStringLiteral("Command1"));
    connect(m_next, &QPushButton::clicked, this, &TrackSheetWindow::nextPage);

    const double d = dpi();
    setMinimumSize(twipsToPixels(TrackSheetLayout::kMinWidth, d),
                   twipsToPixels(TrackSheetLayout::kMinHeight, d));
    if (m_printMode) {
        // As tall as the screen so the rows get room; the width is raised to
        // the minimum by the size rules.
        const int screenHeight = screen() ? screen()->geometry().height() : 0;
        resize(twipsToPixels(7666, d), qMax(screenHeight, minimumHeight()));
    } else {
        const QRect place =
            restoredPlacement(m_state.settings.placement(kGeometryPrefix, kDefaultPlacement),
                              kDefaultPlacement, TwipsScale::forWidget(this));
        move(place.topLeft());
        resize(place.size());
    }

    // The device's full name from the register: the main window's device
    // label may show it cut short, which can read as another model.
    QString device = m_state.deviceName(m_state.currentDeviceIndex);
    if (device.isEmpty())
        device = m_state.currentSongDetails.deviceName;
    setWindowTitle(tr("Track Sheet (") + device + QStringLiteral(")"));
    move(twipsToPixels(15, d), twipsToPixels(5, d));

    // The track row is read once; the window never writes it.
    const QStringList tracks =
        m_state.songs.trackRow(m_state.currentSong, m_state.currentDeviceIndex);
    m_data = TrackSheetData::from(m_state.currentSong, m_state.currentSongDetails, device, tracks,
                                  QDate::currentDate());
    m_sheet = TrackSheetLayout::build(m_data, m_page, innerTwips());
    createLabels();
    relayout();
    QApplication::restoreOverrideCursor();
}

TrackSheetWindow::~TrackSheetWindow() = default;

double TrackSheetWindow::dpi() const
{
    return logicalDpiY() > 0 ? logicalDpiY() : 96;
}

QSizeF TrackSheetWindow::innerTwips() const
{
    return {pixelsToTwips(width(), dpi()), pixelsToTwips(height(), dpi())};
}

void TrackSheetWindow::setTrackFont(const QFont& font)
{
    m_trackFont = font;
    createLabels();
    relayout();
}

void TrackSheetWindow::createLabels()
{
    const double d = dpi();
    for (const SheetItem& item : m_sheet.items()) {
        QLabel* label = m_labels.value(item.name);
        if (!label) {
            label = new QLabel(m_picture);
            label->setObjectName(item.name);
            label->setTextFormat(Qt::PlainText);
            m_labels.insert(item.name, label);
            if (item.role == SheetItem::Role::Text)
                label->installEventFilter(this);
        }
        styleLabel(label, item, d);
    }
}

void TrackSheetWindow::relayout()
{
    const double d = dpi();
    const QSizeF inner = innerTwips();
    m_sheet = TrackSheetLayout::build(m_data, m_page, inner);
    const QSizeF sheetSize = m_sheet.size();
    m_picture->setGeometry(0, 0, twipsToPixels(sheetSize.width(), d),
                           twipsToPixels(sheetSize.height(), d));
    for (const SheetItem& item : m_sheet.items()) {
        QLabel* label = m_labels.value(item.name);
        if (!label)
            continue;
        label->setGeometry(twipsToPixels(item.rect.left(), d), twipsToPixels(item.rect.top(), d),
                           twipsToPixels(item.rect.width(), d),
                           twipsToPixels(item.rect.height(), d));
        label->setText(item.text);
        label->setFont(FormSheet::fittedFont(item, m_trackFont));
    }
    while (m_rules.size() < m_sheet.rules().size()) {
        auto* rule = new QWidget(m_picture);
        rule->setAutoFillBackground(true);
        QPalette pal = rule->palette();
        pal.setColor(QPalette::Window, Qt::black);
        rule->setPalette(pal);
        m_rules << rule;
    }
    for (int i = 0; i < m_sheet.rules().size(); ++i) {
        const QLineF line = m_sheet.rules().at(i);
        m_rules.at(i)->setGeometry(twipsToPixels(line.x1(), d), twipsToPixels(line.y1(), d),
                                   twipsToPixels(line.length(), d), 1);
    }
    if (!m_printMode || !m_activated) {
        const int buttonWidth = twipsToPixels(1215, d);
        const int buttonHeight = twipsToPixels(360, d);
        m_next->setGeometry(width() - buttonWidth - twipsToPixels(510, d),
                            m_picture->height() + twipsToPixels(45, d), buttonWidth, buttonHeight);
    }
}

void TrackSheetWindow::showPage(int page)
{
    if (page < 1 || page > TrackSheetLayout::kPages)
        return;
    m_page = page;
    relayout();
}

void TrackSheetWindow::nextPage()
{
    showPage(m_page % TrackSheetLayout::kPages + 1);
}

void TrackSheetWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    if (!m_printMode) {
        showPage(1);
        return;
    }
    m_next->move(-twipsToPixels(1000, dpi()) - m_next->width(), m_next->y());
    QTimer::singleShot(0, this, &TrackSheetWindow::printAndClose);
}

void TrackSheetWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayout();
}

bool TrackSheetWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        m_labels.key(qobject_cast<QLabel*>(watched)).startsWith(QLatin1String("Track("))) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TrackSheetWindow::printAndClose()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<int> pages;
    if (m_printPage)
        pages << *m_printPage;
    else
        for (int k = 1; k <= TrackSheetLayout::kPages; ++k)
            pages << k;

    // Whatever could be printed is printed and the window closes; a job that
    // never started is said, so nobody waits at the printer for it.
    std::unique_ptr<PageSink> sink = m_state.prompter.openDefaultPrinter();
    if (!sink) {
        qCWarning(lcPrinting) << "track sheet: no default printer";
        QApplication::restoreOverrideCursor();
        m_state.prompter.noPrinter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!sink->beginJob(tr("Track Sheet - %1").arg(m_state.currentSong))) {
        qCWarning(lcPrinting) << "track sheet:" << sink->lastError();
        QApplication::restoreOverrideCursor();
        m_state.prompter.critical(
            this, tr("The track sheet was not printed.\r%1").arg(sink->lastError()));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        bool first = true;
        for (int k : pages) {
            showPage(k);
            if (!first && !sink->newPage()) {
                qCWarning(lcPrinting) << "track sheet: page" << k << "failed";
                break;
            }
            first = false;
            printSheetAsPage(*sink, m_sheet, m_trackFont);
        }
        if (!sink->endJob())
            qCWarning(lcPrinting) << "track sheet: the job did not finish";
    }
    QApplication::restoreOverrideCursor();
    close();
}

void TrackSheetWindow::done(int result)
{
    if (!m_finished) {
        m_finished = true;
        if (m_printMode) {
            m_state.printRequested = false;
        } else {
            m_state.settings.setPlacement(
                kGeometryPrefix,
                placementInTwips(QRect(pos(), size()), TwipsScale::forWidget(this)));
        }
    }
    QDialog::done(result);
}

} // namespace quillon
