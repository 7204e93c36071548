#pragma once

#include "store/datafolder.h"

#include <QTemporaryDir>

namespace quillon::test {

// A fresh, fully laid-out data folder in a temporary directory.
class TempDataFolder final {
public:
    explicit TempDataFolder(bool install = true);
    bool isValid() const { return m_dir.isValid(); }
    const DataFolder& folder() const { return m_folder; }
    QString path() const { return m_dir.path(); }
    QString settingsFile() const { return m_dir.path() + "/settings.ini"; }

private:
    QTemporaryDir m_dir;
    DataFolder m_folder;
};

} // namespace quillon::test
