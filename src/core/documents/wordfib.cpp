#include "documents/wordfib.h"

#include "documents/word6format.h"
#include "documents/wordbytes.h"

namespace quillon::word {

namespace {

constexpr quint16 kWordIdent = 0xA5EC;
constexpr quint16 kWord97 = 0x00C1;
constexpr quint16 kFlagEncrypted = 0x0100;
constexpr quint16 kFlagWhichTable = 0x0200;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool WordFib::read(const QByteArray& wordDocument, QString* error)
{
    const WordBytes bytes(wordDocument);
    quint16 ident = 0, flags = 0;
    if (!bytes.u16(0, &ident) || ident != kWordIdent || !bytes.u16(2, &nFib) ||
        !bytes.u16(0x0A, &flags))
        return fail(error, QStringLiteral("The file is not a Word document."));
    word6 = nFib >= word6::kFirstNFib && nFib <= word6::kLastNFib;
    if (nFib < kWord97 && !word6)
        return fail(error,
                    QStringLiteral("Documents of Word versions before Word 6 cannot be read; "
                                   "please save the document in a newer Word format."));
    encrypted = flags & kFlagEncrypted;
    if (encrypted)
        return fail(error, word6 ? QStringLiteral("The Word 6/95 document is protected by a "
                                                  "password.")
                                 : QStringLiteral("The Word document is protected by a password."));
    if (word6)
        return true;
    tableIs1Table = flags & kFlagWhichTable;

    // The FIB is a chain of counted arrays; walk it by its own counts.
    qint64 at = 32;
    quint16 csw = 0, cslw = 0, cbRgFcLcb = 0;
    if (!bytes.u16(at, &csw))
        return fail(error, QStringLiteral("The Word document is damaged (short header)."));
    at += 2 + 2 * qint64(csw);
    if (!bytes.u16(at, &cslw))
        return fail(error, QStringLiteral("The Word document is damaged (short header)."));
    const qint64 rgLw = at + 2;
    at = rgLw + 4 * qint64(cslw);
    if (cslw < 4 || !bytes.u32(rgLw + 12, &ccpText) || !bytes.u16(at, &cbRgFcLcb))
        return fail(error, QStringLiteral("The Word document is damaged (short header)."));
    if (cslw >= 9) {
        bytes.u32(rgLw + 16, &ccpFtn);
        bytes.u32(rgLw + 20, &ccpHdd);
        bytes.u32(rgLw + 24, &ccpMcr);
        bytes.u32(rgLw + 28, &ccpAtn);
        bytes.u32(rgLw + 32, &ccpEdn);
    }
    at += 2;
    const int entries = qMin<int>(cbRgFcLcb, kFibEntryCount97);
    if (entries <= kFibClx || !bytes.has(at, 8 * qint64(entries)))
        return fail(error, QStringLiteral("The Word document is damaged (short header)."));
    for (int i = 0; i < entries; ++i) {
        bytes.u32(at + 8 * i, &fc[i]);
        bytes.u32(at + 8 * i + 4, &lcb[i]);
    }
    return true;
}

} // namespace quillon::word
