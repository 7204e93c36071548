#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>

namespace quillon {

// The two levels of the media tree as plain rows: one root and its children.
// Thousands of media cost one vector of small records, not one item object
// each, so the tree fills and empties at once.
class MediaTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    struct Node {
        QString text;
        QString key;
        int picture = 0;
        QString fold; // text without regard to case, the sort key
    };

    MediaTreeModel(Node root, QList<QIcon> icons, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The node behind an index of this model; nullptr for anything else.
    const Node* node(const QModelIndex& index) const;
    const Node& rootNode() const { return m_root; }
    const QList<Node>& children() const { return m_children; }

    // Replaces every child, sorted by fold (stable: equal labels keep their order).
    void setChildren(QList<Node> children);
    // The same, in place: children whose label is gone are removed, new
    // ones inserted, the others kept (a view's selection, expansion and
    // persistent indexes on them stay), with their key and picture updated.
    void updateChildren(QList<Node> children);
    void setPicture(const QModelIndex& index, int picture);
    // Relabels a child and moves it to its sorted place; persistent indexes follow.
    void setText(const QModelIndex& index, const QString& text);

    static constexpr int kPictureRole = Qt::UserRole + 1;
    static constexpr int kKeyRole = Qt::UserRole + 2;
    static constexpr int kSortRole = Qt::UserRole + 3;

private:
    static constexpr quintptr kRootId = 0;
    static constexpr quintptr kChildId = 1;
    Node* mutableNode(const QModelIndex& index);

    Node m_root;
    QList<Node> m_children;
    QList<QIcon> m_icons; // index = picture number - 1
};

} // namespace quillon
