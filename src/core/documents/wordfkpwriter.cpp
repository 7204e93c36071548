#include "documents/wordfkpwriter.h"

#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

constexpr qsizetype kPageSize = 512;

// The stored form of a run's properties: CHPX is a count byte and the list;
// PAPX counts in words, with a zero and a second count byte for even sizes.
QByteArray storedProperties(WordFkpWriter::Kind kind, const QByteArray& grpprl)
{
    QByteArray out;
    if (kind == WordFkpWriter::Kind::Character) {
        putU8(out, quint8(grpprl.size()));
    } else if (grpprl.size() % 2) {
        putU8(out, quint8((grpprl.size() + 1) / 2));
    } else {
        putU8(out, 0);
        putU8(out, quint8(grpprl.size() / 2));
    }
    out.append(grpprl);
    return out;
}

} // namespace

QByteArray WordFkpWriter::page(Kind kind, const QList<Run>& runs, qsizetype first, qsizetype* count)
{
    const qsizetype entrySize = kind == Kind::Character ? 1 : 13;
    QByteArray page(kPageSize, '\0');
    QList<quint8> offsets;
    qsizetype top = kPageSize - 1; // the last byte holds the run count
    qsizetype n = 0;
    while (first + n < runs.size() && n < 255) {
        const QByteArray stored = storedProperties(kind, runs.at(first + n).grpprl);
        const qsizetype at = (top - stored.size()) & ~qsizetype(1);
        const qsizetype header = 4 * (n + 2) + entrySize * (n + 1);
        if (at < header)
            break;
        page.replace(at, stored.size(), stored);
        offsets.append(quint8(at / 2));
        top = at;
        ++n;
    }
    *count = n;
    if (n == 0)
        return {};
    for (qsizetype i = 0; i < n; ++i) {
        setU32(page, 4 * i, runs.at(first + i).fcStart);
        page[4 * (n + 1) + entrySize * i] = char(offsets.at(i));
    }
    setU32(page, 4 * n, runs.at(first + n - 1).fcEnd);
    page[kPageSize - 1] = char(n);
    return page;
}

QByteArray WordFkpWriter::write(Kind kind, const QList<Run>& runs, QByteArray* wordDocument)
{
    QList<quint32> firstFcs;
    QList<quint32> pageNumbers;
    quint32 lastFc = 0;
    for (qsizetype first = 0; first < runs.size();) {
        qsizetype count = 0;
        const QByteArray fkp = page(kind, runs, first, &count);
        if (count == 0)
            break; // a single run's properties never exceed a page
        firstFcs.append(runs.at(first).fcStart);
        pageNumbers.append(quint32(wordDocument->size() / kPageSize));
        lastFc = runs.at(first + count - 1).fcEnd;
        wordDocument->append(fkp);
        first += count;
    }
    QByteArray bin;
    for (const quint32 fc : firstFcs)
        putU32(bin, fc);
    putU32(bin, lastFc);
    for (const quint32 pn : pageNumbers)
        putU32(bin, pn);
    return bin;
}

} // namespace quillon::word
