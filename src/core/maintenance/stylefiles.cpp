#include "maintenance/stylefiles.h"

#include "songs/stylelist.h"
#include "store/plainfile.h"

namespace quillon {

bool StyleFiles::consistent() const
{
    if (!plainFiles())
        return false;
    if (!countFileExists && !listFileExists)
        return true; // no styles yet
    return countReadable && count == entries.size() && malformedLines == 0;
}

StyleFiles StyleFiles::read(const QString& stnumPath, const QString& stylesPath)
{
    StyleFiles files;
    const EntryType countType = entryType(stnumPath);
    files.countFileNotPlain = entryTypeName(countType);
    if (countType != EntryType::Missing) {
        files.countFileExists = true;
        QByteArray data;
        if (countType == EntryType::Regular && plainfile::read(stnumPath, &data))
            files.count = StyleList::parseNumber(data, &files.countReadable);
    }
    const EntryType listType = entryType(stylesPath);
    files.listFileNotPlain = entryTypeName(listType);
    if (listType != EntryType::Missing) {
        files.listFileExists = true;
        QByteArray data;
        if (listType == EntryType::Regular && plainfile::read(stylesPath, &data))
            files.entries = StyleList::parseEntries(data, &files.malformedLines);
    }
    return files;
}

QString StyleFiles::write(const QString& stnumPath, const QString& stylesPath,
                          const QStringList& entries)
{
    const QByteArray list = StyleList::listFileContent(entries);
    if (const QString error = plainfile::write(stylesPath, list); !error.isEmpty())
        return error;
    return writeCount(stnumPath, int(entries.size()));
}

QString StyleFiles::writeCount(const QString& stnumPath, int count)
{
    return plainfile::write(stnumPath, StyleList::numberFileContent(count));
}

} // namespace quillon
