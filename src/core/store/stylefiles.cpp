#include "store/stylefiles.h"

#include <QFile>
#include <QSaveFile>

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
    QFile countFile(stnumPath);
    if (countFile.exists()) {
        files.countFileExists = true;
        if (countFile.open(QIODevice::ReadOnly)) {
            const QString first = decode(countFile.readLine(64)).trimmed();
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
    QFile listFile(stylesPath);
    if (listFile.exists()) {
        files.listFileExists = true;
        if (listFile.open(QIODevice::ReadOnly))
            files.entries = parseEntries(listFile.readAll(), &files.malformedLines);
    }
    return files;
}

QString StyleFiles::write(const QString& stnumPath, const QString& stylesPath,
                          const QStringList& entries)
{
    QSaveFile list(stylesPath);
    if (!list.open(QIODevice::WriteOnly))
        return list.errorString();
    for (const QString& entry : entries) {
        QString clean = entry;
        clean.replace('"', '\''); // a quote inside would end the entry early
        list.write("\"" + clean.toUtf8() + "\"\r\n");
    }
    if (!list.commit())
        return list.errorString();
    return writeCount(stnumPath, int(entries.size()));
}

QString StyleFiles::writeCount(const QString& stnumPath, int count)
{
    QSaveFile file(stnumPath);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(" " + QByteArray::number(count) + " \r\n");
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace quillon
