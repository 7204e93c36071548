#include "documents/wordfonttable.h"

#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

// Font entry: flags, weight, character set, alternate-name index, PANOSE and
// font signature come before the zero-terminated UTF-16 name.
constexpr qint64 kNameOffset = 39;
constexpr quint8 kTrueTypeVariablePitch = 0x02 | 0x04;
constexpr quint8 kFamilyRoman = 1 << 4;

} // namespace

QStringList WordFontTable::read(const QByteArray& table, quint32 offset, quint32 length)
{
    QStringList fonts;
    const WordBytes all(table);
    if (!all.has(offset, length))
        return fonts;
    const QByteArray sttb = all.mid(offset, length);
    const WordBytes bytes(sttb);
    quint16 count = 0;
    if (!bytes.u16(0, &count))
        return fonts;
    qint64 at = 4; // count and the (empty) extra-data size
    for (int i = 0; i < count; ++i) {
        quint8 size = 0;
        if (!bytes.u8(at, &size) || !bytes.has(at + 1, size))
            break;
        QString name;
        for (qint64 k = at + 1 + kNameOffset; k + 1 < at + 1 + size; k += 2) {
            quint16 c = 0;
            bytes.u16(k, &c);
            if (c == 0)
                break;
            name.append(QChar(c));
        }
        fonts.append(name);
        at += 1 + size;
    }
    return fonts;
}

QByteArray WordFontTable::write(const QStringList& fonts)
{
    QByteArray out;
    putU16(out, quint16(fonts.size()));
    putU16(out, 0);
    for (const QString& font : fonts) {
        // An entry's size is one byte: longer names are cut.
        const QString name = font.left(100);
        QByteArray entry;
        putU8(entry, kTrueTypeVariablePitch | kFamilyRoman);
        putU16(entry, 400); // regular weight
        putU8(entry, 0);    // ANSI character set; the text itself is Unicode
        putU8(entry, 0);    // no alternate name
        entry.append(QByteArray(10 + 24, '\0'));
        for (const QChar c : name)
            putU16(entry, c.unicode());
        putU16(entry, 0);
        putU8(out, quint8(entry.size()));
        out.append(entry);
    }
    return out;
}

} // namespace quillon::word
