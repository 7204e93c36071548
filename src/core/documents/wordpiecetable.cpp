#include "documents/wordpiecetable.h"

#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

constexpr quint32 kCompressedFlag = 0x40000000;
constexpr quint32 kFcMask = 0x3FFFFFFF;

// Compressed pieces hold Windows-1252; only 0x80-0x9F differ from Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool WordPieceTable::read(const QByteArray& wordDocument, const QByteArray& table,
                          quint32 clxOffset, quint32 clxLength, quint32 ccpText, QString* error)
{
    const QString damaged = QStringLiteral("The Word document's text table is damaged.");
    const WordBytes tableBytes(table);
    if (!tableBytes.has(clxOffset, clxLength))
        return fail(error, damaged);
    const QByteArray clx = tableBytes.mid(clxOffset, clxLength);
    const WordBytes bytes(clx);

    // Skip the property modifiers (Prc) that may precede the piece table.
    qint64 at = 0;
    quint8 kind = 0;
    while (bytes.u8(at, &kind) && kind == 0x01) {
        quint16 size = 0;
        if (!bytes.u16(at + 1, &size))
            return fail(error, damaged);
        at += 3 + size;
    }
    quint32 plcSize = 0;
    if (kind != 0x02 || !bytes.u32(at + 1, &plcSize) || !bytes.has(at + 5, plcSize) ||
        plcSize < 16 || (plcSize - 4) % 12 != 0)
        return fail(error, damaged);
    const qint64 plc = at + 5;
    const qint64 pieces = (plcSize - 4) / 12;
    const qint64 descriptors = plc + 4 * (pieces + 1);

    // Each character takes at least one byte of the stream: a larger count is a lie.
    if (ccpText > quint32(wordDocument.size()))
        return fail(error, damaged);
    const WordBytes text(wordDocument);
    m_text.reserve(ccpText);
    m_offsets.reserve(ccpText);
    quint32 previousEnd = 0;
    for (qint64 i = 0; i < pieces && quint32(m_text.size()) < ccpText; ++i) {
        quint32 cpStart = 0, cpEnd = 0, fcValue = 0;
        bytes.u32(plc + 4 * i, &cpStart);
        bytes.u32(plc + 4 * (i + 1), &cpEnd);
        bytes.u32(descriptors + 8 * i + 2, &fcValue);
        if (cpEnd < cpStart || cpStart != previousEnd)
            return fail(error, damaged);
        previousEnd = cpEnd;
        const quint32 count = qMin(cpEnd, ccpText) - qMin(cpStart, ccpText);
        const bool compressed = fcValue & kCompressedFlag;
        const quint32 fc = compressed ? (fcValue & kFcMask) / 2 : (fcValue & kFcMask);
        const qint64 width = compressed ? 1 : 2;
        if (!text.has(fc, width * qint64(count)))
            return fail(error, damaged);
        const auto* data = reinterpret_cast<const quint8*>(wordDocument.constData()) + fc;
        for (quint32 k = 0; k < count; ++k) {
            char16_t c;
            if (compressed) {
                c = data[k];
                if (c >= 0x80 && c < 0xA0)
                    c = kCp1252High[c - 0x80];
            } else {
                c = char16_t(data[2 * k] | (data[2 * k + 1] << 8));
            }
            m_text.append(QChar(c));
            m_offsets.append(quint32(fc + width * k));
        }
    }
    if (quint32(m_text.size()) < ccpText)
        return fail(error, damaged);
    return true;
}

} // namespace quillon::word
