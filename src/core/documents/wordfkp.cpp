#include "documents/wordfkp.h"

#include "documents/word6format.h"
#include "documents/wordbytes.h"

#include <QSet>

#include <algorithm>

namespace quillon::word {

namespace {

constexpr qint64 kPageSize = 512;
constexpr qint64 kMaxPages = 1 << 16;
constexpr qint64 kPapxEntrySize = 13; // offset byte and paragraph height
constexpr qint64 kPapxEntrySize6 = 7; // the same in Word 6, with a shorter height

} // namespace

void WordFkpRuns::read(Kind kind, const QByteArray& wordDocument, const QByteArray& table,
                       quint32 offset, quint32 length, Dialect dialect)
{
    const WordBytes tableBytes(table);
    const qint64 pnSize = dialect == Dialect::Word6 ? 2 : 4;
    if (length < 4 + 4 + pnSize || (length - 4) % (4 + pnSize) != 0 ||
        !tableBytes.has(offset, length))
        return;
    const qint64 count = (length - 4) / (4 + pnSize);
    const qint64 pages = qMin<qint64>(count, kMaxPages);
    const qint64 pnArray = offset + 4 * (count + 1);
    const WordBytes document(wordDocument);
    // Each page is read once, however often a hostile bin table names it.
    QSet<quint32> seen;
    for (qint64 i = 0; i < pages; ++i) {
        quint32 pn = 0;
        if (dialect == Dialect::Word6) {
            quint16 shortPn = 0;
            tableBytes.u16(pnArray + 2 * i, &shortPn);
            pn = shortPn;
        } else {
            tableBytes.u32(pnArray + 4 * i, &pn);
        }
        pn &= 0x3FFFFF;
        if (seen.contains(pn))
            continue;
        seen.insert(pn);
        const qint64 pageOffset = qint64(pn) * kPageSize;
        if (document.has(pageOffset, kPageSize))
            readPage(kind, document.mid(pageOffset, kPageSize), dialect);
    }
    std::stable_sort(m_runs.begin(), m_runs.end(), [](const WordFkpRun& a, const WordFkpRun& b) {
        return a.fcStart < b.fcStart;
    });
}

void WordFkpRuns::readPage(Kind kind, const QByteArray& page, Dialect dialect)
{
    const bool word6 = dialect == Dialect::Word6;
    const WordBytes bytes(page);
    quint8 count = 0;
    bytes.u8(kPageSize - 1, &count);
    const qint64 entrySize = kind == Kind::Character ? 1 : word6 ? kPapxEntrySize6 : kPapxEntrySize;
    const qint64 entries = 4 * (qint64(count) + 1);
    if (count == 0 || entries + entrySize * count > kPageSize - 1)
        return;
    for (int i = 0; i < count; ++i) {
        WordFkpRun run;
        bytes.u32(4 * i, &run.fcStart);
        bytes.u32(4 * (i + 1), &run.fcEnd);
        if (run.fcEnd <= run.fcStart)
            continue;
        quint8 word = 0;
        bytes.u8(entries + entrySize * i, &word);
        const qint64 at = 2 * qint64(word);
        if (word != 0) {
            quint8 cb = 0;
            if (!bytes.u8(at, &cb))
                continue;
            if (kind == Kind::Character) {
                run.grpprl = bytes.mid(at + 1, cb);
                if (word6)
                    run.grpprl = word6::translateProperties(run.grpprl);
            } else if (word6) {
                // 2*cw-1 bytes: the style in one byte, then the list.
                const qint64 size = 2 * qint64(cb) - 1;
                quint8 istd = 0;
                if (size < 1 || !bytes.has(at + 1, size) || at + 1 + size > kPageSize - 1 ||
                    !bytes.u8(at + 1, &istd))
                    continue;
                run.istd = istd;
                run.grpprl = word6::translateProperties(bytes.mid(at + 2, size - 1));
            } else {
                // A paragraph's list: 2*cb-1 bytes, or a second count byte of 2*cb' bytes.
                qint64 start = at + 1, size = 2 * qint64(cb) - 1;
                if (cb == 0) {
                    quint8 cb2 = 0;
                    if (!bytes.u8(at + 1, &cb2))
                        continue;
                    start = at + 2;
                    size = 2 * qint64(cb2);
                }
                quint16 istd = 0;
                if (size < 2 || !bytes.has(start, size) || start + size > kPageSize - 1 ||
                    !bytes.u16(start, &istd))
                    continue;
                run.istd = istd;
                run.grpprl = bytes.mid(start + 2, size - 2);
            }
        }
        m_runs.append(run);
    }
}

const WordFkpRun* WordFkpRuns::find(quint32 fc) const
{
    auto it =
        std::upper_bound(m_runs.cbegin(), m_runs.cend(), fc,
                         [](quint32 value, const WordFkpRun& run) { return value < run.fcStart; });
    if (it == m_runs.cbegin())
        return nullptr;
    --it;
    return fc < it->fcEnd ? &*it : nullptr;
}

} // namespace quillon::word
