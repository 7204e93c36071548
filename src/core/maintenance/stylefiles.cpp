#include "maintenance/stylefiles.h"

#include "store/plainfile.h"

namespace quillon {

namespace {

// The files are written by a program that used the single-byte code page;
// text that is valid UTF-8 is taken as such, anything else as Latin-1.
QString decode(const QByteArray& bytes)
{
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.contains(QChar::ReplacementCharacter) ? QString::fromLatin1(bytes) : utf8;
}

} // namespace

bool StyleFiles::consistent() const
{
    if (!plainFiles())
        return false;
    if (!countFileExists && !listFileExists)
        return true; // no styles yet
    return countReadable && count == entries.size() && malformedLines == 0;
}

QStringList StyleFiles::parseEntries(const QByteArray& data, int* malformedLines)
{
    QStringList entries;
    int malformed = 0;
    const QString text = decode(data);
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!trimmed.startsWith('"')) {
            // Not written by the program, but it is the user's text: keep it whole.
            entries << trimmed;
            ++malformed;
            continue;
        }
        // One or more quoted items, separated by commas.
        int pos = 0;
        while (pos < trimmed.size()) {
            if (trimmed.at(pos) != '"') {
                const int comma = trimmed.indexOf(',', pos);
                const QString item = trimmed.mid(pos, comma < 0 ? -1 : comma - pos).trimmed();
                if (!item.isEmpty()) {
                    entries << item;
                    ++malformed;
                }
                if (comma < 0)
                    break;
                pos = comma + 1;
                continue;
            }
            const int close = trimmed.indexOf('"', pos + 1);
            if (close < 0) {
                // Unterminated quote: the rest of the line is the entry.
                entries << trimmed.mid(pos + 1);
                ++malformed;
                break;
            }
            entries << trimmed.mid(pos + 1, close - pos - 1);
            pos = close + 1;
            while (pos < trimmed.size() && trimmed.at(pos).isSpace())
                ++pos;
            if (pos < trimmed.size() && trimmed.at(pos) == ',')
                ++pos;
            while (pos < trimmed.size() && trimmed.at(pos).isSpace())
                ++pos;
        }
    }
    if (malformedLines)
        *malformedLines = malformed;
    return entries;
}

StyleFiles StyleFiles::read(const QString& stnumPath, const QString& stylesPath)
{
    StyleFiles files;
    const EntryType countType = entryType(stnumPath);
    files.countFileNotPlain = entryTypeName(countType);
    if (countType != EntryType::Missing) {
        files.countFileExists = true;
        QByteArray data;
        if (countType == EntryType::Regular && plainfile::read(stnumPath, &data)) {
            const QString first = decode(data.left(64).split('\n').first()).trimmed();
            int end = 0;
            if (first.startsWith('-') || first.startsWith('+'))
                end = 1;
            while (end < first.size() && first.at(end).isDigit())
                ++end;
            bool ok = false;
            const int value = first.left(end).toInt(&ok);
            files.countReadable = ok && value >= 0;
            files.count = files.countReadable ? value : 0;
        }
    }
    const EntryType listType = entryType(stylesPath);
    files.listFileNotPlain = entryTypeName(listType);
    if (listType != EntryType::Missing) {
        files.listFileExists = true;
        QByteArray data;
        if (listType == EntryType::Regular && plainfile::read(stylesPath, &data))
            files.entries = parseEntries(data, &files.malformedLines);
    }
    return files;
}

QString StyleFiles::write(const QString& stnumPath, const QString& stylesPath,
                          const QStringList& entries)
{
    QByteArray list;
    for (const QString& entry : entries) {
        QString clean = entry;
        clean.replace('"', '\''); // a quote inside would end the entry early
        list += "\"" + clean.toUtf8() + "\"\r\n";
    }
    if (const QString error = plainfile::write(stylesPath, list); !error.isEmpty())
        return error;
    return writeCount(stnumPath, int(entries.size()));
}

QString StyleFiles::writeCount(const QString& stnumPath, int count)
{
    return plainfile::write(stnumPath, " " + QByteArray::number(count) + " \r\n");
}

} // namespace quillon
