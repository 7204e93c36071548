#pragma once

#include <QString>

namespace quillon {

// SQLite's file locking cannot be trusted on network file systems, so the
// program warns when its data folder lies on one.
enum class FileSystemKind { Local, Network, Unknown };

// The kind of a statfs() f_type (and, for FUSE, the subtype from the mount
// table, such as "sshfs"); tests feed it types directly.
FileSystemKind fileSystemKind(qint64 statfsType, const QString& fuseSubtype = {});

// The kind of the file system that holds path.
FileSystemKind fileSystemKindOf(const QString& path);

// The warning shown once at start for a data folder on a network share;
// empty for a local folder.
QString networkShareWarning(const QString& dataDir, FileSystemKind kind);

} // namespace quillon
