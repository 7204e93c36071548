#include "songs/songtitlemodel.h"

#include "common/logging.h"
#include "songs/songstore.h"

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
    if (!parent.isValid())
        readBatch(m_batchSize);
}

bool SongTitleModel::readBatch(int size)
{
    if (m_atEnd)
        return false;
    bool ok = true;
    const QList<SongStore::TitleRow> page = m_songs.titlesAfter(m_lastRowid, size, &ok);
    if (!ok) {
        // Asking again would only fail again; the list ends where the read did.
        qCWarning(lcSongs) << "song list read failed:" << m_songs.lastError();
        m_readOk = false;
        emit readFailed(m_songs.lastError());
    }
    // A short page is the end of the table. Songs added later are read by the
    // next reload(); their rowids lie beyond the last one read.
    m_atEnd = !ok || page.size() < size;
    if (page.isEmpty())
        return false;
    const int first = int(m_titles.size());
    beginInsertRows({}, first, first + int(page.size()) - 1);
    m_titles.reserve(first + page.size());
    for (const SongStore::TitleRow& row : page)
        m_titles.append(row.title);
    m_lastRowid = page.last().rowid;
    endInsertRows();
    return true;
}

QModelIndexList SongTitleModel::match(const QModelIndex& start, int role, const QVariant& value,
                                      int hits, Qt::MatchFlags flags) const
{
    // The base class does the comparing, one stretch of rows at a time, so
    // every match flag means here what it means on any other model.
    // Anything but a row of this list (an invalid start among them) is left
    // to it as it stands, and so is a search for no hits.
    if (!start.isValid() || start.model() != this || start.parent().isValid() || hits == 0)
        return QAbstractListModel::match(start, role, value, hits, flags);
    const Qt::MatchFlags once = flags & ~Qt::MatchWrap;
    const auto remaining = [hits](const QModelIndexList& found) {
        return hits < 0 ? -1 : hits - int(found.size());
    };
    const auto enough = [hits](const QModelIndexList& found) {
        return hits >= 0 && found.size() >= hits;
    };

    // From start to the end of the table, reading on while hits are missing.
    // Reading on changes only how much is read, not the titles, so a const
    // search may do it, as a view scrolled to the end does. Batches double,
    // so a near title costs little and a missing one few queries.
    QModelIndexList found = QAbstractListModel::match(start, role, value, hits, once);
    auto* self = const_cast<SongTitleModel*>(this);
    for (int size = m_batchSize; !enough(found);
         size = size < kMaxSearchBatchSize / 2 ? size * 2 : qMax(size, kMaxSearchBatchSize)) {
        const int first = rowCount();
        // Stops at the end of the table, or at a failed read (already reported).
        if (!self->readBatch(size))
            break;
        found += QAbstractListModel::match(index(first, start.column()), role, value,
                                           remaining(found), once);
    }

    // Then the rows before start, all read already. The base class would run
    // on past start; its hits before start come first, so those are the ones.
    if ((flags & Qt::MatchWrap) && !enough(found) && start.row() > 0) {
        const QModelIndexList before = QAbstractListModel::match(index(0, start.column()), role,
                                                                 value, remaining(found), once);
        for (const QModelIndex& hit : before)
            if (hit.row() < start.row())
                found << hit;
    }
    return found;
}

} // namespace quillon
