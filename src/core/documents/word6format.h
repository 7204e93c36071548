#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillon::word {

// The pieces of a Word 6 or Word 95 document (file format numbers 101 to
// 105) that differ from Word 97: a shorter file information block in the
// one WordDocument stream (there is no table stream), 8-bit text in the
// document's code page, one-byte property codes, and 8-bit font names.
namespace word6 {

inline constexpr quint16 kFirstNFib = 101;
inline constexpr quint16 kLastNFib = 105;

struct Fib {
    bool complex = false;
    int codePage = 1252;
    quint32 fcMin = 0;
    quint32 ccpText = 0;
    quint32 fcPlcfbteChpx = 0, lcbPlcfbteChpx = 0;
    quint32 fcPlcfbtePapx = 0, lcbPlcfbtePapx = 0;
    quint32 fcSttbfffn = 0, lcbSttbfffn = 0;
    quint32 fcClx = 0, lcbClx = 0;

    bool read(const QByteArray& wordDocument, QString* error);
};

// The main text and the file offset of every character (one byte each).
bool readText(const QByteArray& wordDocument, const Fib& fib, QString* text,
              QList<quint32>* offsets, QString* error);

QStringList readFonts(const QByteArray& wordDocument, quint32 offset, quint32 length);

// The Word 97 form of the properties this program reads from a Word 6
// property list (bold, italic, strike, underline, colour, size, font,
// super- and subscript, paragraph alignment); the rest is left out.
QByteArray translateProperties(const QByteArray& grpprl);

} // namespace word6
} // namespace quillon::word
