#include "search/searchwindow.h"

#include "common/appstate.h"
#include "search/cataloguesearch.h"
#include "store/datafolder.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
// The pause after a key before the search runs; a slow catalogue (a server
// far away, thousands of songs) gets a longer one, so that typing a word
// does not queue a search for each letter.
constexpr int kPauseMs = 150;
constexpr int kLongestPauseMs = 700;
} // namespace

SearchWindow::SearchWindow(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_pause(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("searchText"));
    m_box->setPlaceholderText(QStringLiteral("Songs, tracks, notes, lyrics, media, devices..."));
    m_box->setClearButtonEnabled(true);
    m_box->installEventFilter(this);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("searchNotice"));
    m_notice->setWordWrap(true);
    m_notice->hide();
    m_results = new SearchResultList(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("searchSummary"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_box);
    layout->addWidget(m_notice);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_summary);
    resize(720, 460);

    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &SearchWindow::runSearch);
    connect(m_box, &QLineEdit::textChanged, this, &SearchWindow::textChanged);
    connect(m_box, &QLineEdit::returnPressed, this, &SearchWindow::openChosen);
    connect(m_results, &SearchResultList::hitActivated, this, &SearchWindow::hitActivated);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::setDeviceLabel(SearchResultList::DeviceLabel label)
{
    m_results->setDeviceLabel(std::move(label));
}

void SearchWindow::setBuildProgress(int percent)
{
    m_notice->setVisible(percent >= 0);
    if (percent >= 0) {
        m_notice->setText(QStringLiteral("The search index is still being built (%1 %); results "
                                         "may be missing.")
                              .arg(percent));
        return;
    }
    if (!m_box->text().trimmed().isEmpty() && isVisible())
        m_pause->start();
}

bool SearchWindow::searchPending() const
{
    return m_pause->isActive();
}

void SearchWindow::searchNow()
{
    m_pause->stop();
    runSearch();
}

void SearchWindow::focusBox()
{
    m_box->setFocus();
    m_box->selectAll();
}

void SearchWindow::textChanged()
{
    m_pause->start();
}

void SearchWindow::runSearch()
{
    m_pause->stop();
    const SearchQuery query(m_box->text());
    if (query.isEmpty()) {
        m_results->setHits({});
        m_summary->clear();
        return;
    }
    if (!m_search)
        m_search = std::make_unique<CatalogueSearch>(m_state.data);
    QElapsedTimer took;
    took.start();
    const QList<SearchHit> hits = m_search->find(query);
    m_pause->setInterval(int(qMin<qint64>(kPauseMs + took.elapsed(), kLongestPauseMs)));
    m_results->setHits(hits);
    if (hits.isEmpty() && !m_search->lastError().isEmpty())
        m_summary->setText(QStringLiteral("The search failed: %1").arg(m_search->lastError()));
    else if (hits.isEmpty())
        m_summary->setText(QStringLiteral("Nothing found."));
    else
        m_summary->setText(QStringLiteral("%1 found.").arg(hits.size()));
}

void SearchWindow::openChosen()
{
    // What was typed last is searched before anything is opened.
    if (m_pause->isActive())
        searchNow();
    const SearchHit* hit = m_results->hitOf(m_results->currentItem());
    if (hit)
        emit hitActivated(SearchHit(*hit));
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Down from the box goes on into the hits.
    if (watched == m_box && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_results->currentItem()) {
        m_results->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // The connections are opened again at the next search.
    m_search.reset();
}

} // namespace quillon
