#pragma once

#include <QStyledItemDelegate>

namespace quillon {

// Draws an item's text with some of its spans in bold: the words a search
// matched, in the words around them. The spans are a list of ints under
// kMarksRole, start and length in turn; an item without them is drawn as
// usual.
class MarkedTextDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kMarksRole = Qt::UserRole + 1;

    explicit MarkedTextDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace quillon
