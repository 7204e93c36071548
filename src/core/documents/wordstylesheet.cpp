#include "documents/wordstylesheet.h"

#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

constexpr int kNoStyle = 0x0FFF;
constexpr int kMaxStyleDepth = 16;
constexpr int kMaxStyles = 4096;

} // namespace

void WordStyleSheet::read(const QByteArray& table, quint32 offset, quint32 length)
{
    const WordBytes all(table);
    if (!all.has(offset, length) || length < 2)
        return;
    const QByteArray stsh = all.mid(offset, length);
    const WordBytes bytes(stsh);
    quint16 headerSize = 0, count = 0, baseSize = 0, ftcAscii = 0;
    if (!bytes.u16(0, &headerSize) || !bytes.u16(2, &count) || !bytes.u16(4, &baseSize))
        return;
    if (headerSize >= 18 && bytes.u16(14, &ftcAscii))
        m_defaultFont = ftcAscii;
    qint64 at = 2 + qint64(headerSize);
    for (int i = 0; i < count && i < kMaxStyles; ++i) {
        quint16 size = 0;
        if (!bytes.u16(at, &size) || !bytes.has(at + 2, size))
            break;
        m_styles.append(Style());
        if (size > 0)
            readStyle(bytes.mid(at + 2, size), baseSize);
        at += 2 + size;
    }
}

void WordStyleSheet::readStyle(const QByteArray& data, int baseSize)
{
    const WordBytes bytes(data);
    quint16 kindAndBase = 0, upxCountAndNext = 0, nameLength = 0;
    if (baseSize < 10 || !bytes.u16(2, &kindAndBase) || !bytes.u16(4, &upxCountAndNext) ||
        !bytes.u16(baseSize, &nameLength))
        return;
    Style& style = m_styles.last();
    style.present = true;
    style.base = kindAndBase >> 4;
    const int kind = kindAndBase & 0x0F;
    const int upxCount = upxCountAndNext & 0x0F;
    // The name is a counted UTF-16 string with a terminating zero.
    qint64 at = baseSize + 2 + 2 * qint64(nameLength) + 2;
    for (int i = 0; i < upxCount; ++i) {
        if (at % 2)
            ++at;
        quint16 size = 0;
        if (!bytes.u16(at, &size) || !bytes.has(at + 2, size))
            return;
        const QByteArray upx = bytes.mid(at + 2, size);
        if (kind == 1 && i == 0)
            style.papx = upx.mid(2); // after the istd
        else if ((kind == 1 && i == 1) || (kind == 2 && i == 0))
            style.chpx = upx;
        at += 2 + size;
    }
}

QList<const WordStyleSheet::Style*> WordStyleSheet::chain(int istd) const
{
    QList<const Style*> result;
    while (istd >= 0 && istd < m_styles.size() && istd != kNoStyle &&
           result.size() < kMaxStyleDepth) {
        const Style& style = m_styles.at(istd);
        if (!style.present)
            break;
        result.prepend(&style);
        istd = style.base;
    }
    return result;
}

WordCharProps WordStyleSheet::charProps(int istd, bool withDefaultFont) const
{
    WordCharProps props;
    if (withDefaultFont)
        props.fontIndex = m_defaultFont;
    for (const Style* style : chain(istd)) {
        const WordCharProps base = props;
        props.apply(style->chpx, base);
    }
    return props;
}

std::optional<WordAlignment> WordStyleSheet::alignment(int istd) const
{
    std::optional<WordAlignment> result;
    for (const Style* style : chain(istd)) {
        if (const auto own = paragraphAlignment(style->papx))
            result = own;
    }
    return result;
}

} // namespace quillon::word
