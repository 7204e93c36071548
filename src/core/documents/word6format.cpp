#include "documents/word6format.h"

#include "documents/codepage.h"
#include "documents/wordbytes.h"
#include "documents/wordsprm.h"

#include <QHash>

namespace quillon::word::word6 {

namespace {

constexpr quint16 kFlagComplex = 0x0004;
constexpr quint16 kCharsetMac = 256;

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QString damaged(const char* what)
{
    return QStringLiteral("The file is a Word 6/95 document, and its %1 is damaged.")
        .arg(QLatin1String(what));
}

// The Windows code page of the document's language: Word 6 text carries
// no code page of its own.
int codePageOfLanguage(quint16 lid)
{
    switch (lid & 0x3FF) {
    case 0x01: // Arabic
        return 1256;
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
    case 0x2F: // Macedonian
        return 1251;
    case 0x04: // Chinese
        return lid == 0x0804 || lid == 0x1004 ? 936 : 950;
    case 0x05: // Czech
    case 0x0E: // Hungarian
    case 0x15: // Polish
    case 0x18: // Romanian
    case 0x1A: // Croatian
    case 0x1B: // Slovak
    case 0x1C: // Albanian
    case 0x24: // Slovenian
        return 1250;
    case 0x08: // Greek
        return 1253;
    case 0x0D: // Hebrew
        return 1255;
    case 0x11: // Japanese
        return 932;
    case 0x12: // Korean
        return 949;
    case 0x1E: // Thai
        return 874;
    case 0x1F: // Turkish
        return 1254;
    case 0x25: // Estonian
    case 0x26: // Latvian
    case 0x27: // Lithuanian
        return 1257;
    case 0x2A: // Vietnamese
        return 1258;
    default:
        return 1252;
    }
}

constexpr int kSizeByteFirst = -1;
constexpr int kNoOperand = -2;

// Operand sizes of the one-byte property codes, kSizeByteFirst when a size
// byte comes first, 0 when unknown: that ends the list, as nothing says
// where the next one starts.
int operandSize(quint8 code)
{
    static const QHash<quint8, int> sizes = [] {
        QHash<quint8, int> s;
        for (int c :
             {4,  5,  6,  7,  8,  9,  10, 11, 13, 14, 24, 25, 29, 37,  44,  50,  51,  65, 66,
              67, 71, 75, 85, 86, 87, 88, 89, 90, 91, 92, 94, 98, 100, 102, 104, 117, 118})
            s.insert(quint8(c), 1);
        for (int c :
             {2,  16, 17, 18, 19, 21, 22, 26, 27, 28, 30, 31, 32, 33, 34, 35, 36,  38,  39,
              40, 41, 42, 43, 45, 46, 47, 48, 49, 69, 72, 80, 93, 96, 97, 99, 101, 107, 109})
            s.insert(quint8(c), 2);
        for (int c : {73, 95})
            s.insert(quint8(c), 3);
        for (int c : {20, 68, 70})
            s.insert(quint8(c), 4);
        for (int c : {3, 12, 15, 23, 52, 74, 81, 103, 105, 106, 108})
            s.insert(quint8(c), kSizeByteFirst);
        s.insert(82, kNoOperand); // sprmCDefault and sprmCPlain
        s.insert(83, kNoOperand);
        return s;
    }();
    return sizes.value(code, 0);
}

void put(QByteArray* out, quint16 code, const QByteArray& operand)
{
    putU16(*out, code);
    out->append(operand);
}

} // namespace

bool Fib::read(const QByteArray& wordDocument, QString* error)
{
    const WordBytes bytes(wordDocument);
    quint16 flags = 0, lid = 0, chse = 0;
    if (!bytes.u16(0x06, &lid) || !bytes.u16(0x0A, &flags) || !bytes.u16(0x14, &chse) ||
        !bytes.u32(0x18, &fcMin) || !bytes.u32(0x34, &ccpText) ||
        !bytes.u32(0xB8, &fcPlcfbteChpx) || !bytes.u32(0xBC, &lcbPlcfbteChpx) ||
        !bytes.u32(0xC0, &fcPlcfbtePapx) || !bytes.u32(0xC4, &lcbPlcfbtePapx) ||
        !bytes.u32(0xD0, &fcSttbfffn) || !bytes.u32(0xD4, &lcbSttbfffn) ||
        !bytes.u32(0x160, &fcClx) || !bytes.u32(0x164, &lcbClx))
        return fail(error, damaged("header"));
    complex = flags & kFlagComplex;
    codePage = chse == kCharsetMac ? 10000 : codePageOfLanguage(lid);
    return true;
}

bool readText(const QByteArray& wordDocument, const Fib& fib, QString* text,
              QList<quint32>* offsets, QString* error)
{
    const WordBytes bytes(wordDocument);
    // Each character is one byte of the stream: a larger count is a lie.
    if (fib.ccpText > quint32(wordDocument.size()))
        return fail(error, damaged("text"));
    // (file offset, character count) of each stretch of text, in order.
    QList<std::pair<quint32, quint32>> stretches;
    if (fib.complex && fib.lcbClx > 0) {
        if (!bytes.has(fib.fcClx, fib.lcbClx))
            return fail(error, damaged("text table"));
        const QByteArray clx = bytes.mid(fib.fcClx, fib.lcbClx);
        const WordBytes c(clx);
        qint64 at = 0;
        quint8 kind = 0;
        while (c.u8(at, &kind) && kind == 0x01) {
            quint16 size = 0;
            if (!c.u16(at + 1, &size))
                return fail(error, damaged("text table"));
            at += 3 + size;
        }
        quint32 plcSize = 0;
        if (kind != 0x02 || !c.u32(at + 1, &plcSize) || !c.has(at + 5, plcSize) || plcSize < 16 ||
            (plcSize - 4) % 12 != 0)
            return fail(error, damaged("text table"));
        const qint64 plc = at + 5;
        const qint64 pieces = (plcSize - 4) / 12;
        const qint64 descriptors = plc + 4 * (pieces + 1);
        quint32 previousEnd = 0;
        for (qint64 i = 0; i < pieces && previousEnd < fib.ccpText; ++i) {
            quint32 cpStart = 0, cpEnd = 0, fc = 0;
            c.u32(plc + 4 * i, &cpStart);
            c.u32(plc + 4 * (i + 1), &cpEnd);
            c.u32(descriptors + 8 * i + 2, &fc);
            if (cpEnd < cpStart || cpStart != previousEnd)
                return fail(error, damaged("text table"));
            previousEnd = cpEnd;
            stretches.append({fc, qMin(cpEnd, fib.ccpText) - cpStart});
        }
    } else {
        stretches.append({fib.fcMin, fib.ccpText});
    }
    text->clear();
    offsets->clear();
    for (const auto& [fc, count] : stretches) {
        if (!bytes.has(fc, count))
            return fail(error, damaged("text"));
        const QString decoded = codepage::decode(bytes.mid(fc, count), fib.codePage);
        text->append(decoded);
        // Double-byte pages decode to fewer characters than bytes; their
        // formatting is then taken from the start of the stretch.
        const bool singleByte = decoded.size() == qsizetype(count);
        for (qsizetype k = 0; k < decoded.size(); ++k)
            offsets->append(singleByte ? fc + quint32(k) : fc);
    }
    return true;
}

QStringList readFonts(const QByteArray& wordDocument, quint32 offset, quint32 length)
{
    // A total size, then entries of: size less one, flags, weight,
    // character set, alternate-name index and the zero-terminated name.
    QStringList fonts;
    const WordBytes all(wordDocument);
    if (length < 2 || !all.has(offset, length))
        return fonts;
    const QByteArray table = all.mid(offset, length);
    const WordBytes bytes(table);
    qint64 at = 2;
    quint8 sizeLessOne = 0;
    while (bytes.u8(at, &sizeLessOne) && bytes.has(at, qint64(sizeLessOne) + 1)) {
        const QByteArray entry = bytes.mid(at, qint64(sizeLessOne) + 1);
        QByteArray name = entry.mid(6);
        const qsizetype end = name.indexOf('\0');
        if (end >= 0)
            name.truncate(end);
        quint8 charset = entry.size() > 4 ? quint8(entry.at(4)) : 0;
        const int page = codepage::fromCharset(charset);
        fonts.append(codepage::decode(name, page > 0 ? page : 1252));
        at += qint64(sizeLessOne) + 1;
    }
    return fonts;
}

QByteArray translateProperties(const QByteArray& grpprl)
{
    QByteArray out;
    const WordBytes bytes(grpprl);
    qint64 at = 0;
    quint8 code = 0;
    while (bytes.u8(at, &code)) {
        int size = operandSize(code);
        qint64 operandAt = at + 1;
        if (size == 0)
            break;
        if (size == kNoOperand) {
            size = 0;
        } else if (size == kSizeByteFirst) {
            quint8 length = 0;
            if (!bytes.u8(at + 1, &length))
                break;
            size = length;
            operandAt = at + 2;
        }
        if (!bytes.has(operandAt, size))
            break;
        const QByteArray operand = bytes.mid(operandAt, size);
        switch (code) {
        case 5:
            put(&out, kSprmPJc80, operand);
            break;
        case 85:
            put(&out, kSprmCFBold, operand);
            break;
        case 86:
            put(&out, kSprmCFItalic, operand);
            break;
        case 87:
            put(&out, kSprmCFStrike, operand);
            break;
        case 93:
            put(&out, kSprmCRgFtc0, operand);
            break;
        case 94:
            put(&out, kSprmCKul, operand);
            break;
        case 98:
            put(&out, kSprmCIco, operand);
            break;
        case 99:
            put(&out, kSprmCHps, operand);
            break;
        case 104:
            put(&out, kSprmCIss, operand);
            break;
        default:
            break;
        }
        at = operandAt + size;
    }
    return out;
}

} // namespace quillon::word::word6
