#pragma once

#include "resulttable.h"
#include "servercatalogues.h"
#include "store/datafolder.h"

#include <map>
#include <memory>
#include <QTemporaryDir>
#include <vector>

namespace quillon::bench {

// What every case shares in one run: the sizes to measure, one generated data
// folder per size (made on first use, removed at the end of the run) and the
// table the results go into.
class BenchContext final {
public:
    explicit BenchContext(std::vector<int> sizes) : m_sizes(std::move(sizes)) {}

    const std::vector<int>& sizes() const { return m_sizes; }
    int largest() const { return m_sizes.back(); }
    // The data folder with n songs; generated on first call. Aborts the run
    // when it cannot be made, since no case means anything without it.
    const DataFolder& folder(int n);
    // A copy of folder(n) with its search index built by SearchBuild::run(),
    // made on first call; the build's time goes into the table as
    // search_build. folder(n) itself is left without an index (one a window
    // may have begun is dropped), as a folder from before the index is.
    const DataFolder& indexedFolder(int n);
    ResultTable& table() { return m_table; }
    // The server the server cases run on; null when there is none.
    ServerCatalogues* servers() const { return m_servers.get(); }
    void setServers(std::unique_ptr<ServerCatalogues> servers) { m_servers = std::move(servers); }
    // The server catalogue with the rows of folder(n), copied on first call.
    const DataFolder& serverFolder(int n) { return m_servers->copyOf(folder(n), n); }

private:
    struct Generated {
        QTemporaryDir dir;
        std::unique_ptr<DataFolder> folder;
    };
    std::vector<int> m_sizes;
    std::map<int, std::unique_ptr<Generated>> m_folders;
    std::map<int, std::unique_ptr<Generated>> m_indexed;
    ResultTable m_table;
    // Declared last: its databases are dropped before the folders go.
    std::unique_ptr<ServerCatalogues> m_servers;
};

} // namespace quillon::bench
