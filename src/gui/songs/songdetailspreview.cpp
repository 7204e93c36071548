#include "songs/songdetailspreview.h"

#include "common/screenplacement.h"
#include "common/twips.h"

#include "common/appstate.h"
#include "common/logging.h"
#include "common/prompter.h"
#include "printing/pagefit.h"
#include "printing/pagesink.h"
#include "songs/songdetailssheet.h"
#include "store/settings.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

namespace quillon {

namespace {

const QString kGeometryPrefix = QStringLiteral("SISE");
const Placement kDefaultPlacement{10, 10, 11745, 8745};

} // namespace

SongDetailsPreview::SongDetailsPreview(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_printMode(state.printRequested)
{
    setObjectName(QStringLiteral("frmPreviewSongdetails"));
    setWindowTitle(tr("Songdetails"));
    setModal(true);

    m_picture = new QWidget(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAutoFillBackground(true);
    QPalette pal = m_picture->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    m_picture->setPalette(pal);
    m_picture->installEventFilter(this);

    m_sheet = SongDetailsSheet::build(m_state.currentSong, m_state.currentSongDetails, {},
                                      {SongDetailsSheet::kWindowWidth, 8745});
    for (const SheetItem& item : m_sheet.items()) {
        if (item.role == SheetItem::Role::Text) {
            m_note = new QPlainTextEdit(m_picture);
            m_note->setObjectName(item.name);
            m_note->setReadOnly(true);
            m_note->setFont(FormSheet::font(item.role));
            continue;
        }
        auto* label = new QLabel(m_picture);
        label->setObjectName(item.name);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::Alignment(FormSheet::textFlags(item.role)));
        m_labels.insert(item.name, label);
    }

    const double d = dpi();
    const int fixedWidth = twipsToPixels(SongDetailsSheet::kWindowWidth, d);
    setMinimumWidth(fixedWidth);
    setMaximumWidth(fixedWidth);
    if (m_printMode) {
        const int screenHeight = screen() ? screen()->geometry().height() : 0;
        resize(fixedWidth, qMax(screenHeight, twipsToPixels(SongDetailsSheet::kRaisedHeight, d)));
    } else {
        const QRect place =
            restoredPlacement(m_state.settings.placement(kGeometryPrefix, kDefaultPlacement),
                              kDefaultPlacement, TwipsScale::forWidget(this));
        move(place.topLeft());
        resize(place.size());
    }
    relayout();
}

double SongDetailsPreview::dpi() const
{
    return logicalDpiY() > 0 ? logicalDpiY() : 96;
}

QSizeF SongDetailsPreview::innerTwips() const
{
    return {pixelsToTwips(width(), dpi()), pixelsToTwips(height(), dpi())};
}

void SongDetailsPreview::fill()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    relayout();
    QApplication::restoreOverrideCursor();
}

void SongDetailsPreview::relayout()
{
    const double d = dpi();
    const QSizeF inner = innerTwips();
    // A window made too low is raised; the width is fixed by the limits.
    const QSizeF wanted = SongDetailsSheet::clampWindow(inner);
    if (!m_adjusting && twipsToPixels(wanted.height(), d) != height()) {
        m_adjusting = true;
        resize(width(), twipsToPixels(wanted.height(), d));
        m_adjusting = false;
    }
    m_sheet = SongDetailsSheet::build(m_state.currentSong, m_state.currentSongDetails, m_date,
                                      innerTwips());
    // The sheet lies centred on the window, like a page on a desk.
    const int sheetWidth = twipsToPixels(m_sheet.size().width(), d);
    m_picture->setGeometry((width() - sheetWidth) / 2, 0, sheetWidth,
                           twipsToPixels(m_sheet.size().height(), d));
    for (const SheetItem& item : m_sheet.items()) {
        const QRect r(twipsToPixels(item.rect.left(), d), twipsToPixels(item.rect.top(), d),
                      twipsToPixels(item.rect.width(), d), twipsToPixels(item.rect.height(), d));
        if (item.role == SheetItem::Role::Text) {
            m_note->setGeometry(r);
            if (m_note->toPlainText() != item.text)
                m_note->setPlainText(item.text);
        } else if (QLabel* label = m_labels.value(item.name)) {
            label->setGeometry(r);
            label->setText(item.text);
            label->setFont(FormSheet::fittedFont(item));
        }
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
}

void SongDetailsPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    fill();
    if (m_printMode)
        QTimer::singleShot(0, this, &SongDetailsPreview::printAndClose);
}

void SongDetailsPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    relayout();
}

void SongDetailsPreview::mousePressEvent(QMouseEvent* event)
{
    QDialog::mousePressEvent(event);
    close();
}

bool SongDetailsPreview::eventFilter(QObject* watched, QEvent* event)
{
    // Clicks on the sheet or its labels close the window; the note box keeps
    // its own clicks so a long note can be scrolled.
    if (watched == m_picture && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SongDetailsPreview::printAndClose()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A job that never started is said, so nobody waits at the printer.
    std::unique_ptr<PageSink> sink = m_state.prompter.openDefaultPrinter();
    if (!sink) {
        qCWarning(lcPrinting) << "song details: no default printer";
        QApplication::restoreOverrideCursor();
        m_state.prompter.noPrinter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!sink->beginJob(tr("Songdetails - %1").arg(m_state.currentSong))) {
        qCWarning(lcPrinting) << "song details:" << sink->lastError();
        QApplication::restoreOverrideCursor();
        m_state.prompter.critical(
            this, tr("The song details were not printed.\r%1").arg(sink->lastError()));
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        printSheetAsPage(*sink, m_sheet, {});
        if (!sink->endJob())
            qCWarning(lcPrinting) << "song details: the job did not finish";
    }
    QApplication::restoreOverrideCursor();
    close();
}

void SongDetailsPreview::done(int result)
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
