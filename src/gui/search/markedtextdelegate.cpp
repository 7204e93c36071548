#include "search/markedtextdelegate.h"

#include <QApplication>
#include <QPainter>

namespace quillon {

namespace {
struct Run {
    QString text;
    bool marked = false;
};

// The text cut into plain and marked runs, in order.
QList<Run> runsOf(const QString& text, const QList<int>& marks)
{
    QList<Run> runs;
    qsizetype at = 0;
    for (int i = 0; i + 1 < marks.size(); i += 2) {
        const qsizetype start = qBound<qsizetype>(at, marks.at(i), text.size());
        const qsizetype end = qBound<qsizetype>(start, start + marks.at(i + 1), text.size());
        if (start > at)
            runs.append({text.mid(at, start - at), false});
        if (end > start)
            runs.append({text.mid(start, end - start), true});
        at = end;
    }
    if (at < text.size())
        runs.append({text.mid(at), false});
    return runs;
}
} // namespace

MarkedTextDelegate::MarkedTextDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void MarkedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QVariant marks = index.data(kMarksRole);
    if (!marks.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(3, 0, -3, 0);
    const QPalette::ColorRole role =
        opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    QFont bold = opt.font;
    bold.setBold(true);
    painter->save();
    painter->setClipRect(area);
    painter->setPen(opt.palette.color(role));
    int x = area.left();
    for (const Run& run : runsOf(text, marks.value<QList<int>>())) {
        const QFont& font = run.marked ? bold : opt.font;
        painter->setFont(font);
        const int width = QFontMetrics(font).horizontalAdvance(run.text);
        painter->drawText(QRect(x, area.top(), width, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, run.text);
        x += width;
        if (x > area.right())
            break;
    }
    painter->restore();
}

QSize MarkedTextDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.data(kMarksRole).isValid()) {
        // Bold words take a little more room than the plain text measured.
        QFont bold = option.font;
        bold.setBold(true);
        size.setWidth(size.width() + QFontMetrics(bold).averageCharWidth() * 2);
    }
    return size;
}

} // namespace quillon
