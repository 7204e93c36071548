#pragma once

#include "store/datafolder.h"

#include <QTemporaryDir>

namespace quillon::test {

// A fresh, fully laid-out data folder in a temporary directory. When the
// test runs for the server engine (QUILLON_TEST_ENGINE=server), the
// catalogue is a fresh database on the test cluster (QUILLON_TEST_PG),
// dropped again at the end; the folder still holds settings and backups.
class TempDataFolder final {
public:
    explicit TempDataFolder(bool install = true);
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    const DataFolder& folder() const { return m_folder; }
    QString path() const { return m_dir.path(); }
    QString settingsFile() const { return m_dir.path() + "/settings.ini"; }
    bool onServer() const { return m_folder.onServer(); }

    // True when this run tests the server engine.
    static bool serverEngine();
    // A fresh, empty database on the test cluster (no catalogue tables);
    // dropped by dropServerDatabase or at the end of the process.
    static ServerAddress createServerDatabase();
    static void dropServerDatabase(const ServerAddress& server);

private:
    QTemporaryDir m_dir;
    DataFolder m_folder;
};

} // namespace quillon::test
