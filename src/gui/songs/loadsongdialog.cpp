#include "songs/loadsongdialog.h"

#include "common/appstate.h"
#include "common/prompter.h"
#include "songs/songstore.h"
#include "songs/songtitlemodel.h"
#include "store/catalogueevents.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

LoadSongDialog::LoadSongDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("frmLoadSong");
    setWindowTitle("Choose Songtitle");
    auto* layout = new QVBoxLayout(this);
    m_model = new SongTitleModel(state.songs, this);
    m_list = new QListView(this);
    m_list->setObjectName("SongtitleList");
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line of text each: the view need not measure every row it lays out.
    m_list->setUniformItemSizes(true);
    m_list->setMinimumSize(360, 260);
    layout->addWidget(m_list);

    auto* open = new QPushButton("&Open", this);
    open->setObjectName("cmdOpen");
    open->setToolTip("Open chosen Song");
    open->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    cancel->setToolTip("Close window without loading");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(open, &QPushButton::clicked, this, &LoadSongDialog::openChosen);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListView::doubleClicked, this, &LoadSongDialog::openChosen);
    // A list cut short must not pass for all the songs there are. Queued: the
    // failure can come up while the dialog is being shown or the list scrolled.
    connect(
        m_model, &SongTitleModel::readFailed, this,
        [this](const QString& error) { m_state.prompter.critical(this, error); },
        Qt::QueuedConnection);
    if (state.events)
        connect(state.events, &CatalogueEvents::changed, this, &LoadSongDialog::heard);
}

void LoadSongDialog::heard(const QString& kind, const QString& subject)
{
    if (kind != CatalogueEvents::kSongs || !isVisible())
        return;
    if (!m_refillDue) {
        m_refillDue = true;
        m_keep = m_model->title(m_list->currentIndex().row());
        QTimer::singleShot(0, this, &LoadSongDialog::refill);
    }
    const qsizetype tab = subject.indexOf('\t');
    if (tab >= 0 && subject.left(tab) == m_keep)
        m_keep = subject.mid(tab + 1);
}

void LoadSongDialog::refill()
{
    m_refillDue = false;
    // Reading again costs one batch of titles; the chosen one is looked up
    // as far as it lies, no further.
    m_model->reload();
    QModelIndex chosen = m_model->index(0, 0);
    if (!m_keep.isEmpty()) {
        const QModelIndexList found = m_model->match(chosen, Qt::DisplayRole, m_keep, 1,
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty())
            chosen = found.first();
    }
    if (chosen.isValid())
        m_list->setCurrentIndex(chosen);
}

void LoadSongDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fill();
}

void LoadSongDialog::fill()
{
    // Built anew on every showing, so songs made meanwhile are listed.
    m_model->reload();
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0, 0));
}

void LoadSongDialog::openChosen()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid()) {
        // No song to choose (an empty table): leave everything as it was.
        reject();
        return;
    }
    m_state.currentSong = m_model->title(current.row());
    m_state.currentDeviceIndex = 1;
    accept();
}

} // namespace quillon
