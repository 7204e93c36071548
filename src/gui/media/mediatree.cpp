#include "media/mediatree.h"

#include "media/mediaicons.h"
#include "media/mediastore.h"

namespace quillon {

namespace {

QList<QIcon> pictures()
{
    QList<QIcon> icons;
    for (int n = 1; n <= MediaIcons::kCount; ++n)
        icons << MediaIcons::icon(n);
    return icons;
}

} // namespace

MediaTree::MediaTree(QObject* parent)
    : m_model(
          new MediaTreeModel({rootText(), rootText(), media::kRootIcon, rootText().toCaseFolded()},
                             pictures(), parent))
{
}

void MediaTree::clear()
{
    m_model->setChildren({});
}

void MediaTree::fill(const QList<Medium>& media)
{
    m_model->setChildren(nodesOf(media));
}

void MediaTree::update(const QList<Medium>& media)
{
    m_model->updateChildren(nodesOf(media));
}

QList<MediaTreeModel::Node> MediaTree::nodesOf(const QList<Medium>& media)
{
    QList<MediaTreeModel::Node> nodes;
    nodes.reserve(media.size());
    for (int i = 0; i < media.size(); ++i) {
        const Medium& m = media.at(i);
        nodes.append(
            {m.name, QString::number(i + 1) + QLatin1Char('M'), m.icon(), m.name.toCaseFolded()});
    }
    return nodes;
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
    return int(m_model->children().size());
}

QString MediaTree::text(const QModelIndex& index) const
{
    const MediaTreeModel::Node* node = m_model->node(index);
    return node ? node->text : QString();
}

QString MediaTree::key(const QModelIndex& index) const
{
    const MediaTreeModel::Node* node = m_model->node(index);
    return node ? node->key : QString();
}

int MediaTree::picture(const QModelIndex& index) const
{
    const MediaTreeModel::Node* node = m_model->node(index);
    return node ? node->picture : 0;
}

void MediaTree::setPicture(const QModelIndex& index, int picture)
{
    if (picture < 1 || picture > MediaIcons::kCount)
        return;
    m_model->setPicture(index, picture);
}

void MediaTree::setText(const QModelIndex& index, const QString& text)
{
    if (isMedium(index))
        m_model->setText(index, text);
}

QModelIndex MediaTree::find(const QString& text) const
{
    const QList<MediaTreeModel::Node>& children = m_model->children();
    for (int r = 0; r < children.size(); ++r)
        if (children.at(r).text == text)
            return m_model->index(r, 0, root());
    return {};
}

bool MediaTree::textTaken(const QString& name) const
{
    const QString key = MediaStore::nameKey(name);
    if (MediaStore::nameKey(m_model->rootNode().text) == key)
        return true;
    for (const MediaTreeModel::Node& node : m_model->children())
        if (MediaStore::nameKey(node.text) == key)
            return true;
    return false;
}

} // namespace quillon
