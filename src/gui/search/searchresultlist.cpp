#include "search/searchresultlist.h"

#include "search/markedtextdelegate.h"

#include <QHeaderView>

namespace quillon {

namespace {
constexpr int kHitRole = Qt::UserRole;
} // namespace

SearchResultList::SearchResultList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("searchResults"));
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Found in"), QStringLiteral("Text")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setItemDelegateForColumn(1, new MarkedTextDelegate(this));
    header()->setStretchLastSection(true);
    header()->resizeSection(0, 220);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (const SearchHit* hit = hitOf(item))
            emit hitActivated(SearchHit(*hit));
    });
}

void SearchResultList::setHits(const QList<SearchHit>& hits)
{
    clear();
    m_hits = hits;
    std::stable_sort(m_hits.begin(), m_hits.end(),
                     [](const SearchHit& a, const SearchHit& b) { return a.kind < b.kind; });
    QTreeWidgetItem* groupItem = nullptr;
    for (int i = 0; i < m_hits.size(); ++i) {
        const SearchHit& hit = m_hits.at(i);
        if (!groupItem || m_hits.at(i - 1).kind != hit.kind) {
            groupItem = new QTreeWidgetItem(this);
            groupItem->setData(0, kHitRole, int(hit.kind));
            groupItem->setFlags(Qt::ItemIsEnabled);
            groupItem->setFirstColumnSpanned(true);
            QFont bold = font();
            bold.setBold(true);
            groupItem->setFont(0, bold);
        }
        auto* item = new QTreeWidgetItem(groupItem);
        item->setData(0, kHitRole, i);
        item->setText(0, placeOf(hit));
        item->setToolTip(0, item->text(0));
        item->setText(1, hit.context);
        QList<int> marks;
        for (const SearchQuery::Span& m : hit.marks)
            marks << int(m.start) << int(m.length);
        item->setData(1, MarkedTextDelegate::kMarksRole, QVariant::fromValue(marks));
    }
    for (int g = 0; g < topLevelItemCount(); ++g) {
        QTreeWidgetItem* top = topLevelItem(g);
        const auto kind = SearchHit::Kind(top->data(0, kHitRole).toInt());
        top->setText(
            0, QStringLiteral("%1 (%2)").arg(SearchHit::kindName(kind)).arg(top->childCount()));
    }
    expandAll();
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0)->child(0));
}

QTreeWidgetItem* SearchResultList::group(SearchHit::Kind kind) const
{
    for (int g = 0; g < topLevelItemCount(); ++g)
        if (topLevelItem(g)->data(0, kHitRole).toInt() == int(kind))
            return topLevelItem(g);
    return nullptr;
}

const SearchHit* SearchResultList::hitOf(const QTreeWidgetItem* item) const
{
    if (!item || !item->parent())
        return nullptr;
    const int i = item->data(0, kHitRole).toInt();
    return i >= 0 && i < m_hits.size() ? &m_hits.at(i) : nullptr;
}

QString SearchResultList::placeOf(const SearchHit& hit) const
{
    switch (hit.kind) {
    case SearchHit::Kind::Track: {
        QString device = m_deviceLabel ? m_deviceLabel(hit.slot) : QString();
        if (device.trimmed().isEmpty())
            device = QStringLiteral("Device %1").arg(hit.slot);
        return QStringLiteral("%1 - %2, Track %3").arg(hit.subject, device).arg(hit.track);
    }
    case SearchHit::Kind::Notebook:
        return QStringLiteral("Notebook");
    default:
        return hit.subject;
    }
}

} // namespace quillon
