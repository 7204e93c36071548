#pragma once

#include "search/cataloguesearch.h"

#include <functional>
#include <QList>
#include <QTreeWidget>

namespace quillon {

// The hits of a search, grouped under their kind in a fixed order (songs,
// tracks, session details, song notes, lyrics, media, devices, the
// notebook): where each was found, and the words around it with the
// matching ones in bold. Enter or a double-click on a hit reports it.
class SearchResultList final : public QTreeWidget {
    Q_OBJECT
public:
    // The name a device slot (1-10) carries on the main window's label.
    using DeviceLabel = std::function<QString(int slot)>;

    explicit SearchResultList(QWidget* parent = nullptr);

    void setDeviceLabel(DeviceLabel label) { m_deviceLabel = std::move(label); }
    void setHits(const QList<SearchHit>& hits);
    const QList<SearchHit>& hits() const { return m_hits; }

    // The group of a kind (null when nothing of it was found).
    QTreeWidgetItem* group(SearchHit::Kind kind) const;
    // The hit an item shows; null for a group.
    const SearchHit* hitOf(const QTreeWidgetItem* item) const;
    // Where a hit was found, as the first column says it.
    QString placeOf(const SearchHit& hit) const;

signals:
    void hitActivated(const SearchHit& hit);

private:
    QList<SearchHit> m_hits;
    DeviceLabel m_deviceLabel;
};

} // namespace quillon
