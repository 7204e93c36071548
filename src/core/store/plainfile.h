#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

// What a directory entry is, seen without following a link.
enum class EntryType { Missing, Regular, Directory, Link, Pipe, Device, Socket, Other };

// The entry itself (lstat): a link is reported as a link, never as what it points to.
EntryType entryType(const QString& path);
// "a link", "a pipe", ... for messages; empty for a regular file or nothing.
QString entryTypeName(EntryType type);

// Every file of the data folder is read and written as a plain file only.
// A link would let a write land outside the folder, and a pipe or device
// would block the program on open or read before any window shows.
namespace plainfile {

// Reads a regular file without following a link and without ever blocking
// on a pipe. False (with *error) when the entry is anything else or missing.
bool read(const QString& path, QByteArray* data, QString* error = nullptr);

// Replaces the directory entry at path with a new regular file holding data:
// written beside it, flushed to disk, then renamed over it, so a reader sees
// the old or the new content, never half of it. An existing entry that is
// not a regular file (link, pipe, device, folder) is refused, never written
// through. A replaced file keeps its permissions. Returns an error text or
// empty.
QString write(const QString& path, const QByteArray& data);

} // namespace plainfile
} // namespace quillon
