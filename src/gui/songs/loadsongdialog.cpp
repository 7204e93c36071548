#include "songs/loadsongdialog.h"

#include "app/appstate.h"
#include "songs/songstore.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

LoadSongDialog::LoadSongDialog(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("frmLoadSong");
    setWindowTitle("Choose Songtitle");
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName("SongtitleList");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
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
    connect(m_list, &QListWidget::itemDoubleClicked, this, &LoadSongDialog::openChosen);
}

void LoadSongDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fill();
}

void LoadSongDialog::fill()
{
    m_list->clear();
    m_list->addItems(m_state.songs.titles());
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void LoadSongDialog::openChosen()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item) {
        // No song to choose (an empty table): leave everything as it was.
        reject();
        return;
    }
    m_state.currentSong = item->text();
    m_state.currentDeviceIndex = 1;
    accept();
}

} // namespace quillon
