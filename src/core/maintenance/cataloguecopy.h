#pragma once

#include "store/datafolder.h"

#include <functional>
#include <QList>
#include <QString>

namespace quillon {

class Database;

// What a table holds, for comparing two catalogues: its row count and a
// SHA-256 over every row in rowid order (rowid and each value as text, a
// null told apart from an empty text).
struct TableSum {
    QString table;
    qint64 rows = 0;
    QString sha256;
    bool operator==(const TableSum&) const = default;
};

// Copies a whole catalogue between a data folder and a server, in either
// direction or server to server. The target ends up complete or untouched:
// a server target is written in one transaction, verified inside it and only
// then committed; a folder target is built in a fresh folder beside the
// files, verified, and then moved in. Rows keep their rowid, so songs keep
// their order. A folder side is locked against a running program meanwhile;
// a server source is read in one snapshot.
class CatalogueCopy final {
public:
    CatalogueCopy(const DataFolder& from, const DataFolder& to);

    // A target that holds any row is refused unless replacing is allowed.
    void setReplace(bool replace) { m_replace = replace; }
    // Called after each table with its name and row count.
    void setProgress(std::function<void(const QString& table, qint64 rows)> progress)
    {
        m_progress = std::move(progress);
    }

    bool run();
    QString lastError() const { return m_error; }
    // After run(): the sums of the source as read and of the target as written.
    QList<TableSum> sourceSums() const { return m_sourceSums; }
    QList<TableSum> targetSums() const { return m_targetSums; }

    // The sums of a catalogue as it stands (read in one snapshot on a server).
    static QList<TableSum> sums(const DataFolder& folder, QString* error);
    // Lays out an empty catalogue on a server (no rows); refuses a server
    // that already holds the layout. With an owner, the tables belong to that
    // role; with a user, that login gets only SELECT, INSERT, UPDATE and
    // DELETE on them (and the use of their row numbering).
    static bool initServer(const ServerAddress& server, const QString& owner, const QString& user,
                           QString* error);

private:
    bool copyToServer();
    bool copyToFolder();

    DataFolder m_from;
    DataFolder m_to;
    bool m_replace = false;
    std::function<void(const QString&, qint64)> m_progress;
    QString m_error;
    QList<TableSum> m_sourceSums;
    QList<TableSum> m_targetSums;
};

} // namespace quillon
