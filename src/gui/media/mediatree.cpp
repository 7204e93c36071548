#include "media/mediatree.h"

#include "media/mediaicons.h"
#include "media/mediastore.h"

#include <QStandardItemModel>

#include <algorithm>

namespace quillon {

namespace {

QStandardItem* makeItem(const QString& text, const QString& key, int picture, const QIcon& icon)
{
    auto* item = new QStandardItem(icon, text);
    item->setEditable(false); // labels are never edited in place
    item->setData(picture, MediaTree::kPictureRole);
    item->setData(key, MediaTree::kKeyRole);
    item->setData(text.toCaseFolded(), MediaTree::kSortRole);
    item->setToolTip(text);
    return item;
}

} // namespace

MediaTree::MediaTree(QObject* parent) : m_model(new QStandardItemModel(parent))
{
    m_model->setSortRole(kSortRole);
    for (int n = 1; n <= MediaIcons::kCount; ++n)
        m_icons << MediaIcons::icon(n);
    clear();
}

void MediaTree::clear()
{
    m_model->clear();
    m_model->setColumnCount(1);
    m_model->appendRow(
        makeItem(rootText(), rootText(), media::kRootIcon, m_icons.at(media::kRootIcon - 1)));
}

void MediaTree::fill(const QList<Medium>& media)
{
    clear();
    struct Row {
        QString fold;
        QStandardItem* item;
    };
    QList<Row> rows;
    rows.reserve(media.size());
    for (int i = 0; i < media.size(); ++i) {
        const Medium& m = media.at(i);
        const int picture = m.icon();
        QStandardItem* item = makeItem(m.name, QString::number(i + 1) + QLatin1Char('M'), picture,
                                       m_icons.at(picture - 1));
        rows.append({m.name.toCaseFolded(), item});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.fold < b.fold; });
    QList<QStandardItem*> items;
    items.reserve(rows.size());
    for (const Row& r : rows)
        items << r.item;
    m_model->item(0)->appendRows(items);
}

QModelIndex MediaTree::root() const
{
    return m_model->index(0, 0);
}

bool MediaTree::isMedium(const QModelIndex& index) const
{
    return index.isValid() && index.model() == m_model && index.parent() == root();
}

int MediaTree::mediumCount() const
{
    return m_model->item(0)->rowCount();
}

QStandardItem* MediaTree::itemAt(const QModelIndex& index) const
{
    return index.isValid() && index.model() == m_model ? m_model->itemFromIndex(index) : nullptr;
}

QString MediaTree::text(const QModelIndex& index) const
{
    const QStandardItem* item = itemAt(index);
    return item ? item->text() : QString();
}

QString MediaTree::key(const QModelIndex& index) const
{
    const QStandardItem* item = itemAt(index);
    return item ? item->data(kKeyRole).toString() : QString();
}

int MediaTree::picture(const QModelIndex& index) const
{
    const QStandardItem* item = itemAt(index);
    return item ? item->data(kPictureRole).toInt() : 0;
}

void MediaTree::setPicture(const QModelIndex& index, int picture)
{
    QStandardItem* item = itemAt(index);
    if (!item || picture < 1 || picture > MediaIcons::kCount)
        return;
    item->setData(picture, kPictureRole);
    item->setIcon(m_icons.at(picture - 1));
}

void MediaTree::setText(const QModelIndex& index, const QString& text)
{
    QStandardItem* item = itemAt(index);
    if (!item || !isMedium(index))
        return;
    item->setText(text);
    item->setToolTip(text);
    item->setData(text.toCaseFolded(), kSortRole);
    m_model->item(0)->sortChildren(0);
}

QModelIndex MediaTree::find(const QString& text) const
{
    const QStandardItem* rootItem = m_model->item(0);
    for (int r = 0; r < rootItem->rowCount(); ++r)
        if (rootItem->child(r)->text() == text)
            return rootItem->child(r)->index();
    return {};
}

bool MediaTree::textTaken(const QString& name) const
{
    const QString key = MediaStore::nameKey(name);
    const QStandardItem* rootItem = m_model->item(0);
    if (MediaStore::nameKey(rootItem->text()) == key)
        return true;
    for (int r = 0; r < rootItem->rowCount(); ++r)
        if (MediaStore::nameKey(rootItem->child(r)->text()) == key)
            return true;
    return false;
}

} // namespace quillon
