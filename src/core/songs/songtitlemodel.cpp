#include "songs/songtitlemodel.h"

#include "songs/songstore.h"
#include "store/logging.h"

namespace quillon {

SongTitleModel::SongTitleModel(SongStore& songs, QObject* parent)
    : QAbstractListModel(parent), m_songs(songs)
{
}

void SongTitleModel::setBatchSize(int size)
{
    m_batchSize = qMax(1, size);
}

void SongTitleModel::reload()
{
    beginResetModel();
    m_titles.clear();
    m_lastRowid = 0;
    m_atEnd = false;
    m_readOk = true;
    endResetModel();
    // Read at once rather than when a view first asks, so a view shown right
    // after this has rows to select and paint.
    fetchMore({});
}

QString SongTitleModel::title(int row) const
{
    return row >= 0 && row < m_titles.size() ? m_titles.at(row) : QString();
}

int SongTitleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant SongTitleModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return m_titles.at(index.row());
    return {};
}

Qt::ItemFlags SongTitleModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

bool SongTitleModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void SongTitleModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || m_atEnd)
        return;
    bool ok = true;
    const QList<SongStore::TitleRow> page = m_songs.titlesAfter(m_lastRowid, m_batchSize, &ok);
    if (!ok) {
        // Asking again would only fail again; the list ends where the read did.
        qCWarning(lcSongs) << "song list read failed:" << m_songs.lastError();
        m_readOk = false;
        emit readFailed(m_songs.lastError());
    }
    // A short page is the end of the table. Songs added later are read by the
    // next reload(); their rowids lie beyond the last one read.
    m_atEnd = !ok || page.size() < m_batchSize;
    if (page.isEmpty())
        return;
    const int first = int(m_titles.size());
    beginInsertRows({}, first, first + int(page.size()) - 1);
    m_titles.reserve(first + page.size());
    for (const SongStore::TitleRow& row : page)
        m_titles.append(row.title);
    m_lastRowid = page.last().rowid;
    endInsertRows();
}

} // namespace quillon
