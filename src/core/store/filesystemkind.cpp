#include "store/filesystemkind.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/vfs.h>

namespace quillon {

namespace {
// From linux/magic.h and the file systems' own headers; spelled out so that
// the list does not depend on which kernel headers are installed.
constexpr qint64 kNfs = 0x6969;
constexpr qint64 kSmb = 0x517b;
constexpr qint64 kCifs = 0xff534d42;
constexpr qint64 kSmb2 = 0xfe534d42;
constexpr qint64 kCoda = 0x73757245;
constexpr qint64 kAfs = 0x5346414f;
constexpr qint64 kNcp = 0x564c;
constexpr qint64 kCeph = 0x00c36400;
constexpr qint64 kV9fs = 0x01021997;
constexpr qint64 kFuse = 0x65735546;

// FUSE file systems that reach over the network.
bool isNetworkFuse(const QString& subtype)
{
    static const char* const names[] = {"sshfs",      "smbnetfs", "davfs", "davfs2",   "curlftpfs",
                                        "gvfsd-fuse", "rclone",   "s3fs",  "glusterfs"};
    for (const char* name : names)
        if (subtype.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
} // namespace

FileSystemKind fileSystemKind(qint64 statfsType, const QString& fuseSubtype)
{
    switch (statfsType) {
    case kNfs:
    case kSmb:
    case kCifs:
    case kSmb2:
    case kCoda:
    case kAfs:
    case kNcp:
    case kCeph:
    case kV9fs:
        return FileSystemKind::Network;
    case kFuse:
        return isNetworkFuse(fuseSubtype) ? FileSystemKind::Network : FileSystemKind::Local;
    default:
        return FileSystemKind::Local;
    }
}

FileSystemKind fileSystemKindOf(const QString& path)
{
    struct statfs fs {};
    if (statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return FileSystemKind::Unknown;
    QString subtype;
    if (qint64(fs.f_type) == kFuse) {
        // "fuse.sshfs" in the mount table.
        const QString type = QString::fromLatin1(QStorageInfo(path).fileSystemType());
        subtype = type.startsWith(QLatin1String("fuse.")) ? type.mid(5) : type;
    }
    return fileSystemKind(qint64(fs.f_type) & 0xffffffffLL, subtype);
}

QString networkShareWarning(const QString& dataDir, FileSystemKind kind)
{
    if (kind != FileSystemKind::Network)
        return {};
    return QStringLiteral("The data folder \"%1\" lies on a network share.\r"
                          "The database files cannot be locked safely there, so two programs "
                          "working on it at once can damage them.\r"
                          "Keep the data folder on a local disk (start Quillon with --data "
                          "and a local folder), or use the shared catalogue on a server.")
        .arg(dataDir);
}

} // namespace quillon
