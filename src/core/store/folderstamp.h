#pragma once

#include "store/datafolder.h"

#include <QString>

namespace quillon {

// A fingerprint of the files the data check reads: for each, its size, its
// modification and change times to the nanosecond and its inode. Any write,
// replacement or restore of one of them gives another stamp; reading does
// not. Empty when the folder cannot be examined at all.
QString folderStamp(const DataFolder& folder);

} // namespace quillon
