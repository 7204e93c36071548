#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace quillon {

class SongStore;

// Every song title in table order, read from the store a batch at a time as
// a view asks for more (when it is scrolled towards the end), so a list of a
// hundred thousand songs shows as quickly as one of ten. Read-only; the
// titles are read once and kept until reload().
class SongTitleModel final : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kDefaultBatchSize = 256;
    // A search reads on in batches growing from batchSize() up to this.
    static constexpr int kMaxSearchBatchSize = 65536;

    explicit SongTitleModel(SongStore& songs, QObject* parent = nullptr);

    int batchSize() const { return m_batchSize; }
    void setBatchSize(int size);

    // Forgets what was read and reads the first batch again, so songs made,
    // renamed or deleted since show as they are now.
    void reload();
    // Title of a row already read; empty text for any other row.
    QString title(int row) const;
    // False after a read failed; the rows read before it stay.
    bool readOk() const { return m_readOk; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // As QAbstractItemModel::match (start row, hits, wrap, match flags), but
    // over every title in the table: when the rows read so far cannot supply
    // the hits asked for, it reads on, batch by batch, until they can or the
    // table ends, and only then wraps to the rows before start. So a view's
    // type-to-find reaches titles not yet scrolled to, without the list being
    // read whole on opening.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith |
                                                                Qt::MatchWrap)) const override;

signals:
    // A batch could not be read; error is the store's user-facing text.
    void readFailed(const QString& error);

private:
    // Reads up to size titles after the last one read; false once there is
    // nothing more to read (the end of the table, or a failed read).
    bool readBatch(int size);

    SongStore& m_songs;
    QStringList m_titles;
    qint64 m_lastRowid = 0; // rowid of the last row read; the next batch starts after it
    bool m_atEnd = false;
    bool m_readOk = true;
    int m_batchSize = kDefaultBatchSize;
};

} // namespace quillon
