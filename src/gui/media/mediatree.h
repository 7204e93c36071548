#pragma once

#include "media/mediatreemodel.h"
#include "media/medium.h"

#include <QIcon>
#include <QList>
#include <QModelIndex>
#include <QString>

class QObject;

namespace quillon {

// The model of the media tree: one root "Tapes, CDs, Harddisks" and one child
// per medium, keyed by its stored position ("1M", "2M", ...), labelled with
// its name, showing its picture, kept sorted by label without regard to case.
class MediaTree final {
public:
    static constexpr int kPictureRole = MediaTreeModel::kPictureRole;
    static constexpr int kKeyRole = MediaTreeModel::kKeyRole;
    static constexpr int kSortRole = MediaTreeModel::kSortRole;
    static QString rootText() { return QStringLiteral("Tapes, CDs, Harddisks"); }

    explicit MediaTree(QObject* parent);

    MediaTreeModel* model() const { return m_model; }

    // Leaves only the root.
    void clear();
    // The root and one child per medium, in one pass (fast for thousands).
    void fill(const QList<Medium>& media);
    // The same, keeping the nodes that are still there (see
    // MediaTreeModel::updateChildren): after another room's change.
    void update(const QList<Medium>& media);

    QModelIndex root() const;
    bool isMedium(const QModelIndex& index) const;
    int mediumCount() const;
    QString text(const QModelIndex& index) const;
    QString key(const QModelIndex& index) const;
    int picture(const QModelIndex& index) const;
    void setPicture(const QModelIndex& index, int picture);
    // Relabels a medium and keeps the children sorted.
    void setText(const QModelIndex& index, const QString& text);
    // The first medium labelled exactly `text`.
    QModelIndex find(const QString& text) const;
    // True when a node, the root included, carries this name once letter
    // case and surrounding blanks are set aside.
    bool textTaken(const QString& name) const;

private:
    static QList<MediaTreeModel::Node> nodesOf(const QList<Medium>& media);

    MediaTreeModel* m_model;
};

} // namespace quillon
