#pragma once

#include "store/datafolder.h"

#include <map>
#include <memory>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quillon::bench {

// The catalogues the server cases run on: one database per size on a
// PostgreSQL server the bench may administer, made on first use and dropped
// when the run ends. The server is named by QUILLON_BENCH_PG (an admin libpq
// URI), else by the test cluster's QUILLON_TEST_PG.
class ServerCatalogues final {
public:
    // The server from the environment, reachable; null with why when there
    // is none or it cannot be used.
    static std::unique_ptr<ServerCatalogues> fromEnvironment(QString* why);
    ~ServerCatalogues();
    ServerCatalogues(const ServerCatalogues&) = delete;
    ServerCatalogues& operator=(const ServerCatalogues&) = delete;

    // The server's version and address, for the report.
    QString describe() const;
    // A server catalogue with the rows of the generated folder of n songs
    // (the folder's own data folder, the catalogue on the server). Aborts
    // the run when it cannot be made.
    const DataFolder& copyOf(const DataFolder& folder, int n);
    // The catalogue copyOf(n) made, its search index filled with the rows
    // of indexed (a copy of the same folder whose index SearchBuild built):
    // the bodies as SearchIndex wrote them into the FTS5 tables, streamed
    // into the server's table, whose word vectors and GIN index the server
    // makes itself. Once per n; the databases must hold the same rowids.
    const DataFolder& withSearchIndex(const DataFolder& indexed, int n);
    // Another copy of folder whose catalogue has no search index table:
    // the store writes no index rows there.
    const DataFolder& withoutSearchIndex(const DataFolder& folder, int n);
    // A catalogue whose song table holds n songs (with their title keys)
    // filled on the server itself, every other table empty: enough for the
    // song list, which reads nothing else.
    const DataFolder& songListOnly(int n);
    // The process numbers of the server's connections to the catalogue of
    // folder (a SameCpu puts them beside the bench); empty when the server
    // is not reached through this machine's loopback or its own socket.
    QList<qint64> serverProcesses(const DataFolder& folder) const;

private:
    ServerCatalogues(QString adminUri, QString version);
    // Creates the database and returns its address; aborts on failure.
    QString createDatabase(const QString& name);
    // A copy of folder's catalogue, with or without the search index table.
    const DataFolder& copy(const DataFolder& folder, int n, bool indexed);

    QString m_adminUri;
    QString m_version;
    QTemporaryDir m_dir; // the data folder of the list-only catalogues
    QStringList m_databases;
    std::map<QString, std::unique_ptr<DataFolder>> m_folders;
    QSet<int> m_searchFilled;
};

} // namespace quillon::bench
