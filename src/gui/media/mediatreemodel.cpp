#include "media/mediatreemodel.h"

#include <algorithm>
#include <QSet>

namespace quillon {

namespace {

bool byFold(const MediaTreeModel::Node& a, const MediaTreeModel::Node& b)
{
    return a.fold < b.fold;
}

} // namespace

MediaTreeModel::MediaTreeModel(Node root, QList<QIcon> icons, QObject* parent)
    : QAbstractItemModel(parent), m_root(std::move(root)), m_icons(std::move(icons))
{
}

QModelIndex MediaTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, 0, kRootId) : QModelIndex();
    if (parent.model() == this && parent.internalId() == kRootId && row < m_children.size())
        return createIndex(row, 0, kChildId);
    return {};
}

QModelIndex MediaTreeModel::parent(const QModelIndex& index) const
{
    if (index.isValid() && index.model() == this && index.internalId() == kChildId)
        return createIndex(0, 0, kRootId);
    return {};
}

int MediaTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return 1;
    if (parent.model() == this && parent.internalId() == kRootId && parent.column() == 0)
        return int(m_children.size());
    return 0;
}

int MediaTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

const MediaTreeModel::Node* MediaTreeModel::node(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    if (index.internalId() == kRootId)
        return &m_root;
    return index.row() < m_children.size() ? &m_children.at(index.row()) : nullptr;
}

MediaTreeModel::Node* MediaTreeModel::mutableNode(const QModelIndex& index)
{
    return const_cast<Node*>(node(index));
}

QVariant MediaTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* n = node(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return n->text;
    case Qt::DecorationRole:
        return n->picture >= 1 && n->picture <= m_icons.size() ? m_icons.at(n->picture - 1)
                                                               : QVariant();
    case kPictureRole:
        return n->picture;
    case kKeyRole:
        return n->key;
    case kSortRole:
        return n->fold;
    default:
        return {};
    }
}

Qt::ItemFlags MediaTreeModel::flags(const QModelIndex& index) const
{
    // Labels are never edited in place.
    return node(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void MediaTreeModel::setChildren(QList<Node> children)
{
    std::stable_sort(children.begin(), children.end(), byFold);
    beginResetModel();
    m_children = std::move(children);
    endResetModel();
}

void MediaTreeModel::updateChildren(QList<Node> children)
{
    std::stable_sort(children.begin(), children.end(), byFold);
    const QModelIndex top = index(0, 0);
    QSet<QString> wanted;
    for (const Node& n : children)
        wanted.insert(n.text);
    // Gone first, from the end, so that the rows before keep their numbers.
    for (int r = int(m_children.size()) - 1; r >= 0; --r) {
        if (wanted.contains(m_children.at(r).text))
            continue;
        beginRemoveRows(top, r, r);
        m_children.removeAt(r);
        endRemoveRows();
    }
    // What is left is in the new order already; the new ones go in between.
    int r = 0;
    for (; r < children.size(); ++r) {
        const Node& n = children.at(r);
        if (r < m_children.size() && m_children.at(r).text == n.text) {
            Node& kept = m_children[r];
            if (kept.key != n.key || kept.picture != n.picture) {
                kept.key = n.key;
                kept.picture = n.picture;
                const QModelIndex at = index(r, 0, top);
                emit dataChanged(at, at, {Qt::DecorationRole, kPictureRole, kKeyRole});
            }
            continue;
        }
        beginInsertRows(top, r, r);
        m_children.insert(r, n);
        endInsertRows();
    }
    // Labels that sort otherwise than before cannot be merged: read anew.
    if (m_children.size() != children.size())
        setChildren(std::move(children));
}

void MediaTreeModel::setPicture(const QModelIndex& index, int picture)
{
    Node* n = mutableNode(index);
    if (!n)
        return;
    n->picture = picture;
    emit dataChanged(index, index, {Qt::DecorationRole, kPictureRole});
}

void MediaTreeModel::setText(const QModelIndex& index, const QString& text)
{
    if (!node(index) || index.internalId() != kChildId)
        return;
    emit layoutAboutToBeChanged({parent(index)}, QAbstractItemModel::VerticalSortHint);
    Node& changed = m_children[index.row()];
    changed.text = text;
    changed.fold = text.toCaseFolded();
    // A stable sort of the whole list, as the tree has always been sorted:
    // equal labels keep the order they had.
    QList<int> order(m_children.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return byFold(m_children.at(a), m_children.at(b)); });
    QList<Node> sorted;
    sorted.reserve(m_children.size());
    QList<int> newRow(m_children.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(std::move(m_children[order.at(i)]));
        newRow[order.at(i)] = i;
    }
    m_children = std::move(sorted);
    const QModelIndexList persistent = persistentIndexList();
    for (const QModelIndex& old : persistent)
        if (old.internalId() == kChildId && old.row() < newRow.size())
            changePersistentIndex(old, createIndex(newRow.at(old.row()), 0, kChildId));
    emit layoutChanged({parent(index)}, QAbstractItemModel::VerticalSortHint);
}

} // namespace quillon
