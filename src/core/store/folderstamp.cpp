#include "store/folderstamp.h"

#include "store/schema.h"

#include <QFile>
#include <QStringList>
#include <sys/stat.h>

namespace quillon {

namespace {

QString fileStamp(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("-");
    // The change time cannot be set back by a program, so a copy that
    // restores size and modification time still shows.
    return QStringLiteral("%1:%2.%3:%4.%5:%6")
        .arg(qint64(info.st_size))
        .arg(qint64(info.st_mtim.tv_sec))
        .arg(qint64(info.st_mtim.tv_nsec))
        .arg(qint64(info.st_ctim.tv_sec))
        .arg(qint64(info.st_ctim.tv_nsec))
        .arg(quint64(info.st_ino));
}

} // namespace

QString folderStamp(const DataFolder& folder)
{
    QStringList paths{folder.songDb()};
    for (int n = 1; n <= schema::kTrackSlots; ++n)
        paths << folder.trackDb(n);
    paths << folder.tapeDb() << folder.recdevDb() << folder.note1Db() << folder.stylesDat()
          << folder.stnumDat();
    QStringList parts{folder.dir()};
    for (const QString& path : paths)
        parts << fileStamp(path);
    return parts.join(QLatin1Char('|'));
}

} // namespace quillon
