#pragma once

#include "store/datafolder.h"

#include <QStringList>

namespace quillon {

struct InstallReport {
    QStringList created;  // database files laid out anew
    QStringList problems; // user-facing messages, one per file that cannot be used
    bool ok() const { return problems.isEmpty(); }
};

// Lays out every database file that is missing: the song database with the
// training song, the ten track databases, the media table, the device register
// with its ten rows and the notebook with its one row. An existing file is
// never overwritten; one that is not a readable database is reported.
InstallReport ensureDataFolder(const DataFolder& folder);

} // namespace quillon
