#pragma once

#include <QByteArray>
#include <QString>

namespace quillon::word {

// Indexes into the FibRgFcLcb97 pairs (offset, length in the table stream).
enum WordFibEntry {
    kFibStshf = 1,
    kFibPlcffndRef = 2,
    kFibPlcffndTxt = 3,
    kFibPlcfSed = 6,
    kFibPlcfBteChpx = 12,
    kFibPlcfBtePapx = 13,
    kFibSttbfFfn = 15,
    kFibDop = 31,
    kFibClx = 33,
    kFibPlcfendRef = 46,
    kFibPlcfendTxt = 47,
    kFibEntryCount97 = 93,
};

// The file information block at the start of the WordDocument stream.
struct WordFib {
    quint16 nFib = 0;
    // Word 6 or Word 95: nothing past the first bytes is read here (see word6format.h).
    bool word6 = false;
    bool encrypted = false;
    bool tableIs1Table = false;
    quint32 ccpText = 0;
    // Characters of the parts after the main text, in their order: notes,
    // headers, (reserved), comments, endnotes.
    quint32 ccpFtn = 0, ccpHdd = 0, ccpMcr = 0, ccpAtn = 0, ccpEdn = 0;
    quint32 fc[kFibEntryCount97] = {};
    quint32 lcb[kFibEntryCount97] = {};

    // False for anything that is not a readable Word 6 or later document.
    bool read(const QByteArray& wordDocument, QString* error);
};

} // namespace quillon::word
